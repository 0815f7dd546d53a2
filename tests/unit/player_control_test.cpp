#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "playback/player_control.h"

namespace sorvane {
namespace {

// Records every call so tests can see what reached the player.
struct FakePlayer : MediaPlayer {
  struct Log {
    std::vector<std::string> calls;
    std::vector<double> seeks;
    Text url;
    bool muted = false;
    int volume = 77;
  };
  explicit FakePlayer(Log& log) : log(log) {}

  bool SetUrl(TextView path) override {
    log.calls.push_back("url");
    if (rejectUrls) return false;
    log.url = Text(path);
    media = true;
    return true;
  }
  void Play() override { log.calls.push_back("play"); }
  void Pause() override { log.calls.push_back("pause"); }
  void Stop() override { log.calls.push_back("stop"); }
  bool HasSettings() const override { return true; }
  void SetMute(bool m) override { log.muted = m; }
  void SetVolume(int v) override { log.volume = v; }
  std::optional<int> GetVolume() override { return log.volume; }
  bool HasCurrentMedia() override { return media; }
  std::optional<double> CurrentMediaDuration() override {
    if (!media) return std::nullopt;
    return duration;
  }
  double CurrentPosition() override { return position; }
  void SetCurrentPosition(double s) override { log.seeks.push_back(s); }

  Log& log;
  bool rejectUrls = false;
  bool media = false;
  double duration = 59.9;
  double position = 30.2;
};

struct PlayerControlTest : ::testing::Test {
  PlayerControlTest() {
    auto p = std::make_unique<FakePlayer>(log);
    fake = p.get();
    control.SetEndOfMediaSink([this] { ++endSignals; });
    control.Attach(std::move(p));
  }
  FakePlayer::Log log;
  FakePlayer* fake = nullptr;
  PlayerControl control;
  int endSignals = 0;
};

TEST_F(PlayerControlTest, RejectedUrlChangesNothing) {
  ASSERT_TRUE(control.PlayUrl(u"C:\\a.wav"));
  control.Pause();
  fake->rejectUrls = true;
  EXPECT_FALSE(control.PlayUrl(u"C:\\bad.xyz"));
  EXPECT_FALSE(control.IsPlaying());
  EXPECT_EQ(control.CurrentUrl(), u"C:\\a.wav");
}

TEST_F(PlayerControlTest, PlayUrlCountsAsPlayingSoAToggleRightAfterPauses) {
  ASSERT_TRUE(control.PlayUrl(u"C:\\a.wav"));
  EXPECT_TRUE(control.IsPlaying());
  control.TogglePlayPause();
  EXPECT_FALSE(control.IsPlaying());
  // PlayUrl leaves starting to the player itself.
  EXPECT_EQ(log.calls, (std::vector<std::string>{"url", "pause"}));
  control.TogglePlayPause();
  EXPECT_TRUE(control.IsPlaying());
  EXPECT_EQ(log.calls.back(), "play");
}

TEST_F(PlayerControlTest, PlayStateEvents) {
  struct Case {
    int32_t state;
    bool playingBefore;
    bool playingAfter;
    int endSignals;
  };
  const Case cases[] = {
      {1, true, false, 0}, {2, true, false, 0}, {3, false, true, 0}, {8, true, true, 1},
      {6, true, true, 0},  {7, false, false, 0}, {9, true, true, 0}, {10, false, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.state);
    endSignals = 0;
    control.OnPlayStateChange(c.playingBefore ? 3 : 1);
    control.OnPlayStateChange(c.state);
    EXPECT_EQ(control.IsPlaying(), c.playingAfter);
    EXPECT_EQ(control.LastPlayState(), c.state);
    EXPECT_EQ(endSignals, c.endSignals);
  }
}

TEST_F(PlayerControlTest, NoCurrentMediaMeansNoSeekAndPositionZero) {
  control.SetPosition(12.0);
  EXPECT_TRUE(log.seeks.empty());
  EXPECT_EQ(control.GetPosition(), 0.0);
  // Poll keeps the last duration while nothing is loaded.
  EXPECT_EQ(control.Poll().durationSeconds, 0);
  ASSERT_TRUE(control.PlayUrl(u"C:\\a.wav"));
  EXPECT_EQ(control.GetPosition(), 30.2);
  control.SetPosition(12.0);
  EXPECT_EQ(log.seeks, std::vector<double>{12.0});
}

TEST_F(PlayerControlTest, PollTruncatesDurationAndSeekUsesWholeSeconds) {
  ASSERT_TRUE(control.PlayUrl(u"C:\\a.wav"));
  const auto poll = control.Poll();
  EXPECT_EQ(poll.position, 30.2);
  EXPECT_EQ(poll.durationSeconds, 59);
  control.SeekPermille(500);
  ASSERT_EQ(log.seeks.size(), 1u);
  EXPECT_DOUBLE_EQ(log.seeks[0], 29.5);
  // A new URL forgets the old duration until the next poll.
  ASSERT_TRUE(control.PlayUrl(u"C:\\b.wav"));
  EXPECT_EQ(control.DurationSeconds(), 0);
  control.SeekPermille(700);
  EXPECT_EQ(log.seeks.back(), 0.0);
}

TEST_F(PlayerControlTest, MuteAndVolumeReachThePlayer) {
  EXPECT_TRUE(control.ToggleMute());
  EXPECT_TRUE(log.muted);
  EXPECT_FALSE(control.ToggleMute());
  EXPECT_FALSE(log.muted);
  control.SetVolume(33);
  EXPECT_EQ(control.GetVolume(), 33);
}

TEST(PlayerControlWithoutPlayer, EverythingDoesNothing) {
  PlayerControl control;
  int endSignals = 0;
  control.SetEndOfMediaSink([&] { ++endSignals; });
  control.Attach(nullptr);
  EXPECT_FALSE(control.HasPlayer());
  EXPECT_FALSE(control.PlayUrl(u"C:\\a.wav"));
  control.Play();
  control.TogglePlayPause();
  EXPECT_FALSE(control.IsPlaying());
  EXPECT_FALSE(control.ToggleMute());
  control.SetVolume(80);
  EXPECT_EQ(control.GetVolume(), 0);
  EXPECT_EQ(control.GetPosition(), 0.0);
  control.SeekPermille(500);
  EXPECT_EQ(control.Poll().durationSeconds, 0);
  EXPECT_TRUE(control.CurrentUrl().empty());
}

TEST(TruncateSeconds, ClampsWhatCannotBeAnInt) {
  EXPECT_EQ(TruncateSeconds(59.9), 59);
  EXPECT_EQ(TruncateSeconds(-3.5), 0);
  EXPECT_EQ(TruncateSeconds(1e300), 2147483647);
  EXPECT_EQ(TruncateSeconds(std::nan("")), 0);
}

}  // namespace
}  // namespace sorvane
