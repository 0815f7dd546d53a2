// The look chosen by "by_theme" on the Win32 side: the window-creation hook
// with its treatments by class, the dark title bar, popup menu backgrounds,
// the media list view's own dark look, and the theme menu.
#pragma once

#include <windows.h>

#include <functional>

#include "desktop/theme_palette.h"
#include "desktop/win/theme_start.h"
#include "framework/win/main_window_part.h"

namespace sorvane::win {

// The value of "by_theme" as read at start (0 until a theme is installed).
int CurrentTheme();
bool ThemeHookInstalled();
// Ends the hook and forgets the value; for tests, which share one thread.
void UninstallThemeForTests();

// Asks for a dark title bar when the theme is Dark (1); nothing otherwise.
void ApplyDarkTitleBar(HWND window);
// The theme's popup menu background (submenus too); nothing for Default.
void ApplyThemeMenuBackground(HMENU menu);
// The media list view's dark look, whatever the theme.
void ApplyDarkListView(HWND listView);

// The theme part: dark title bar and dark list view at start, the theme menu
// behind command 33337.
struct ThemeMenuHooks {
  // Shows the menu and answers the chosen item id (0 when dismissed).
  std::function<int(HWND window, HMENU menu, POINT at)> track;
  // Starts the program again with the restart parameter; true when it started.
  std::function<bool()> restart;
};

class ThemePart final : public MainWindowPart {
 public:
  ThemePart();
  ThemeMenuHooks& Hooks() { return hooks_; }

  void OnInitDialog(PartHost& window) override;
  bool OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  // The menu at a point and what the choice does; true when a restart began.
  bool RunThemeMenu(HWND window, POINT at);

 private:
  ThemeMenuHooks hooks_;
};

// Starts the program's own file again with the restart parameter.
bool RestartProgram();

}  // namespace sorvane::win
