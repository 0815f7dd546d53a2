// ListStorage on the process's settings store.
#pragma once

#include <cstddef>

#include "settings/settings_store.h"
#include "medialist/list_storage.h"

namespace sorvane {

class SettingsListStorage final : public ListStorage {
 public:
  explicit SettingsListStorage(SettingsStore& store) : store_(store) {}
  Text ReadLongValue(TextView section) override { return store_.ReadLongValue(section); }
  bool WriteLongValue(TextView section, TextView text) override { return store_.WriteLongValue(section, text); }
  bool DeleteSection(TextView section) override { return store_.DeleteSection(section); }
  Text ReadProgramString(TextView key, TextView def) override {
    // The list names may be far longer than a path: read them whole.
    return store_.ReadString(kProgramSection, key, def, kWholeValue);
  }
  bool WriteProgramString(TextView key, TextView value) override {
    return store_.WriteString(kProgramSection, key, value);
  }
  int ReadProductInt(TextView key, int def) override { return store_.ReadInt(kProductSection, key, def); }
  bool WriteProductInt(TextView key, int value) override { return store_.WriteInt(kProductSection, key, value); }

 private:
  static constexpr size_t kWholeValue = static_cast<size_t>(1) << 30;
  SettingsStore& store_;
};

// ListStorage on whatever store is installed as Settings() at the time of
// each call, for owners built before start-up installs the store.
class InstalledSettingsListStorage final : public ListStorage {
 public:
  Text ReadLongValue(TextView section) override { return Now().ReadLongValue(section); }
  bool WriteLongValue(TextView section, TextView text) override { return Now().WriteLongValue(section, text); }
  bool DeleteSection(TextView section) override { return Now().DeleteSection(section); }
  Text ReadProgramString(TextView key, TextView def) override { return Now().ReadProgramString(key, def); }
  bool WriteProgramString(TextView key, TextView value) override { return Now().WriteProgramString(key, value); }
  int ReadProductInt(TextView key, int def) override { return Now().ReadProductInt(key, def); }
  bool WriteProductInt(TextView key, int value) override { return Now().WriteProductInt(key, value); }

 private:
  static SettingsListStorage Now() { return SettingsListStorage(Settings()); }
};

}  // namespace sorvane
