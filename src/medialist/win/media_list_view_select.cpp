// The user's selection in the list view. The model keeps which rows are
// selected (the control asks for it through LVN_GETDISPINFO and stores none),
// so the clicks and keys that change it are applied here, by the rules of
// ListSelection; the control still moves the focus, keeps the anchor (its
// selection mark), scrolls, and starts drags.
//
// Each gesture reaches the control in a form that leaves the selection alone:
// a click as a Ctrl+click, a key with only Ctrl held. That matters for speed as
// much as for correctness: the control clears "its" selection by asking for
// the state of every row, one notification per row.
#include "medialist/win/media_list_view.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace sorvane::win {

namespace {

bool KeyDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

SelectionKeys MouseKeys(WPARAM keys) { return {(keys & MK_CONTROL) != 0, (keys & MK_SHIFT) != 0}; }
SelectionKeys HeldKeys() { return {KeyDown(VK_CONTROL), KeyDown(VK_SHIFT)}; }

POINT PointOf(LPARAM at) { return {GET_X_LPARAM(at), GET_Y_LPARAM(at)}; }

// Runs work while the thread's key state shows Ctrl held and Shift up, as the
// control reads it when it moves the focus by keyboard: with Ctrl it moves
// only the focus and leaves the selection to us.
template <class Work>
LRESULT WithOnlyCtrlHeld(Work&& work) {
  BYTE real[256];
  if (!GetKeyboardState(real)) return work();
  BYTE faked[256];
  std::memcpy(faked, real, sizeof faked);
  faked[VK_CONTROL] |= 0x80;
  for (int key : {VK_SHIFT, VK_LSHIFT, VK_RSHIFT}) faked[key] &= 0x7F;
  SetKeyboardState(faked);
  const LRESULT result = work();
  SetKeyboardState(real);
  return result;
}

}  // namespace

int MediaListView::HitRow(POINT client) const {
  LVHITTESTINFO hit{};
  hit.pt = client;
  const int row = ListView_SubItemHitTest(list_, &hit);
  return rows_->IsRow(row) ? row : -1;
}

int MediaListView::ControlFocus() const { return ListView_GetNextItem(list_, -1, LVNI_FOCUSED); }

void MediaListView::SetControlFocus(int row) { ListView_SetItemState(list_, row, LVIS_FOCUSED, LVIS_FOCUSED); }

// The control reports a row's state each time it changes; with the selection
// in the model it no longer sees the focused row's selection change, so that
// report (which plays the row) is made here.
void MediaListView::ReportFocus(int row) {
  if (!rows_->IsRow(row)) return;
  rows_->SetFocus(row);
  if (handlers_.playUrl) handlers_.playUrl(rows_->Cell(row, kColumnPath));
}

void MediaListView::Apply(const SelectionOutcome& outcome) {
  if (!list_) return;
  if (outcome.changed) InvalidateRect(list_, nullptr, TRUE);
  if (rows_->IsRow(outcome.focus) && ControlFocus() != outcome.focus) SetControlFocus(outcome.focus);
  if (!list_) return;
  if (outcome.anchor != ListView_GetSelectionMark(list_)) ListView_SetSelectionMark(list_, outcome.anchor);
  if (outcome.report) ReportFocus(outcome.focus);
}

LRESULT MediaListView::OnLeftDown(HWND window, WPARAM keys, LPARAM at) {
  pressAt_ = PointOf(at);
  marquee_ = false;
  const SelectionOutcome outcome =
      selection_->Press(HitRow(pressAt_), MouseKeys(keys), ListView_GetSelectionMark(list_), ControlFocus());
  if (outcome.changed) InvalidateRect(list_, nullptr, TRUE);
  // As a Ctrl+click the control focuses the row, takes the keyboard focus and
  // watches for a drag, without touching the selection.
  const LRESULT result = DefSubclassProc(window, WM_LBUTTONDOWN, (keys | MK_CONTROL) & ~static_cast<WPARAM>(MK_SHIFT), at);
  Apply(outcome);
  return result;
}

LRESULT MediaListView::OnLeftUp(HWND window, WPARAM keys, LPARAM at) {
  marquee_ = false;
  const SelectionOutcome outcome =
      selection_->Release(HitRow(PointOf(at)), ListView_GetSelectionMark(list_), ControlFocus());
  const LRESULT result = DefSubclassProc(window, WM_LBUTTONUP, keys, at);
  Apply(outcome);
  return result;
}

LRESULT MediaListView::OnMouseMove(HWND window, WPARAM keys, LPARAM at) {
  const POINT p = PointOf(at);
  const bool held = (keys & MK_LBUTTON) != 0;
  if (!held) marquee_ = false;
  if (held || selection_->PendingRow() >= 0) {
    const int cx = GetSystemMetrics(SM_CXDRAG), cy = GetSystemMetrics(SM_CYDRAG);
    const bool within = p.x >= pressAt_.x - cx && p.x < pressAt_.x + cx && p.y >= pressAt_.y - cy && p.y < pressAt_.y + cy;
    // Before the control sees the move: it may start a drag, which runs until the drop.
    Apply(selection_->Move(held ? HitRow(p) : -1, held, !within, ListView_GetSelectionMark(list_), ControlFocus()));
  }
  const LRESULT result = DefSubclassProc(window, WM_MOUSEMOVE, keys, at);
  if (marquee_ && held && list_) UpdateMarquee(p);
  return result;
}

LRESULT MediaListView::OnRightDown(HWND window, WPARAM keys, LPARAM at) {
  const int row = HitRow(PointOf(at));
  const SelectionOutcome outcome =
      selection_->RightPress(row, MouseKeys(keys), ListView_GetSelectionMark(list_), ControlFocus());
  if (row < 0) {
    // Over no row only the selection goes; the control would walk every row
    // to clear its own. The button's release still asks for a context menu,
    // which over no row shows nothing.
    if (outcome.changed) InvalidateRect(list_, nullptr, TRUE);
    SetFocus(list_);
    return 0;
  }
  // The row takes the focus (and plays), then the selection (reported once
  // more) before the control tracks the button and asks for the menu.
  Apply(outcome);
  if (!list_) return 0;
  return DefSubclassProc(window, WM_RBUTTONDOWN, keys | MK_CONTROL, at);
}

LRESULT MediaListView::OnNavigationKey(HWND window, WPARAM key, LPARAM data) {
  const SelectionKeys keys = HeldKeys();
  const int anchor = ListView_GetSelectionMark(list_);
  const int focus = ControlFocus();
  // The control finds the row the key leads to (pages depend on its scroll
  // position) and moves the focus there.
  const LRESULT result = WithOnlyCtrlHeld([&] { return DefSubclassProc(window, WM_KEYDOWN, key, data); });
  if (!list_) return result;
  const int after = ControlFocus();
  const int row = after != focus ? after : (key == VK_SPACE ? focus : -1);
  if (rows_->IsRow(row)) Apply(selection_->KeyTo(row, key == VK_SPACE, keys, anchor, focus));
  return result;
}

LRESULT MediaListView::OnChar(HWND window, WPARAM code, LPARAM data) {
  const SelectionKeys keys = HeldKeys();
  const int anchor = ListView_GetSelectionMark(list_);
  const int focus = ControlFocus();
  typing_ = true;
  found_ = -1;
  const LRESULT result = WithOnlyCtrlHeld([&] { return DefSubclassProc(window, WM_CHAR, code, data); });
  typing_ = false;
  if (list_ && rows_->IsRow(found_)) Apply(selection_->KeyTo(found_, false, keys, anchor, focus));
  return result;
}

// Selection set from outside (other code, tests, accessibility tools) goes
// to the model; the focus and any other state bits still to the control.
LRESULT MediaListView::OnSetItemState(HWND window, WPARAM wParam, LPARAM lParam) {
  auto* item = reinterpret_cast<LVITEMW*>(lParam);
  const int row = static_cast<int>(static_cast<INT_PTR>(wParam));
  if (!item || !(item->stateMask & LVIS_SELECTED)) return DefSubclassProc(window, LVM_SETITEMSTATE, wParam, lParam);
  const bool on = (item->state & LVIS_SELECTED) != 0;
  if (row == -1) {
    if (item->state & item->stateMask & LVIS_FOCUSED) return FALSE;  // no row set can have the focus
    rows_->SetAllSelected(on && rows_->Count() > 0);
    selection_->Forget();
    InvalidateRect(list_, nullptr, TRUE);
    if (item->stateMask & LVIS_FOCUSED) {
      const int focused = ControlFocus();
      if (focused >= 0) ListView_SetItemState(list_, focused, 0, LVIS_FOCUSED);
    }
    LVITEMW rest = *item;
    rest.stateMask &= ~static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED);
    if (rest.stateMask) DefSubclassProc(window, LVM_SETITEMSTATE, wParam, reinterpret_cast<LPARAM>(&rest));
    return TRUE;
  }
  if (!rows_->IsRow(row)) return FALSE;
  const int before = ControlFocus();
  const bool changed = rows_->IsSelected(row) != on;
  rows_->SetSelected(row, on);
  if (changed) ListView_RedrawItems(list_, row, row);
  const LRESULT result = DefSubclassProc(window, LVM_SETITEMSTATE, wParam, lParam);
  if (changed && list_ && !pushing_ && before == row && ControlFocus() == row) ReportFocus(row);
  return result;
}

LRESULT MediaListView::NextSelected(int after) const {
  for (int r = std::max(after + 1, 0); r < rows_->Count(); ++r)
    if (rows_->IsSelected(r)) return r;
  return -1;
}

// Dragging from a point beside or below the rows draws a frame; the rows it
// touches are selected (with Ctrl: switched) on top of what was selected
// when the frame began.
void MediaListView::BeginMarquee() {
  const int top = ListView_GetTopIndex(list_);
  RECT first{};
  if (!rows_->IsRow(top) || !ListView_GetItemRect(list_, top, &first, LVIR_BOUNDS)) return;
  const int height = first.bottom - first.top;
  marquee_ = height > 0;
  marqueeToggles_ = KeyDown(VK_CONTROL);
  marqueeFrom_ = {pressAt_.x - first.left, pressAt_.y - (first.top - top * height)};
  marqueeBase_.assign(static_cast<size_t>(rows_->Count()), 0);
  for (int r = 0; r < rows_->Count(); ++r) marqueeBase_[static_cast<size_t>(r)] = rows_->IsSelected(r) ? 1 : 0;
}

void MediaListView::UpdateMarquee(POINT client) {
  const int top = ListView_GetTopIndex(list_);
  RECT first{}, area{};
  if (!rows_->IsRow(top) || !ListView_GetItemRect(list_, top, &first, LVIR_BOUNDS)) return;
  const int height = first.bottom - first.top;
  if (height <= 0 || marqueeBase_.size() != static_cast<size_t>(rows_->Count())) return;
  GetClientRect(list_, &area);
  client.x = std::clamp(client.x, area.left, area.right);
  client.y = std::clamp(client.y, area.top, area.bottom);
  const POINT to{client.x - first.left, client.y - (first.top - top * height)};
  const int left = std::min(marqueeFrom_.x, to.x), right = std::max(marqueeFrom_.x, to.x);
  const int upper = std::min(marqueeFrom_.y, to.y), lower = std::max(marqueeFrom_.y, to.y);
  int from = 1, last = 0;  // no row unless the frame meets the rows' width
  if (right > 0 && left < first.right - first.left && lower > upper) {
    from = std::max(upper / height, 0);
    last = std::min((lower - 1) / height, rows_->Count() - 1);
  }
  const int focus = ControlFocus();
  bool focusChanged = false;
  for (int r = 0; r < rows_->Count(); ++r) {
    bool on = marqueeBase_[static_cast<size_t>(r)] != 0;
    if (r >= from && r <= last) on = marqueeToggles_ ? !on : true;
    if (r == focus && rows_->IsSelected(r) != on) focusChanged = true;
    rows_->SetSelected(r, on);
  }
  InvalidateRect(list_, nullptr, TRUE);
  if (focusChanged) ReportFocus(focus);  // the frame changed the focused row: reported as any change of it
}

}  // namespace sorvane::win
