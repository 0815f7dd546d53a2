// The list view 1033 in owner-data mode as the view of a MediaList: columns,
// icons, row drawing, the selection kept in step with the model, the focus
// handed to the player and keys here; the context menu in media_list_view_menu.cpp,
// dragging and dropping in media_list_view_drag.cpp.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <oleidl.h>

#include <wrl/client.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "medialist/drop_gap.h"
#include "medialist/list_selection.h"
#include "medialist/media_list.h"
#include "framework/win/gdi.h"

namespace sorvane::win {

class ListDropTarget;

struct MediaListViewHandlers {
  std::function<void(const Text& path)> playUrl;            // a row got the focus
  std::function<void(std::vector<Text> paths)> filesDropped;  // files dropped from outside
  std::function<bool()> contextMenuBlocked;                 // e.g. video-only mode
  std::function<void()> exportPlaylist;
  std::function<void()> importPlaylist;
  std::function<void()> edited;                             // the user changed the rows
  std::function<void()> timer;                              // the save timer fired
};

// Command ids of the context menu.
enum ListCommand : int {
  kCmdMoveTop = 1001, kCmdMoveUp, kCmdMoveDown, kCmdMoveBottom, kCmdRemove,
  kCmdShowInFolder, kCmdExport, kCmdImport, kCmdSelectAll, kCmdInvert,
};

inline constexpr COLORREF kRowOddColor = RGB(32, 32, 32);
inline constexpr COLORREF kRowEvenColor = RGB(64, 64, 64);
inline constexpr COLORREF kRowTextColor = RGB(255, 255, 255);
inline constexpr COLORREF kRowSelectedTextColor = RGB(255, 255, 0);
inline constexpr UINT_PTR kSaveTimerId = 0x5A11;

// The row context menu: commands 1001 to 1010 with their language texts.
UniqueMenu BuildListContextMenu();

class MediaListView {
 public:
  MediaListView() = default;
  ~MediaListView();
  MediaListView(const MediaListView&) = delete;
  MediaListView& operator=(const MediaListView&) = delete;

  // Sets up columns, icons, styles and fonts, subclasses the control and
  // registers it as drop target (when OLE is initialised on this thread).
  bool Attach(HWND listView, MediaList& rows, MediaListViewHandlers handlers);
  void Detach();
  HWND Window() const { return list_; }

  void SetHeaders();  // headers 0..3 from language strings 50..53
  void SetDarkColors(bool dark);

  // The rows were replaced (a list was loaded): new count, no selection.
  void Reload();
  // Rows were appended at the end; selection and scroll position stay.
  void RowsAppended();
  // Texts or images of a row changed.
  void RowChanged(int row);
  // Between these, changed rows are only noted and drawn once at the end.
  // Which rows are on screen takes two questions to the control, which Wine
  // answers slowly; a probe batch changes each of its rows four times.
  void BeginRowChanges() { ++rowChangeDepth_; }
  void EndRowChanges();
  // Holds row drawing for a scope.
  class RowChangeBatch {
   public:
    explicit RowChangeBatch(MediaListView& view) : view_(view) { view_.BeginRowChanges(); }
    ~RowChangeBatch() { view_.EndRowChanges(); }
    RowChangeBatch(const RowChangeBatch&) = delete;
    RowChangeBatch& operator=(const RowChangeBatch&) = delete;

   private:
    MediaListView& view_;
  };
  // Selects and focuses row (which plays it) and scrolls it into view; a row
  // beyond the list is ignored.
  void SelectAndFocus(int row);

  int MoveSelectedEntries(int target);
  void RemoveSelectedEntries();
  void SelectAllEntries();
  void InvertSelection();
  void ShowInFolder(int row);
  // Stands in for starting the explorer with these arguments (tests record them).
  void SetExplorerLauncher(std::function<void(const Text& arguments)> launch) { explorer_ = std::move(launch); }
  // The registered drop target; null when OLE is not initialised here.
  IDropTarget* DropTarget() const { return dropTarget_.Get(); }
  void RunCommand(int command, int row);

  // Forwarded WM_NOTIFY of the control; result is the value to answer.
  bool OnNotify(const NMHDR* header, LRESULT& result);

  // Dragging inside the list, in client coordinates of the list view. The
  // drop target calls these; tests may call them directly.
  void BeginInternalDrag(int source);
  DWORD DragOverAt(POINT client);
  bool DropAt(POINT client);
  void EndDrag();
  void DropFiles(std::vector<Text> paths);
  bool InternalDrag() const { return internal_; }
  const DropGap& CurrentGap() const { return gap_; }

 private:
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT HandleMessage(HWND, UINT, WPARAM, LPARAM);
  bool OnKeyDown(WPARAM key);
  void OnContextMenu(POINT screen);
  void PushState(bool playFocus);
  void RedrawVisibleRows(int first, int last);
  void OnItemChanged(const NMLISTVIEW& change);
  // The user's selection: the control keeps the focus and the anchor, the
  // model the selection (see media_list_view_select.cpp).
  LRESULT OnLeftDown(HWND window, WPARAM keys, LPARAM at);
  LRESULT OnLeftUp(HWND window, WPARAM keys, LPARAM at);
  LRESULT OnMouseMove(HWND window, WPARAM keys, LPARAM at);
  LRESULT OnRightDown(HWND window, WPARAM keys, LPARAM at);
  LRESULT OnNavigationKey(HWND window, WPARAM key, LPARAM data);
  LRESULT OnChar(HWND window, WPARAM code, LPARAM data);
  LRESULT OnSetItemState(HWND window, WPARAM row, LPARAM item);
  LRESULT NextSelected(int after) const;
  int HitRow(POINT client) const;
  int ControlFocus() const;
  void SetControlFocus(int row);
  void Apply(const SelectionOutcome& outcome);
  void ReportFocus(int row);
  void BeginMarquee();
  void UpdateMarquee(POINT client);
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);
  void OnGetDispInfo(NMLVDISPINFOW& info);
  LRESULT OnFindItem(const NMLVFINDITEMW& find) const;
  void StartDragDrop(int source);
  void EraseMark();
  void DrawMark();
  bool RowGeometry(int& topIndex, RECT& topRow, int& rowHeight) const;
  void Edited();
  void RegisterDropTarget();
  void RevokeDropTarget();

  HWND list_ = nullptr;
  MediaList* rows_ = nullptr;
  MediaListViewHandlers handlers_;
  std::function<void(const Text& arguments)> explorer_;
  UniqueImageList images_;
  HFONT normalFont_ = nullptr;  // the control's own font, not ours
  UniqueFont boldFont_;
  Microsoft::WRL::ComPtr<IDropTarget> dropTarget_;  // a ListDropTarget
  bool pushing_ = false;
  bool pushPlays_ = false;
  int rowChangeDepth_ = 0;
  int changedFirst_ = -1, changedLast_ = -1;  // rows changed since BeginRowChanges
  std::optional<ListSelection> selection_;
  POINT pressAt_{};
  bool typing_ = false;
  mutable int found_ = -1;  // the row a typed title found, while a character is handled
  bool marquee_ = false;
  bool marqueeToggles_ = false;
  POINT marqueeFrom_{};  // in list coordinates: client point plus scroll offset
  std::vector<uint8_t> marqueeBase_;
  bool internal_ = false;
  int dragSource_ = -1;
  DropGap gap_;
  bool markShown_ = false;
  RECT markRect_{};
};

}  // namespace sorvane::win
