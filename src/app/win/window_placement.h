// Moves a window to its stored rectangle, fitted to the primary screen.
#pragma once

#include <windows.h>

#include "framework/text.h"

namespace sorvane::win {

// Does nothing for a text of 9 characters or fewer or one without four numbers.
// True when the window was moved.
bool ApplyWindowRect(HWND window, TextView storedText);

}  // namespace sorvane::win
