// The press-and-release rules that keep a selection for a drag: a press on a
// selected row changes nothing until the button comes up over that same row,
// so dragging from it carries every selected row. (Clicks and keys are
// checked against the real list view in the Windows tests.)
#include <gtest/gtest.h>

#include <vector>

#include "medialist/list_selection.h"
#include "medialist/media_list.h"

namespace sorvane {
namespace {

MediaList Rows(int n, std::vector<int> selected) {
  MediaList list;
  for (int i = 0; i < n; ++i) AddMediaFile(list, u"C:\\m\\x.mp3", nullptr);
  for (int r : selected) list.SetSelected(r, true);
  return list;
}

TEST(ListSelectionPress, APressOnASelectedRowWaitsForTheRelease) {
  struct Case {
    const char* name;
    int moveTo;       // row under the mouse while held (-2: no move)
    bool beyond;      // moved farther than a drag starts
    bool held;        // the button still down when moving
    int releaseOver;  // row under the release
    std::vector<int> selected;
    int pending;      // the pressed row still waiting after the move
  };
  const Case cases[] = {
      {"release on the pressed row", -2, false, true, 2, {2}, 2},
      {"a wobble on the row, then release there", 2, false, true, 2, {2}, 2},
      {"dragged away: the selection travels", 4, true, true, 4, {0, 2, 3}, -1},
      {"moved onto another row and back", 3, false, true, 2, {0, 2, 3}, -1},
      {"the button came up elsewhere unseen", 2, false, false, 2, {0, 2, 3}, -1},
  };
  for (const Case& c : cases) {
    MediaList list = Rows(6, {0, 2, 3});
    ListSelection sel(list);
    const SelectionOutcome press = sel.Press(2, {}, 0, 0);
    EXPECT_FALSE(press.changed) << c.name;
    EXPECT_EQ(press.focus, 2) << c.name;
    EXPECT_EQ(press.anchor, 0) << c.name << ": a press keeps the anchor";
    EXPECT_EQ(list.SelectedRows(), (std::vector<int>{0, 2, 3})) << c.name;
    if (c.moveTo != -2) sel.Move(c.moveTo, c.held, c.beyond, 0, 2);
    EXPECT_EQ(sel.PendingRow(), c.pending) << c.name;
    const SelectionOutcome release = sel.Release(c.releaseOver, 0, 2);
    EXPECT_EQ(list.SelectedRows(), c.selected) << c.name;
    if (c.selected.size() == 1) {
      EXPECT_EQ(release.anchor, 2) << c.name;
      EXPECT_TRUE(release.report) << c.name << ": the row made the only selected one is reported again";
    }
    EXPECT_EQ(sel.PendingRow(), -1) << c.name;
  }
}

TEST(ListSelectionPress, ADragFromARowThatLostItsSelectionSelectsIt) {
  MediaList list = Rows(4, {1});
  ListSelection sel(list);
  sel.Press(1, {}, 1, 1);
  list.SetSelected(1, false);  // e.g. a key changed it while the button was down
  const SelectionOutcome out = sel.Move(1, true, true, 1, 1);
  EXPECT_TRUE(list.IsSelected(1));
  EXPECT_TRUE(out.report);
  EXPECT_EQ(sel.PendingRow(), -1);
}

TEST(ListSelectionPress, RangesStayInsideTheRows) {
  MediaList list = Rows(5, {});
  ListSelection sel(list);
  sel.Press(4, {true, true}, 9, 0);  // an anchor from before the rows shrank
  EXPECT_EQ(list.SelectedRows(), std::vector<int>{4});
  sel.Press(1, {false, true}, 9, 4);
  EXPECT_EQ(list.SelectedRows(), std::vector<int>{1}) << "no anchor row: the row itself";
  sel.KeyTo(3, false, {false, true}, 1, 1);
  EXPECT_EQ(list.SelectedRows(), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(sel.KeyTo(7, false, {}, 1, 3).focus, -1) << "a row beyond the list changes nothing";
  EXPECT_EQ(list.SelectedRows(), (std::vector<int>{1, 2, 3}));
}

}  // namespace
}  // namespace sorvane
