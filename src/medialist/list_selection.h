// How the user's clicks and keys change the selection of a MediaList. The
// list keeps the selection (the list view only asks it which rows to draw as
// selected), so these rules are the ones a report list view applies to its
// own selection: plain click, Ctrl+click toggle, Shift+click range from the
// anchor, Ctrl+Shift+click adding a range, a press on a selected row that
// narrows the selection only when the button comes up there (so a drag takes
// the whole selection along), right-click, and keyboard moves of the focus.
//
// The anchor is the row a Shift range starts from; the control keeps it and
// the focus, so each gesture takes both as they are and answers what they
// become. `report` says when the control would have reported the focused
// row's state once more without a change of focus (that report plays the
// row): when only its selected state changed, and whenever a row is made the
// only selected one (the control clears every row first and selects that one
// again).
#pragma once

namespace sorvane {

class MediaList;

struct SelectionKeys {
  bool ctrl = false;
  bool shift = false;
};

struct SelectionOutcome {
  int focus = -1;       // the row with the focus afterwards (-1: as before)
  int anchor = -1;      // the anchor afterwards
  bool report = false;  // report the focused row again (it plays again)
  bool changed = false; // some row's selected state changed
};

class ListSelection {
 public:
  explicit ListSelection(MediaList& rows) : rows_(rows) {}

  // Left button pressed over row (-1: over no row).
  SelectionOutcome Press(int row, SelectionKeys keys, int anchor, int focus);
  // The mouse moved over row (-1: none) with the left button held (held
  // false: the button is up); beyond: farther from the press than a drag starts.
  SelectionOutcome Move(int row, bool held, bool beyond, int anchor, int focus);
  // Left button released over row.
  SelectionOutcome Release(int row, int anchor, int focus);
  // Right button pressed over row (-1: over no row).
  SelectionOutcome RightPress(int row, SelectionKeys keys, int anchor, int focus);
  // The keyboard moves the focus to row (arrows, Home, End, page keys, a
  // typed title); space: the space bar, row being the focused row. The
  // caller leaves out a navigation key that lands on the focused row.
  SelectionOutcome KeyTo(int row, bool space, SelectionKeys keys, int anchor, int focus);

  // A press on a selected row that narrows the selection on release there.
  int PendingRow() const { return pressed_; }
  void Forget() {
    pressed_ = -1;
    held_ = false;
  }

 private:
  bool SelectOnly(int row);                 // true when row's own state changed
  void SelectOnlyRange(int from, int to);
  void AddRange(int from, int to);
  bool SetRow(int row, bool on);            // true when it changed
  SelectionOutcome Range(int row, int anchor);

  MediaList& rows_;
  bool addsRanges_ = true;  // the last Ctrl+click selected: Ctrl+Shift+click adds a range
  int pressed_ = -1;
  bool held_ = false;
};

}  // namespace sorvane
