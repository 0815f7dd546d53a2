#include "app/win/window_modes_part.h"

#include "app/command_ids.h"
#include "app/win/main_window.h"
#include "framework/win/wintext.h"
#include "language/language_start.h"
#include "playback/win/playback_part.h"
#include "playback/win/player_panel.h"
#include "resource_ids.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

namespace sorvane::win {
namespace {

constexpr UINT kFrameMoveFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED;

bool IsTopmost(HWND w) { return (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

void MoveTo(HWND w, const RECT& r, UINT flags) {
  SetWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
}

// Writes both styles; a visible window is hidden meanwhile when its taskbar
// button comes or goes, since the taskbar looks at the styles only on showing.
void WriteStyles(HWND w, LONG_PTR style, LONG_PTR exStyle) {
  const LONG_PTR presentEx = GetWindowLongPtrW(w, GWL_EXSTYLE);
  const LONG_PTR taskbarBits = WS_EX_APPWINDOW | WS_EX_TOOLWINDOW;
  const bool reshow = IsWindowVisible(w) && (presentEx & taskbarBits) != (exStyle & taskbarBits);
  if (reshow) ShowWindow(w, SW_HIDE);
  if (GetWindowLongPtrW(w, GWL_STYLE) != style) SetWindowLongPtrW(w, GWL_STYLE, style);
  // WS_EX_TOPMOST belongs to the z-order and is left as it is.
  const LONG_PTR ex = (exStyle & ~static_cast<LONG_PTR>(WS_EX_TOPMOST)) | (presentEx & WS_EX_TOPMOST);
  if (presentEx != ex) SetWindowLongPtrW(w, GWL_EXSTYLE, ex);
  if (reshow) ShowWindow(w, SW_SHOWNA);
}

Text RectText(const RECT& r) {
  return Format(u"%d,%d,%d,%d", {int(r.left), int(r.top), int(r.right), int(r.bottom)});
}

}  // namespace

WindowModesPart::WindowModesPart(MainWindow& window, PlaybackPart* playback) : window_(window), playback_(playback) {}

WindowModesPart::~WindowModesPart() = default;

void WindowModesPart::OnInitDialog(PartHost&) {
  ReadFlyOutColour();
  if (!playback_) return;
  panel_ = &playback_->Panel();
  playback_->SetRightButtonHandler([this] {
    ToggleCompactMode();
    CheckButton(cmd::kCompact, false);
  });
  playback_->SetLeftButtonPassThrough([this] { return flyOut_; });
}

void WindowModesPart::OnStarted(PartHost&) {
  if (Settings().ReadInt(kProductSection, keys::kFlyOut, keys::kFlyOutDefault) == 1) {
    ShowWindow(window_.Window(), SW_SHOW);
    CheckButton(cmd::kFlyOut, true);
    EnterFlyOut(true);
  }
}

void WindowModesPart::ReadFlyOutColour() {
  dock_.SetColour(static_cast<COLORREF>(
      Settings().ReadInt(kProductSection, keys::kFlyOutColor, keys::kFlyOutColorDefault)));
}

void WindowModesPart::FollowFlyOutColour() {
  const COLORREF before = dock_.Colour();
  ReadFlyOutColour();
  if (dock_.Colour() != before) dock_.RebuildCaption();
}

void WindowModesPart::CheckButton(int id, bool checked) const {
  if (HWND button = window_.Item(id)) SendMessageW(button, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void WindowModesPart::ToggleFlyOut() {
  // From the mode in force, not from the file: another copy may have written it meanwhile.
  const int value = flyOut_ ? 0 : 1;
  Settings().WriteInt(kProductSection, keys::kFlyOut, value);
  CheckButton(cmd::kFlyOut, value == 1);
  EnterFlyOut(value == 1);
}

void WindowModesPart::EnterFlyOut(bool on) {
  if (on == flyOut_) return;
  HWND w = window_.Window();
  flyOut_ = on;
  if (on) {
    // Leaving compact mode first: the dock keeps the styles it finds to restore them.
    if (compact_) SetCompactMode(false);
    window_.SetFlyOut(true);
    dock_.SetCaption(u"           " + ProgramNameAndVersion());
    dock_.Attach(w);
    dock_.Start();
  } else {
    dock_.Stop();
    dock_.Detach();
    window_.SetFlyOut(false);
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

void WindowModesPart::SetCompactMode(bool on) {
  if (!panel_ || on == compact_) return;
  HWND w = window_.Window();
  HWND panel = panel_->Window();
  if (!video_) video_ = panel_->VideoWindow();
  if (!video_ || !panel) return;
  HWND list = window_.Item(IDC_LIST_VIEW);

  compact_ = on;
  window_.SetCompact(on);
  panel_->SetVideoOnly(on);

  if (on) {
    // Where the video stands now, in the panel and on the screen.
    RECT videoOnScreen{};
    GetWindowRect(video_, &videoOnScreen);
    videoRectInPanel_ = videoOnScreen;
    MapWindowPoints(nullptr, panel, reinterpret_cast<POINT*>(&videoRectInPanel_), 2);

    if (list) ShowWindow(list, SW_HIDE);
    savedStyle_ = GetWindowLongPtrW(w, GWL_STYLE);
    savedExStyle_ = GetWindowLongPtrW(w, GWL_EXSTYLE);
    SetParent(video_, w);
    WriteStyles(w, savedStyle_ & ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME),
                (savedExStyle_ & ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW)) | WS_EX_TOOLWINDOW);
    GetWindowRect(w, &savedWindowRect_);
    MoveTo(w, videoOnScreen, kFrameMoveFlags);
    ShowWindow(panel, SW_HIDE);
    // Above the window's other children, which it now covers.
    SetWindowPos(video_, HWND_TOP, 0, 0, videoOnScreen.right - videoOnScreen.left,
                 videoOnScreen.bottom - videoOnScreen.top, SWP_NOACTIVATE);
  } else {
    WriteStyles(w, savedStyle_, savedExStyle_);
    MoveTo(w, savedWindowRect_, kFrameMoveFlags);
    SetParent(video_, panel);
    if (list) ShowWindow(list, SW_SHOW);
    MoveTo(video_, videoRectInPanel_, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(panel, SW_SHOW);
  }
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void WindowModesPart::ToggleCompactMode() {
  if (flyOut_) {
    ToggleFlyOut();
    if (flyOut_) return;
  }
  SetCompactMode(!compact_);
  HWND w = window_.Window();
  if (compact_ && !IsTopmost(w)) {
    // Always on top goes through its command so its setting and button follow.
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(cmd::kAlwaysOnTop, 0), 0);
    // Without a handler for that command the video is still kept above the others.
    if (!IsTopmost(w)) SetWindowPos(w, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  }
}

bool WindowModesPart::OnMessage(PartHost& host, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (flyOut_ && dock_.HandleMessage(message, wParam, lParam, result)) return true;
  if (message == kRebuildFlyOutCaptionMessage) {
    FollowFlyOutColour();
    result = 0;
    return true;
  }
  // A colour dialog opened by the colour command runs its own loop, which also
  // takes the message posted above; the window's activation after it closes
  // is the sure point to look again.
  if (message == WM_ACTIVATE && LOWORD(wParam) != WA_INACTIVE && flyOut_) FollowFlyOutColour();
  if (message != WM_COMMAND) return false;
  switch (LOWORD(wParam)) {
    case cmd::kFlyOut:
      ToggleFlyOut();
      result = 0;
      return true;
    case cmd::kCompact:
      ToggleCompactMode();
      result = 0;
      return true;
    case cmd::kFlyOutColor: {
      // The command's own handler chooses and writes the colour; it may run
      // before or after this part, so the colour is read now and once more
      // when the command is done.
      FollowFlyOutColour();
      PostMessageW(host.Window(), kRebuildFlyOutCaptionMessage, 0, 0);
      return false;
    }
    default:
      return false;
  }
}

void WindowModesPart::SaveSettings(PartHost&) {
  // The stored rectangle is that of the normal window, not of the docked or video-only one.
  if (flyOut_ && dock_.Running())
    Settings().WriteString(kProgramSection, keys::kWindowRect, RectText(dock_.SavedWindowRect()));
  else if (compact_)
    Settings().WriteString(kProgramSection, keys::kWindowRect, RectText(savedWindowRect_));
}

void WindowModesPart::OnClose(PartHost&) {
  if (flyOut_) {
    dock_.Stop();
    dock_.Detach();
    flyOut_ = false;
    window_.SetFlyOut(false);
  }
}

std::unique_ptr<WindowModesPart> MakeWindowModesPart(MainWindow& window, PlaybackPart* playback) {
  return std::make_unique<WindowModesPart>(window, playback);
}

}  // namespace sorvane::win
