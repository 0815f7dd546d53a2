// The open-file dialog's filter and the parsing of its selection buffer.
#pragma once

#include <cstddef>
#include <functional>
#include <vector>

#include "framework/text.h"

namespace sorvane {

// Room for the folder and every chosen name together, NULs included.
inline constexpr size_t kOpenFileBufferChars = 4096;

// The (description, pattern) pairs of the dialog, NUL-separated and ended by
// an empty pair. text(id) gives the descriptions of ids 132 to 135.
Text OpenFileFilter(const std::function<Text(int id)>& text);

// The full paths chosen in an Explorer-style multiple selection, in the order
// the dialog lists them. One file: the buffer holds its full path and an empty
// second string. Several: the folder, then each name. Nothing is read past
// the buffer's end, so an unterminated buffer is safe.
std::vector<Text> ParseOpenFileSelection(TextView buffer);

}  // namespace sorvane
