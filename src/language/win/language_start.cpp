// The start-up's calls into the language store (see framework/language_start.h).
#include "language/language_start.h"

#include <windows.h>

#include "language/language_store.h"
#include "language/win/language_win.h"

namespace sorvane {

bool LoadLanguageStore() { return win::LoadLanguageArchive(); }

int DetectUserLanguage() {
  Languages().DetectUserLanguage(GetUserDefaultLangID());
  return Languages().Current();
}

void UseLanguage(int languageId) { Languages().SetCurrent(languageId); }

Text ProgramNameAndVersion() { return Text(Languages().GetInfoString(19)); }

}  // namespace sorvane
