// The two mode buttons at the bottom edge of the main window: 1243 (fly-out
// mode) and 1244 (compact mode), in the current language. Their commands go to
// whichever part handles those modes.
#pragma once

#include <memory>

#include "framework/win/main_window_part.h"
#include "resource_ids.h"

namespace sorvane::win {


std::unique_ptr<MainWindowPart> MakeModeButtonsPart();

}  // namespace sorvane::win
