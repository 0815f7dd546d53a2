// Placement of the main window from its stored rectangle: at least 600 x 400,
// at most 80 % of the screen, and shifted onto the screen.
#pragma once

#include <optional>

#include "framework/text.h"

namespace sorvane {

struct WindowRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const WindowRect&) const = default;
};

// Texts of this length or shorter (such as "0,0,0,0") are not a stored placement.
inline constexpr size_t kShortestIgnoredRectText = 9;

// "left,top,right,bottom" fitted to a screen; nothing when fewer than four numbers are read.
std::optional<WindowRect> FitWindowRect(TextView text, int screenWidth, int screenHeight);
// The same for the stored "m_Window_Rect" text, which is ignored when too short.
std::optional<WindowRect> StoredWindowRect(TextView text, int screenWidth, int screenHeight);

}  // namespace sorvane
