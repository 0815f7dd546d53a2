// Shortcut files dropped on the list view stand for their targets.
#pragma once

#include "framework/text.h"

namespace sorvane::win {

// The target of the shortcut file at path read through the shell's link
// object; the path itself when any step fails. COM must be initialised.
Text ResolveShortcut(const Text& path);

// A dropped path as it is added: shortcuts (".lnk") replaced by their targets.
Text ResolveDroppedPath(const Text& path);

}  // namespace sorvane::win
