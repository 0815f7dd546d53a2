// The two mode buttons at the bottom edge of the main window: 1243 (fly-out
// mode) and 1244 (compact mode), in the current language. Their commands go to
// whichever part handles those modes.
#pragma once

#include <memory>

#include "app/win/main_window_part.h"

namespace sorvane::win {

inline constexpr int kFlyOutButtonId = 1243;
inline constexpr int kCompactButtonId = 1244;

std::unique_ptr<MainWindowPart> MakeModeButtonsPart();

}  // namespace sorvane::win
