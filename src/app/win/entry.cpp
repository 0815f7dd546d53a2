// Process entry of Sorvane.exe.
#include <windows.h>

#include "app/win/startup.h"
#include "framework/win/boundary.h"
#include "framework/win/system_library.h"

namespace {
// Something went wrong that nothing below could answer (the note is in the
// debugger output); no other exit code means this.
constexpr int kExitUnexpectedFailure = 2;
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLineTail, int showCommand) {
  // Before anything loads a DLL by name: only System32 is searched.
  sorvane::win::RestrictDllSearchToSystem();
  return sorvane::win::Guarded("wWinMain", kExitUnexpectedFailure,
                               [&] { return sorvane::win::RunProcess(instance, commandLineTail, showCommand); });
}
