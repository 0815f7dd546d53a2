// An in-memory file system for the settings tests: paths compare without
// regard to case as on Windows, files can be made read-only or unreadable,
// and every read and write is counted.
#pragma once

#include <map>
#include <set>
#include <functional>
#include <string>

#include "settings/file_system.h"

namespace sorvane::testing {

class FakeFileSystem : public FileSystem {
 public:
  std::map<Text, std::string> files;  // keyed by lower-cased path
  std::set<Text> folders;
  std::map<Text, uint64_t> versions;
  std::set<Text> readOnly;    // writes fail
  std::set<Text> unreadable;  // exists, but reads fail
  Text temp = u"C:\\Users\\u\\AppData\\Local\\Temp\\";
  Text program = u"C:\\Apps\\Sorvane\\Sorvane.exe";
  Text appData = u"C:\\Users\\u\\AppData\\Roaming";
  Text currentFolder = u"C:\\Work";  // what relative paths resolve against
  bool stamps = true;                // false: a platform that cannot stamp files
  int reads = 0;
  int writes = 0;
  int stampCalls = 0;
  uint32_t writeError = 0;   // not 0: every write fails with this code (a full disk, a locked file)
  uint32_t lastFailure = 0;  // the code of the last failed read or write

  static Text Key(const Text& p) { return ToLower(p); }
  // Every change, through the store or behind its back, makes a new version.
  void Put(const Text& path, std::string bytes) {
    files[Key(path)] = std::move(bytes);
    ++versions[Key(path)];
  }
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
    if (it == files.end() || unreadable.count(Key(path))) {
      lastFailure = it == files.end() ? 2 : 32;  // not found; in use by another process
      return false;
    }
    bytes = it->second;
    return true;
  }
  bool canTellReplace = true;  // false: a platform that cannot tell without writing
  int replaceChecks = 0;
  bool CanReplace(const Text& path) override {
    ++replaceChecks;
    if (!canTellReplace || writeError != 0 || readOnly.count(Key(path)) || !files.count(Key(path))) return false;
    const size_t slash = path.rfind(u'\\');
    return slash == Text::npos || folders.count(Key(path.substr(0, slash))) != 0;
  }
  bool WriteFileAtomic(const Text& path, std::string_view bytes) override {
    if (writeError != 0 || readOnly.count(Key(path))) {
      lastFailure = writeError != 0 ? writeError : 5;  // access denied
      return false;
    }
    const size_t slash = path.rfind(u'\\');
    if (slash != Text::npos && !folders.count(Key(path.substr(0, slash)))) {
      lastFailure = 3;  // path not found
      return false;
    }
    ++writes;
    Put(path, std::string(bytes));
    return true;
  }
  bool Stamp(const Text& path, FileStamp& stamp) override {
    ++stampCalls;
    auto it = files.find(Key(path));
    if (!stamps || it == files.end() || unreadable.count(Key(path))) return false;
    stamp = {it->second.size(), versions[Key(path)], 7, 0, std::hash<Text>()(Key(path))};
    return true;
  }
  Text FullPath(const Text& path) override {
    const bool absolute = (path.size() >= 3 && path[1] == u':' && path[2] == u'\\') || path.starts_with(u"\\\\");
    if (absolute) return path;
    if (path.starts_with(u"\\")) return currentFolder.substr(0, 2) + path;  // rooted on the current drive
    Text rest = path;
    if (rest.starts_with(u".\\")) rest.erase(0, 2);
    return currentFolder + u"\\" + rest;
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
  uint32_t LastFailure() override { return lastFailure; }
  // Stands for a Western code page: each byte is the code point of the same number.
  Text AnsiToText(std::string_view bytes) override {
    Text t;
    for (char c : bytes) t.push_back(static_cast<unsigned char>(c));
    return t;
  }
};

}  // namespace sorvane::testing
