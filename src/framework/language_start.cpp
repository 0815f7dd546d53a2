#include "framework/language_start.h"

namespace sorvane {

// Until the archive reader lands there is nothing to load, so loading succeeds.
bool LoadLanguageStore() { return true; }

int DetectUserLanguage() { return 0; }
void UseLanguage(int) {}

Text ProgramNameAndVersion() { return u"Sorvane 1.01"; }

}  // namespace sorvane
