// Where the player panel puts its children for a given client rectangle.
#pragma once

#include <optional>

namespace sorvane {

struct PanelRect {
  int x = 0, y = 0, width = 0, height = 0;
  friend bool operator==(const PanelRect&, const PanelRect&) = default;
};

struct PanelLayout {
  std::optional<PanelRect> video;           // absent: the video area keeps its place
  PanelRect play, pause, stop, mute;        // row 1
  PanelRect volumeSlider, volumeText;
  PanelRect playerMenu, shuffleMenu, previous, next;  // row 2
  std::optional<PanelRect> positionSlider;  // absent: too narrow, not moved
  PanelRect timeText;
};

// client: left, top, right, bottom of the panel's client area; iconWidth is the
// system's large-icon width, which scales the rows.
PanelLayout LayoutPanel(int left, int top, int right, int bottom, int iconWidth);

}  // namespace sorvane
