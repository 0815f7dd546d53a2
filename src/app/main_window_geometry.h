// Geometry of the main window: its size limits, its first placement and its
// title. Pure arithmetic, in pixels.
#pragma once

#include "framework/layout.h"
#include "framework/text.h"

namespace sorvane {

struct SizeLimits {
  int minWidth, minHeight, maxWidth, maxHeight;
};
// Not narrower than 2.5 list-view widths nor lower than 400 pixels, not larger
// than 80 % of the screen (all truncated).
SizeLimits MainWindowSizeLimits(int listViewWidth, int screenWidth, int screenHeight);

// Half the work area in each direction (but not below the window's minimum
// size), centred in it.
LayoutRect CentredHalfOf(const LayoutRect& workArea, int minWidth = 0, int minHeight = 0);

// "<name and version> " then "Admin" and "- Portable" as they apply.
Text MainWindowTitle(TextView nameAndVersion, bool admin, bool portable);

}  // namespace sorvane
