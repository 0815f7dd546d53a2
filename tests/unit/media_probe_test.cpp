#include "medialist/media_probe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "fake_media_rows.h"

namespace sorvane {
namespace {

TEST(MediaProbeDuration, WholeSecondsAtLeastOneWithoutHourField) {
  struct Case { double seconds; const char16_t* text; } cases[] = {
      {59.9, u"00:59"}, {0.4, u"00:01"}, {0.0, u"00:01"}, {1.0, u"00:01"}, {60.0, u"01:00"},
      {3600.0, u"60:00"}, {7500.0, u"125:00"}, {-3.0, u"00:01"},
      {std::nan(""), u"00:01"}, {1e300, u"35791394:07"}};
  for (const auto& c : cases) EXPECT_EQ(MediaProbe::FormatDuration(c.seconds), c.text) << c.seconds;
}

TEST(MediaProbeDuration, ReadFromHundredNanosecondUnits) {
  MediaProbe p(testing::FakeBackend::Audio(59.9));
  EXPECT_NEAR(p.DurationSeconds(), 59.9, 1e-9);
  EXPECT_EQ(p.DurationText(), u"00:59");
  MediaProperties none;
  none.opened = true;
  EXPECT_EQ(MediaProbe(none).DurationText(), u"00:01");  // a file without a duration
}

TEST(MediaProbeTypes, TestsOverContentTypeFrameWidthAndDuration) {
  auto make = [](const char16_t* ct, uint32_t width, uint64_t dur, bool opened = true) {
    MediaProperties p;
    p.opened = opened;
    p.contentType = ct;
    p.hasFrameWidth = width != 0;
    p.frameWidth = width;
    p.hasDuration = dur != 0;
    p.duration100ns = dur;
    return MediaProbe(p);
  };
  struct Case { MediaProbe probe; bool video, audio, media; const char* what; } cases[] = {
      {make(u"Video/MP4", 0, 0), true, false, true, "content type is compared without case"},
      {make(u"AUDIO/X-WAV", 0, 0), false, true, true, "upper-case audio"},
      {make(u"", 640, 0), true, false, true, "frame width alone makes video"},
      {make(u"", 0, 1), false, true, true, "a duration alone makes audio"},
      {make(u"video/mp4", 1920, 50000000), true, true, true, "video with a duration is also audio"},
      {make(u"text/plain", 0, 0), false, false, false, "other content types are not media"},
      {make(u"", 0, 0), false, false, false, "nothing known is not media"},
      {make(u"application/video/x", 0, 0), false, false, false, "prefix must be at the start"},
      {make(u"video/mp4", 640, 10, false), false, false, false, "not opened answers empty values"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.probe.IsVideo(), c.video) << c.what;
    EXPECT_EQ(c.probe.IsAudio(), c.audio) << c.what;
    EXPECT_EQ(c.probe.IsMedia(), c.media) << c.what;
  }
}

TEST(MediaProbeTypes, NotOpenedGivesEmptyValues) {
  MediaProperties p = testing::FakeBackend::Audio(10, u"Song");
  p.opened = false;
  MediaProbe probe(p);
  EXPECT_EQ(probe.Title(), u"");
  EXPECT_EQ(probe.ContentType(), u"");
  EXPECT_EQ(probe.DurationSeconds(), 0.0);
}

}  // namespace
}  // namespace sorvane
