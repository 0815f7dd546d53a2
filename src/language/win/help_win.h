// The Info submenu's commands: the information box, the generated help page
// and the four web items.
#pragma once

#include <windows.h>

#include "framework/text.h"

namespace sorvane::win {

// The Info submenu: Info, Help (when helpEnabled), FAQ, Homepage, History, Donate.
HMENU BuildInfoSubmenu(bool helpEnabled);

// Writes the help page of the current language to "tmp_htm__dok_hlp.html" in
// the temporary folder and returns its path (written or not).
Text WriteHelpPage();

// The base address of the web items: info string 23 while German is current,
// otherwise 24.
Text WebBaseAddress();

// Commands 32915 (information box owned by owner), 57670 (help page, opened by
// the shell), 33206, 32821, 32913 and 32914 (web pages). False for other ids.
bool HandleInfoCommand(HWND owner, int commandId);

}  // namespace sorvane::win
