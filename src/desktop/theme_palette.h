// The colours of the looks selected by "by_theme", as data. The Win32 side
// turns them into brushes and pens; nothing here touches the platform.
#pragma once

#include <cstdint>
#include <optional>

namespace sorvane {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  // The platform's 0x00BBGGRR colour value.
  constexpr uint32_t ToColorRef() const { return uint32_t{r} | (uint32_t{g} << 8) | (uint32_t{b} << 16); }
  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

// The values of "by_theme" the menu offers; anything else non-zero keeps Dark.
inline constexpr int kThemeDefault = 0;
inline constexpr int kThemeDark = 1;
inline constexpr int kThemeLight = 2;
inline constexpr int kThemeFourth = 3;
inline constexpr int kThemeSettingDefault = kThemeDark;

struct ThemePalette {
  Rgb background;
  Rgb text;
  friend constexpr bool operator==(const ThemePalette&, const ThemePalette&) = default;
};

// None for 0: the system's own look, no window-creation hook.
std::optional<ThemePalette> PaletteForTheme(int theme);
// The hook is installed exactly when there is a palette.
inline bool ThemeInstallsHook(int theme) { return theme != kThemeDefault; }
// Only the Dark value asks the window manager for a dark title bar; other
// values that fall back to the Dark palette do not.
inline bool ThemeWantsDarkTitleBar(int theme) { return theme == kThemeDark; }
// The solid background of popup menus (applied to submenus too); none for 0.
std::optional<Rgb> MenuBackgroundForTheme(int theme);

// Attribute and value handed to DwmSetWindowAttribute for the dark title bar.
inline constexpr uint32_t kDarkTitleBarAttribute = 20;
inline constexpr uint32_t kDarkTitleBarValue = 1;

// Toolbar custom drawing: a hot button's text background.
inline constexpr Rgb kToolbarHotTextBackground{0, 0, 255};

// The combo box painter's palette, fixed whatever the theme.
namespace combo_colours {
inline constexpr Rgb kField{32, 32, 32};
inline constexpr Rgb kText{255, 255, 255};
inline constexpr Rgb kDisabledText{155, 155, 155};
inline constexpr Rgb kArrowHot{222, 222, 222};
inline constexpr Rgb kArrow{122, 122, 122};
inline constexpr Rgb kArrowFieldHot{128, 128, 128};
inline constexpr Rgb kBorderDisabled{164, 164, 164};
inline constexpr Rgb kBorderActive{165, 164, 64};
inline constexpr Rgb kBorder{192, 192, 192};
inline constexpr Rgb kOuterFrame{64, 64, 64};
inline constexpr int kCornerRadius = 4;
inline constexpr int kTextInset = 4;
inline constexpr char16_t kArrowGlyph = u'\u25BC';
}  // namespace combo_colours

struct ComboState {
  bool disabled = false;
  bool hot = false;      // the mouse is over the box
  bool focused = false;  // the box has the keyboard focus
};

// The pen of the border and of the line left of the arrow field.
Rgb ComboBorderPen(ComboState state);
Rgb ComboArrowColour(ComboState state);
Rgb ComboArrowFieldColour(ComboState state);
Rgb ComboTextColour(ComboState state);

// The style type in the low two bits; only a drop-down list (3) has its item
// area painted, a box with an edit field (2) shows its text through the edit.
inline constexpr uint32_t kComboStyleTypeMask = 3;
inline constexpr uint32_t kComboDropDownList = 3;
inline bool ComboPaintsItemArea(uint32_t style) { return (style & kComboStyleTypeMask) == kComboDropDownList; }

// The media list view's own dark look, whatever the theme.
namespace list_view_colours {
inline constexpr Rgb kBackground{32, 32, 32};
inline constexpr Rgb kText{255, 255, 255};
inline constexpr Rgb kOuterFrame{90, 90, 90};
}  // namespace list_view_colours

// The list view header painter.
struct HeaderColours {
  Rgb background{30, 30, 35};
  Rgb text{220, 220, 220};
  Rgb accent{0, 120, 215};        // the sort mark and the pressed item
  Rgb hotText{255, 255, 255};     // the item under the mouse
  Rgb divider{50, 50, 55};        // lines between items and the 1-pixel frame
  Rgb focus{255, 200, 0};         // keyboard focus
};
inline constexpr HeaderColours kHeaderColours{};

// The self-painted scroll bar.
struct ScrollBarColours {
  Rgb accent{0, 120, 215};        // a pressed thumb
  Rgb thumbHot{80, 80, 85};
  Rgb track{40, 40, 45};
  Rgb thumb{50, 50, 55};
  Rgb arrowBackground{100, 100, 110};
  Rgb arrow{200, 200, 200};
  Rgb focus{255, 200, 0};
};
inline constexpr ScrollBarColours kScrollBarColours{};

// The list view's dark mode on newer systems: the build number without its
// top four flag bits, and the preferred-mode value for export 135.
inline constexpr uint32_t BuildNumberWithoutFlags(uint32_t build) { return build & 0x0FFFFFFFu; }
inline constexpr bool SystemHasDarkListView(uint32_t major) { return major >= 10; }
inline constexpr int PreferredDarkMode(uint32_t buildWithoutFlags) { return buildWithoutFlags < 18362 ? 1 : 2; }

}  // namespace sorvane
