#include "desktop/theme_palette.h"

namespace sorvane {

std::optional<ThemePalette> PaletteForTheme(int theme) {
  switch (theme) {
    case kThemeDefault:
      return std::nullopt;
    case kThemeLight:
      return ThemePalette{{255, 255, 255}, {0, 0, 0}};
    case kThemeFourth:
      return ThemePalette{{155, 155, 100}, {0, 0, 0}};
    default:  // Dark, and every value the menu cannot produce
      return ThemePalette{{33, 33, 33}, {255, 255, 255}};
  }
}

std::optional<Rgb> MenuBackgroundForTheme(int theme) {
  if (theme == kThemeDefault) return std::nullopt;
  if (theme == kThemeLight) return Rgb{240, 240, 240};
  return Rgb{0, 0, 0};
}

Rgb ComboBorderPen(ComboState state) {
  if (state.disabled) return combo_colours::kBorderDisabled;
  if (state.hot || state.focused) return combo_colours::kBorderActive;
  return combo_colours::kBorder;
}

Rgb ComboArrowColour(ComboState state) {
  if (!state.disabled && state.hot) return combo_colours::kArrowHot;
  return combo_colours::kArrow;
}

Rgb ComboArrowFieldColour(ComboState state) {
  return state.hot ? combo_colours::kArrowFieldHot : combo_colours::kField;
}

Rgb ComboTextColour(ComboState state) {
  return state.disabled ? combo_colours::kDisabledText : combo_colours::kText;
}

}  // namespace sorvane
