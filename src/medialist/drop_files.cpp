#include "medialist/drop_files.h"

#include <cstdint>

namespace sorvane {
namespace {

uint32_t ReadUint32(std::string_view bytes, size_t at) {
  uint32_t v = 0;
  for (size_t i = 4; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

}  // namespace

std::vector<Text> ParseDropFiles(std::string_view block, const std::function<Text(std::string_view)>& ansi) {
  std::vector<Text> names;
  if (block.size() < kDropFilesHeaderSize) return names;
  const uint32_t offset = ReadUint32(block, 0);
  const bool wide = ReadUint32(block, 16) != 0;
  if (offset < kDropFilesHeaderSize || offset > block.size()) return names;
  std::string_view list = block.substr(offset);

  if (wide) {
    const size_t units = list.size() / 2;
    auto unit = [&](size_t i) {
      return static_cast<char16_t>(static_cast<unsigned char>(list[2 * i]) |
                                   (static_cast<unsigned char>(list[2 * i + 1]) << 8));
    };
    size_t i = 0;
    while (i < units) {
      Text name;
      while (i < units && unit(i) != u'\0') name += unit(i++);
      if (i == units || name.empty()) break;  // cut short, or the list's end
      names.push_back(std::move(name));
      ++i;
    }
    return names;
  }

  while (!list.empty()) {
    const size_t nul = list.find('\0');
    if (nul == std::string_view::npos || nul == 0) break;
    Text name = ansi ? ansi(list.substr(0, nul)) : Text();
    if (!name.empty()) names.push_back(std::move(name));  // bytes the code page cannot map name nothing
    list.remove_prefix(nul + 1);
  }
  return names;
}

}  // namespace sorvane
