// The player volume kept in the settings file under "Volume" (section "Sorvane").
// Written as templates over the store so that tests can hand in a fake.
#pragma once

#include <algorithm>

#include "framework/text.h"
#include "playback/panel_texts.h"

namespace sorvane {

inline constexpr TextView kVolumeKey = u"Volume";
inline constexpr TextView kVolumeSection = u"Sorvane";
inline constexpr int kDefaultVolume = 50;

// The stored volume, 50 when absent; a hand-edited value outside 0..100 is
// brought back into the player's range.
template <class Store>
int LoadVolumeSetting(Store& store) {
  return std::clamp(store.ReadInt(kVolumeSection, kVolumeKey, kDefaultVolume), 0, 100);
}

// Writes the volume at close when it differs from the stored one (a chosen 50
// replaces an older stored value). True when a write was made and succeeded.
template <class Store>
bool SaveVolumeSetting(Store& store, int volume) {
  if (!ShouldWriteVolume(volume, store.ReadInt(kVolumeSection, kVolumeKey, kDefaultVolume))) return false;
  return store.WriteInt(kVolumeSection, kVolumeKey, volume);
}

}  // namespace sorvane
