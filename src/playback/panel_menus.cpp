#include "playback/panel_menus.h"

#include <array>

namespace sorvane {
namespace {

constexpr std::array kPlayerMenu{
    PanelMenuItem{1301, 110, u"Play", u"\u25B6"},
    PanelMenuItem{1302, 111, u"Pause", u"\u23F8"},
    PanelMenuItem{1303, 112, u"Stop", u"\u23F9"},
    PanelMenuItem{},
    PanelMenuItem{1304, 113, u"Previous", u"\u23EA"},
    PanelMenuItem{1305, 114, u"Next", u"\u23E9"},
    PanelMenuItem{},
    PanelMenuItem{1306, 115, u"Mute", u"\U0001F507"},
};

constexpr std::array kShuffleMenu{
    PanelMenuItem{1307, 116, u"Random", u"\U0001F500"},
    PanelMenuItem{1308, 117, u"Repeat One", u"\U0001F502"},
    PanelMenuItem{1311, 118, u"Repeat All", u"\U0001F504"},
    PanelMenuItem{1312, 124, u"Repeat Off", u""},
    PanelMenuItem{1310, 119, u"Sequential", u"\U0001F501"},
};

}  // namespace

std::span<const PanelMenuItem> PlayerMenuItems() { return kPlayerMenu; }
std::span<const PanelMenuItem> ShuffleMenuItems() { return kShuffleMenu; }

Text PanelMenuItemText(const PanelMenuItem& item, const std::function<Text(int)>& lookup) {
  Text text = lookup ? lookup(item.stringId) : Text(item.english);
  text += u"\t\t";
  text += item.glyph;
  return text;
}

Text EnglishPanelLabel(int stringId) {
  for (auto items : {PlayerMenuItems(), ShuffleMenuItems()}) {
    for (const auto& item : items) {
      if (item.command != 0 && item.stringId == stringId) return Text(item.english);
    }
  }
  return {};
}

}  // namespace sorvane
