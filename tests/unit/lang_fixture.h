// The real language sources of resources/lang, assembled as the build does.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "language/language_archive.h"

namespace sorvane::testing {

// From the build's own source folder: __FILE__ may be relative to wherever the
// compiler ran (a compiler cache rewrites paths so), not to where the tests run.
inline std::filesystem::path LanguageSourceFolder() {
  return std::filesystem::path(SORVANE_SOURCE_DIR) / "resources" / "lang";
}

inline std::u16string RealLanguageText() {
  std::vector<std::filesystem::path> files;
  for (const auto& e : std::filesystem::directory_iterator(LanguageSourceFolder())) {
    if (e.path().extension() == ".txt") files.push_back(e.path());
  }
  std::sort(files.begin(), files.end());
  std::vector<std::string> sources;
  for (const auto& f : files) {
    std::ifstream in(f, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    sources.push_back(ss.str());
  }
  return AssembleLanguageText(sources);
}

}  // namespace sorvane::testing
