#include "desktop/win/tray_part.h"

#include "desktop/tray_tip.h"
#include "framework/win/wintext.h"
#include "playback/win/playback_part.h"

namespace sorvane::win {

void TrayPart::OnInitDialog(PartHost& window) {
  taskbarCreated_ = RegisterWindowMessageW(ToWide(kTaskbarCreatedMessage).c_str());
  // A program with higher rights than the shell would not hear the broadcast otherwise.
  ChangeWindowMessageFilterEx(window.Window(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
  icon_.Create(window.Window(), GetModuleHandleW(nullptr), keeperPeriodMs_);
}

bool TrayPart::OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == kTrayMessage) {
    OnIconEvent(window.Window(), TrayMouseMessage(lParam));
    result = 0;
    return true;
  }
  if (message == taskbarCreated_ && taskbarCreated_ != 0) {
    icon_.Update();
    result = 0;
    return true;
  }
  if (message == kPlayStateChangedMessage) {
    UpdateTip();
    return false;  // others watch it too
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
    // Esc and the close box: the music goes on, the window goes to the tray.
    HideToTray(window.Window());
    result = 0;
    return true;
  }
  return false;
}

void TrayPart::OnClose(PartHost&) { icon_.Remove(); }

void TrayPart::UpdateTip() {
  const Text title = hooks_.playingTitle ? hooks_.playingTitle() : Text();
  icon_.SetTip(TrayTipText(title));
}

void TrayPart::OnIconEvent(HWND window, UINT mouseMessage) {
  TrayWindowState state;
  state.visible = IsWindowVisible(window) != FALSE;
  state.flyOut = hooks_.flyOut && hooks_.flyOut();
  state.collapsed = state.flyOut && hooks_.collapsed && hooks_.collapsed();
  const auto show = [window] {
    ShowWindow(window, SW_SHOW);
    SetForegroundWindow(window);
    SetActiveWindow(window);
  };
  switch (TrayIconActionFor(mouseMessage, state)) {
    case TrayIconAction::kShowWindow:
      show();
      break;
    case TrayIconAction::kHideWindow:
      ShowWindow(window, SW_HIDE);
      break;
    case TrayIconAction::kShowAndSlideOut:
      ShowWindow(window, SW_SHOW);
      [[fallthrough]];
    case TrayIconAction::kSlideOut:
      if (hooks_.slideOutFor) hooks_.slideOutFor(static_cast<int>(kTraySlideOutMs));
      SetForegroundWindow(window);
      SetActiveWindow(window);
      break;
    case TrayIconAction::kCollapse:
      if (hooks_.collapse) hooks_.collapse();
      break;
    case TrayIconAction::kTrayMenu: {
      POINT at{};
      GetCursorPos(&at);
      if (hooks_.showTrayMenu) hooks_.showTrayMenu(window, at);
      break;
    }
    case TrayIconAction::kNone:
      break;
  }
}

}  // namespace sorvane::win
