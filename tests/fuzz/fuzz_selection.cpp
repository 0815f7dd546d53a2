// The open-file dialog's selection buffer: any units parse without reading
// past the buffer, every path comes from the buffer's strings, and a buffer
// built from a folder and names gives back folder\name in order.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "medialist/open_file_selection.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sorvane;
  Text buffer;
  for (size_t i = 0; i + 1 < size; i += 2) buffer += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  // A copy of exactly that many units: an overread is caught by the sanitizer.
  const std::vector<char16_t> exact(buffer.begin(), buffer.end());
  const std::vector<Text> parsed = ParseOpenFileSelection(TextView(exact.data(), exact.size()));
  for (const Text& path : parsed)
    if (path.size() > exact.size() + 1) std::abort();  // at most folder + '\' + name of the buffer

  // Strings without NULs: the first is the folder, the rest names.
  std::vector<Text> parts(1);
  for (char16_t c : buffer) {
    if (c == 0) parts.emplace_back();
    else parts.back() += c;
  }
  while (!parts.empty() && parts.back().empty()) parts.pop_back();
  if (parts.size() < 3) return 0;  // one file has a different form
  for (const Text& p : parts)
    if (p.empty()) return 0;  // an empty folder means nothing was chosen
  Text built;
  for (const Text& p : parts) {
    built += p;
    built += u'\0';
  }
  built += u'\0';
  const std::vector<Text> paths = ParseOpenFileSelection(built);
  if (paths.size() != parts.size() - 1) std::abort();
  Text folder = parts[0];
  for (size_t i = 1; i < parts.size(); ++i) {
    const Text& path = paths[i - 1];
    if (path.size() < parts[i].size() || path.compare(path.size() - parts[i].size(), Text::npos, parts[i]) != 0)
      std::abort();
    if (path.compare(0, folder.size(), folder) != 0) std::abort();
  }
  return 0;
}
