#include "medialist/win/media_list_controller.h"

#include "framework/win/wintext.h"
#include "medialist/list_strings.h"

namespace sorvane::win {

MediaListController::MediaListController(ListStorage& storage) : session_(rows_, storage, *this) {}

MediaListController::~MediaListController() { view_.Detach(); }

bool MediaListController::Attach(HWND owner, HWND listView, HWND selector, MediaListCallbacks callbacks) {
  owner_ = owner;
  callbacks_ = std::move(callbacks);
  MediaListViewHandlers h;
  h.playUrl = [this](const Text& path) {
    if (callbacks_.playUrl) callbacks_.playUrl(path);
  };
  h.filesDropped = [this](std::vector<Text> paths) {
    if (callbacks_.filesDropped) callbacks_.filesDropped(std::move(paths));
  };
  h.contextMenuBlocked = [this] { return callbacks_.contextMenuBlocked && callbacks_.contextMenuBlocked(); };
  h.exportPlaylist = [this] {
    if (callbacks_.exportPlaylist) callbacks_.exportPlaylist();
  };
  h.importPlaylist = [this] {
    if (callbacks_.importPlaylist) callbacks_.importPlaylist();
  };
  h.edited = [this] { ShownListEdited(); };
  h.timer = [this] { OnSaveTimer(); };
  selector_.Attach(selector, session_);
  return view_.Attach(listView, rows_, std::move(h));
}

void MediaListController::Start() {
  session_.Start();
  selector_.Sync(true);
}

void MediaListController::SaveAtExit() {
  session_.SaveAtExit();
  if (view_.Window()) KillTimer(view_.Window(), kSaveTimerId);
}

bool MediaListController::OnNotify(const NMHDR* header, LRESULT& result) { return view_.OnNotify(header, result); }

bool MediaListController::OnSelectorCommand(WPARAM wParam, LPARAM) {
  return selector_.OnCommand(HIWORD(wParam));
}

void MediaListController::ApplyLanguage() {
  view_.SetHeaders();
  selector_.Sync(true);
}

bool MediaListController::AddMediaFile(TextView path, EntryProber* prober) {
  if (!sorvane::AddMediaFile(rows_, path, prober)) return false;
  view_.RowsAppended();
  ShownListEdited();
  return true;
}

void MediaListController::RowChanged(int row) { view_.RowChanged(row); }

void MediaListController::ShowNewEmptyList(int index) {
  // Loading the new list empties the rows and makes it the shown one; the
  // list is new, so nothing stored can come back.
  session_.LoadList(index);
  if (rows_.Count() > 0) {
    rows_.Clear();
    view_.Reload();
    ShownListEdited();
  }
  selector_.Sync();
}

void MediaListController::ShownListEdited() {
  const int64_t now = static_cast<int64_t>(GetTickCount64());
  const bool wasPending = session_.HasPendingSave();
  session_.MarkShownListEdited(now);
  if (!wasPending && view_.Window()) SetTimer(view_.Window(), kSaveTimerId, static_cast<UINT>(kEditSaveDelayMs), nullptr);
}

void MediaListController::OnSaveTimer() {
  const int64_t now = static_cast<int64_t>(GetTickCount64());
  session_.SaveIfDue(now);
  if (!view_.Window()) return;
  if (!session_.HasPendingSave()) {
    KillTimer(view_.Window(), kSaveTimerId);
  } else {
    // The timer may come a tick early: wait for the rest of the delay.
    const int64_t rest = session_.PendingSaveDeadline() - now;
    SetTimer(view_.Window(), kSaveTimerId, static_cast<UINT>(rest > 0 ? rest + 16 : 16), nullptr);
  }
}

Answer MediaListController::Ask(TextView text, TextView caption, QuestionIcon icon) {
  if (callbacks_.ask) return callbacks_.ask(text, caption, icon);
  const UINT type = MB_YESNOCANCEL | (icon == QuestionIcon::kQuestion ? MB_ICONQUESTION : MB_ICONEXCLAMATION);
  const int answer = MessageBoxW(owner_, W(Text(text)), W(Text(caption)), type);
  return answer == IDYES ? Answer::kYes : answer == IDNO ? Answer::kNo : Answer::kCancel;
}

void MediaListController::ListLoaded(int index) {
  view_.Reload();
  if (callbacks_.listLoaded) callbacks_.listLoaded(index);
}

}  // namespace sorvane::win
