// The shown media list and the list set, wired to the list view 1033 and the
// list selector 1000 of the main window. The main window owns one of these,
// attaches it at start and forwards the controls' notifications.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "medialist/list_session.h"
#include "medialist/list_storage.h"
#include "medialist/media_list.h"
#include "medialist/win/list_selector.h"
#include "medialist/win/media_list_view.h"

namespace sorvane::win {

struct MediaListCallbacks {
  std::function<void(const Text& path)> playUrl;             // the focused row's path
  std::function<void(int listIndex)> listLoaded;             // start the background probe here
  std::function<Answer(TextView text, TextView caption, QuestionIcon icon)> ask;  // default: a message box
  std::function<void(std::vector<Text> paths)> filesDropped;  // files from outside
  std::function<bool()> contextMenuBlocked;                  // video-only mode
  std::function<void()> exportPlaylist;
  std::function<void()> importPlaylist;
};

class MediaListController final : public ListSessionHost {
 public:
  explicit MediaListController(ListStorage& storage);
  ~MediaListController() override;

  bool Attach(HWND owner, HWND listView, HWND selector, MediaListCallbacks callbacks);
  // Fills the selector from the stored names and loads the last shown list.
  void Start();
  // "m_LastSel", the shown list and "m_Sel"; call from SaveSettings.
  void SaveAtExit();

  // WM_NOTIFY of control 1033; result is the value to answer (a dialog puts
  // it into DWLP_MSGRESULT).
  bool OnNotify(const NMHDR* header, LRESULT& result);
  // WM_COMMAND with control id 1000; the notification code is HIWORD(wParam).
  bool OnSelectorCommand(WPARAM wParam, LPARAM lParam);
  // Headers and command entries in the current language.
  void ApplyLanguage();

  // Appends one file to the shown list (probing when a prober is given);
  // the view follows and the list is saved shortly after.
  bool AddMediaFile(TextView path, EntryProber* prober);
  // Rows were changed outside (probe results, failure marks): redraw them.
  void RowChanged(int row);
  // The shown list was edited outside the view (import, adds in bulk).
  void ShownListEdited();
  // Shows list index, just made, as the empty shown list (a new list for a
  // command line or a playlist import).
  void ShowNewEmptyList(int index);

  MediaList& Rows() { return rows_; }
  ListSession& Session() { return session_; }
  MediaListView& View() { return view_; }
  ListSelector& Selector() { return selector_; }

  Answer Ask(TextView text, TextView caption, QuestionIcon icon) override;
  void ListLoaded(int index) override;

 private:
  void OnSaveTimer();

  HWND owner_ = nullptr;
  MediaList rows_;
  ListSession session_;
  MediaListView view_;
  ListSelector selector_;
  MediaListCallbacks callbacks_;
};

}  // namespace sorvane::win
