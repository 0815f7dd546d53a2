// The text of the notification-area icon's tip.
#pragma once

#include <cstddef>

#include "framework/text.h"

namespace sorvane {

// The tip field holds 128 UTF-16 units including the terminator.
inline constexpr size_t kTrayTipMaxUnits = 127;

// The program's name while nothing plays; otherwise the playing title on one
// line (control characters become blanks), cut to the field without leaving
// half of a surrogate pair at its end.
Text TrayTipText(TextView playingTitle);

}  // namespace sorvane
