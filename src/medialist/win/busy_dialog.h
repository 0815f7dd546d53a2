// The small modeless window that shows a folder scan is running: a bouncing
// bar and a changing text. It moves only while the scan pumps messages.
#pragma once

#include <windows.h>

#include "framework/win/dialog_window.h"
#include "medialist/busy_animation.h"
#include "resource_ids.h"

namespace sorvane::win {

class BusyDialog : public DialogWindow<BusyDialog> {
 public:
  // The template comes from instance's resources.
  BusyDialog(HINSTANCE instance, HWND owner, BusyCounters& counters = SharedBusyCounters());
  ~BusyDialog();

  // Creates and shows the dialog over the owner and disables the owner.
  bool Open();
  // Destroys the dialog and enables the owner again (when no other busy
  // dialog still runs).
  void Close();

  const BusyAnimation& Animation() const { return animation_; }

  INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnInit();
  void OnTick();
  // Leaves the count of open busy dialogs, once.
  void Uncount();

  HINSTANCE instance_;
  HWND owner_;
  BusyAnimation animation_;
  bool counted_ = false;
};

// Dispatches every message waiting in this thread's queue. On WM_QUIT it puts
// the quit back for the main loop and answers false.
bool PumpWaitingMessages();

// Keeps dispatching messages for about ms milliseconds; false on WM_QUIT.
bool PumpMessagesFor(DWORD ms);

}  // namespace sorvane::win
