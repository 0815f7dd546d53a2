#include "app/win/single_instance.h"

#include "app/command_line.h"
#include "settings/settings_store.h"
#include "framework/win/wintext.h"

namespace sorvane::win {

UINT InstanceMessage() {
  static const UINT message = RegisterWindowMessageW(W(Text(kAppName)));
  return message;
}

std::wstring InstanceMutexName() { return ToWide(kAppName) + L"_WETZREWZREZ"; }

bool InstanceMutex::CreateAndCheckRunning() {
  Close();
  HANDLE mutex = CreateMutexW(nullptr, FALSE, InstanceMutexName().c_str());
  const DWORD error = GetLastError();  // read before anything else can change it
  handle_ = KernelHandle(mutex);
  return error == ERROR_ALREADY_EXISTS || error == ERROR_ACCESS_DENIED;
}

void InstanceMutex::Create() {
  Close();
  handle_ = KernelHandle(CreateMutexW(nullptr, FALSE, InstanceMutexName().c_str()));
}

void InstanceMutex::Close() {
  handle_.Close();
}

InstanceMutex& ProcessInstanceMutex() {
  static InstanceMutex mutex;
  return mutex;
}

namespace {

struct ProbeSearch {
  UINT message;
  DWORD timeoutMs;
  DWORD ownProcess;
  HWND found;
};

BOOL CALLBACK ProbeWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ProbeSearch*>(param);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (search->ownProcess != 0 && process == search->ownProcess) return TRUE;
  DWORD_PTR answer = 0;
  if (SendMessageTimeoutW(window, search->message, 0, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, search->timeoutMs,
                          &answer) &&
      answer == search->message) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

HWND FindFirstInstance(DWORD probeTimeoutMs, bool skipOwnProcess) {
  ProbeSearch search{InstanceMessage(), probeTimeoutMs, skipOwnProcess ? GetCurrentProcessId() : 0, nullptr};
  EnumWindows(ProbeWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool ForwardCommandLine(const std::wstring& fullCommandLine, const ForwardTiming& timing,
                        const ForegroundGrant& allowForeground) {
  const auto now = [&timing] { return timing.now ? timing.now() : GetTickCount64(); };
  const ULONGLONG start = now();
  HWND first = FindFirstInstance(timing.probeTimeoutMs, timing.skipOwnProcess);
  while (!first && now() - start < timing.retryForMs) {
    if (timing.pause)
      timing.pause(timing.retryIntervalMs);
    else
      Sleep(timing.retryIntervalMs);
    first = FindFirstInstance(timing.probeTimeoutMs, timing.skipOwnProcess);
  }
  if (!first) return false;
  DWORD firstProcess = 0;
  GetWindowThreadProcessId(first, &firstProcess);
  if (firstProcess != 0 && allowForeground) allowForeground(firstProcess);
  COPYDATASTRUCT data{};
  data.dwData = kForwardCommandLineTag;
  data.cbData = static_cast<DWORD>((fullCommandLine.size() + 1) * sizeof(wchar_t));
  data.lpData = const_cast<wchar_t*>(fullCommandLine.c_str());
  SendMessageW(first, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  return true;
}

LRESULT AnswerInstanceMessage(HWND window, WPARAM wParam, LPARAM lParam) {
  const UINT message = InstanceMessage();
  if (wParam == message && lParam == static_cast<LPARAM>(message)) {
    PostQuitMessage(kExitQuitRequest);
    return 1;
  }
  ShowWindow(window, SW_SHOWNA);
  PostMessageW(window, WM_COMMAND, kCommandBringToFront, 0);
  return message;
}

bool ReadForwardedCommandLine(const COPYDATASTRUCT* data, Text& commandLine) {
  if (!data || data->dwData != kForwardCommandLineTag || !data->lpData) return false;
  const auto* chars = static_cast<const char16_t*>(data->lpData);
  const size_t capacity = data->cbData / sizeof(char16_t);
  size_t length = 0;
  while (length < capacity && chars[length] != 0) ++length;
  commandLine.assign(chars, length);
  return true;
}

}  // namespace sorvane::win
