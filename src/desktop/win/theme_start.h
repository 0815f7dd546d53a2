// The start-up's one call into the theme subsystem: installs the look stored
// in "by_theme" (non-zero) before the first window is created.
#pragma once

namespace sorvane::win {

void InstallTheme(int theme);

}  // namespace sorvane::win
