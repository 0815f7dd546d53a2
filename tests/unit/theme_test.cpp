#include <gtest/gtest.h>

#include <optional>

#include "desktop/theme_classes.h"
#include "desktop/theme_menu.h"
#include "desktop/theme_palette.h"

namespace sorvane {
namespace {

constexpr ThemePalette kDark{{33, 33, 33}, {255, 255, 255}};
constexpr ThemePalette kLight{{255, 255, 255}, {0, 0, 0}};
constexpr ThemePalette kFourth{{155, 155, 100}, {0, 0, 0}};

struct ThemeCase {
  int theme;
  std::optional<ThemePalette> palette;
  bool hook;
  bool darkTitleBar;
  std::optional<Rgb> menuBackground;
};

TEST(ThemePalette, EachValueGivesItsPaletteHookTitleBarAndMenuBackground) {
  const ThemeCase cases[] = {
      {0, std::nullopt, false, false, std::nullopt},
      {1, kDark, true, true, Rgb{0, 0, 0}},
      {2, kLight, true, false, Rgb{240, 240, 240}},
      {3, kFourth, true, false, Rgb{0, 0, 0}},
      // Values the menu cannot produce fall back to Dark, without its title bar.
      {-1, kDark, true, false, Rgb{0, 0, 0}},
      {99, kDark, true, false, Rgb{0, 0, 0}},
      {4, kDark, true, false, Rgb{0, 0, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.theme);
    EXPECT_EQ(PaletteForTheme(c.theme), c.palette);
    EXPECT_EQ(ThemeInstallsHook(c.theme), c.hook);
    EXPECT_EQ(ThemeWantsDarkTitleBar(c.theme), c.darkTitleBar);
    EXPECT_EQ(MenuBackgroundForTheme(c.theme), c.menuBackground);
  }
}

TEST(ThemePalette, ColorRefPutsRedInTheLowByte) {
  EXPECT_EQ((Rgb{155, 155, 100}.ToColorRef()), 0x00649B9Bu);
  EXPECT_EQ((Rgb{0, 120, 215}.ToColorRef()), 0x00D77800u);
}

TEST(ThemeClasses, ClassNamesMapToTheirTreatment) {
  const struct {
    TextView name;
    ClassTreatment treatment;
  } cases[] = {
      {u"#32770", ClassTreatment::kDialogColours},
      {u"ScrollBar", ClassTreatment::kScrollBarPainter},
      {u"msctls_trackbar32", ClassTreatment::kTrackbarDarkTheme},
      {u"ComboBox", ClassTreatment::kComboBoxPainter},
      {u"COMBOBOX", ClassTreatment::kComboBoxPainter},
      {u"Button", ClassTreatment::kButtonByType},
      {u"SysTabControl32", ClassTreatment::kTabControl},
      {u"ToolbarWindow32", ClassTreatment::kToolbarCustomDraw},
      {u"#32768", ClassTreatment::kNone},
      {u"Static", ClassTreatment::kNone},
      {u"SysListView32", ClassTreatment::kNone},
      {u"Edit", ClassTreatment::kNone},
      {u"SysHeader32", ClassTreatment::kNone},
      {u"ComboLBox", ClassTreatment::kNone},  // the drop-down list of a combo box
      {u"", ClassTreatment::kNone},
      {u"ComboBoxEx32", ClassTreatment::kNone},  // whole names only, no prefix match
      {u"button ", ClassTreatment::kNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(ToUtf8(c.name));
    EXPECT_EQ(TreatmentForClass(c.name), c.treatment);
  }
}

TEST(ThemeClasses, ButtonsAreTreatedByTheirTypeInTheLowFourBits) {
  const struct {
    uint32_t style;
    ButtonTreatment treatment;
  } cases[] = {
      {0x7, ButtonTreatment::kGroupBoxPainted},
      {0x50000007, ButtonTreatment::kGroupBoxPainted},  // visible child group box
      {0x3, ButtonTreatment::kVisualStylesOff},
      {0x50010003, ButtonTreatment::kVisualStylesOff},
      {0x0, ButtonTreatment::kExplorerTheme},   // push button
      {0x1, ButtonTreatment::kExplorerTheme},   // default push button
      {0x2, ButtonTreatment::kExplorerTheme},   // plain check box
      {0x9, ButtonTreatment::kExplorerTheme},   // automatic radio button
      {0xB, ButtonTreatment::kExplorerTheme},   // owner drawn
      {0x17, ButtonTreatment::kGroupBoxPainted},  // bit 4 is not part of the type
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.style);
    EXPECT_EQ(ButtonTreatmentForStyle(c.style), c.treatment);
  }
}

TEST(ThemeClasses, DialogAnswersColourMessagesOfItselfAndItsCommonChildren) {
  EXPECT_TRUE(DialogAnswersColourMessage(0x0136));  // dialog
  EXPECT_TRUE(DialogAnswersColourMessage(0x0138));  // static
  EXPECT_TRUE(DialogAnswersColourMessage(0x0135));  // button
  EXPECT_TRUE(DialogAnswersColourMessage(0x0133));  // edit
  EXPECT_TRUE(DialogAnswersColourMessage(0x0134));  // list box
  EXPECT_TRUE(DialogAnswersColourMessage(0x0137));  // scroll bar
  EXPECT_FALSE(DialogAnswersColourMessage(0x0132));  // message box
  EXPECT_FALSE(DialogAnswersColourMessage(0x0111));
}

TEST(ComboPainter, BorderPenOverDisabledHotFocused) {
  const Rgb disabled{164, 164, 164}, active{165, 164, 64}, plain{192, 192, 192};
  const struct {
    bool disabled, hot, focused;
    Rgb pen;
  } cases[] = {
      {false, false, false, plain},    {false, true, false, active},   {false, false, true, active},
      {false, true, true, active},     {true, false, false, disabled}, {true, true, false, disabled},
      {true, false, true, disabled},   {true, true, true, disabled},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.disabled << c.hot << c.focused);
    EXPECT_EQ(ComboBorderPen({c.disabled, c.hot, c.focused}), c.pen);
  }
}

TEST(ComboPainter, ArrowAndTextColoursFollowHotAndDisabled) {
  EXPECT_EQ(ComboArrowColour({false, true, false}), (Rgb{222, 222, 222}));
  EXPECT_EQ(ComboArrowColour({false, false, true}), (Rgb{122, 122, 122}));
  EXPECT_EQ(ComboArrowColour({true, true, false}), (Rgb{122, 122, 122}));  // disabled wins
  EXPECT_EQ(ComboArrowFieldColour({false, true, false}), (Rgb{128, 128, 128}));
  EXPECT_EQ(ComboArrowFieldColour({false, false, false}), (Rgb{32, 32, 32}));
  EXPECT_EQ(ComboTextColour({false, false, false}), (Rgb{255, 255, 255}));
  EXPECT_EQ(ComboTextColour({true, false, false}), (Rgb{155, 155, 155}));
}

TEST(ComboPainter, OnlyADropDownListHasItsItemAreaPainted) {
  EXPECT_TRUE(ComboPaintsItemArea(0x50210003));  // drop-down list
  EXPECT_FALSE(ComboPaintsItemArea(0x50210002));  // drop-down with edit field: the list selector
  EXPECT_FALSE(ComboPaintsItemArea(0x50210001));  // simple
}

TEST(DarkListView, VersionRules) {
  EXPECT_EQ(BuildNumberWithoutFlags(0xF0004A61u), 19041u);
  EXPECT_FALSE(SystemHasDarkListView(6));
  EXPECT_TRUE(SystemHasDarkListView(10));
  EXPECT_EQ(PreferredDarkMode(17763), 1);
  EXPECT_EQ(PreferredDarkMode(18361), 1);
  EXPECT_EQ(PreferredDarkMode(18362), 2);
  EXPECT_EQ(PreferredDarkMode(BuildNumberWithoutFlags(0xF0004A61u)), 2);
}

TEST(ThemeMenu, ItemsAreHeadingSeparatorAndTheThreeLooks) {
  const auto items = ThemeMenuItems();
  ASSERT_EQ(items.size(), 5u);
  EXPECT_TRUE(items[0].heading);
  EXPECT_EQ(items[0].stringId, 80);
  EXPECT_EQ(items[1].stringId, 0);  // separator
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(items[2 + i].id, i + 1);
    EXPECT_EQ(items[2 + i].stringId, 81 + i);
    EXPECT_FALSE(items[2 + i].heading);
  }
  EXPECT_EQ(items[2].english, u"Default");
  EXPECT_EQ(items[3].english, u"Dark");
  EXPECT_EQ(items[4].english, u"Light");
}

TEST(ThemeMenu, CheckedItemIsTheCurrentValuePlusOne) {
  EXPECT_EQ(ThemeMenuCheckedId(0), 1);
  EXPECT_EQ(ThemeMenuCheckedId(1), 2);
  EXPECT_EQ(ThemeMenuCheckedId(2), 3);
  EXPECT_EQ(ThemeMenuCheckedId(3), 0);  // the fourth palette has no item
  EXPECT_EQ(ThemeMenuCheckedId(-1), 0);
  EXPECT_EQ(ThemeMenuCheckedId(99), 0);
}

TEST(ThemeMenu, ChoosingRestartsAndWritesOnlyWhenTheLookChanges) {
  const struct {
    int chosenId, current;
    bool write;
    int newTheme;
    bool restart;
  } cases[] = {
      {2, 1, false, 1, true},   // the current look: restart, no write
      {1, 0, false, 0, true},
      {3, 1, true, 2, true},
      {1, 2, true, 0, true},
      {2, 3, true, 1, true},    // from the fourth palette back to Dark
      {2, 99, true, 1, true},   // an odd value that looks Dark is still replaced
      {0, 1, false, 0, false},  // dismissed
      {4, 1, false, 0, false},
      {-1, 1, false, 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.chosenId << " over " << c.current);
    const auto d = DecideThemeMenuChoice(c.chosenId, c.current);
    EXPECT_EQ(d.writeSetting, c.write);
    EXPECT_EQ(d.restart, c.restart);
    if (c.write) EXPECT_EQ(d.newTheme, c.newTheme);
  }
}

}  // namespace
}  // namespace sorvane
