// The notification-area icon as a part of the main window: the icon from the
// start to the close, Esc and the close box hiding the window to the tray,
// clicks on the icon, the tip that names what plays, and the icon put back
// when the task bar restarts.
#pragma once

#include <functional>

#include "desktop/tray_events.h"
#include "desktop/win/tray_icon.h"
#include "framework/win/main_window_part.h"

namespace sorvane::win {

// What the tray needs of other parts; each hook may stay empty.
struct TrayHooks {
  // Fly-out mode: whether it is on and the window is slid out to its tab.
  std::function<bool()> flyOut;
  std::function<bool()> collapsed;
  std::function<void(int periodMs)> slideOutFor;
  std::function<void()> collapse;
  // The tray menu at a screen point; the chosen command goes to the window.
  std::function<void(HWND window, POINT at)> showTrayMenu;
  // The title of what plays, empty while nothing plays.
  std::function<Text()> playingTitle;
};

class TrayPart final : public MainWindowPart {
 public:
  explicit TrayPart(DWORD keeperPeriodMs = kTrayKeeperPeriodMs) : keeperPeriodMs_(keeperPeriodMs) {}

  TrayHooks& Hooks() { return hooks_; }
  TrayIcon& Icon() { return icon_; }
  // The registered "TaskbarCreated" message.
  UINT TaskbarCreatedMessage() const { return taskbarCreated_; }

  void OnInitDialog(PartHost& window) override;
  bool OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void OnClose(PartHost& window) override;

 private:
  void OnIconEvent(HWND window, UINT mouseMessage);
  void UpdateTip();

  DWORD keeperPeriodMs_;
  TrayHooks hooks_;
  TrayIcon icon_;
  UINT taskbarCreated_ = 0;
};

}  // namespace sorvane::win
