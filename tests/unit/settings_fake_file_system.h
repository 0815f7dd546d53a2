// An in-memory file system for the settings tests: paths compare without
// regard to case as on Windows, files can be made read-only or unreadable,
// and every read and write is counted.
#pragma once

#include <map>
#include <set>
#include <string>

#include "settings/file_system.h"

namespace sorvane::testing {

class FakeFileSystem : public FileSystem {
 public:
  std::map<Text, std::string> files;  // keyed by lower-cased path
  std::set<Text> folders;
  std::set<Text> readOnly;    // writes fail
  std::set<Text> unreadable;  // exists, but reads fail
  Text temp = u"C:\\Users\\u\\AppData\\Local\\Temp\\";
  Text program = u"C:\\Apps\\Sorvane\\Sorvane.exe";
  Text appData = u"C:\\Users\\u\\AppData\\Roaming";
  int reads = 0;
  int writes = 0;

  static Text Key(const Text& p) { return ToLower(p); }
  void Put(const Text& path, std::string bytes) { files[Key(path)] = std::move(bytes); }
  bool Has(const Text& path) const { return files.count(Key(path)) != 0; }
  const std::string& Bytes(const Text& path) { return files[Key(path)]; }
  void PutUtf16(const Text& path, TextView text) {
    std::string b("\xFF\xFE", 2);
    for (char16_t c : text) {
      b.push_back(static_cast<char>(c & 0xFF));
      b.push_back(static_cast<char>(c >> 8));
    }
    Put(path, b);
  }

  bool ReadFile(const Text& path, std::string& bytes) override {
    ++reads;
    auto it = files.find(Key(path));
    if (it == files.end() || unreadable.count(Key(path))) return false;
    bytes = it->second;
    return true;
  }
  bool WriteFileAtomic(const Text& path, std::string_view bytes) override {
    if (readOnly.count(Key(path))) return false;
    const size_t slash = path.rfind(u'\\');
    if (slash != Text::npos && !folders.count(Key(path.substr(0, slash)))) return false;
    ++writes;
    files[Key(path)] = std::string(bytes);
    return true;
  }
  int PathKind(const Text& path) override {
    if (files.count(Key(path))) return 1;
    if (folders.count(Key(path))) return 2;
    return 0;
  }
  bool CreateFolder(const Text& path) override { return folders.insert(Key(path)).second; }
  Text TempFolder() override { return temp; }
  Text ProgramFilePath() override { return program; }
  Text AppDataFolder() override { return appData; }
  // Stands for a Western code page: each byte is the code point of the same number.
  Text AnsiToText(std::string_view bytes) override {
    Text t;
    for (char c : bytes) t.push_back(static_cast<unsigned char>(c));
    return t;
  }
};

}  // namespace sorvane::testing
