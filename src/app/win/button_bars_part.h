// The two button bars along the bottom edge of the main window. Bar 44500,
// centred: "Be FlyOut" (1243) and the always-on-top toggle (32905). Bar 44999,
// at the left: "Compact Mode" (1244) and "Info" (32915). The buttons are
// children of the main window itself (so every part finds them by id); each bar
// is an invisible window spanning its buttons that follows the same layout rule.
// The part also owns the always-on-top state: the button's check, the z-order
// and "Toop".
#pragma once

#include <memory>

#include "framework/win/main_window_part.h"

namespace sorvane::win {

inline constexpr int kModeBarId = 44500;
inline constexpr int kFrameworkBarId = 44999;
inline constexpr int kThemeBarId = 44998;
inline constexpr int kThemeMenuCommand = 33337;

class ButtonBarsPart final : public MainWindowPart {
 public:
  void OnInitDialog(PartHost& window) override;
  void OnStarted(PartHost& window) override;
  bool OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  bool AlwaysOnTop() const { return topmost_; }

 private:
  void SetTexts(PartHost& window);
  void ToggleAlwaysOnTop(PartHost& window);

  bool topmost_ = false;
};

}  // namespace sorvane::win
