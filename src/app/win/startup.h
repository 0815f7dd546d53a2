// The process start: preparation, the single-instance check, the special start
// modes and the main window with its message loop.
#pragma once

#include <windows.h>

#include "app/command_line.h"
#include "framework/text.h"

namespace sorvane::win {

class MainWindow;

// The whole start, from COM initialisation to the exit code.
int RunProcess(HINSTANCE instance, const wchar_t* commandLineTail, int showCommand);

// Locates the INI file, reads language and theme, creates the main window and
// runs the loop until it ends; answers the loop's quit code.
int RunMainWindow(const Text& commandLineTail, int showCommand);

// Sets up the process-wide settings store on the real file system (once).
void InstallProcessSettings();

// Components started from here that this program does not carry (yet).
bool AutoupdateTakesOver();
int RunAutoupdateService();
int RunInstaller(InstallerMode mode);
int RunMiniBrowser();

}  // namespace sorvane::win
