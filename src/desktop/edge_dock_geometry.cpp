#include "desktop/edge_dock_geometry.h"

#include <algorithm>

namespace sorvane::dock {

namespace {

bool IsSide(Edge edge) { return edge == Edge::kLeft || edge == Edge::kRight; }

// Icon heights scale with the DPI the way the system scales them: rounded.
int ScaleForDpi(int pixelsAt96, int dpi) { return (pixelsAt96 * dpi + kStandardDpi / 2) / kStandardDpi; }

// Keeps [position, position + length) inside [0, available). A window longer
// than the monitor keeps its start on it when the tab is at the start, else its end.
int FitAlong(int position, int length, int available, bool tabAtStart) {
  if (length > available) return tabAtStart ? 0 : available - length;
  return std::clamp(position, 0, available - length);
}

}  // namespace

int TabThicknessForSmallIcon(int smallIconHeight) { return smallIconHeight * 5 / 4; }

int FrameWidthForLargeIcon(int largeIconHeight) { return largeIconHeight / 8; }

Metrics MetricsFromIconHeights(int smallIconHeight, int largeIconHeight) {
  Metrics m;
  m.tabThickness = TabThicknessForSmallIcon(smallIconHeight);
  m.frameWidth = FrameWidthForLargeIcon(largeIconHeight);
  return m;
}

Metrics MetricsForDpi(int dpi) {
  if (dpi <= 0) dpi = kStandardDpi;
  return MetricsFromIconHeights(ScaleForDpi(16, dpi), ScaleForDpi(32, dpi));
}

int FramePaintWidth(int frameWidth) { return std::max(frameWidth, 1); }

Size DockedSize(Edge edge, Size client, int tabThickness) {
  if (IsSide(edge)) return {client.width + tabThickness, client.height};
  return {client.width, client.height + tabThickness};
}

Point FitToEdge(Edge edge, Point position, Size window, const Rect& monitor) {
  const int sw = monitor.Width(), sh = monitor.Height();
  int x = position.x - monitor.left, y = position.y - monitor.top;
  switch (edge) {
    case Edge::kLeft:
      x = 0;
      // The tab runs from the bottom end of the side.
      y = FitAlong(y, window.height, sh, /*tabAtStart=*/false);
      break;
    case Edge::kRight:
      x = sw - window.width;
      y = FitAlong(y, window.height, sh, /*tabAtStart=*/false);
      break;
    case Edge::kTop:
      y = 0;
      // The tab runs from the left end of the bottom side.
      x = FitAlong(x, window.width, sw, /*tabAtStart=*/true);
      break;
    case Edge::kBottom:
      y = sh - window.height;
      x = FitAlong(x, window.width, sw, /*tabAtStart=*/true);
      break;
  }
  return {monitor.left + x, monitor.top + y};
}

Point DockedPosition(Edge edge, Size client, int tabThickness, const Rect& monitor) {
  const int sw = monitor.Width(), sh = monitor.Height();
  const int w = client.width, h = client.height;
  Point p;
  switch (edge) {
    case Edge::kLeft: p = {0, (sh - h) / 2}; break;
    case Edge::kRight: p = {sw - w - tabThickness, (sh - h) / 2}; break;
    case Edge::kTop: p = {(sw - w) / 2, 0}; break;
    case Edge::kBottom: p = {(sw - w) / 2, sh - h - tabThickness}; break;
  }
  return FitToEdge(edge, {monitor.left + p.x, monitor.top + p.y},
                   DockedSize(edge, client, tabThickness), monitor);
}

Point CollapsedPosition(Edge edge, Point docked, Size window, int tabThickness) {
  const int t = tabThickness;
  switch (edge) {
    case Edge::kLeft: return {t + docked.x - window.width, docked.y};
    case Edge::kRight: return {docked.x - t + window.width, docked.y};
    case Edge::kTop: return {docked.x, t + docked.y - window.height};
    case Edge::kBottom: return {docked.x, docked.y - t + window.height};
  }
  return docked;
}

int InitialTabLength(int tabThickness) { return 4 * tabThickness; }

int TabLength(int captionTextWidth, Size client, int bevel, bool closeBox) {
  const int length = (closeBox ? 2 * bevel + 14 : 0) + captionTextWidth + 3 * bevel;
  if (length > client.width || length > client.height) return std::min(client.width, client.height);
  return length;
}

Size CaptionBitmapSize(int tabLength, int tabThickness, int bevel, bool closeBox) {
  return {16 * bevel + tabLength - (closeBox ? 2 * bevel + 14 : 0), tabThickness + bevel};
}

Rgb RgbFromColorRef(std::uint32_t colorRef) {
  return {static_cast<std::uint8_t>(colorRef & 0xFF), static_cast<std::uint8_t>((colorRef >> 8) & 0xFF),
          static_cast<std::uint8_t>((colorRef >> 16) & 0xFF)};
}

std::uint32_t ColorRefFromRgb(Rgb colour) {
  return colour.red | (std::uint32_t{colour.green} << 8) | (std::uint32_t{colour.blue} << 16);
}

Rgb CaptionTextColour(Rgb tab) {
  const int luminance = (299 * tab.red + 587 * tab.green + 114 * tab.blue) / 1000;
  if (luminance < 129) return {255, 255, 255};
  return {0, 0, 0};
}

ShapePolygon DockShape(Edge edge, Size window, int tabThickness, int bevel, int tabLength) {
  const int W = window.width, H = window.height, T = tabThickness, B = bevel;
  const int L = (IsSide(edge) ? H : W) - tabLength;
  switch (edge) {
    case Edge::kLeft:
      return {{{0, 0}, {W - T - B, 0}, {W - T, B}, {W - T, L - B}, {W - T + B, L}, {W - B, L},
               {W, L + B}, {W, H - B - 1}, {W - B - 1, H}, {0, H}, {0, 0}}};
    case Edge::kRight:
      return {{{B, L}, {0, L + B}, {0, H - B}, {B, H}, {W, H}, {W, 0}, {T + B, 0}, {T, B},
               {T, L - B}, {T - B, L}, {B, L}}};
    case Edge::kTop:
      return {{{0, 0}, {W, 0}, {W, H - T - B}, {W - B, H - T}, {W - L + B, H - T},
               {W - L, H - T + B}, {W - L, H - B}, {W - L - B, H}, {B, H}, {0, H - B}, {0, 0}}};
    case Edge::kBottom:
      return {{{0, B}, {B, 0}, {W - B - L, 0}, {W - L, B}, {W - L, T - B}, {W - L + B, T},
               {W - B, T}, {W, T + B}, {W, H}, {0, H}, {0, B}}};
  }
  return {};
}

Point TabOrigin(Edge edge, Size window, int tabThickness) {
  switch (edge) {
    case Edge::kLeft: return {window.width - tabThickness, window.height};
    case Edge::kRight: return {0, window.height};
    case Edge::kTop: return {0, window.height - tabThickness};
    case Edge::kBottom: return {0, 0};
  }
  return {};
}

Rect DockedChildRect(Edge edge, const Rect& stored, int clientWidth, int tabThickness,
                     int frameWidth) {
  const int F = frameWidth;
  Rect r = stored;
  // A child touching the left side would cover the frame there.
  if (r.left < F) {
    r.left += F;
    r.right -= 2 * F;
  }
  if (r.right > clientWidth - F) r.right = clientWidth - F;
  Point shift;
  switch (edge) {
    case Edge::kRight: shift = {tabThickness, F}; break;
    case Edge::kLeft: shift = {0, F}; break;
    case Edge::kTop: shift = {0, 0}; break;
    case Edge::kBottom: shift = {0, tabThickness}; break;
  }
  return {r.left + shift.x, r.top + shift.y, r.right + shift.x, r.bottom + shift.y};
}

Rect ContentRect(Edge edge, Size window, int tabThickness) {
  const int W = window.width, H = window.height, T = tabThickness;
  switch (edge) {
    case Edge::kLeft: return {0, 0, W - T, H};
    case Edge::kRight: return {T, 0, W, H};
    case Edge::kTop: return {0, 0, W, H - T};
    case Edge::kBottom: return {0, T, W, H};
  }
  return {0, 0, W, H};
}

std::array<Rect, 4> FrameStrips(const Rect& c, int frameWidth) {
  const int f = FramePaintWidth(frameWidth);
  return {{{c.left, c.top, c.right, c.top + f},
           {c.left, c.bottom - f, c.right, c.bottom},
           {c.left, c.top, c.left + f, c.bottom},
           {c.right - f, c.top, c.right, c.bottom}}};
}

bool CaptionIsRotated(Edge edge) { return IsSide(edge); }

std::array<Point, 3> RotatedCaptionCorners(Point o, Size bitmap) {
  return {{o, {o.x, o.y - bitmap.width}, {o.x + bitmap.height, o.y}}};
}

Rect RotatedCaptionRect(Point o, Size bitmap) {
  return {o.x, o.y - bitmap.width, o.x + bitmap.height, o.y};
}

Point CaptionSourceOrigin(Edge edge, int frameWidth) {
  if (edge == Edge::kRight) return {-frameWidth, -frameWidth};
  return {0, 0};
}

Point TabIconPosition(Edge edge, Point o) {
  if (IsSide(edge)) return {o.x + 4, o.y - 20};
  return {o.x + 4, o.y};
}

DragStep DragMove(Edge edge, Point proposed, Size window, Size client, int tabThickness,
                  const Rect& monitor) {
  const int sw = monitor.Width(), sh = monitor.Height();
  const int W = window.width, H = window.height;
  int x = proposed.x - monitor.left, y = proposed.y - monitor.top;
  Edge e = edge;
  bool moved = false;

  // A position exactly on the edge the window is docked at touches it too, so a
  // drag straight along that edge slides the window.
  if (x < 0) {
    x = 0;
    moved = true;
    e = Edge::kLeft;
  } else if (x + W > sw) {
    x = sw - W;
    moved = true;
    e = Edge::kRight;
  } else if ((x == 0 && e == Edge::kLeft) || (x + W == sw && e == Edge::kRight)) {
    moved = true;
  }

  // Docked at the top, pulling down keeps it there and slides it sideways.
  if (y >= 0 && e == Edge::kTop) {
    y = 0;
    moved = true;
  }

  if (y < 0) {
    y = 0;
    e = Edge::kTop;
    moved = true;
  } else if (y + H > sh) {
    y = sh - H;
    moved = true;
    e = Edge::kBottom;
  } else if (y + H == sh && e == Edge::kBottom) {
    moved = true;
  }

  if (!moved) return {false, edge, {}, {}};

  // On a change of edge the window takes that edge's size; it stays flush with
  // the edge so the tab is still on the monitor once it slides out.
  const Size size = e == edge ? window : DockedSize(e, client, tabThickness);
  return {true, e, FitToEdge(e, {monitor.left + x, monitor.top + y}, size, monitor), size};
}

}  // namespace sorvane::dock
