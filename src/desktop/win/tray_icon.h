// The notification-area icon of the main window: its one record, the update
// that probes the shell and then modifies or adds, the delete, and the keeper
// thread that puts the icon back after the task bar was restarted.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <mutex>

#include "framework/text.h"
#include "framework/win/kernel_handle.h"

namespace sorvane::win {

// Every request to the shell goes through this function, so that a test can
// record the exact records. It may be called from the keeper thread.
using ShellNotifyFunction = BOOL (*)(DWORD request, PNOTIFYICONDATAW data);
// Null puts Shell_NotifyIconW back.
void SetShellNotifyFunction(ShellNotifyFunction function);

class TrayIcon {
 public:
  TrayIcon() = default;
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon();

  // Fills the record (icon 100 at the small icon size, tip "Sorvane", event
  // message 32868), shows the icon and starts the keeper with the given
  // period. A keeper of an earlier call is stopped first.
  void Create(HWND owner, HINSTANCE instance, DWORD keeperPeriodMs);
  // Probe, then modify or add. True when the shell took the icon.
  bool Update();
  // A new tip (cut to the record's field by the caller's rules) on the shown icon.
  void SetTip(TextView tip);
  // Deletes the icon and stops the keeper (joined, never killed).
  void Remove();

  bool KeeperRunning() const { return keeper_.Valid(); }
  // The exit code of the last keeper that was stopped: 0 when it ended by itself.
  DWORD LastKeeperExitCode() const { return keeperExit_; }
  Text Tip() const;

 private:
  static DWORD WINAPI KeeperMain(void* self);
  NOTIFYICONDATAW Record(UINT flags) const;
  void StopKeeper();

  mutable std::mutex mutex_;  // the record, read by the keeper thread
  std::mutex updateMutex_;    // one update at a time: the keeper and "TaskbarCreated" may meet
  HWND owner_ = nullptr;
  HINSTANCE instance_ = nullptr;
  wchar_t tip_[128] = L"";
  bool shown_ = false;
  DWORD periodMs_ = 5000;
  KernelHandle stop_;
  KernelHandle keeper_;
  DWORD keeperExit_ = STILL_ACTIVE;
};

// Hides the window toward the notification area: the caption animation when
// the system animates minimising, then the wait of the animation duration
// (also without animation), then the window is hidden.
void HideToTray(HWND window);
// The wait before hiding, from the registry.
DWORD HideAnimationDurationMs();

}  // namespace sorvane::win
