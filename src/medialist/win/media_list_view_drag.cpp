// Reordering rows by dragging them inside the list view (the gap under the
// mouse, the insertion mark, scrolling at the edges) and the OLE drop target
// that also takes files dropped from outside.
#include "medialist/win/media_list_view.h"

#include <algorithm>

#include "medialist/win/list_drag_drop.h"

namespace sorvane::win {

namespace {

constexpr int kScrollBand = 10;

}  // namespace

void MediaListView::RegisterDropTarget() {
  Microsoft::WRL::ComPtr<ListDropTarget> target = Adopt(new ListDropTarget(*this));
  if (SUCCEEDED(RegisterDragDrop(list_, target.Get()))) dropTarget_ = std::move(target);
}

// The one place where the drop target is let go: it may still be inside a
// drop (a folder scan pumps messages), so it forgets the view before the last
// reference goes.
void MediaListView::RevokeDropTarget() {
  if (!dropTarget_) return;
  if (list_) RevokeDragDrop(list_);
  static_cast<ListDropTarget*>(dropTarget_.Get())->Forget();
  dropTarget_.Reset();
}

void MediaListView::StartDragDrop(int source) {
  if (!rows_->IsRow(source)) return;
  BeginInternalDrag(source);
  RunRowDrag();
  EndDrag();
}

void MediaListView::BeginInternalDrag(int source) {
  internal_ = true;
  dragSource_ = source;
  gap_ = {};
}

void MediaListView::EndDrag() {
  EraseMark();
  internal_ = false;
  dragSource_ = -1;
  gap_ = {};
}

bool MediaListView::RowGeometry(int& topIndex, RECT& topRow, int& rowHeight) const {
  topIndex = ListView_GetTopIndex(list_);
  if (!rows_->IsRow(topIndex) || !ListView_GetItemRect(list_, topIndex, &topRow, LVIR_BOUNDS)) return false;
  rowHeight = topRow.bottom - topRow.top;
  return rowHeight > 0;
}

DWORD MediaListView::DragOverAt(POINT client) {
  EraseMark();
  gap_ = {};
  if (!internal_) return DROPEFFECT_NONE;
  RECT area{};
  GetClientRect(list_, &area);
  int top = 0, height = 0;
  RECT topRow{};
  const bool haveRows = RowGeometry(top, topRow, height);
  DropPoint at;
  if (haveRows && client.y >= topRow.top) {
    const int row = top + (client.y - topRow.top) / height;
    if (rows_->IsRow(row)) {
      at.hitRow = row;
      at.upperHalf = (client.y - topRow.top) % height < height / 2;
    } else {
      at.belowLastRow = true;
    }
  }
  if (at.hitRow >= 0) {
    const int step = height > 0 ? height : 16;
    // The rows begin under the header: the upper band lies there, not at the
    // client top, which the header covers. A band scrolls only while there is
    // something to bring in, so the first and last rows still take drops.
    if (client.y < topRow.top + kScrollBand && top > 0) {
      ListView_Scroll(list_, 0, -step);
      return DROPEFFECT_SCROLL;
    }
    if (client.y >= area.bottom - kScrollBand && top + ListView_GetCountPerPage(list_) < rows_->Count()) {
      ListView_Scroll(list_, 0, step);
      return DROPEFFECT_SCROLL;
    }
    if (client.x < area.left + kScrollBand) {
      ListView_Scroll(list_, -step, 0);
      return DROPEFFECT_SCROLL;
    }
    if (client.x >= area.right - kScrollBand) {
      ListView_Scroll(list_, step, 0);
      return DROPEFFECT_SCROLL;
    }
  }
  gap_ = ComputeDropGap(*rows_, dragSource_, at);
  DrawMark();
  switch (gap_.effect) {
    case DropEffect::kMove: return DROPEFFECT_MOVE;
    case DropEffect::kLink: return DROPEFFECT_LINK;
    default: return DROPEFFECT_NONE;
  }
}

bool MediaListView::DropAt(POINT client) {
  if (!internal_) return false;
  DragOverAt(client);
  const DropGap gap = gap_;
  EraseMark();
  if (gap.effect != DropEffect::kMove || gap.gap < 0) {
    EndDrag();
    return false;
  }
  const int target = DropTargetForGap(*rows_, gap.gap);
  EndDrag();
  return MoveSelectedEntries(target) >= 0;
}

void MediaListView::DropFiles(std::vector<Text> paths) {
  if (handlers_.filesDropped) handlers_.filesDropped(std::move(paths));
}

void MediaListView::EraseMark() {
  if (!markShown_ || !list_) return;
  markShown_ = false;
  InvalidateRect(list_, &markRect_, TRUE);
  UpdateWindow(list_);
}

void MediaListView::DrawMark() {
  if (gap_.markRow < 0) return;
  RECT row{};
  if (!ListView_GetItemRect(list_, gap_.markRow, &row, LVIR_BOUNDS)) return;
  RECT area{};
  GetClientRect(list_, &area);
  const int y = gap_.markAtTop ? row.top : row.bottom - 1;
  const int left = std::max(row.left, area.left) + 1;
  const int right = std::min(row.right, area.right) - 2;
  WindowDc dc(list_);
  if (!dc.get()) return;
  UniquePen pen(CreatePen(PS_SOLID, 2, ListView_GetTextColor(list_)));
  SelectScope guard(dc.get(), pen.get());
  MoveToEx(dc.get(), left, y, nullptr);
  LineTo(dc.get(), right, y);
  MoveToEx(dc.get(), left, y - 4, nullptr);
  LineTo(dc.get(), left, y + 5);
  MoveToEx(dc.get(), right, y - 4, nullptr);
  LineTo(dc.get(), right, y + 5);
  markRect_ = {left - 3, y - 6, right + 3, y + 7};
  markShown_ = true;
}

}  // namespace sorvane::win
