// The file list of a drop, as another process may hand it over.
// - Any bytes as the block: the reader gets a heap copy of exactly that size,
//   so a read past it is a sanitizer error; a header cut short or whose list
//   offset points into it or past the block gives nothing; every name is
//   non-empty and NUL-free, and names and NULs fit in the list's bytes.
// - A block built from names (the input split at NULs, wide or ANSI, with or
//   without a gap after the header and the final NUL) gives back exactly those
//   names; cut anywhere, it gives exactly the names whose NUL it still holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "medialist/drop_files.h"

namespace {

using namespace sorvane;

Text Latin1(std::string_view bytes) {
  Text t;
  for (unsigned char c : bytes) t += static_cast<char16_t>(c);
  return t;
}

std::vector<Text> ParseExact(std::string_view block) {
  std::unique_ptr<char[]> exact(new char[block.size() + 1]);
  std::copy(block.begin(), block.end(), exact.get());
  return ParseDropFiles(std::string_view(exact.get(), block.size()), Latin1);
}

void PutUint32(std::string& block, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) block[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

uint32_t ReadUint32(std::string_view block, size_t at) {
  uint32_t v = 0;
  for (size_t i = 4; i-- > 0;) v = (v << 8) | static_cast<unsigned char>(block[at + i]);
  return v;
}

void CheckAnyBlock(std::string_view block) {
  const std::vector<Text> names = ParseExact(block);
  // A header cut short or pointing into itself or past the block is refused.
  if (block.size() < kDropFilesHeaderSize) {
    if (!names.empty()) std::abort();
    return;
  }
  const uint32_t offset = ReadUint32(block, 0);
  if (offset < kDropFilesHeaderSize || offset > block.size()) {
    if (!names.empty()) std::abort();
    return;
  }
  // Each name and its NUL come from the list's own bytes.
  const size_t room = ReadUint32(block, 16) != 0 ? (block.size() - offset) / 2 : block.size() - offset;
  size_t units = 0;
  for (const Text& name : names) {
    if (name.empty() || name.find(u'\0') != Text::npos) std::abort();
    units += name.size() + 1;
  }
  if (units > room) std::abort();
}

void CheckBuiltBlock(const uint8_t* data, size_t size) {
  if (size < 2) return;
  const uint8_t flags = data[0];
  const bool wide = flags & 1;
  const bool finalNul = !(flags & 2);
  const size_t gap = (flags >> 2) & 7;
  const size_t cutFrom = data[1];
  std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);

  std::vector<Text> names;
  std::vector<size_t> ends;  // the block length that still holds each name's NUL
  std::string block(kDropFilesHeaderSize + gap, 'x');
  PutUint32(block, 0, static_cast<uint32_t>(kDropFilesHeaderSize + gap));
  PutUint32(block, 16, wide ? 1 : 0);
  const size_t unit = wide ? 2 : 1;
  size_t at = 0;
  while (at + unit <= rest.size()) {
    Text name;
    std::string bytes;
    for (; at + unit <= rest.size(); at += unit) {
      const char16_t c = wide ? static_cast<char16_t>(static_cast<unsigned char>(rest[at]) |
                                                      (static_cast<unsigned char>(rest[at + 1]) << 8))
                              : static_cast<unsigned char>(rest[at]);
      if (c == 0) break;
      name += c;
      bytes.append(rest.substr(at, unit));
    }
    at += unit;
    if (name.empty()) continue;
    block += bytes;
    block.append(unit, '\0');
    names.push_back(std::move(name));
    ends.push_back(block.size());
  }
  if (finalNul) block.append(unit, '\0');

  if (ParseExact(block) != names) std::abort();
  // Cut short: only the names whose NUL is still there.
  const size_t cut = kDropFilesHeaderSize + gap + cutFrom * 3 % (block.size() - kDropFilesHeaderSize - gap + 1);
  const std::vector<Text> kept = ParseExact(std::string_view(block).substr(0, cut));
  size_t whole = 0;
  while (whole < ends.size() && ends[whole] <= cut) ++whole;
  if (kept != std::vector<Text>(names.begin(), names.begin() + static_cast<std::ptrdiff_t>(whole))) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckAnyBlock(std::string_view(reinterpret_cast<const char*>(data), size));
  CheckBuiltBlock(data, size);
  return 0;
}
