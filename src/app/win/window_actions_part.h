// The main window's own small actions of the command table: the system volume
// mixer (33374), the fly-out colour (33364), Restart (45107), and the Send To
// menu (32203 adds a shortcut to this program, 32205 opens the folder).
// Programs and folders are opened through shell_run.h.
#pragma once

#include <windows.h>

#include <functional>

#include "framework/text.h"
#include "framework/win/main_window_part.h"

namespace sorvane::win {

// The command-line tail that marks a copy started by Restart.
inline constexpr TextView kRestartParameter = u"RESTART_TESSALOOM_2018";

struct WindowActionHooks {
  // Lets the user choose a colour, starting from colour; false on Cancel.
  // Default: the system's colour dialog, fully open.
  std::function<bool(HWND owner, COLORREF& colour)> chooseColour;
  // The user's Send To folder. Default: the shell's known folder.
  std::function<Text()> sendToFolder;
};

class WindowActionsPart final : public MainWindowPart {
 public:
  explicit WindowActionsPart(WindowActionHooks hooks = {});

  void OnInitDialog(PartHost& window) override;
  bool OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  COLORREF FlyOutColour() const { return flyOutColour_; }

  // The shortcut file the Send To item creates.
  Text SendToShortcutPath() const;

 private:
  void SystemVolume(HWND owner);
  void ChooseFlyOutColour(HWND owner);
  void Restart(HWND window);
  bool AddToSendTo();

  WindowActionHooks hooks_;
  COLORREF flyOutColour_ = 0;
};

}  // namespace sorvane::win
