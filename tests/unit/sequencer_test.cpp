#include "playback/sequencer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>

#include "fake_media_rows.h"

namespace sorvane {
namespace {

using testing::FakeBackend;
using testing::FakeRows;

class FakeSettings : public SequencerSettings {
 public:
  int ReadInt(TextView key, int def) override {
    auto it = ints.find(Text(key));
    return it == ints.end() ? def : it->second;
  }
  void WriteInt(TextView key, int value) override {
    ints[Text(key)] = value;
    writes.push_back(Text(key));
  }
  Text ReadProgramString(TextView key, TextView def) override {
    auto it = strings.find(Text(key));
    return it == strings.end() ? Text(def) : it->second;
  }
  void WriteProgramString(TextView key, TextView value) override {
    strings[Text(key)] = Text(value);
    writes.push_back(Text(key));
  }
  std::map<Text, int> ints;
  std::map<Text, Text> strings;
  std::vector<Text> writes;
};

class FakePlayer : public SequencerPlayer, public SequencerPanel {
 public:
  bool PlayUrl(TextView path) override {
    played.push_back(Text(path));
    return true;
  }
  void TogglePlayPause() override { ++toggles; }
  double PositionSeconds() override { return position; }
  double DurationSeconds() override { return duration; }
  void SetPositionSeconds(double s) override { seeks.push_back(s); }
  void Stop() override { ++stops; }
  void ToggleMute() override { ++mutes; }
  void SetShuffleGlyph(bool on) override { glyphs.push_back(on); }
  std::vector<Text> played;
  std::vector<double> seeks;
  std::vector<bool> glyphs;
  int toggles = 0, stops = 0, mutes = 0;
  double position = 0.0, duration = 0.0;
};

// A list of n playable rows "0" .. "n-1" and a sequencer over it.
struct Fixture {
  explicit Fixture(int n, int randomPlay = 0, int repeat = kRepeatAll, std::function<uint32_t()> random = nullptr) {
    for (int i = 0; i < n; ++i) {
      Text p = Format(u"%d", {i});
      rows.Add(p);
      backend.files[p] = FakeBackend::Audio(10);
    }
    settings.ints[u"random_play"] = randomPlay;
    settings.ints[u"m_Repeat"] = repeat;
    if (!random) random = [this] { return next++; };
    seq = std::make_unique<Sequencer>(rows, player, player, backend, settings, random);
    seq->LoadModes();
    settings.writes.clear();
  }
  Text Last() const { return player.played.empty() ? Text() : player.played.back(); }
  FakeRows rows;
  FakeBackend backend;
  FakeSettings settings;
  FakePlayer player;
  uint32_t next = 7;
  std::unique_ptr<Sequencer> seq;
};

TEST(SequencerOrder, SequentialWrapsAndWithoutSelectionNextIsFirstPreviousIsLast) {
  Fixture f(3);
  f.seq->PlayEntry(-1);
  EXPECT_EQ(f.Last(), u"2");
  EXPECT_EQ(f.rows.FirstSelected(), 2);
  f.seq->PlayEntry(+1);  // from the last row to the first
  EXPECT_EQ(f.Last(), u"0");

  Fixture g(3);
  g.seq->PlayEntry(+1);
  EXPECT_EQ(g.Last(), u"0");
  EXPECT_TRUE(g.rows.rows[0].focused);
}

TEST(SequencerOrder, EmptyListPlaysNothing) {
  Fixture f(0, /*random=*/1);
  for (int id : {kPlayCmdNext, kPlayCmdPrevious, kPlayCmdMenuNext, kPlayCmdMenuPrevious}) f.seq->OnCommand(id, false);
  f.seq->OnCommand(kPlayCmdNext, true);
  EXPECT_TRUE(f.player.played.empty());
  EXPECT_EQ(f.backend.opens, 0);
}

TEST(SequencerEndOfMedia, RepeatModesAndTheNextButton) {
  struct Case { int repeat; bool endOfMedia; int selected; const char16_t* plays; } cases[] = {
      {kRepeatOff, true, 1, nullptr}, {kRepeatOff, false, 1, u"2"},  // Next still works
      {kRepeatAll, true, 1, u"2"},    {kRepeatAll, true, 2, u"0"},
      {kRepeatOne, true, 1, u"1"},    {kRepeatOne, false, 1, u"2"},
      {kRepeatOne, true, -1, u"2"},  // nothing selected: the last row
      {7, true, 0, u"1"},             // an unknown stored value acts as Repeat All
  };
  for (const auto& c : cases) {
    Fixture f(3, 0, c.repeat);
    if (c.selected >= 0) f.rows.SelectAndFocus(c.selected);
    f.seq->OnCommand(kPlayCmdNext, c.endOfMedia);
    if (c.plays) {
      EXPECT_EQ(f.Last(), c.plays) << c.repeat << " " << c.endOfMedia << " " << c.selected;
    } else {
      EXPECT_TRUE(f.player.played.empty());
    }
  }
}

TEST(SequencerEndOfMedia, OneRowListWithRepeatAllPlaysTheSameRowAgain) {
  Fixture f(1);
  for (int i = 0; i < 3; ++i) f.seq->OnCommand(kPlayCmdNext, true);
  EXPECT_EQ(f.player.played, (std::vector<Text>{u"0", u"0", u"0"}));
}

TEST(SequencerEndOfMedia, TellsEndOfMediaFromTheNextButtonByTheSecondParameter) {
  EXPECT_TRUE(IsEndOfMedia(1259, 1259));
  EXPECT_FALSE(IsEndOfMedia(1259, 0x00120456));          // the button's window
  EXPECT_FALSE(IsEndOfMedia(1259u | (1u << 16), 1259));  // a notification code in the high word
}

TEST(SequencerRandom, FirstNextPlaysSecondOfTheOrderAndPreviousFromZeroWraps) {
  Fixture f(5, /*random=*/1);
  f.seq->PlayEntry(+1);
  ASSERT_EQ(f.seq->ShuffleOrder().size(), 5u);
  EXPECT_EQ(f.seq->ShufflePos(), 1);
  EXPECT_EQ(f.Last(), Format(u"%d", {f.seq->ShuffleOrder()[1]}));
  f.seq->PlayEntry(-1);
  EXPECT_EQ(f.seq->ShufflePos(), 0);
  f.seq->PlayEntry(-1);
  EXPECT_EQ(f.seq->ShufflePos(), 4);
  EXPECT_EQ(f.Last(), Format(u"%d", {f.seq->ShuffleOrder()[4]}));
}

TEST(SequencerRandom, ShuffleStepOverTheGenerator) {
  // j = r mod (i + 1), swap i and j for i ascending: with r = 7, 8, 9, 10, 11 the
  // swaps are (0,0) (1,0) (2,0) (3,2) (4,1), so [0 1 2 3 4] becomes [2 4 3 1 0].
  Fixture f(5, 1);
  f.seq->PlayEntry(0);
  EXPECT_EQ(f.seq->ShuffleOrder(), (std::vector<int>{2, 4, 3, 1, 0}));
}

TEST(SequencerRandom, OrderIsAPermutationAndDefaultGeneratorWorks) {
  Fixture f(50, 1);
  FakeRows rows;
  for (int i = 0; i < 50; ++i) rows.Add(Format(u"%d", {i}));
  Sequencer seq(rows, f.player, f.player, f.backend, f.settings);  // its own seeded generator
  seq.LoadModes();
  seq.PlayEntry(1);
  std::vector<int> sorted = seq.ShuffleOrder();
  std::sort(sorted.begin(), sorted.end());
  for (int i = 0; i < 50; ++i) EXPECT_EQ(sorted[i], i);
}

TEST(SequencerRandom, AddedRowRebuildsTheOrderAndRestartsAtZeroPlusStep) {
  Fixture f(4, 1);
  f.seq->PlayEntry(+1);
  f.seq->PlayEntry(+1);
  EXPECT_EQ(f.seq->ShufflePos(), 2);
  f.rows.Add(u"4");
  f.backend.files[u"4"] = FakeBackend::Audio(1);
  f.seq->PlayEntry(+1);
  EXPECT_EQ(f.seq->ShuffleOrder().size(), 5u);
  EXPECT_EQ(f.seq->ShufflePos(), 1);
}

TEST(SequencerRandom, ClickedRowLeavesThePositionInTheOrder) {
  Fixture f(5, 1);
  f.seq->PlayEntry(+1);
  f.rows.SelectAndFocus(f.seq->ShuffleOrder()[4]);  // the user clicks a row
  f.seq->PlayEntry(+1);
  EXPECT_EQ(f.seq->ShufflePos(), 2);
}

TEST(SequencerSkips, AllRowsMarkedSkipsTwentyThenProbesAndPlaysTheFailedRow) {
  Fixture f(5);
  f.backend.files.clear();  // every probe fails
  for (int i = 0; i < 5; ++i) MarkFailed(f.rows, i);
  f.seq->PlayEntry(+1);
  // From no selection (-1) rows 0..4 are looked at, then every larger step runs past the
  // end and wraps to row 0; after 20 looks row 0 is probed, fails (tries 21) and plays.
  EXPECT_EQ(f.backend.opens, 1);
  ASSERT_EQ(f.player.played.size(), 1u);
  EXPECT_EQ(f.Last(), u"0");
  EXPECT_TRUE(IsMarkedFailed(f.rows, 0));
}

TEST(SequencerSkips, AllRowsFailingMarksExactlyTenAndPlaysTheTenth) {
  Fixture f(20);
  f.backend.files.clear();
  f.seq->PlayEntry(+1);
  EXPECT_EQ(f.backend.opens, 10);
  int marked = 0;
  for (int i = 0; i < 20; ++i) marked += IsMarkedFailed(f.rows, i) ? 1 : 0;
  EXPECT_EQ(marked, 10);  // rows 0 .. 9, each once
  EXPECT_EQ(f.Last(), u"9");
  EXPECT_EQ(f.rows.FirstSelected(), 9);
  EXPECT_EQ(f.rows.rows[9].itemImage, kImageFailed);
}

TEST(SequencerSkips, SkipsAndFailuresShareOneCounter) {
  Fixture f(30);
  for (int i = 0; i < 8; ++i) MarkFailed(f.rows, i);  // 8 skips
  for (int i = 8; i < 30; ++i) f.backend.files.erase(Format(u"%d", {i}));
  f.seq->PlayEntry(+1);
  // 8 skips, then failures at rows 8 and 9 bring tries to 10: row 9 plays.
  EXPECT_EQ(f.backend.opens, 2);
  EXPECT_EQ(f.Last(), u"9");
}

TEST(SequencerSkips, RepeatOneExaminesTheSameMarkedRowTwentyTimes) {
  Fixture f(3, 0, kRepeatOne);
  f.rows.SelectAndFocus(1);
  MarkFailed(f.rows, 1);
  f.seq->OnCommand(kPlayCmdNext, true);
  EXPECT_EQ(f.backend.opens, 1);  // probed once after the 20 looks; it opens, so it plays
  EXPECT_EQ(f.Last(), u"1");
}

TEST(SequencerSkips, RetryStepGrowsInRandomOrder) {
  // Identity order (r = i gives j = i, so nothing moves), all but row 6 marked.
  uint32_t r = 0;
  Fixture f(10, 1, kRepeatAll, [&r] { return r++; });
  for (int i = 0; i < 10; ++i)
    if (i != 6) MarkFailed(f.rows, i);
  f.seq->PlayEntry(+1);
  // Positions tried: 1, 3, 6.
  EXPECT_EQ(f.Last(), u"6");
  EXPECT_EQ(f.seq->ShufflePos(), 6);
}

TEST(SequencerCommands, SwitchesWriteOnlyOnChangeAndPlayLastAlways) {
  Fixture f(2, /*random=*/9, kRepeatAll);
  f.player.glyphs.clear();
  f.seq->OnCommand(kPlayCmdRandom);      // 9 -> 1 is a change
  f.seq->OnCommand(kPlayCmdRandom);      // no change
  f.seq->OnCommand(kPlayCmdSequential);  // 1 -> 0
  f.seq->OnCommand(kPlayCmdRepeatAll);   // no change
  f.seq->OnCommand(kPlayCmdRepeatOne);
  f.seq->OnCommand(kPlayCmdRepeatOff);
  f.seq->OnCommand(kPlayCmdPlayLast);
  f.seq->OnCommand(kPlayCmdPlayLast);
  EXPECT_EQ(f.settings.writes, (std::vector<Text>{u"random_play", u"random_play", u"m_Repeat", u"m_Repeat",
                                                  u"m_PlayLast", u"m_PlayLast"}));
  EXPECT_EQ(f.player.glyphs, (std::vector<bool>{true, false}));
  EXPECT_EQ(f.settings.ints[u"m_Repeat"], 0);
  EXPECT_EQ(f.settings.ints[u"m_PlayLast"], 1);
  EXPECT_TRUE(f.seq->IsChecked(kPlayCmdSequential));
  EXPECT_TRUE(f.seq->IsChecked(kPlayCmdRepeatOff));
  EXPECT_FALSE(f.seq->IsChecked(kPlayCmdRepeatAll));
  EXPECT_TRUE(f.seq->IsChecked(kPlayCmdPlayLast));
}

TEST(SequencerCommands, TransportCommandsReachPlayerAndPanel) {
  Fixture f(2);
  EXPECT_TRUE(f.seq->OnCommand(kPlayCmdPlay));
  EXPECT_TRUE(f.seq->OnCommand(kPlayCmdPause));
  EXPECT_TRUE(f.seq->OnCommand(kPlayCmdStop));
  EXPECT_TRUE(f.seq->OnCommand(kPlayCmdMute));
  EXPECT_FALSE(f.seq->OnCommand(1309));
  EXPECT_EQ(f.player.toggles, 2);
  EXPECT_EQ(f.player.stops, 1);
  EXPECT_EQ(f.player.mutes, 1);
}

TEST(SequencerCommands, LoadModesSetsTheGlyphFromTheStoredValue) {
  Fixture f(1, /*random=*/0);
  EXPECT_EQ(f.player.glyphs, (std::vector<bool>{false}));
  FakeSettings empty;  // missing keys: random on (9), Repeat All
  FakeRows rows;
  Sequencer seq(rows, f.player, f.player, f.backend, empty);
  seq.LoadModes();
  EXPECT_EQ(seq.RandomPlay(), 9);
  EXPECT_EQ(seq.Repeat(), kRepeatAll);
  EXPECT_TRUE(f.player.glyphs.back());
}

TEST(SequencerResume, ExitWritesSelectionAndPosition) {
  Fixture f(3);
  f.rows.SelectAndFocus(2);
  f.player.position = 12.5;
  f.seq->SaveResume();
  EXPECT_EQ(f.settings.ints[u"m_Sel"], 2);
  EXPECT_EQ(f.settings.strings[u"m_Position"], u"12.500000");

  Fixture none(3);  // nothing selected: "m_Sel" stays as it was
  none.seq->SaveResume();
  EXPECT_EQ(none.settings.ints.count(u"m_Sel"), 0u);
  EXPECT_EQ(none.settings.strings[u"m_Position"], u"0.000000");
}

TEST(SequencerResume, PlayLastRestartsTheRowAndSeeksOnceWhenInsideItsDuration) {
  struct Case { double stored, duration; const char16_t* url; bool seeks; } cases[] = {
      {42.0, 100.0, u"1", true}, {142.0, 100.0, u"1", false},  // beyond the duration
      {42.0, 0.0, u"1", false},                                 // duration unknown
      {42.0, 100.0, u"2", false},                               // another row plays first
      {0.0, 100.0, u"1", false}};
  for (const auto& c : cases) {
    Fixture f(3);
    f.settings.ints[u"m_Sel"] = 1;
    f.settings.strings[u"m_Position"] = Format(u"%f", {c.stored});
    f.seq->LoadResume();
    EXPECT_EQ(f.rows.FirstSelected(), 1);
    f.player.duration = c.duration;
    f.seq->OnPlaying(c.url);
    f.seq->OnPlaying(u"1");  // a later replay starts from the beginning
    EXPECT_EQ(f.player.seeks, c.seeks ? std::vector<double>{c.stored} : std::vector<double>{}) << c.stored;
    EXPECT_EQ(f.player.toggles, 0);
  }
}

TEST(SequencerResume, StoredRowBeyondTheListSelectsNothing) {
  Fixture f(2);
  f.settings.ints[u"m_Sel"] = 5;
  f.settings.strings[u"m_Position"] = u"3.0";
  f.seq->LoadResume();
  EXPECT_EQ(f.rows.FirstSelected(), -1);
  f.seq->OnPlaying(u"1");
  EXPECT_TRUE(f.player.seeks.empty());
}

TEST(SequencerResume, PlayLastOffTogglesPlaybackAndSeeksToTheStoredPosition) {
  Fixture f(2);
  f.settings.ints[u"m_PlayLast"] = 0;
  f.settings.strings[u"m_Position"] = u"17.250000";
  f.seq->LoadResume();
  EXPECT_EQ(f.player.toggles, 1);
  EXPECT_EQ(f.player.seeks, std::vector<double>{17.25});
  EXPECT_EQ(f.rows.FirstSelected(), -1);
  EXPECT_FALSE(f.seq->IsChecked(kPlayCmdPlayLast));
}

}  // namespace
}  // namespace sorvane
