// Starting other programs: the shell's "open" of a file with parameters, and a
// new process of a program file. Every start of the program goes through here,
// so that tests can record the starts instead of opening windows of other
// programs.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/text.h"

namespace sorvane::win {

struct ShellStart {
  enum class Kind { kShellOpen, kProcess };
  Kind kind = Kind::kShellOpen;
  HWND owner = nullptr;  // shell starts only
  Text file;             // the program or document
  Text parameters;       // command-line tail, without the program's own name
};

// ShellExecuteW with the verb "open", shown normally; true when the shell
// reports success.
bool ShellOpen(HWND owner, const Text& file, const Text& parameters = {});
// CreateProcessW of file with the quoted file name followed by parameters as
// its command line; true when the process was created.
bool StartProgram(const Text& file, const Text& parameters);

// Tests: every start goes to recorder instead (its answer is the start's
// success); an empty function restores the real starts.
void SetShellStartRecorderForTests(std::function<bool(const ShellStart&)> recorder);

}  // namespace sorvane::win
