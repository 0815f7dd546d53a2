// Hardware media keys: the application commands the system sends as
// WM_APPCOMMAND and the virtual keys of the media keys, mapped onto the
// player's command ids. Pure rules; the Win32 side delivers the keys.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace sorvane {

enum class MediaKey { kPlayPause, kPlay, kPause, kStop, kNext, kPrevious };

// Application command numbers (GET_APPCOMMAND_LPARAM).
inline constexpr int kAppCommandNextTrack = 11;
inline constexpr int kAppCommandPreviousTrack = 12;
inline constexpr int kAppCommandStop = 13;
inline constexpr int kAppCommandPlayPause = 14;
inline constexpr int kAppCommandPlay = 46;
inline constexpr int kAppCommandPause = 47;

// Virtual keys of the media keys.
inline constexpr uint32_t kVkMediaNextTrack = 0xB0;
inline constexpr uint32_t kVkMediaPrevTrack = 0xB1;
inline constexpr uint32_t kVkMediaStop = 0xB2;
inline constexpr uint32_t kVkMediaPlayPause = 0xB3;

// The command in the high word of WM_APPCOMMAND's second parameter, without
// the device bits.
inline constexpr int AppCommandFromLParam(int64_t lParam) {
  return static_cast<int>((static_cast<uint32_t>(lParam) >> 16) & 0x0FFF);
}

std::optional<MediaKey> MediaKeyFromAppCommand(int appCommand);
std::optional<MediaKey> MediaKeyFromVirtualKey(uint32_t virtualKey);
// The four virtual keys, for registering hot keys.
std::span<const uint32_t> MediaVirtualKeys();

// The player command a key sends to the main window, or none. Play and Pause
// are the toggling command, sent only when they change something: a discrete
// Play key does not pause a playing medium, a Pause key does not start one.
std::optional<int> PlayerCommandForMediaKey(MediaKey key, bool playing);

}  // namespace sorvane
