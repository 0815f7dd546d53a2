// The start-up's view of the language store: one call that loads it and the
// program's name and version (information text 19).
#pragma once

#include "framework/text.h"

namespace sorvane {

// Loads the language archive carried in the program file; false ends the start.
bool LoadLanguageStore();

// The program's name and version as the window title shows it.
Text ProgramNameAndVersion();

}  // namespace sorvane
