// The theme menu behind command 33337: its items and what choosing one means.
// A look is fixed for a run, so every choice ends in a restart of the program.
#pragma once

#include <span>

#include "framework/text.h"

namespace sorvane {

inline constexpr int kCmdThemeMenu = 33337;
// The single parameter of the restarted copy.
inline constexpr TextView kRestartParameter = u"RESTART_TESSALOOM_2018";

struct ThemeMenuItem {
  int id = 0;        // 0 for the heading and the separator
  int stringId = 0;  // 0: separator
  TextView english;
  bool heading = false;  // disabled, its text followed by ":"
};

// Heading "Theme:" (80), a separator, then "Default" (81), "Dark" (82) and
// "Light" (83) with ids 1 to 3: the id is the theme value + 1.
std::span<const ThemeMenuItem> ThemeMenuItems();
// The item id to check for the current value; 0 (none) for values the menu
// does not offer, such as the fourth palette.
int ThemeMenuCheckedId(int currentTheme);

struct ThemeMenuDecision {
  bool writeSetting = false;  // store newTheme in "by_theme"
  int newTheme = 0;
  bool restart = false;       // start the program again, close this copy when that worked
};

// chosenId is TrackPopupMenu's answer: 0 when the menu was dismissed. Choosing
// the current look restarts without writing.
ThemeMenuDecision DecideThemeMenuChoice(int chosenId, int currentTheme);

}  // namespace sorvane
