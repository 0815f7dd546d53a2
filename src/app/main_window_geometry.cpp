#include "app/main_window_geometry.h"

#include <algorithm>

namespace sorvane {

SizeLimits MainWindowSizeLimits(int listViewWidth, int screenWidth, int screenHeight) {
  return {static_cast<int>(listViewWidth * 2.5), 400, static_cast<int>(screenWidth * 0.8),
          static_cast<int>(screenHeight * 0.8)};
}

LayoutRect CentredHalfOf(const LayoutRect& work, int minWidth, int minHeight) {
  // The system enforces the minimum size anyway; centring the enlarged size
  // keeps the window in the middle instead of pushing it to the right.
  const int w = std::max(work.Width() / 2, minWidth);
  const int h = std::max(work.Height() / 2, minHeight);
  const int left = work.left + (work.Width() - w) / 2;
  const int top = work.top + (work.Height() - h) / 2;
  return {left, top, left + w, top + h};
}

Text MainWindowTitle(TextView nameAndVersion, bool admin, bool portable) {
  Text title(nameAndVersion);
  title += u' ';
  if (admin) title += u"Admin";
  if (portable) title += u"- Portable";
  return title;
}

}  // namespace sorvane
