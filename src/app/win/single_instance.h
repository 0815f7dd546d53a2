// One running copy per user session: the named mutex, the registered instance
// message, the hand-over of a second copy's command line and the first copy's
// answers to the probe, the quit request and the forwarded command line.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "framework/text.h"
#include "framework/win/kernel_handle.h"

namespace sorvane::win {

// RegisterWindowMessageW("Sorvane"), registered once per process.
UINT InstanceMessage();
std::wstring InstanceMutexName();

class InstanceMutex {
 public:
  InstanceMutex() = default;
  InstanceMutex(const InstanceMutex&) = delete;
  InstanceMutex& operator=(const InstanceMutex&) = delete;

  // Creates (or opens) the mutex; answers true when another copy holds it
  // already (the name existed, or access to it was denied).
  bool CreateAndCheckRunning();
  // Creates it without looking whether it existed (a restarting copy).
  void Create();
  void Close();
  bool IsOpen() const { return handle_.Valid(); }

 private:
  KernelHandle handle_;
};

// The mutex held by the running copy until its main window has closed.
InstanceMutex& ProcessInstanceMutex();

struct ForwardTiming {
  DWORD probeTimeoutMs = 5000;  // per window
  // A first copy that is still starting has no window yet: keep looking for a
  // while instead of dropping the command line.
  DWORD retryIntervalMs = 200;
  DWORD retryForMs = 10000;
  bool skipOwnProcess = true;  // a copy never hands over to itself
  // The pause between two searches and the clock the retry time is measured
  // on; empty means Sleep and GetTickCount64. Tests count the searches here.
  std::function<void(DWORD ms)> pause;
  std::function<ULONGLONG()> now;
};

// A top-level window of another process that answers the probe with the
// instance message's value; null when none does.
HWND FindFirstInstance(DWORD probeTimeoutMs, bool skipOwnProcess = true);

// Lets the process with this id take the foreground (AllowSetForegroundWindow).
using ForegroundGrant = std::function<BOOL(DWORD processId)>;

// Sends the full command line to the first copy (WM_COPYDATA, tag 10100).
// Answers whether a first copy received it. Before sending, the first copy's
// process is allowed to take the foreground: the system's foreground lock
// would otherwise keep it behind the window the user started from.
bool ForwardCommandLine(const std::wstring& fullCommandLine, const ForwardTiming& timing = {},
                        const ForegroundGrant& allowForeground = AllowSetForegroundWindow);

// The first copy's side. Both answer the value to return from the window procedure.
// Quit request (wParam == lParam == the message value): posts quit code 0, answers 1.
// Probe: shows the window without activating it, posts command 32921, answers the value.
LRESULT AnswerInstanceMessage(HWND window, WPARAM wParam, LPARAM lParam);

// A forwarded command line (tag 10100): the text up to its terminator, never
// past cbData. Other records give false. The answer to the sender is always 10100.
bool ReadForwardedCommandLine(const COPYDATASTRUCT* data, Text& commandLine);

inline constexpr UINT kCommandBringToFront = 32921;

}  // namespace sorvane::win
