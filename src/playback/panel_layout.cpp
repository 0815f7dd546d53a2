#include "playback/panel_layout.h"

#include <algorithm>

namespace sorvane {

PanelLayout LayoutPanel(int left, int top, int right, int bottom, int iconWidth) {
  const int h = iconWidth * 9 / 10;  // button and slider height
  const int t = iconWidth * 4 / 10;  // volume text height
  const int g = iconWidth * 2 / 10;  // gap
  const int w = right - left;
  const int y1 = bottom - 2 * (h + g);

  PanelLayout l;
  if (y1 - top > 100) l.video = PanelRect{left, top, w, y1 - top};

  const int row1 = y1 + g;
  l.play = {10, row1, 30, h};
  l.pause = {45, row1, 30, h};
  l.stop = {80, row1, 30, h};
  l.mute = {115, row1, 30, h};
  // A very narrow panel gives a zero or negative width; the window manager clamps it.
  const int vw = std::min(120, w - 165);
  l.volumeSlider = {155, row1, vw, h};
  l.volumeText = {155 + vw, row1 + 5, vw, t};

  const int row2 = y1 + 2 * g + h;
  l.playerMenu = {10, row2, 30, h};
  l.shuffleMenu = {45, row2, 30, h};
  l.previous = {80, row2, 30, h};
  l.next = {115, row2, 30, h};
  const int pw = w - 265;
  if (pw > 50) l.positionSlider = PanelRect{155, row2, pw, h};
  l.timeText = {pw + 165, row2 + 5, 150, 20};
  return l;
}

}  // namespace sorvane
