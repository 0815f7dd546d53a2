// Moves a window to its stored rectangle, fitted to the primary screen.
#pragma once

#include <windows.h>

#include "framework/text.h"

namespace sorvane::win {

// Does nothing for a text of 9 characters or fewer or one without four numbers.
// True when the window was moved.
bool ApplyWindowRect(HWND window, TextView storedText);

// The rectangle the window has when neither minimised nor maximised, in screen
// coordinates: while it is minimised or maximised that is the one to store,
// not the icon's or the whole screen's.
bool RestoredWindowRect(HWND window, RECT& rect);

}  // namespace sorvane::win
