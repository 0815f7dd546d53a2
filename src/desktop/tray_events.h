// The notification-area icon's record values, what a click on it does to the
// main window, and the tray menu as data.
#pragma once

#include <cstdint>
#include <span>

#include "framework/text.h"

namespace sorvane {

inline constexpr uint32_t kTrayMessage = 32868;  // 0x8064, the icon's event message
inline constexpr uint32_t kTrayIconId = 100;
inline constexpr int kTrayIconResource = 100;
inline constexpr uint32_t kTrayKeeperPeriodMs = 5000;
inline constexpr uint32_t kTraySlideOutMs = 5000;  // a collapsed fly-out window stays out this long
inline constexpr TextView kTaskbarCreatedMessage = u"TaskbarCreated";

inline constexpr uint32_t kWmLButtonDown = 0x0201;
inline constexpr uint32_t kWmRButtonDown = 0x0204;

// The mouse message sits in the low word of the event's second parameter.
inline constexpr uint32_t TrayMouseMessage(int64_t lParam) { return static_cast<uint32_t>(lParam) & 0xFFFF; }

struct TrayWindowState {
  bool visible = false;
  bool flyOut = false;     // docked at a screen edge
  bool collapsed = false;  // in fly-out mode: only the tab is on the screen
};

enum class TrayIconAction {
  kNone,
  kShowWindow,       // show, activate, bring to the front
  kHideWindow,
  kSlideOut,         // SlideOutFor(kTraySlideOutMs), then activate
  kShowAndSlideOut,  // a fly-out window hidden to the tray: show it first, then slide out
  kCollapse,
  kTrayMenu,
};

TrayIconAction TrayIconActionFor(uint32_t mouseMessage, TrayWindowState state);

// The tray menu: "Program" + "\t>>" holding the program menu's first popup,
// "E&xit", and the program's name with its version.
inline constexpr int kCmdExit = 32916;
inline constexpr int kCmdBringToFront = 32921;

enum class TrayMenuEntryKind {
  kProgramSubmenu,  // the first popup of the program menu
  kSeparator,
  kCommand,         // text from the language table
  kAppInfo,         // text from the program information (name and version)
};

struct TrayMenuEntry {
  TrayMenuEntryKind kind = TrayMenuEntryKind::kSeparator;
  int id = 0;
  int stringId = 0;
  TextView english;
  TextView suffix;  // appended to the looked-up text
};

std::span<const TrayMenuEntry> TrayMenuEntries();

}  // namespace sorvane
