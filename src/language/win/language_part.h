// The main window's part for the interface languages and the Info submenu:
// it answers the commands 33000 to 33200, 32915, 57670 and the web items, and
// sets the texts again after a language change.
#pragma once

#include <memory>

#include "framework/win/main_window_part.h"

namespace sorvane::win {

// ownMenuBar: until the program menu of the command table exists, the part
// gives the window a menu bar of its own ("Program" with the Language and Info
// submenus) and rebuilds it on every re-translation.
std::unique_ptr<MainWindowPart> MakeLanguagePart(bool ownMenuBar = true);

// The program menu's two submenus, for whoever builds the program menu.
void AppendLanguageAndInfoMenus(HMENU programMenu);

}  // namespace sorvane::win
