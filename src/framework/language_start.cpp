#include "framework/language_start.h"

namespace sorvane {

// Until the archive reader lands there is nothing to load, so loading succeeds.
bool LoadLanguageStore() { return true; }

Text ProgramNameAndVersion() { return u"Sorvane 1.01"; }

}  // namespace sorvane
