// Packs the language sources (resources/lang/*.txt, UTF-8, one file per
// section in name order, each starting with its "##" header line) into the
// archive that the program carries: markers, decoded size, coded UTF-16LE text.
//   langpack <folder of sources> <output file>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "language/language_archive.h"
#include "language/language_store.h"
#include "framework/text.h"

namespace fs = std::filesystem;
using namespace sorvane;


int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: langpack <folder of sources> <output file>\n";
    return 2;
  }
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(argv[1])) {
    if (entry.is_regular_file() && entry.path().extension() == ".txt") files.push_back(entry.path());
  }
  std::sort(files.begin(), files.end());
  if (files.empty()) {
    std::cerr << "langpack: no .txt sources in " << argv[1] << "\n";
    return 1;
  }
  std::vector<std::string> sources;
  for (const fs::path& p : files) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    sources.push_back(ss.str());
  }
  size_t bad = 0;
  Text text = AssembleLanguageText(sources, &bad);
  if (text.empty()) {
    std::cerr << "langpack: " << files[bad] << " does not start with a \"##\" line\n";
    return 1;
  }

  const std::string decoded = TextToUtf16Le(text);
  const std::string archive = PackArchive(decoded);
  // Refuse to ship an archive the program could not read back.
  LanguageStore check;
  auto found = FindArchive(archive);
  if (!found || !check.LoadArchive(*found)) {
    std::cerr << "langpack: the packed archive does not load\n";
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(archive.data(), static_cast<std::streamsize>(archive.size()));
  if (!out) {
    std::cerr << "langpack: cannot write " << argv[2] << "\n";
    return 1;
  }
  std::cout << "langpack: " << check.LanguageCount() << " languages, " << decoded.size()
            << " bytes decoded, " << archive.size() << " bytes packed\n";
  return 0;
}
