#include "app/accelerators.h"

#include <gtest/gtest.h>

#include <optional>

#include "app/menu_model.h"
#include "framework/text.h"

namespace sorvane {
namespace {

constexpr uint8_t V = kAccelVirtKey;
constexpr uint8_t C = kAccelControl;
constexpr uint8_t S = kAccelShift;
constexpr uint8_t A = kAccelAlt;

struct Case {
  const char16_t* itemText;
  std::optional<ShortcutKey> expected;
};

TEST(Accelerators, DeriveFlagsAndKeyFromTheItemText) {
  const Case cases[] = {
      // Letters, digits, modifiers with and without blanks around "+".
      {u"Play\tCtrl + P\t\u25B6", ShortcutKey{V | C, 'P'}},
      {u"Compact Mode\tCtrl + C", ShortcutKey{V | C, 'C'}},
      {u"Repeat One\tCtrl + 1\t\U0001F502", ShortcutKey{V | C, '1'}},
      {u"Repeat Off\tCtrl + 3\t\u26AA", ShortcutKey{V | C, '3'}},
      {u"x\tCtrl+Shift+F5", ShortcutKey{V | C | S, 0x74}},
      {u"x\tShift + Alt + Ctrl + Z", ShortcutKey{V | C | S | A, 'Z'}},
      {u"x\tAlt+Del", ShortcutKey{V | A, 46}},
      {u"x\tX", ShortcutKey{V, 'X'}},
      // The symbol after a second tab is not part of the shortcut.
      {u"Sequential\tCtrl + Q\t\u27A1", ShortcutKey{V | C, 'Q'}},
      // A lower-case letter is the same key as its capital ('p' would be F1).
      {u"x\tCtrl + p", ShortcutKey{V | C, 'P'}},
      // Function keys F1 to F24.
      {u"x\tF1", ShortcutKey{V, 0x70}},
      {u"x\tF12", ShortcutKey{V, 0x7B}},
      {u"x\tAlt + F4", ShortcutKey{V | A, 0x73}},
      {u"x\tF24", ShortcutKey{V, 0x87}},
      {u"x\tF0", std::nullopt},
      {u"x\tF25", std::nullopt},
      {u"x\tF5x", std::nullopt},
      // Named keys.
      {u"x\tDel", ShortcutKey{V, 46}},
      {u"x\tShift + Delete", ShortcutKey{V | S, 46}},
      {u"x\tSpace", ShortcutKey{V, 32}},
      {u"x\tCtrl + Enter", ShortcutKey{V | C, 13}},
      {u"x\tBack", ShortcutKey{V, 8}},
      {u"x\tBackspace", ShortcutKey{V, 8}},
      {u"x\tShift + Tab", ShortcutKey{V | S, 9}},
      // Keypad.
      {u"x\tNum 7", ShortcutKey{V, 0x67}},
      {u"x\tNum 0", ShortcutKey{V, 0x60}},
      {u"x\tCtrl + Num 9", ShortcutKey{V | C, 0x69}},
      {u"x\tNum *", ShortcutKey{V, 106}},
      {u"x\tAlt+Num+", ShortcutKey{V | A, 107}},
      {u"x\tNum -", ShortcutKey{V, 109}},
      {u"x\tNum /", ShortcutKey{V, 111}},
      {u"x\tNum", std::nullopt},
      {u"x\tNum x", std::nullopt},
      // No accelerator.
      {u"x\tnull", std::nullopt},
      {u"x\tCtrl + null", std::nullopt},
      {u"Resume playback at the last position on startup.", std::nullopt},
      {u"x\t", std::nullopt},
      {u"x\tCtrl + ", std::nullopt},
      {u"Random\t\t\U0001F500", std::nullopt},  // the player panel's form: no shortcut
      {u"x\tCtrl + Home", std::nullopt},
      {u"x\tCtrl + .", std::nullopt},  // '.' has the code of Delete
      {u"x\tCtrl + *", std::nullopt},
      {u"FAQ\t(# ?)", std::nullopt},
      {u"German\tDeutsch / 100 %", std::nullopt},
      {u"French\tFran\u00E7aise / 100 %", std::nullopt},
  };
  for (const Case& c : cases) {
    const auto accel = AcceleratorForItem(c.itemText, 4242);
    SCOPED_TRACE(ToUtf8(c.itemText));
    ASSERT_EQ(accel.has_value(), c.expected.has_value());
    if (!accel) continue;
    EXPECT_EQ(accel->flags, c.expected->flags);
    EXPECT_EQ(accel->key, c.expected->key);
    EXPECT_EQ(accel->command, 4242);
  }
}

TEST(Accelerators, SplitKeepsTheTextWhole) {
  struct SplitCase {
    const char16_t* text;
    const char16_t* label;
    const char16_t* shortcut;
    const char16_t* symbol;
    bool hasShortcut, hasSymbol;
  };
  const SplitCase cases[] = {
      {u"Stop", u"Stop", u"", u"", false, false},
      {u"Stop\tCtrl + S", u"Stop", u"Ctrl + S", u"", true, false},
      {u"Stop\tCtrl + S\t\u23F9", u"Stop", u"Ctrl + S", u"\u23F9", true, true},
      {u"a\t\tb", u"a", u"", u"b", true, true},
      {u"a\tb\tc\td", u"a", u"b", u"c\td", true, true},  // nothing after a third tab is lost
      {u"a\t", u"a", u"", u"", true, false},
  };
  for (const SplitCase& c : cases) {
    SCOPED_TRACE(ToUtf8(c.text));
    const ItemTextParts p = SplitItemText(c.text);
    EXPECT_EQ(p.label, c.label);
    EXPECT_EQ(p.shortcut, c.shortcut);
    EXPECT_EQ(p.symbol, c.symbol);
    EXPECT_EQ(p.hasShortcut, c.hasShortcut);
    EXPECT_EQ(p.hasSymbol, c.hasSymbol);
    EXPECT_EQ(p.Join(), c.text);
  }
}

TEST(Accelerators, WalkSubmenusInMenuOrderAndKeepSharedKeys) {
  MenuItem bar = MenuItem::Popup({});
  bar.children.push_back(MenuItem::Popup(
      u"First", {MenuItem::Command(1, u"One\tCtrl + P"), MenuItem::Separator(),
                 MenuItem::Popup(u"Deep\tCtrl + D", {MenuItem::Command(2, u"Two\tF2")}),
                 MenuItem::Command(3, u"Three")}));
  bar.children.push_back(MenuItem::Popup(u"Second", {MenuItem::Command(4, u"Four\tCtrl + P")}));
  const std::vector<Accelerator> expected = {
      {V | C, 'P', 1},
      {V, 0x71, 2},
      {V | C, 'P', 4},
  };
  EXPECT_EQ(DeriveAccelerators(bar), expected);
}

}  // namespace
}  // namespace sorvane
