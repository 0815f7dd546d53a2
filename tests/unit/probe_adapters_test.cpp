#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>

#include "settings/settings_store.h"
#include "fake_media_rows.h"
#include "medialist/media_list.h"
#include "medialist/media_list_rows.h"
#include "playback/sequencer_adapters.h"
#include "settings_fake_file_system.h"

namespace sorvane {
namespace {

using testing::FakeBackend;

TEST(ProbeOnMediaList, ResultsReachMovedRowsOfTheModelAndRedrawThem) {
  MediaList list;
  for (const char16_t* p : {u"C:\\a.mp3", u"C:\\b.mp4", u"C:\\gone.mp3"}) AddMediaFile(list, p, nullptr);
  ProbeJob job = MakeProbeJob(list, {u"Tip", u"C", u"E"});
  ASSERT_EQ(job.paths.size(), 3u);

  FakeBackend backend;
  backend.files[u"C:\\a.mp3"] = FakeBackend::Audio(61, u"Alpha");
  MediaProperties video = FakeBackend::Audio(5);
  video.contentType = u"video/mp4";
  backend.files[u"C:\\b.mp4"] = video;
  struct Sink : ProbeSink {
    void Deliver(std::unique_ptr<ProbeBatch> b) override { batches.push_back(std::move(b)); }
    std::vector<std::unique_ptr<ProbeBatch>> batches;
  } sink;
  std::atomic<bool> stop{false};
  ProbeSeams seams;
  seams.sleep = [](int) {};
  RunProbe(job, 7, backend, sink, stop, seams);

  // Meanwhile the user moved "b" to the top.
  list.SetSelected(1, true);
  list.MoveSelectedEntries(0);
  ASSERT_EQ(list.Cell(0, kColumnPath), u"C:\\b.mp4");

  std::vector<int> redrawn;
  MediaListRows rows(list, {[&](int r) { redrawn.push_back(r); }, nullptr});
  ProbeApplier applier;
  for (auto& b : sink.batches) applier.Apply(*b, 7, rows, nullptr);
  EXPECT_EQ(list.Cell(0, kColumnTitle), u"b.mp4");
  EXPECT_EQ(list.Entry(0).image, kImageVideo);
  EXPECT_EQ(list.Cell(1, kColumnTitle), u"Alpha");
  EXPECT_EQ(list.Cell(1, kColumnDuration), u"01:01");
  EXPECT_EQ(list.Entry(1).image, kImageAudio);
  EXPECT_EQ(list.Entry(1).subImage, kImageNone);
  EXPECT_EQ(list.Cell(2, kColumnDuration), u"X");
  EXPECT_EQ(list.Cell(2, kColumnError), u"X");
  EXPECT_EQ(list.Entry(2).image, kImageFailed);
  EXPECT_EQ(list.Entry(2).subImage, kImageFailed);
  EXPECT_NE(std::find(redrawn.begin(), redrawn.end(), 2), redrawn.end());
}

TEST(ProbeOnMediaList, AddingWithProbingKeepsOnlyMedia) {
  FakeBackend backend;
  backend.files[u"C:\\m\\song.mp3"] = FakeBackend::Audio(59.9);
  BackendEntryProber prober(backend);
  MediaList list;
  EXPECT_TRUE(AddMediaFile(list, u"C:\\m\\song.mp3", &prober));
  EXPECT_FALSE(AddMediaFile(list, u"C:\\m\\notes.mp3", &prober));
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Cell(0, kColumnTitle), u"song.mp3");
  EXPECT_EQ(list.Cell(0, kColumnDuration), u"00:59");
}

TEST(SequencerOnTheStore, SwitchesLandInTheirSectionsOfTheIniFile) {
  testing::FakeFileSystem fs;
  fs.folders.insert(u"c:\\cfg");
  SettingsStore store(fs);
  store.SetIniPath(u"C:\\cfg\\Sorvane.ini");
  StoreSequencerSettings settings(store);
  MediaList list;
  AddMediaFile(list, u"C:\\a.mp3", nullptr);
  MediaListRows rows(list);
  FakeBackend backend;
  struct Player : SequencerPlayer, SequencerPanel {
    bool PlayUrl(TextView) override { return true; }
    void TogglePlayPause() override {}
    double PositionSeconds() override { return 3.5; }
    double DurationSeconds() override { return 0; }
    void SetPositionSeconds(double) override {}
    void Stop() override {}
    void ToggleMute() override {}
    void SetShuffleGlyph(bool) override {}
  } player;
  Sequencer seq(rows, player, player, backend, settings);
  seq.LoadModes();
  seq.OnCommand(kPlayCmdRandom);
  seq.OnCommand(kPlayCmdRepeatOne);
  rows.SelectAndFocus(0);
  seq.SaveResume();
  EXPECT_EQ(store.ReadInt(kProductSection, u"random_play", -5), 1);
  EXPECT_EQ(store.ReadInt(kProductSection, u"m_Repeat", -5), 2);
  EXPECT_EQ(store.ReadInt(kProductSection, u"m_Sel", -5), 0);
  EXPECT_EQ(store.ReadProgramString(u"m_Position"), u"3.500000");
}

}  // namespace
}  // namespace sorvane
