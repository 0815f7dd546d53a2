// The texts and slider positions the player panel shows.
#pragma once

#include <optional>

#include "framework/text.h"

namespace sorvane {

// "mm:ss /  mm:ss" (two blanks after the slash); minutes are not wrapped into hours.
Text TimeText(double positionSeconds, int durationSeconds);
// The time text after Stop.
inline constexpr TextView kStoppedTimeText = u"00:00";
// "50 %".
Text VolumeText(int volume);
// The position slider (0..1000) for a position; nothing for an unknown duration,
// when the slider is left where it is.
std::optional<int> PositionPermille(double positionSeconds, int durationSeconds);

// Whether SaveSettings writes the volume: whenever it differs from what the file
// holds, so a chosen 50 replaces an older stored value.
bool ShouldWriteVolume(int currentVolume, int storedVolume);

}  // namespace sorvane
