#include <gtest/gtest.h>

#include <string>

#include "medialist/drop_gap.h"
#include "medialist/media_list.h"

namespace sorvane {
namespace {

// Rows named by one letter each ("A" as path "C:\\m\\A.mp3").
MediaList Rows(std::string letters, std::string selected = {}) {
  MediaList list;
  for (char c : letters) AddMediaFile(list, u"C:\\m\\" + Text(1, static_cast<char16_t>(c)) + u".mp3", nullptr);
  for (char c : selected) list.SetSelected(static_cast<int>(letters.find(c)), true);
  return list;
}

std::string Order(const MediaList& list) {
  std::string s;
  for (int r = 0; r < list.Count(); ++r) s += static_cast<char>(list.Cell(r, kColumnTitle)[0]);
  return s;
}

std::string Selected(const MediaList& list) {
  std::string s;
  for (int r : list.SelectedRows()) s += static_cast<char>(list.Cell(r, kColumnTitle)[0]);
  return s;
}

class FakeProber : public EntryProber {
 public:
  bool opens = true;
  ProbedFile result;
  bool Probe(const Text&, ProbedFile& out) override {
    out = result;
    return opens;
  }
};

TEST(MediaListAdd, UnprobedRowShowsFileNameAndNoImage) {
  struct Case {
    Text path;
    Text name;
  } cases[] = {
      {u"C:\\music\\song.mp3", u"song.mp3"},
      {u"song.mp3", u"song.mp3"},            // no backslash: the whole path
      {u"C:\\music\\", u""},                 // ends with a backslash
      {u"\\\\srv\\share\\日本語.flac", u"日本語.flac"},
  };
  for (const Case& c : cases) {
    MediaList list;
    EXPECT_TRUE(AddMediaFile(list, c.path, nullptr));
    ASSERT_EQ(list.Count(), 1);
    const MediaEntry& e = list.Entry(0);
    EXPECT_EQ(e.text[kColumnTitle], c.name);
    EXPECT_EQ(e.text[kColumnPath], c.path);
    EXPECT_EQ(e.text[kColumnDuration], u"");
    EXPECT_EQ(e.text[kColumnFileName], u"");  // only probed adds fill column 3
    EXPECT_EQ(e.image, kImageNone);
    EXPECT_EQ(e.subImage, kImageNone);
    EXPECT_FALSE(list.IsSelected(0));
    EXPECT_EQ(list.Focus(), -1);
  }
}

TEST(MediaListAdd, ProbedRowTakesTitleDurationAndTypeOrIsRefused) {
  FakeProber probe;
  MediaList list;
  probe.result = {true, true, u"A Title", u"03:07"};
  EXPECT_TRUE(AddMediaFile(list, u"C:\\v\\clip.mp4", &probe));
  probe.result = {true, false, u"", u"00:09"};  // no title: the file name stands in
  EXPECT_TRUE(AddMediaFile(list, u"C:\\a\\tone.wav", &probe));
  probe.result = {false, false, u"x", u"00:01"};  // opens, but not media
  EXPECT_FALSE(AddMediaFile(list, u"C:\\a\\notes.txt", &probe));
  probe.opens = false;
  probe.result = {true, false, u"x", u"00:01"};
  EXPECT_FALSE(AddMediaFile(list, u"C:\\a\\gone.mp3", &probe));

  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Entry(0).text[kColumnTitle], u"A Title");
  EXPECT_EQ(list.Entry(0).text[kColumnDuration], u"03:07");
  EXPECT_EQ(list.Entry(0).text[kColumnFileName], u"clip.mp4");
  EXPECT_EQ(list.Entry(0).image, kImageVideo);
  EXPECT_EQ(list.Entry(1).text[kColumnTitle], u"tone.wav");
  EXPECT_EQ(list.Entry(1).image, kImageAudio);
  EXPECT_EQ(list.Entry(1).subImage, kImageNone);
  EXPECT_EQ(list.SelectedCount(), 0);
  EXPECT_EQ(list.Focus(), -1);
}

TEST(MediaListText, GetEntryTextCutsAt1023ButTheCellStaysWhole) {
  MediaList list;
  const Text longPath = u"C:\\" + Text(2000, u'a');
  AddMediaFile(list, longPath, nullptr);
  EXPECT_EQ(list.GetEntryText(0, kColumnPath).size(), 1023u);
  EXPECT_EQ(list.Cell(0, kColumnPath), longPath);
  EXPECT_EQ(list.GetEntryText(1, kColumnPath), u"");
  EXPECT_EQ(list.GetEntryText(0, 5), u"");
  EXPECT_EQ(list.GetEntryText(-1, 0), u"");
}

TEST(MediaListMove, MovesClampsAndReportsTarget) {
  struct Case {
    const char* name;
    std::string selected;
    int target;
    int result;
    std::string order;
  } cases[] = {
      {"down one (h + 1)", "B", 2, 2, "ACBDE"},
      {"up one (h - 1)", "C", 1, 1, "ACBDE"},
      {"to the bottom (row count)", "B", 5, 5, "ACDEB"},
      {"last row down stays last", "E", 5, 5, "ABCDE"},
      {"last row down past the end", "E", 9, 5, "ABCDE"},
      {"top", "D", 0, 0, "DABCE"},
      {"place -1 clamps to the top", "D", -1, 0, "DABCE"},
      {"first row up stays first", "A", -1, 0, "ABCDE"},
      {"two rows keep their order", "AC", 2, 2, "BDACE"},
      {"two rows to the bottom", "AC", 5, 5, "BDEAC"},
      {"no selection", "", 2, -1, "ABCDE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MediaList list = Rows("ABCDE", c.selected);
    EXPECT_EQ(list.MoveSelectedEntries(c.target), c.result);
    EXPECT_EQ(Order(list), c.order);
    if (c.result < 0) continue;
    EXPECT_EQ(Selected(list), c.selected);  // only the moved rows stay selected
    ASSERT_TRUE(list.IsRow(list.Focus()));
    EXPECT_EQ(static_cast<char>(list.Cell(list.Focus(), 0)[0]), c.selected.back());  // last moved row
  }
  MediaList empty;
  EXPECT_EQ(empty.MoveSelectedEntries(0), -1);
}

TEST(MediaListMove, WholeRowsTravelIncludingImagesAndLongCells) {
  MediaList list = Rows("AB", "A");
  const Text longPath = u"C:\\" + Text(1500, u'z');
  list.SetEntryText(0, kColumnPath, longPath);
  list.SetEntryText(0, kColumnDuration, u"01:02");
  list.SetImages(0, kImageFailed, kImageFailed);
  list.MoveSelectedEntries(2);
  EXPECT_EQ(Order(list), "BA");
  EXPECT_EQ(list.Cell(1, kColumnPath), longPath);
  EXPECT_EQ(list.Cell(1, kColumnDuration), u"01:02");
  EXPECT_EQ(list.Entry(1).image, kImageFailed);
  EXPECT_EQ(list.Entry(1).subImage, kImageFailed);
}

TEST(MediaListSelection, RemoveSelectAllAndInvert) {
  MediaList list = Rows("ABCDE", "BD");
  list.SetFocus(2);  // C survives: its focus follows it
  EXPECT_EQ(list.RemoveSelectedEntries(), 2);
  EXPECT_EQ(Order(list), "ACE");
  EXPECT_EQ(list.SelectedCount(), 0);
  EXPECT_EQ(list.Focus(), 1);

  list.SetSelected(1, true);
  list.SetFocus(1);  // the focused row goes: no row inherits the focus (nothing plays)
  list.RemoveSelectedEntries();
  EXPECT_EQ(Order(list), "AE");
  EXPECT_EQ(list.Focus(), -1);
  EXPECT_EQ(list.RemoveSelectedEntries(), 0);

  MediaList l2 = Rows("ABCD", "AC");
  l2.InvertSelection();
  EXPECT_EQ(Selected(l2), "BD");
  EXPECT_EQ(l2.SelectedCount(), 2);
  EXPECT_EQ(l2.FirstSelected(), 1);
  l2.SelectAllEntries();
  EXPECT_EQ(Selected(l2), "ABCD");
  l2.InvertSelection();
  EXPECT_EQ(l2.SelectedCount(), 0);
  EXPECT_EQ(l2.FirstSelected(), -1);
}

// Drags: the gap under the cursor, its effect, then the move a drop makes.
TEST(DropGap, GapEffectAndResultingOrder) {
  struct Case {
    const char* name;
    std::string rows, selected;
    int source;
    DropPoint at;
    DropEffect effect;
    std::string after;  // order after the drop; empty when nothing may drop
  } cases[] = {
      {"A onto lower half of B", "ABC", "A", 0, {1, false, false}, DropEffect::kMove, "BAC"},
      {"A onto upper half of B", "ABC", "A", 0, {1, true, false}, DropEffect::kNone, ""},
      {"C onto lower half of B", "ABC", "C", 2, {1, false, false}, DropEffect::kNone, ""},
      {"C onto upper half of A", "ABC", "C", 2, {0, true, false}, DropEffect::kMove, "CAB"},
      {"A and C below D", "ABCD", "AC", 0, {-1, false, true}, DropEffect::kMove, "BDAC"},
      {"A and C onto lower half of D", "ABCD", "AC", 2, {3, false, false}, DropEffect::kMove, "BDAC"},
      {"A and B onto upper half of C, source A", "ABCD", "AB", 1, {2, true, false}, DropEffect::kMove, "ABCD"},
      {"two rows, source just above the upper half", "ABCD", "BD", 1, {2, true, false}, DropEffect::kMove, "ABDC"},
      {"over no row and not below the rows", "ABC", "A", 0, {-1, false, false}, DropEffect::kLink, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MediaList list = Rows(c.rows, c.selected);
    const DropGap g = ComputeDropGap(list, c.source, c.at);
    EXPECT_EQ(g.effect, c.effect);
    if (c.effect != DropEffect::kMove) {
      EXPECT_EQ(g.markRow, -1);
      continue;
    }
    list.MoveSelectedEntries(DropTargetForGap(list, g.gap));
    EXPECT_EQ(Order(list), c.after);
  }
  MediaList empty;
  EXPECT_EQ(ComputeDropGap(empty, -1, {-1, false, true}).effect, DropEffect::kLink);
}

TEST(DropGap, MarkSitsOnTheEdgeOfTheGap) {
  MediaList list = Rows("ABCD", "A");
  DropGap g = ComputeDropGap(list, 0, {2, true, false});
  EXPECT_EQ(g.gap, 2);
  EXPECT_EQ(g.markRow, 2);
  EXPECT_TRUE(g.markAtTop);
  g = ComputeDropGap(list, 0, {2, false, false});
  EXPECT_EQ(g.gap, 3);
  EXPECT_FALSE(g.markAtTop);
  g = ComputeDropGap(list, 0, {-1, false, true});
  EXPECT_EQ(g.gap, 4);
  EXPECT_EQ(g.markRow, 3);
  EXPECT_FALSE(g.markAtTop);
}

}  // namespace
}  // namespace sorvane
