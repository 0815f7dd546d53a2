// Imports a folder of many short WAV files through the real program: a new
// list chosen, every file probed.
// Prints the import rate and how long the main window took to answer a ping
// while the scan ran. Checks only that every file arrived in order.
//
//   bench_import.exe [files] <path of Sorvane.exe>
#include <windows.h>

#include <cstdio>
#include <string>

#include "harness.h"
#include "import_run.h"

using namespace e2e;

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: bench_import [files] <path of Sorvane.exe>\n");
    return 2;
  }
  const int files = argc >= 3 ? _wtoi(argv[1]) : 2000;
  std::string exe;
  for (const wchar_t* c = argv[argc - 1]; *c; ++c) exe += static_cast<char>(*c);
  SetSorvaneExe(UnixToWindowsPath(exe));
  const ImportFigures f = MeasureImport(files, true);
  printf("result                   %s\n", f.ok ? "ok" : "FAILED");
  return f.ok ? 0 : 1;
}
