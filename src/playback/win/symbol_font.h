// The one font of the transport buttons' symbols, shared by the whole process.
#pragma once

#include <windows.h>

namespace sorvane::win {

// Created on the first call from the font of reference (the dialog font):
// 1.4 times as high, heaviest weight, the first installed of the symbol
// families. Lives until the process ends.
HFONT SymbolFont(HWND reference);

// The face the symbol font uses on this system.
const wchar_t* SymbolFontFace();

}  // namespace sorvane::win
