// Applies a stored "left,top,right,bottom" rectangle to a window, corrected
// into a visible, bounded position on the primary screen.
#pragma once

#include <windows.h>

#include "framework/text.h"

namespace sorvane::win {

void ApplyStoredWindowRect(HWND window, const Text& stored);

}  // namespace sorvane::win
