// The player volume kept in the settings file under "Volume" (section "Sorvane").
#pragma once

#include "settings/settings_store.h"

namespace sorvane {

// The stored volume, 50 when absent; a hand-edited value outside 0..100 is
// brought back into the player's range.
int LoadVolumeSetting(SettingsStore& store);

// Writes the volume at close when it differs from the stored one, so a chosen
// 50 replaces an older stored value. True when a write was made and succeeded.
bool SaveVolumeSetting(SettingsStore& store, int volume);

}  // namespace sorvane
