// The part of the settings file the media lists use. SettingsListStorage
// (settings_list_storage.h) puts it on the settings store; tests use a fake.
#pragma once

#include "framework/text.h"

namespace sorvane {

class ListStorage {
 public:
  virtual ~ListStorage() = default;
  // A long value of any length (line breaks kept); empty when absent.
  virtual Text ReadLongValue(TextView section) = 0;
  // Replaces the section by text; an empty text leaves no section.
  virtual bool WriteLongValue(TextView section, TextView text) = 0;
  virtual bool DeleteSection(TextView section) = 0;
  // A string of section "Program", read back whole (no 1023-character cut).
  virtual Text ReadProgramString(TextView key, TextView def) = 0;
  virtual bool WriteProgramString(TextView key, TextView value) = 0;
  // An integer of the product section.
  virtual int ReadProductInt(TextView key, int def) = 0;
  virtual bool WriteProductInt(TextView key, int value) = 0;
};

}  // namespace sorvane
