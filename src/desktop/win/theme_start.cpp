#include "desktop/win/theme_start.h"

namespace sorvane::win {

// The system's own look until the themes are built.
void InstallTheme(int) {}

}  // namespace sorvane::win
