// An in-memory ListStorage: sections hold whole long values.
#pragma once

#include <map>

#include "medialist/list_storage.h"

namespace sorvane::testing {

class FakeListStorage : public ListStorage {
 public:
  Text ReadLongValue(TextView section) override {
    auto it = sections.find(Text(section));
    return it == sections.end() ? Text() : it->second;
  }
  bool WriteLongValue(TextView section, TextView text) override {
    ++longWrites;
    sections.erase(Text(section));
    if (!text.empty()) sections[Text(section)] = Text(text);
    return true;
  }
  bool DeleteSection(TextView section) override {
    sections.erase(Text(section));
    return true;
  }
  Text ReadProgramString(TextView key, TextView def) override {
    auto it = strings.find(Text(key));
    return it == strings.end() ? Text(def) : it->second;
  }
  bool WriteProgramString(TextView key, TextView value) override {
    ++stringWrites;
    strings[Text(key)] = Text(value);
    return true;
  }
  int ReadProductInt(TextView key, int def) override {
    auto it = ints.find(Text(key));
    return it == ints.end() ? def : it->second;
  }
  bool WriteProductInt(TextView key, int value) override {
    ints[Text(key)] = value;
    return true;
  }

  std::map<Text, Text> sections;
  std::map<Text, Text> strings;
  std::map<Text, int> ints;
  int longWrites = 0;
  int stringWrites = 0;
};

}  // namespace sorvane::testing
