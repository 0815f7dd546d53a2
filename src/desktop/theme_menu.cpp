#include "desktop/theme_menu.h"

#include <array>

namespace sorvane {

namespace {

constexpr std::array<ThemeMenuItem, 5> kItems{{
    {0, 80, u"Theme", true},
    {0, 0, u"", false},
    {1, 81, u"Default", false},
    {2, 82, u"Dark", false},
    {3, 83, u"Light", false},
}};

constexpr int kFirstThemeId = 1;
constexpr int kLastThemeId = 3;

}  // namespace

std::span<const ThemeMenuItem> ThemeMenuItems() { return kItems; }

int ThemeMenuCheckedId(int currentTheme) {
  if (currentTheme < kFirstThemeId - 1 || currentTheme > kLastThemeId - 1) return 0;
  return currentTheme + 1;
}

ThemeMenuDecision DecideThemeMenuChoice(int chosenId, int currentTheme) {
  if (chosenId < kFirstThemeId || chosenId > kLastThemeId) return {};
  const int chosen = chosenId - 1;
  return ThemeMenuDecision{chosen != currentTheme, chosen, true};
}

}  // namespace sorvane
