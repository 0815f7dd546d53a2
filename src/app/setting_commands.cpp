#include "app/setting_commands.h"

#include <array>

#include "app/command_ids.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

namespace sorvane {
namespace {

constexpr std::array kCommands{
    SettingCommand{cmd::kRandom, kProductSection, keys::kRandomPlay, SettingChange::kSet, 1, SettingWrite::kWhenChanged},
    SettingCommand{cmd::kSequential, kProductSection, keys::kRandomPlay, SettingChange::kSet, 0,
                   SettingWrite::kWhenChanged},
    SettingCommand{cmd::kRepeatOne, kProductSection, keys::kRepeat, SettingChange::kSet, 2, SettingWrite::kWhenChanged},
    SettingCommand{cmd::kRepeatAll, kProductSection, keys::kRepeat, SettingChange::kSet, 1, SettingWrite::kWhenChanged},
    SettingCommand{cmd::kRepeatOff, kProductSection, keys::kRepeat, SettingChange::kSet, 0, SettingWrite::kWhenChanged},
    SettingCommand{cmd::kPlayLast, kProductSection, keys::kPlayLast, SettingChange::kToggle, 0, SettingWrite::kAlways},
    SettingCommand{cmd::kFlyOut, kProductSection, keys::kFlyOut, SettingChange::kToggle, 0, SettingWrite::kAlways},
    SettingCommand{cmd::kAlwaysOnTop, kProgramSection, keys::kTopmost, SettingChange::kToggle, 0,
                   SettingWrite::kAlways},
    SettingCommand{cmd::kFlyOutColor, kProductSection, keys::kFlyOutColor, SettingChange::kChosen, 0,
                   SettingWrite::kWhenChanged},
};

}  // namespace

const SettingCommand* FindSettingCommand(int command) {
  for (const SettingCommand& c : kCommands) {
    if (c.command == command) return &c;
  }
  return nullptr;
}

int SettingValueAfter(const SettingCommand& c, int oldValue, int chosen) {
  switch (c.change) {
    case SettingChange::kSet: return c.value;
    case SettingChange::kToggle: return oldValue == 0 ? 1 : 0;
    case SettingChange::kChosen: return chosen;
  }
  return oldValue;
}

bool CommandWritesSetting(int command, int oldValue, int newValue) {
  const SettingCommand* c = FindSettingCommand(command);
  if (!c) return false;
  return c->write == SettingWrite::kAlways || oldValue != newValue;
}

}  // namespace sorvane
