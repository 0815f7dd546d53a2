#include "medialist/win/media_list_view.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>
#include <utility>

#include "framework/win/boundary.h"
#include "framework/win/system_library.h"
#include "framework/win/wintext.h"
#include "medialist/list_strings.h"
#include "medialist/type_ahead.h"

namespace sorvane::win {

namespace {

constexpr UINT_PTR kSubclassId = 0x1033;

struct ColumnSpec {
  const wchar_t* firstHeader;
  int width;
  int format;
};
constexpr ColumnSpec kColumns[kColumnCount] = {
    {L"Titel", 200, LVCFMT_LEFT},
    {L"Dateipath", 200, LVCFMT_LEFT},
    {L"Dauer", 70, LVCFMT_LEFT | LVCFMT_IMAGE},
    {L"Dateiname", 200, LVCFMT_LEFT},
    {L"Error", 20, LVCFMT_LEFT},
};
constexpr int kColumnOrder[kColumnCount] = {0, 2, 1, 3, 4};
constexpr int kShellIcons[] = {225, 227, 324, 253};

UniqueImageList BuildImageList() {
  const int cx = GetSystemMetrics(SM_CXSMICON);
  const int cy = GetSystemMetrics(SM_CYSMICON);
  UniqueImageList list(ImageList_Create(cx, cy, ILC_COLOR32 | ILC_MASK, 2, 2));
  if (!list) return list;
  HMODULE shell = GetModuleHandleW(L"shell32.dll");
  if (!shell) shell = LoadSystemLibrary(L"shell32.dll");
  for (int id : kShellIcons) {
    HICON icon = shell ? static_cast<HICON>(LoadImageW(shell, MAKEINTRESOURCEW(id), IMAGE_ICON, cx, cy, 0)) : nullptr;
    if (icon) {
      ImageList_AddIcon(list.get(), icon);
      DestroyIcon(icon);
    } else {
      // Keep the indexes of the later icons where rows expect them.
      ImageList_AddIcon(list.get(), LoadIconW(nullptr, MAKEINTRESOURCEW(32512)));
    }
  }
  return list;
}

bool KeyHeld(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace


MediaListView::~MediaListView() { Detach(); }

bool MediaListView::Attach(HWND listView, MediaList& rows, MediaListViewHandlers handlers) {
  Detach();
  if (!listView) return false;
  list_ = listView;
  rows_ = &rows;
  handlers_ = std::move(handlers);

  ListView_SetExtendedListViewStyleEx(list_, LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES,
                                      LVS_EX_FULLROWSELECT | LVS_EX_SUBITEMIMAGES);
  // images_ owns the icons; without this style the control would destroy
  // them a second time when it goes.
  SetWindowLongPtrW(list_, GWL_STYLE, GetWindowLongPtrW(list_, GWL_STYLE) | LVS_SHAREIMAGELISTS);
  images_ = BuildImageList();
  ListView_SetImageList(list_, images_.get(), LVSIL_SMALL);
  for (int c = 0; c < kColumnCount; ++c) {
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    col.fmt = kColumns[c].format;
    col.cx = kColumns[c].width;
    col.pszText = const_cast<wchar_t*>(kColumns[c].firstHeader);
    col.iSubItem = c;
    ListView_InsertColumn(list_, c, &col);
  }
  ListView_SetColumnOrderArray(list_, kColumnCount, const_cast<int*>(kColumnOrder));
  SetHeaders();

  normalFont_ = reinterpret_cast<HFONT>(SendMessageW(list_, WM_GETFONT, 0, 0));
  LOGFONTW lf{};
  if (GetObjectW(normalFont_ ? static_cast<HGDIOBJ>(normalFont_) : GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf)) {
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = FALSE;
    boldFont_.reset(CreateFontIndirectW(&lf));
  }

  // The rows' selection lives in the model: the control asks for it when it
  // draws and keeps none of its own, so selecting, inverting or moving any
  // number of rows costs no call per row.
  ListView_SetCallbackMask(list_, LVIS_SELECTED);
  selection_.emplace(rows);
  SetWindowSubclass(list_, SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  RegisterDropTarget();
  Reload();
  return true;
}

void MediaListView::Detach() {
  if (!list_) return;
  RevokeDropTarget();
  KillTimer(list_, kSaveTimerId);
  RemoveWindowSubclass(list_, SubclassProc, kSubclassId);
  if (IsWindow(list_)) {
    ListView_SetImageList(list_, nullptr, LVSIL_SMALL);
    ListView_SetCallbackMask(list_, 0);
  }
  list_ = nullptr;
  rows_ = nullptr;
  selection_.reset();
  marquee_ = false;
  images_.reset();
  boldFont_.reset();
}

void MediaListView::SetHeaders() {
  if (!list_) return;
  for (int c = 0; c < 4; ++c) {
    Text header = ListString(list_string::kHeaderTitle + c);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT;
    col.pszText = const_cast<wchar_t*>(W(header));
    ListView_SetColumn(list_, c, &col);
  }
}

void MediaListView::SetDarkColors(bool dark) {
  if (!list_) return;
  const COLORREF back = dark ? RGB(32, 32, 32) : GetSysColor(COLOR_WINDOW);
  const COLORREF text = dark ? RGB(255, 255, 255) : GetSysColor(COLOR_WINDOWTEXT);
  ListView_SetBkColor(list_, back);
  ListView_SetTextBkColor(list_, back);
  ListView_SetTextColor(list_, text);
  InvalidateRect(list_, nullptr, TRUE);
}

void MediaListView::PushState(bool playFocus) {
  pushing_ = true;
  pushPlays_ = playFocus;
  // The selection is the model's: the control only needs the row count, the
  // focus and a repaint. The focus is taken away and given back, so a row the
  // program focuses is reported (and played) even when it had the focus.
  ListView_SetItemCountEx(list_, rows_->Count(), LVSICF_NOSCROLL);
  const int focused = ControlFocus();
  if (focused >= 0) ListView_SetItemState(list_, focused, 0, LVIS_FOCUSED);
  if (rows_->Focus() >= 0) ListView_SetItemState(list_, rows_->Focus(), LVIS_FOCUSED, LVIS_FOCUSED);
  if (selection_) selection_->Forget();
  InvalidateRect(list_, nullptr, TRUE);
  pushing_ = false;
  pushPlays_ = false;
}

void MediaListView::Reload() {
  if (!list_) return;
  EndDrag();
  PushState(false);
  if (rows_->Count() > 0) ListView_EnsureVisible(list_, 0, FALSE);
  InvalidateRect(list_, nullptr, TRUE);
}

void MediaListView::RowsAppended() {
  if (list_) ListView_SetItemCountEx(list_, rows_->Count(), LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL);
}

void MediaListView::RowChanged(int row) {
  if (!list_ || !rows_->IsRow(row)) return;
  if (rowChangeDepth_ > 0) {
    changedFirst_ = changedFirst_ < 0 ? row : std::min(changedFirst_, row);
    changedLast_ = std::max(changedLast_, row);
    return;
  }
  RedrawVisibleRows(row, row);
}

void MediaListView::EndRowChanges() {
  if (rowChangeDepth_ == 0 || --rowChangeDepth_ > 0) return;
  const int first = std::exchange(changedFirst_, -1), last = std::exchange(changedLast_, -1);
  if (list_ && first >= 0) RedrawVisibleRows(first, last);
}

// Only rows on screen need drawing again: the others ask the model for their
// texts when they are scrolled into view. Invalidating every row the probe
// marks costs a call into the window system each, which a list of 100,000
// rows turns into seconds of a busy window.
void MediaListView::RedrawVisibleRows(int first, int last) {
  const int top = ListView_GetTopIndex(list_);
  const int visible = ListView_GetCountPerPage(list_);
  first = std::max(first, top);
  last = std::min({last, top + visible, rows_->Count() - 1});
  if (first <= last) ListView_RedrawItems(list_, first, last);
}

void MediaListView::SelectAndFocus(int row) {
  if (!list_ || !rows_->IsRow(row)) return;
  rows_->SetAllSelected(false);
  rows_->SetSelected(row, true);
  rows_->SetFocus(row);
  PushState(true);
  ListView_EnsureVisible(list_, row, FALSE);
}

void MediaListView::Edited() {
  if (handlers_.edited) handlers_.edited();
}

int MediaListView::MoveSelectedEntries(int target) {
  if (!list_) return -1;
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  const int result = rows_->MoveSelectedEntries(target);
  if (result >= 0) {
    PushState(true);  // the last moved row gets the focus and plays
    ListView_EnsureVisible(list_, std::min(result, rows_->Count() - 1), FALSE);
  }
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  if (result >= 0) Edited();
  return result;
}

void MediaListView::RemoveSelectedEntries() {
  if (!list_) return;
  SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
  const int removed = rows_->RemoveSelectedEntries();
  if (removed > 0) PushState(false);
  SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  if (removed > 0) Edited();
}

void MediaListView::SelectAllEntries() {
  if (!list_) return;
  rows_->SelectAllEntries();
  PushState(false);
}

void MediaListView::InvertSelection() {
  if (!list_) return;
  rows_->InvertSelection();
  PushState(false);
}



bool MediaListView::OnKeyDown(WPARAM key) {
  if (KeyHeld(VK_MENU) || KeyHeld(VK_SHIFT)) return false;
  if (KeyHeld(VK_CONTROL)) {
    if (key == 'A') SelectAllEntries();
    else if (key == 'I') InvertSelection();
    else if (key == 'X') RemoveSelectedEntries();
    return false;
  }
  if (key == VK_DELETE) RemoveSelectedEntries();
  return false;
}


// Only the focus comes from the control now; its selection bits are the model's.
void MediaListView::OnItemChanged(const NMLISTVIEW& change) {
  if (!(change.uChanged & LVIF_STATE)) return;
  if (!(change.uNewState & LVIS_FOCUSED) || !rows_->IsRow(change.iItem)) return;
  if (pushing_ && (!pushPlays_ || (change.uOldState & LVIS_FOCUSED))) return;
  rows_->SetFocus(change.iItem);
  if (handlers_.playUrl) handlers_.playUrl(rows_->Cell(change.iItem, kColumnPath));
}

LRESULT MediaListView::OnCustomDraw(NMLVCUSTOMDRAW& draw) {
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT: {
      const int row = static_cast<int>(draw.nmcd.dwItemSpec);
      const bool selected = rows_->IsSelected(row);
      draw.clrTextBk = (row % 2) ? kRowOddColor : kRowEvenColor;
      draw.clrText = selected ? kRowSelectedTextColor : kRowTextColor;
      // Our colours mark the selection; the system highlight would hide them.
      draw.nmcd.uItemState &= ~static_cast<UINT>(CDIS_SELECTED | CDIS_FOCUS);
      HFONT font = selected && boldFont_ ? boldFont_.get() : normalFont_;
      if (font) SelectObject(draw.nmcd.hdc, font);
      return CDRF_NEWFONT;
    }
    default:
      return CDRF_DODEFAULT;
  }
}

void MediaListView::OnGetDispInfo(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (!rows_->IsRow(item.iItem)) return;
  const MediaEntry& e = rows_->Entry(item.iItem);
  if ((item.mask & LVIF_TEXT) && item.pszText && item.cchTextMax > 0 && item.iSubItem >= 0 &&
      item.iSubItem < kColumnCount) {
    const Text& t = e.text[static_cast<size_t>(item.iSubItem)];
    const size_t n = std::min(t.size(), static_cast<size_t>(item.cchTextMax - 1));
    std::wmemcpy(item.pszText, reinterpret_cast<const wchar_t*>(t.data()), n);
    item.pszText[n] = L'\0';
  }
  if ((item.mask & LVIF_STATE) && (item.stateMask & LVIS_SELECTED)) {
    item.state &= ~static_cast<UINT>(LVIS_SELECTED);
    if (rows_->IsSelected(item.iItem)) item.state |= LVIS_SELECTED;
  }
  if (item.mask & LVIF_IMAGE) {
    if (item.iSubItem == 0) item.iImage = e.image;
    else if (item.iSubItem == kColumnDuration) item.iImage = e.subImage;
    else item.iImage = -1;
  }
}

bool MediaListView::OnNotify(const NMHDR* header, LRESULT& result) {
  if (!list_ || !header || header->hwndFrom != list_) return false;
  result = 0;
  switch (header->code) {
    case LVN_GETDISPINFOW:
      OnGetDispInfo(*reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header)));
      return true;
    case LVN_ITEMCHANGED:
      OnItemChanged(*reinterpret_cast<const NMLISTVIEW*>(header));
      return true;
    case LVN_ODSTATECHANGED:  // the model made the change itself
      return true;
    case LVN_MARQUEEBEGIN:
      BeginMarquee();
      return true;
    case NM_CUSTOMDRAW:
      result = OnCustomDraw(*reinterpret_cast<NMLVCUSTOMDRAW*>(const_cast<NMHDR*>(header)));
      return true;
    case LVN_ODFINDITEMW:
      result = OnFindItem(*reinterpret_cast<const NMLVFINDITEMW*>(header));
      return true;
    case LVN_BEGINDRAG:
    case LVN_BEGINRDRAG:
      StartDragDrop(reinterpret_cast<const NMLISTVIEW*>(header)->iItem);
      return true;
    default:
      return false;
  }
}










// Typing in the list: the control asks for the row whose title starts with
// what was typed (owner-data rows have no texts of their own to search).
LRESULT MediaListView::OnFindItem(const NMLVFINDITEMW& find) const {
  if (!(find.lvfi.flags & (LVFI_STRING | LVFI_PARTIAL)) || !find.lvfi.psz) return -1;
  TitleSearch search;
  search.text = T(find.lvfi.psz);
  search.start = find.iStart;
  search.prefix = (find.lvfi.flags & LVFI_PARTIAL) != 0;
  search.wrap = (find.lvfi.flags & LVFI_WRAP) != 0;
  const int row = FindTitleRow(*rows_, search);
  if (typing_) found_ = row;
  return row;
}

LRESULT MediaListView::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_KEYDOWN:
      OnKeyDown(wParam);
      if (!list_) return 0;
      switch (wParam) {
        case VK_SPACE: case VK_HOME: case VK_END: case VK_LEFT: case VK_UP:
        case VK_RIGHT: case VK_DOWN: case VK_PRIOR: case VK_NEXT:
          return OnNavigationKey(window, wParam, lParam);
        default:
          break;
      }
      break;
    case WM_CHAR:
      return OnChar(window, wParam, lParam);
    case WM_LBUTTONDOWN:
      return OnLeftDown(window, wParam, lParam);
    case WM_LBUTTONUP:
      return OnLeftUp(window, wParam, lParam);
    case WM_MOUSEMOVE:
      return OnMouseMove(window, wParam, lParam);
    case WM_RBUTTONDOWN:
      return OnRightDown(window, wParam, lParam);
    case LVM_SETITEMSTATE:
      return OnSetItemState(window, wParam, lParam);
    case LVM_GETSELECTEDCOUNT:
      return rows_->SelectedCount();
    case LVM_GETNEXTITEM:
      if (LOWORD(lParam) == LVNI_SELECTED) return NextSelected(static_cast<int>(wParam));
      break;
    case WM_CONTEXTMENU:
      OnContextMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_TIMER:
      if (wParam == kSaveTimerId) {
        if (handlers_.timer) handlers_.timer();
        return 0;
      }
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

LRESULT CALLBACK MediaListView::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                             DWORD_PTR data) {
  auto* self = reinterpret_cast<MediaListView*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, SubclassProc, kSubclassId);
    if (self) GuardedVoid("list view", [&] { self->RevokeDropTarget(); });
    if (self) self->list_ = nullptr;
    return DefSubclassProc(window, message, wParam, lParam);
  }
  if (!self) return DefSubclassProc(window, message, wParam, lParam);
  return GuardedOrDefault(
      "list view", [&] { return self->HandleMessage(window, message, wParam, lParam); },
      [&] { return DefSubclassProc(window, message, wParam, lParam); });
}

}  // namespace sorvane::win
