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

inline std::filesystem::path LanguageSourceFolder() {
  return std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "resources" / "lang";
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
