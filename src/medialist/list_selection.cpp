#include "medialist/list_selection.h"

#include <algorithm>

#include "medialist/media_list.h"

namespace sorvane {

bool ListSelection::SetRow(int row, bool on) {
  if (!rows_.IsRow(row) || rows_.IsSelected(row) == on) return false;
  rows_.SetSelected(row, on);
  return true;
}

bool ListSelection::SelectOnly(int row) {
  const bool was = rows_.IsSelected(row);
  if (rows_.SelectedCount() > (was ? 1 : 0)) rows_.SetAllSelected(false);
  SetRow(row, true);
  return !was;
}

void ListSelection::SelectOnlyRange(int from, int to) {
  rows_.SetAllSelected(false);
  AddRange(from, to);
}

void ListSelection::AddRange(int from, int to) {
  from = std::max(from, 0);
  to = std::min(to, rows_.Count() - 1);
  for (int r = from; r <= to; ++r) rows_.SetSelected(r, true);
}

// Shift: only the rows from the anchor to row are selected; without an
// anchor row itself becomes the anchor.
SelectionOutcome ListSelection::Range(int row, int anchor) {
  SelectionOutcome out;
  out.focus = row;
  out.changed = true;
  if (anchor < 0 || !rows_.IsRow(anchor)) {
    out.anchor = row;
    SelectOnly(row);
  } else {
    out.anchor = anchor;
    SelectOnlyRange(std::min(anchor, row), std::max(anchor, row));
  }
  return out;
}

SelectionOutcome ListSelection::Press(int row, SelectionKeys keys, int anchor, int focus) {
  held_ = true;
  pressed_ = -1;
  SelectionOutcome out;
  out.anchor = anchor;
  if (!rows_.IsRow(row)) {
    if (!keys.ctrl && !keys.shift && rows_.SelectedCount() > 0) {
      rows_.SetAllSelected(false);
      out.changed = true;
    }
    return out;
  }
  out.focus = row;
  if (keys.ctrl && keys.shift) {
    out.anchor = row;
    out.changed = true;
    if (addsRanges_) {
      const int from = anchor < 0 ? row : std::min(anchor, row);
      AddRange(from, std::max(anchor, row));
    } else {
      out.report = SetRow(row, true) && focus == row;
    }
  } else if (keys.ctrl) {
    addsRanges_ = !rows_.IsSelected(row);
    SetRow(row, addsRanges_);
    out.anchor = row;
    out.changed = true;
    out.report = focus == row;
  } else if (keys.shift) {
    return Range(row, anchor);
  } else if (rows_.IsSelected(row)) {
    pressed_ = row;  // the selection stays for a drag; a release here narrows it
  } else {
    SelectOnly(row);
    out.anchor = row;
    out.changed = true;
    out.report = focus == row;
  }
  return out;
}

SelectionOutcome ListSelection::Move(int row, bool held, bool beyond, int anchor, int focus) {
  SelectionOutcome out;
  out.anchor = anchor;
  if (!held) {
    held_ = false;
    pressed_ = -1;
  }
  if (!held_) return out;
  if (pressed_ != row) pressed_ = -1;
  if (beyond && pressed_ >= 0 && !rows_.IsSelected(pressed_)) {
    SetRow(pressed_, true);
    out.focus = pressed_;
    out.changed = true;
    out.report = focus == pressed_;
    pressed_ = -1;
  }
  return out;
}

SelectionOutcome ListSelection::Release(int row, int anchor, int focus) {
  SelectionOutcome out;
  out.anchor = anchor;
  if (!held_) return out;
  held_ = false;
  const int pressed = pressed_;
  pressed_ = -1;
  if (row < 0 || row != pressed || !rows_.IsRow(row)) return out;
  const bool others = rows_.SelectedCount() > (rows_.IsSelected(row) ? 1 : 0);
  const bool own = SelectOnly(row);
  out.focus = row;
  out.anchor = row;
  out.changed = own || others;
  out.report = focus == row;
  return out;
}

SelectionOutcome ListSelection::RightPress(int row, SelectionKeys keys, int anchor, int focus) {
  (void)focus;
  Forget();
  SelectionOutcome out;
  out.anchor = anchor;
  if (!rows_.IsRow(row)) {
    if (rows_.SelectedCount() > 0) {
      rows_.SetAllSelected(false);
      out.changed = true;
    }
    return out;
  }
  out.focus = row;
  if (!keys.ctrl && !keys.shift && !rows_.IsSelected(row)) {
    // The row first takes the focus, then the selection: its state is
    // reported twice, the second time for the selection.
    SelectOnly(row);
    out.anchor = row;
    out.changed = true;
    out.report = true;
  }
  return out;
}

SelectionOutcome ListSelection::KeyTo(int row, bool space, SelectionKeys keys, int anchor, int focus) {
  SelectionOutcome out;
  out.anchor = anchor;
  if (!rows_.IsRow(row)) return out;
  out.focus = row;
  if (keys.shift) return Range(row, anchor);
  if (keys.ctrl) {
    if (!space) return out;  // Ctrl+arrow moves only the focus
    const bool on = !rows_.IsSelected(row);
    SetRow(row, on);
    if (on) out.anchor = row;
    out.changed = true;
    out.report = focus == row;
    return out;
  }
  const bool others = rows_.SelectedCount() > (rows_.IsSelected(row) ? 1 : 0);
  const bool own = SelectOnly(row);
  out.anchor = row;
  out.changed = own || others;
  out.report = focus == row;
  return out;
}

}  // namespace sorvane
