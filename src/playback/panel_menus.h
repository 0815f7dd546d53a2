// The two popup menus of the player panel, as data.
#pragma once

#include <functional>
#include <span>

#include "framework/text.h"

namespace sorvane {

struct PanelMenuItem {
  int command = 0;     // 0: separator
  int stringId = 0;    // label in the current language
  TextView english;    // label when the language has none
  TextView glyph;      // shown in the menu's right-hand column; may be empty
};

std::span<const PanelMenuItem> PlayerMenuItems();
std::span<const PanelMenuItem> ShuffleMenuItems();

// The label, two tabs, then the glyph. lookup gives the text of a string id in
// the current language (empty when it has none).
Text PanelMenuItemText(const PanelMenuItem& item, const std::function<Text(int)>& lookup);

// English labels, for when no language store is installed.
Text EnglishPanelLabel(int stringId);

// Commands of the panel.
inline constexpr int kCmdPlay = 1253, kCmdPause = 1254, kCmdStop = 1255, kCmdMute = 1256;
inline constexpr int kCmdNext = 1259, kCmdPrevious = 1260, kCmdShuffleMenu = 1263, kCmdPlayerMenu = 1264;
inline constexpr int kCmdRandomOn = 1307, kCmdRandomOff = 1310;

}  // namespace sorvane
