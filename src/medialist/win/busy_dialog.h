// The small modeless window that shows a folder scan is running: a bouncing
// bar and a changing text. It moves only while the scan pumps messages.
#pragma once

#include <windows.h>

#include "medialist/busy_animation.h"

namespace sorvane::win {

inline constexpr int kBusyDialogTemplate = 349;
inline constexpr int kBusyTextId = 1004;
inline constexpr int kBusyBarId = 1002;
inline constexpr int kBusyEmptyTextId = 2224;

class BusyDialog {
 public:
  // The template comes from instance's resources.
  BusyDialog(HINSTANCE instance, HWND owner, BusyCounters& counters = SharedBusyCounters());
  ~BusyDialog();
  BusyDialog(const BusyDialog&) = delete;
  BusyDialog& operator=(const BusyDialog&) = delete;

  // Creates and shows the dialog over the owner and disables the owner.
  bool Open();
  // Destroys the dialog and enables the owner again (when no other busy
  // dialog still runs).
  void Close();

  HWND Window() const { return window_; }
  const BusyAnimation& Animation() const { return animation_; }

 private:
  static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnInit(HWND window);
  void OnTick();

  HINSTANCE instance_;
  HWND owner_;
  HWND window_ = nullptr;
  BusyAnimation animation_;
};

// Dispatches every message waiting in this thread's queue. On WM_QUIT it puts
// the quit back for the main loop and answers false.
bool PumpWaitingMessages();

// Keeps dispatching messages for about ms milliseconds; false on WM_QUIT.
bool PumpMessagesFor(DWORD ms);

}  // namespace sorvane::win
