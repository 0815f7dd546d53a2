// The commands that change a setting, and when each one writes its key: the
// mode choices write only a changed value, the toggles write on every use (so a
// second copy's file catches up with this one), the colour only when it changed.
#pragma once

#include "framework/text.h"

namespace sorvane {

enum class SettingWrite {
  kWhenChanged,  // only when the new value differs from the old one
  kAlways,       // on every use, also with an unchanged value
};

enum class SettingChange {
  kSet,     // the command sets a fixed value
  kToggle,  // 0 becomes 1, anything else 0
  kChosen,  // the user chooses the value (the fly-out colour)
};

struct SettingCommand {
  int command = 0;
  TextView section;  // "Program" or "Sorvane"
  TextView key;
  SettingChange change = SettingChange::kSet;
  int value = 0;  // for kSet
  SettingWrite write = SettingWrite::kWhenChanged;
};

// The setting a command changes, or null for a command that changes none.
const SettingCommand* FindSettingCommand(int command);

// The value after the command. chosen is the user's choice for kChosen.
int SettingValueAfter(const SettingCommand& c, int oldValue, int chosen = 0);

// Whether the command writes its key, given the old and the new value. False
// for a command that changes no setting.
bool CommandWritesSetting(int command, int oldValue, int newValue);

}  // namespace sorvane
