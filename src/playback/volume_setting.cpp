#include "playback/volume_setting.h"

#include <algorithm>

#include "settings/settings_keys.h"
#include "playback/panel_texts.h"

namespace sorvane {

int LoadVolumeSetting(SettingsStore& store) {
  return std::clamp(store.ReadInt(kProductSection, keys::kVolume, keys::kVolumeDefault), 0, 100);
}

bool SaveVolumeSetting(SettingsStore& store, int volume) {
  if (!ShouldWriteVolume(volume, store.ReadInt(kProductSection, keys::kVolume, keys::kVolumeDefault))) return false;
  return store.WriteInt(kProductSection, keys::kVolume, volume);
}

}  // namespace sorvane
