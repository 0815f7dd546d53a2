// Reading the file list of a drop from its global memory block.
#pragma once

#include <windows.h>

#include <vector>

#include "framework/text.h"

namespace sorvane::win {

// The names in a drop block: the memory behind the HDROP of WM_DROPFILES or
// the HGLOBAL of a CF_HDROP medium. Only the block's own bytes (GlobalSize)
// are read, however the sender filled them; ANSI names are decoded in the
// system code page. Empty when the block cannot be locked or holds no names.
std::vector<Text> ReadDropBlock(HGLOBAL block);

}  // namespace sorvane::win
