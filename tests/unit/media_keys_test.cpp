#include <gtest/gtest.h>

#include <optional>

#include "desktop/media_keys.h"

namespace sorvane {
namespace {

constexpr int kPlayToggle = 1301, kPauseToggle = 1302, kStop = 1303, kPrevious = 1304, kNext = 1305;

TEST(MediaKeys, AppCommandsMapToPlayerCommands) {
  const struct {
    int appCommand;
    bool playing;
    std::optional<int> command;
  } cases[] = {
      {14, false, kPlayToggle},  // play/pause toggles either way
      {14, true, kPlayToggle},
      {46, false, kPlayToggle},  // a discrete Play starts a paused or stopped medium
      {46, true, std::nullopt},  // and does not pause a playing one
      {47, true, kPauseToggle},
      {47, false, std::nullopt},  // a discrete Pause does not start playback
      {13, true, kStop},
      {13, false, kStop},
      {11, true, kNext},
      {12, false, kPrevious},
      {8, true, std::nullopt},   // volume mute: left to the system
      {10, true, std::nullopt},  // volume up
      {49, true, std::nullopt},  // fast forward
      {0, true, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.appCommand << (c.playing ? " playing" : " not playing"));
    const auto key = MediaKeyFromAppCommand(c.appCommand);
    const std::optional<int> command = key ? PlayerCommandForMediaKey(*key, c.playing) : std::nullopt;
    EXPECT_EQ(command, c.command);
  }
}

TEST(MediaKeys, VirtualKeysMapToPlayerCommands) {
  const struct {
    uint32_t vk;
    std::optional<int> command;
  } cases[] = {
      {0xB3, kPlayToggle}, {0xB2, kStop}, {0xB0, kNext}, {0xB1, kPrevious},
      {0xAD, std::nullopt},  // volume mute
      {0xB4, std::nullopt},  // launch mail
      {0xFA, std::nullopt},  // the old Play key is not a media key
      {0x50, std::nullopt},  // P
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.vk);
    const auto key = MediaKeyFromVirtualKey(c.vk);
    const std::optional<int> command = key ? PlayerCommandForMediaKey(*key, true) : std::nullopt;
    EXPECT_EQ(command, c.command);
  }
  for (uint32_t vk : MediaVirtualKeys()) EXPECT_TRUE(MediaKeyFromVirtualKey(vk).has_value()) << vk;
  EXPECT_EQ(MediaVirtualKeys().size(), 4u);
}

TEST(MediaKeys, AppCommandIsTakenFromTheHighWordWithoutDeviceBits) {
  EXPECT_EQ(AppCommandFromLParam(int64_t{14} << 16), 14);
  EXPECT_EQ(AppCommandFromLParam((int64_t{0x8000 | 46} << 16) | 0x0001), 46);  // from the keyboard, key state
  EXPECT_EQ(AppCommandFromLParam((int64_t{0x1000 | 11} << 16)), 11);         // from an OEM device
  EXPECT_EQ(AppCommandFromLParam(0x0000FFFF), 0);
}

}  // namespace
}  // namespace sorvane
