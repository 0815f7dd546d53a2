#include "playback/panel_texts.h"

#include <cmath>

#include "playback/player_control.h"

namespace sorvane {

Text TimeText(double positionSeconds, int durationSeconds) {
  const int p = TruncateSeconds(positionSeconds);
  const int d = durationSeconds > 0 ? durationSeconds : 0;
  return Format(u"%02d:%02d /  %02d:%02d", {p / 60, p % 60, d / 60, d % 60});
}

Text VolumeText(int volume) { return Format(u"%d %%", {volume}); }

std::optional<int> PositionPermille(double positionSeconds, int durationSeconds) {
  if (durationSeconds <= 0) return std::nullopt;
  const double permille = positionSeconds / durationSeconds * 1000.0;
  // The control can report a position slightly past the end or garbage while
  // loading; keep the slider inside its range.
  if (!(permille > 0.0)) return 0;
  if (permille >= 1000.0) return 1000;
  return static_cast<int>(permille);
}

bool ShouldWriteVolume(int currentVolume, int storedVolume) { return currentVolume != storedVolume; }

}  // namespace sorvane
