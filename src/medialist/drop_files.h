// The file list of a drop (the block behind an HDROP): a 20-byte header whose
// first field is the offset of the list and whose fifth says whether the names
// are wide, then the names, each ended by a NUL, and one more NUL at the end.
// The block comes from another process and may be anything.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>
#include <vector>

#include "framework/text.h"

namespace sorvane {

// The header's size: list offset, drop point (two longs), non-client flag, wide flag.
inline constexpr size_t kDropFilesHeaderSize = 20;

// The names in the block, in order; ANSI names go through `ansi`. Nothing is
// read past block.size(). Refused, giving no names: a block shorter than its
// header, a list offset inside the header or past the block. A name the block
// ends before its NUL is dropped (it may be cut short and name another file),
// as is the odd last byte of a wide list; a list whose final NUL is missing
// ends with the block. The first empty name ends the list; an ANSI name that
// decodes to nothing is left out.
std::vector<Text> ParseDropFiles(std::string_view block, const std::function<Text(std::string_view)>& ansi);

}  // namespace sorvane
