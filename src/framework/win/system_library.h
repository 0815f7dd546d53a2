// Loading the system's own DLLs without searching anywhere else. A portable
// program is often started from a downloads folder, where a planted DLL with a
// system name would otherwise be found first.
#pragma once

#include <windows.h>

#include "framework/text.h"

namespace sorvane::win {

// Makes System32 the only place the process's later implicit and explicit DLL
// loads search by default. Call first thing at start.
void RestrictDllSearchToSystem();

// Loads name (a bare file name such as L"shell32.dll") from System32 only;
// null when it is not there.
HMODULE LoadSystemLibrary(const wchar_t* name);

// The full path of module (null: the program itself), however long it is.
Text ModuleFileName(HMODULE module = nullptr);

}  // namespace sorvane::win
