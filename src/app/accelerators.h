// Keyboard shortcuts derived from the menu texts: an item "label\tCtrl + P"
// (optionally followed by a tab and a symbol) gets the accelerator Ctrl+P for
// its command. The shortcuts are written into the item texts by the code that
// builds the menus, never by translators, so they stay the same in every
// language.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "framework/text.h"

namespace sorvane {

struct MenuItem;

// Accelerator flags with the values of the platform's ACCEL.fVirt.
inline constexpr uint8_t kAccelVirtKey = 0x01;  // FVIRTKEY
inline constexpr uint8_t kAccelShift = 0x04;    // FSHIFT
inline constexpr uint8_t kAccelControl = 0x08;  // FCONTROL
inline constexpr uint8_t kAccelAlt = 0x10;      // FALT

// The platform's virtual-key codes the shortcuts can name. Letters and digits
// are their upper-case character codes.
namespace vk {
inline constexpr uint16_t kBack = 0x08;
inline constexpr uint16_t kTab = 0x09;
inline constexpr uint16_t kReturn = 0x0D;
inline constexpr uint16_t kSpace = 0x20;
inline constexpr uint16_t kDelete = 0x2E;
inline constexpr uint16_t kNumpad0 = 0x60;  // keypad digits are kNumpad0 + d
inline constexpr uint16_t kMultiply = 0x6A;
inline constexpr uint16_t kAdd = 0x6B;
inline constexpr uint16_t kSubtract = 0x6D;
inline constexpr uint16_t kDivide = 0x6F;
inline constexpr uint16_t kF1 = 0x70;  // Fn is kF1 + n - 1, up to F24
inline constexpr int kMaxFunctionKey = 24;
}  // namespace vk

struct Accelerator {
  uint8_t flags = 0;  // kAccelVirtKey plus modifiers
  uint16_t key = 0;   // virtual-key code
  int command = 0;
  bool operator==(const Accelerator&) const = default;
};

// An item text split at its first two tabs. The symbol keeps any further tabs,
// so Join() gives back the original text.
struct ItemTextParts {
  Text label;
  Text shortcut;
  Text symbol;
  bool hasShortcut = false;  // the text has a tab
  bool hasSymbol = false;    // the text has a second tab
  Text Join() const;
};
ItemTextParts SplitItemText(TextView text);

// The flags and key of a shortcut text such as "Ctrl + Shift + F5", "Alt+Del",
// "Num 7" or "Ctrl + Q". Blanks are ignored; "Ctrl+", "Shift+" and "Alt+" add
// their modifier wherever they stand. nullopt when the text names no key or
// contains "null".
struct ShortcutKey {
  uint8_t flags = 0;
  uint16_t key = 0;
  bool operator==(const ShortcutKey&) const = default;
};
std::optional<ShortcutKey> ParseShortcut(TextView shortcut);

// The accelerator of one menu item's text, or nullopt when it shows none.
std::optional<Accelerator> AcceleratorForItem(TextView itemText, int command);

// Every accelerator of a menu, submenus included, in menu order. Items sharing
// a key keep both entries; the platform acts on the first.
std::vector<Accelerator> DeriveAccelerators(const MenuItem& menu);

}  // namespace sorvane
