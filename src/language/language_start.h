// The start-up's view of the language store: one call that loads it and the
// program's name and version (information text 19).
#pragma once

#include "framework/text.h"

namespace sorvane {

// Loads the language archive carried in the program file; false ends the start.
bool LoadLanguageStore();

// The user's language as the system reports it; the stored "lng" overrides it.
int DetectUserLanguage();
// Makes the language with this id current (English when it is not carried).
void UseLanguage(int languageId);

// The program's name and version as the window title shows it.
Text ProgramNameAndVersion();

}  // namespace sorvane
