#include "desktop/media_keys.h"

#include <array>

#include "playback/sequencer.h"

namespace sorvane {

std::optional<MediaKey> MediaKeyFromAppCommand(int appCommand) {
  switch (appCommand) {
    case kAppCommandPlayPause: return MediaKey::kPlayPause;
    case kAppCommandPlay: return MediaKey::kPlay;
    case kAppCommandPause: return MediaKey::kPause;
    case kAppCommandStop: return MediaKey::kStop;
    case kAppCommandNextTrack: return MediaKey::kNext;
    case kAppCommandPreviousTrack: return MediaKey::kPrevious;
    default: return std::nullopt;
  }
}

std::optional<MediaKey> MediaKeyFromVirtualKey(uint32_t virtualKey) {
  switch (virtualKey) {
    case kVkMediaPlayPause: return MediaKey::kPlayPause;
    case kVkMediaStop: return MediaKey::kStop;
    case kVkMediaNextTrack: return MediaKey::kNext;
    case kVkMediaPrevTrack: return MediaKey::kPrevious;
    default: return std::nullopt;
  }
}

namespace {
constexpr std::array<uint32_t, 4> kMediaVirtualKeys{kVkMediaPlayPause, kVkMediaStop, kVkMediaNextTrack,
                                                    kVkMediaPrevTrack};
}  // namespace

std::span<const uint32_t> MediaVirtualKeys() { return kMediaVirtualKeys; }

std::optional<int> PlayerCommandForMediaKey(MediaKey key, bool playing) {
  switch (key) {
    case MediaKey::kPlayPause: return kPlayCmdPlay;
    case MediaKey::kPlay: return playing ? std::nullopt : std::optional<int>(kPlayCmdPlay);
    case MediaKey::kPause: return playing ? std::optional<int>(kPlayCmdPause) : std::nullopt;
    case MediaKey::kStop: return kPlayCmdStop;
    case MediaKey::kNext: return kPlayCmdMenuNext;
    case MediaKey::kPrevious: return kPlayCmdMenuPrevious;
  }
  return std::nullopt;
}

}  // namespace sorvane
