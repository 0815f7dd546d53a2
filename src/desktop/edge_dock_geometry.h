// Geometry of fly-out mode: a window docked at one edge of a monitor, with a
// tab on the side facing away from the edge, that slides off the monitor until
// only the tab shows. Pure arithmetic in pixels; the window code applies it.
//
// Positions are screen coordinates. The monitor is passed in as a rectangle
// whose origin may be anywhere (a second monitor left of or above the primary
// one has negative coordinates); everything is computed relative to it.
#pragma once

#include <array>
#include <cstdint>

namespace sorvane::dock {

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int width = 0, height = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const Rect&) const = default;
};

// The numbers are those the edge is known by in the window code.
enum class Edge { kLeft = 0, kRight = 1, kTop = 2, kBottom = 3 };

// Sizes that follow the display's pixel density.
struct Metrics {
  int tabThickness = 20;  // T: thickness of the tab
  int frameWidth = 4;     // F: width of the coloured frame around the contents
  int bevel = 4;          // B: size of the cut corners of the shape
};

inline constexpr int kTabTimerId = 3435;
inline constexpr int kTabTimerPeriodMs = 500;
inline constexpr int kStandardDpi = 96;

// T is 1.25 small-icon heights, F an eighth of the large-icon height (both truncated).
int TabThicknessForSmallIcon(int smallIconHeight);
int FrameWidthForLargeIcon(int largeIconHeight);
// From the icon heights the system reports (for the window's DPI where it can).
Metrics MetricsFromIconHeights(int smallIconHeight, int largeIconHeight);
// From a DPI value alone, scaling the standard 16 and 32 pixel icons; 96 gives
// T = 20 and F = 4. A value of 0 or below is taken as 96.
Metrics MetricsForDpi(int dpi);
// The frame is painted at least one pixel wide.
int FramePaintWidth(int frameWidth);

// The window's size while docked: the client size plus the tab across the edge.
Size DockedSize(Edge edge, Size client, int tabThickness);

// Moves a window of the given (docked) size flush against the edge and inside
// the monitor along it. Where the window is larger than the monitor, the end
// that carries the tab stays on the monitor, so the tab can always be reached.
Point FitToEdge(Edge edge, Point position, Size window, const Rect& monitor);

// Where the window stands when slid in: centred along the edge, flush with it.
Point DockedPosition(Edge edge, Size client, int tabThickness, const Rect& monitor);

// Where the window stands when slid out: only the tab strip remains on the monitor.
Point CollapsedPosition(Edge edge, Point docked, Size window, int tabThickness);

// Length of the tab along the window's side: the caption's text width plus
// 3B (and 2B + 14 for a close box), cut to the smaller of the client's width
// and height when it exceeds either.
int InitialTabLength(int tabThickness);
int TabLength(int captionTextWidth, Size client, int bevel, bool closeBox);

// Size of the bitmap the caption is drawn into.
Size CaptionBitmapSize(int tabLength, int tabThickness, int bevel, bool closeBox);

struct Rgb {
  std::uint8_t red = 0, green = 0, blue = 0;
  bool operator==(const Rgb&) const = default;
};
// COLORREF layout: 0x00BBGGRR.
Rgb RgbFromColorRef(std::uint32_t colorRef);
std::uint32_t ColorRefFromRgb(Rgb colour);
// White on a dark tab, black on a light one: white when the luminance
// (299 R + 587 G + 114 B) / 1000 is below 129.
Rgb CaptionTextColour(Rgb tab);

// The window's outline in window coordinates, a closed polygon (the last point
// repeats the first). The tab sits at one end of the side away from the edge.
using ShapePolygon = std::array<Point, 11>;
ShapePolygon DockShape(Edge edge, Size window, int tabThickness, int bevel, int tabLength);

// Reference corner of the tab in window coordinates: where the caption starts.
Point TabOrigin(Edge edge, Size window, int tabThickness);

// A child window's rectangle (client coordinates) while docked, from its
// rectangle before docking: moved clear of the tab and of the frame.
Rect DockedChildRect(Edge edge, const Rect& stored, int clientWidth, int tabThickness,
                     int frameWidth);

// Painting. The contents area is the window less the tab strip.
Rect ContentRect(Edge edge, Size window, int tabThickness);
// The coloured frame: top, bottom, left and right strips of width F inside the area.
std::array<Rect, 4> FrameStrips(const Rect& content, int frameWidth);
// Whether the caption is drawn turned by 90 degrees (left and right edges).
bool CaptionIsRotated(Edge edge);
// For a turned caption: the destination of the bitmap's top-left, top-right
// and bottom-left corners (it reads from bottom to top, starting at the tab
// origin), and the rectangle that it covers.
std::array<Point, 3> RotatedCaptionCorners(Point tabOrigin, Size bitmap);
Rect RotatedCaptionRect(Point tabOrigin, Size bitmap);
// Where in the caption bitmap the copy starts.
Point CaptionSourceOrigin(Edge edge, int frameWidth);
// Top-left corner of the 16 x 16 icon on the tab.
Point TabIconPosition(Edge edge, Point tabOrigin);

// One mouse move of a drag. The window moves only while it touches an edge of
// the monitor: along the edge it slides, pushed past another edge it docks
// there; a move that would pull it away from every edge leaves it where it is.
struct DragStep {
  bool moved = false;
  Edge edge = Edge::kTop;  // the edge after the move (unchanged when not moved)
  Point position;          // when moved: the new docked (and present) position
  Size size;               // when moved: the window's size at that edge
};
// proposed: cursor minus the drag offset; window: the present size at `edge`.
DragStep DragMove(Edge edge, Point proposed, Size window, Size client, int tabThickness,
                  const Rect& monitor);

}  // namespace sorvane::dock
