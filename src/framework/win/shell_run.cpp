#include "framework/win/shell_run.h"

#include <shellapi.h>

#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {

std::function<bool(const ShellStart&)>& Recorder() {
  static std::function<bool(const ShellStart&)> recorder;
  return recorder;
}

}  // namespace

void SetShellStartRecorderForTests(std::function<bool(const ShellStart&)> recorder) {
  Recorder() = std::move(recorder);
}

bool ShellOpen(HWND owner, const Text& file, const Text& parameters) {
  if (Recorder()) return Recorder()({ShellStart::Kind::kShellOpen, owner, file, parameters});
  const HINSTANCE result = ShellExecuteW(owner, L"open", W(file), parameters.empty() ? nullptr : W(parameters),
                                         nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool StartProgram(const Text& file, const Text& parameters) {
  if (Recorder()) return Recorder()({ShellStart::Kind::kProcess, nullptr, file, parameters});
  Text line = u"\"" + file + u"\"";
  if (!parameters.empty()) line += u" " + parameters;
  std::wstring buffer(W(line));  // CreateProcessW may write into its command line
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(W(file), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return false;
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return true;
}

}  // namespace sorvane::win
