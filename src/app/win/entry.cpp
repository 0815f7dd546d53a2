// Process entry of Sorvane.exe.
#include <windows.h>

#include "app/win/startup.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLineTail, int showCommand) {
  return sorvane::win::RunProcess(instance, commandLineTail, showCommand);
}
