#include "medialist/win/busy_dialog.h"

#include <commctrl.h>

#include "framework/win/wintext.h"
#include "medialist/adding_strings.h"
#include "resource_ids.h"

namespace sorvane::win {
namespace {

constexpr UINT_PTR kTimerId = 1;

// A folder drop can arrive while another scan pumps messages; the owner is
// enabled again only when the last busy dialog closes.
int& OpenDialogs() {
  static int count = 0;
  return count;
}

}  // namespace

BusyDialog::BusyDialog(HINSTANCE instance, HWND owner, BusyCounters& counters)
    : instance_(instance), owner_(owner), animation_(counters) {}

BusyDialog::~BusyDialog() { Close(); }

bool BusyDialog::Open() {
  if (Window()) return true;
  if (!DialogWindow::Create(instance_, IDD_BUSY, owner_)) return false;
  ++OpenDialogs();
  counted_ = true;
  ShowWindow(Window(), SW_SHOW);
  if (owner_) EnableWindow(owner_, FALSE);
  return true;
}

void BusyDialog::Close() {
  if (!Window()) {
    Uncount();  // it went with its owner (the main window closed during the scan)
    return;
  }
  KillTimer(Window(), kTimerId);
  // Enable first, so the activation goes back to the owner and not to
  // another program when the dialog disappears.
  Uncount();
  DestroyWindow(Window());  // the base forgets the window at WM_NCDESTROY
}

void BusyDialog::Uncount() {
  if (!counted_) return;
  counted_ = false;
  if (--OpenDialogs() == 0 && owner_ && IsWindow(owner_)) EnableWindow(owner_, TRUE);
}

INT_PTR BusyDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      return TRUE;
    case WM_TIMER:
      if (wParam == kTimerId) OnTick();
      return TRUE;
    case WM_CLOSE:
      return TRUE;  // the scan closes it, not the user
    case WM_DESTROY:
      Uncount();  // also when destroyed with its owner
      return FALSE;
    default:
      return FALSE;
  }
}

void BusyDialog::OnInit() {
  HWND window = Window();
  SendDlgItemMessageW(window, IDC_BUSY_BAR, PBM_SETRANGE32, 0, kBusyBarMax);
  SendDlgItemMessageW(window, IDC_BUSY_BAR, PBM_SETPOS, 0, 0);
  SetDlgItemTextW(window, IDC_BUSY_TEXT, W(AddingString(BusyAnimation::FirstTextId())));
  SetTimer(window, kTimerId, kBusyTickMs, nullptr);
}

void BusyDialog::OnTick() {
  const int textId = animation_.Tick();
  SendDlgItemMessageW(Window(), IDC_BUSY_BAR, PBM_SETPOS, static_cast<WPARAM>(animation_.Position()), 0);
  if (textId != 0) SetDlgItemTextW(Window(), IDC_BUSY_TEXT, W(AddingString(textId)));
}

bool PumpWaitingMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

bool PumpMessagesFor(DWORD ms) {
  const ULONGLONG end = GetTickCount64() + ms;
  for (;;) {
    if (!PumpWaitingMessages()) return false;
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
  }
}

}  // namespace sorvane::win
