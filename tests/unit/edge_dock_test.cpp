#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <ostream>

#include "desktop/edge_dock_geometry.h"
#include "desktop/edge_dock_state.h"

using namespace sorvane::dock;

namespace sorvane::dock {
// Readable failures.
void PrintTo(const Point& p, std::ostream* os) { *os << "(" << p.x << ", " << p.y << ")"; }
void PrintTo(const Size& s, std::ostream* os) { *os << s.width << " x " << s.height; }
void PrintTo(const Rect& r, std::ostream* os) {
  *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}
void PrintTo(Edge e, std::ostream* os) {
  static const char* names[] = {"left", "right", "top", "bottom"};
  *os << names[static_cast<int>(e)];
}
}  // namespace sorvane::dock

namespace {

constexpr int kT = 20;
constexpr int kB = 4;
const Rect kScreen{0, 0, 1920, 1080};

Point Shift(Point p, const Rect& monitor) { return {p.x + monitor.left, p.y + monitor.top}; }

// The tab strip of a window of this size at `edge`, in window coordinates.
Rect TabStrip(Edge edge, Size w, int tabLength) {
  switch (edge) {
    case Edge::kLeft: return {w.width - kT, w.height - tabLength, w.width, w.height};
    case Edge::kRight: return {0, w.height - tabLength, kT, w.height};
    case Edge::kTop: return {0, w.height - kT, tabLength, w.height};
    case Edge::kBottom: return {0, 0, tabLength, kT};
  }
  return {};
}

// The part of r that lies on the monitor.
Rect Visible(const Rect& r, const Rect& m) {
  Rect v{std::max(r.left, m.left), std::max(r.top, m.top), std::min(r.right, m.right),
         std::min(r.bottom, m.bottom)};
  if (v.left >= v.right || v.top >= v.bottom) return {};
  return v;
}

struct DockCase {
  const char* what;
  Edge edge;
  Size client;
  Size window;
  Point docked;
  Point collapsed;
};

const DockCase kDockCases[] = {
    // Client 600 x 400 on 1920 x 1080 with T = 20.
    {"top", Edge::kTop, {600, 400}, {600, 420}, {660, 0}, {660, -400}},
    {"bottom", Edge::kBottom, {600, 400}, {600, 420}, {660, 660}, {660, 1060}},
    {"left", Edge::kLeft, {600, 400}, {620, 400}, {0, 340}, {-600, 340}},
    {"right", Edge::kRight, {600, 400}, {620, 400}, {1300, 340}, {1900, 340}},
    // Odd remainders are truncated.
    {"top odd", Edge::kTop, {601, 401}, {601, 421}, {659, 0}, {659, -401}},
    {"left odd", Edge::kLeft, {601, 401}, {621, 401}, {0, 339}, {-601, 339}},
    // Wider than the screen: flush with the edge, and along the top or bottom
    // the tab's (left) end stays on the screen.
    {"wide top", Edge::kTop, {2000, 300}, {2000, 320}, {0, 0}, {0, -300}},
    {"wide bottom", Edge::kBottom, {2000, 300}, {2000, 320}, {0, 760}, {0, 1060}},
    {"wide left", Edge::kLeft, {2000, 300}, {2020, 300}, {0, 390}, {-2000, 390}},
    {"wide right", Edge::kRight, {2000, 300}, {2020, 300}, {-100, 390}, {1900, 390}},
    // Only the tab makes it too wide for the right side.
    {"right plus tab", Edge::kRight, {1910, 300}, {1930, 300}, {-10, 390}, {1900, 390}},
    // Taller than the screen: flush with the edge; along a side the tab's
    // (bottom) end stays on the screen.
    {"tall left", Edge::kLeft, {500, 1200}, {520, 1200}, {0, -120}, {-500, -120}},
    {"tall right", Edge::kRight, {500, 1200}, {520, 1200}, {1400, -120}, {1900, -120}},
    {"tall top", Edge::kTop, {500, 1200}, {500, 1220}, {710, 0}, {710, -1200}},
    {"tall bottom", Edge::kBottom, {500, 1200}, {500, 1220}, {710, -140}, {710, 1060}},
};

TEST(EdgeDockGeometry, DockedAndCollapsedPositionsForEveryEdge) {
  for (const DockCase& c : kDockCases) {
    SCOPED_TRACE(c.what);
    const Size window = DockedSize(c.edge, c.client, kT);
    EXPECT_EQ(window, c.window);
    const Point docked = DockedPosition(c.edge, c.client, kT, kScreen);
    EXPECT_EQ(docked, c.docked);
    EXPECT_EQ(CollapsedPosition(c.edge, docked, window, kT), c.collapsed);
  }
}

TEST(EdgeDockGeometry, ASecondMonitorShiftsEveryPositionByItsOrigin) {
  // Left of and above the primary monitor.
  const Rect monitor{-1920, -300, 0, 780};
  for (const DockCase& c : kDockCases) {
    SCOPED_TRACE(c.what);
    const Size window = DockedSize(c.edge, c.client, kT);
    const Point docked = DockedPosition(c.edge, c.client, kT, monitor);
    EXPECT_EQ(docked, Shift(c.docked, monitor));
    EXPECT_EQ(CollapsedPosition(c.edge, docked, window, kT), Shift(c.collapsed, monitor));
  }
}

TEST(EdgeDockGeometry, TheCollapsedTabStaysWholeAcrossTheEdgeAndReachable) {
  // Whatever the window's size, once slid out the full thickness of the tab
  // lies on the monitor, so the mouse can bring the window back.
  for (const Rect& monitor : {kScreen, Rect{-1920, -300, 0, 780}}) {
    for (const DockCase& c : kDockCases) {
      SCOPED_TRACE(c.what);
      const Size window = DockedSize(c.edge, c.client, kT);
      const int tabLength = TabLength(100, c.client, kB, false);
      const Point at = CollapsedPosition(c.edge, DockedPosition(c.edge, c.client, kT, monitor),
                                         window, kT);
      Rect tab = TabStrip(c.edge, window, tabLength);
      tab = {tab.left + at.x, tab.top + at.y, tab.right + at.x, tab.bottom + at.y};
      const Rect visible = Visible(tab, monitor);
      if (c.edge == Edge::kLeft || c.edge == Edge::kRight) {
        EXPECT_EQ(visible.Width(), kT);
      } else {
        EXPECT_EQ(visible.Height(), kT);
      }
      EXPECT_GT(visible.Width() * visible.Height(), 0);
      // Nothing but the tab remains on the monitor.
      const Rect whole{at.x, at.y, at.x + window.width, at.y + window.height};
      const Rect shown = Visible(whole, monitor);
      if (c.edge == Edge::kLeft || c.edge == Edge::kRight) {
        EXPECT_EQ(shown.Width(), kT);
      } else {
        EXPECT_EQ(shown.Height(), kT);
      }
    }
  }
}

TEST(EdgeDockGeometry, TabLengthFollowsTheCaptionAndIsCutToTheSmallerSide) {
  struct Case {
    int textWidth;
    Size client;
    bool closeBox;
    int tabLength;
    Size bitmap;
  } cases[] = {
      {100, {600, 400}, false, 112, {176, 24}},
      {100, {600, 400}, true, 134, {176, 24}},  // 2B + 14 for the close box
      {388, {600, 400}, false, 400, {464, 24}},  // exactly the height: not cut
      {389, {600, 400}, false, 400, {464, 24}},  // beyond the height: cut to it
      {590, {600, 400}, false, 400, {464, 24}},  // beyond both: the smaller
      {295, {300, 500}, false, 300, {364, 24}},  // beyond the width only
      {10, {20, 15}, false, 15, {79, 24}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.textWidth);
    const int length = TabLength(c.textWidth, c.client, kB, c.closeBox);
    EXPECT_EQ(length, c.tabLength);
    EXPECT_EQ(CaptionBitmapSize(length, kT, kB, c.closeBox), c.bitmap);
  }
  EXPECT_EQ(InitialTabLength(kT), 80);
}

TEST(EdgeDockGeometry, CaptionTextColourFollowsTheTabsLuminance) {
  struct Case {
    Rgb tab;
    Rgb text;
  } cases[] = {
      {{255, 128, 0}, {0, 0, 0}},        // the default tab colour: black text
      {{27, 59, 121}, {255, 255, 255}},  // dark blue: white text
      {{129, 129, 129}, {0, 0, 0}},      // luminance 129: black
      {{128, 128, 128}, {255, 255, 255}},  // luminance 128: white
      {{0, 0, 255}, {255, 255, 255}},
      {{255, 255, 255}, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CaptionTextColour(c.tab), c.text) << int{c.tab.red} << "," << int{c.tab.green} << ","
                                                << int{c.tab.blue};
  }
  // The stored setting 33023 is RGB(255, 128, 0).
  EXPECT_EQ(RgbFromColorRef(33023), (Rgb{255, 128, 0}));
  EXPECT_EQ(ColorRefFromRgb({27, 59, 121}), 0x793B1Bu);
  EXPECT_EQ(CaptionTextColour(RgbFromColorRef(33023)), (Rgb{0, 0, 0}));
}

TEST(EdgeDockGeometry, ShapePolygonsForEveryEdge) {
  // Tab length 112 (a caption 100 pixels wide), B = 4, T = 20.
  struct Case {
    Edge edge;
    Size window;
    ShapePolygon points;
    Point tabOrigin;
  } cases[] = {
      // L = 400 - 112 = 288
      {Edge::kLeft, {620, 400},
       {{{0, 0}, {596, 0}, {600, 4}, {600, 284}, {604, 288}, {616, 288}, {620, 292}, {620, 395},
         {615, 400}, {0, 400}, {0, 0}}},
       {600, 400}},
      {Edge::kRight, {620, 400},
       {{{4, 288}, {0, 292}, {0, 396}, {4, 400}, {620, 400}, {620, 0}, {24, 0}, {20, 4}, {20, 284},
         {16, 288}, {4, 288}}},
       {0, 400}},
      // L = 600 - 112 = 488
      {Edge::kTop, {600, 420},
       {{{0, 0}, {600, 0}, {600, 396}, {596, 400}, {116, 400}, {112, 404}, {112, 416}, {108, 420},
         {4, 420}, {0, 416}, {0, 0}}},
       {0, 400}},
      {Edge::kBottom, {600, 420},
       {{{0, 4}, {4, 0}, {108, 0}, {112, 4}, {112, 16}, {116, 20}, {596, 20}, {600, 24}, {600, 420},
         {0, 420}, {0, 4}}},
       {0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.edge));
    const ShapePolygon shape = DockShape(c.edge, c.window, kT, kB, 112);
    for (size_t i = 0; i < shape.size(); ++i) EXPECT_EQ(shape[i], c.points[i]) << "point " << i;
    EXPECT_EQ(TabOrigin(c.edge, c.window, kT), c.tabOrigin);
  }
}

TEST(EdgeDockGeometry, ChildrenMoveClearOfTabAndFrame) {
  const int clientWidth = 600, F = 4;
  struct Case {
    Rect stored;
    Rect left, right, top, bottom;
  } cases[] = {
      // Touching the left side: in by F, narrower by 2F.
      {{2, 10, 300, 200}, {6, 14, 292, 204}, {26, 14, 312, 204}, {6, 10, 292, 200}, {6, 30, 292, 220}},
      {{0, 0, 600, 30}, {4, 4, 592, 34}, {24, 4, 612, 34}, {4, 0, 592, 30}, {4, 20, 592, 50}},
      // Reaching into the right frame: cut to it.
      {{10, 10, 600, 50}, {10, 14, 596, 54}, {30, 14, 616, 54}, {10, 10, 596, 50}, {10, 30, 596, 70}},
      // Inside: only shifted.
      {{10, 45, 290, 260}, {10, 49, 290, 264}, {30, 49, 310, 264}, {10, 45, 290, 260}, {10, 65, 290, 280}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stored.left * 1000 + c.stored.right);
    EXPECT_EQ(DockedChildRect(Edge::kLeft, c.stored, clientWidth, kT, F), c.left);
    EXPECT_EQ(DockedChildRect(Edge::kRight, c.stored, clientWidth, kT, F), c.right);
    EXPECT_EQ(DockedChildRect(Edge::kTop, c.stored, clientWidth, kT, F), c.top);
    EXPECT_EQ(DockedChildRect(Edge::kBottom, c.stored, clientWidth, kT, F), c.bottom);
  }
}

TEST(EdgeDockGeometry, FrameAndCaptionPlacement) {
  // The frame lies inside the window less the tab strip.
  EXPECT_EQ(ContentRect(Edge::kLeft, {620, 400}, kT), (Rect{0, 0, 600, 400}));
  EXPECT_EQ(ContentRect(Edge::kRight, {620, 400}, kT), (Rect{20, 0, 620, 400}));
  EXPECT_EQ(ContentRect(Edge::kTop, {600, 420}, kT), (Rect{0, 0, 600, 400}));
  EXPECT_EQ(ContentRect(Edge::kBottom, {600, 420}, kT), (Rect{0, 20, 600, 420}));
  const auto strips = FrameStrips({20, 0, 620, 400}, 4);
  EXPECT_EQ(strips[0], (Rect{20, 0, 620, 4}));
  EXPECT_EQ(strips[1], (Rect{20, 396, 620, 400}));
  EXPECT_EQ(strips[2], (Rect{20, 0, 24, 400}));
  EXPECT_EQ(strips[3], (Rect{616, 0, 620, 400}));
  // A frame width of 0 still paints one pixel.
  EXPECT_EQ(FrameStrips({0, 0, 100, 100}, 0)[0], (Rect{0, 0, 100, 1}));

  // At a side the caption reads upwards from the tab origin at the window's bottom.
  EXPECT_FALSE(CaptionIsRotated(Edge::kTop));
  EXPECT_TRUE(CaptionIsRotated(Edge::kLeft));
  const Point origin = TabOrigin(Edge::kLeft, {620, 400}, kT);
  const Size bitmap{176, 24};
  const auto corners = RotatedCaptionCorners(origin, bitmap);
  EXPECT_EQ(corners[0], (Point{600, 400}));
  EXPECT_EQ(corners[1], (Point{600, 224}));
  EXPECT_EQ(corners[2], (Point{624, 400}));
  EXPECT_EQ(RotatedCaptionRect(origin, bitmap), (Rect{600, 224, 624, 400}));
  EXPECT_EQ(CaptionSourceOrigin(Edge::kRight, 4), (Point{-4, -4}));
  EXPECT_EQ(CaptionSourceOrigin(Edge::kLeft, 4), (Point{0, 0}));
  EXPECT_EQ(TabIconPosition(Edge::kLeft, origin), (Point{604, 380}));
  EXPECT_EQ(TabIconPosition(Edge::kTop, Point{0, 400}), (Point{4, 400}));
}

TEST(EdgeDockGeometry, MetricsFollowTheDpi) {
  struct Case {
    int dpi;
    int tabThickness, frameWidth;
  } cases[] = {{96, 20, 4}, {120, 25, 5}, {144, 30, 6}, {192, 40, 8}, {0, 20, 4}, {-5, 20, 4}};
  for (const Case& c : cases) {
    const Metrics m = MetricsForDpi(c.dpi);
    EXPECT_EQ(m.tabThickness, c.tabThickness) << c.dpi;
    EXPECT_EQ(m.frameWidth, c.frameWidth) << c.dpi;
    EXPECT_EQ(m.bevel, 4) << c.dpi;
  }
  // From the icon heights the system reports.
  const Metrics fromIcons = MetricsFromIconHeights(16, 32);
  EXPECT_EQ(fromIcons.tabThickness, 20);
  EXPECT_EQ(fromIcons.frameWidth, 4);
  EXPECT_EQ(TabThicknessForSmallIcon(17), 21);  // 21.25 truncated
  EXPECT_EQ(FrameWidthForLargeIcon(7), 0);
  EXPECT_EQ(FramePaintWidth(0), 1);

  // The example at 144 DPI: a thicker tab, still only the tab left showing.
  const int t = MetricsForDpi(144).tabThickness;
  const Size window = DockedSize(Edge::kTop, {600, 400}, t);
  EXPECT_EQ(window, (Size{600, 430}));
  const Point docked = DockedPosition(Edge::kTop, {600, 400}, t, kScreen);
  EXPECT_EQ(docked, (Point{660, 0}));
  EXPECT_EQ(CollapsedPosition(Edge::kTop, docked, window, t), (Point{660, -400}));
}

struct DragCase {
  const char* what;
  Edge edge;
  Point proposed;  // cursor minus drag offset
  bool moved;
  Edge newEdge;
  Point position;
  Size size;
};

TEST(EdgeDockGeometry, DragMovesOnlyAlongOrOntoAnEdge) {
  const Size client{600, 400};
  const DragCase cases[] = {
      // Docked at the top (600 x 420): pulling down slides it sideways.
      {"top slides", Edge::kTop, {700, 50}, true, Edge::kTop, {700, 0}, {600, 420}},
      {"top exactly along", Edge::kTop, {700, 0}, true, Edge::kTop, {700, 0}, {600, 420}},
      {"top pushed up", Edge::kTop, {500, -30}, true, Edge::kTop, {500, 0}, {600, 420}},
      {"top past left", Edge::kTop, {-30, 200}, true, Edge::kLeft, {0, 200}, {620, 400}},
      // Past the right side: flush with it at the new, wider size.
      {"top past right", Edge::kTop, {1400, 100}, true, Edge::kRight, {1300, 100}, {620, 400}},
      // Docked at the left (620 x 400).
      {"left away", Edge::kLeft, {100, 400}, false, Edge::kLeft, {}, {}},
      {"left straight down", Edge::kLeft, {0, 500}, true, Edge::kLeft, {0, 500}, {620, 400}},
      {"left pushed", Edge::kLeft, {-5, 500}, true, Edge::kLeft, {0, 500}, {620, 400}},
      {"left past bottom", Edge::kLeft, {-5, 700}, true, Edge::kBottom, {0, 660}, {600, 420}},
      {"left past top", Edge::kLeft, {-5, -10}, true, Edge::kTop, {0, 0}, {600, 420}},
      // Docked at the bottom (600 x 420, at y = 660).
      {"bottom away", Edge::kBottom, {700, 500}, false, Edge::kBottom, {}, {}},
      {"bottom pushed", Edge::kBottom, {700, 700}, true, Edge::kBottom, {700, 660}, {600, 420}},
      {"bottom exactly along", Edge::kBottom, {800, 660}, true, Edge::kBottom, {800, 660}, {600, 420}},
      {"bottom past right", Edge::kBottom, {1500, 660}, true, Edge::kRight, {1300, 660}, {620, 400}},
      // Docked at the right (620 x 400, at x = 1300).
      {"right away", Edge::kRight, {1250, 340}, false, Edge::kRight, {}, {}},
      {"right pushed", Edge::kRight, {1350, 100}, true, Edge::kRight, {1300, 100}, {620, 400}},
      {"right exactly along", Edge::kRight, {1300, 200}, true, Edge::kRight, {1300, 200}, {620, 400}},
  };
  for (const Rect& monitor : {kScreen, Rect{-1920, -300, 0, 780}}) {
    for (const DragCase& c : cases) {
      SCOPED_TRACE(c.what);
      const Size window = DockedSize(c.edge, client, kT);
      const DragStep step = DragMove(c.edge, Shift(c.proposed, monitor), window, client, kT, monitor);
      EXPECT_EQ(step.moved, c.moved);
      EXPECT_EQ(step.edge, c.newEdge);
      if (!c.moved) continue;
      EXPECT_EQ(step.position, Shift(c.position, monitor));
      EXPECT_EQ(step.size, c.size);
      // Never past an edge of the monitor it started on.
      EXPECT_GE(step.position.x, monitor.left);
      EXPECT_GE(step.position.y, monitor.top);
      EXPECT_LE(step.position.x + step.size.width, monitor.right);
      EXPECT_LE(step.position.y + step.size.height, monitor.bottom);
    }
  }
}

// ---- the states ----

Rect At(Point p, Size s) { return {p.x, p.y, p.x + s.width, p.y + s.height}; }

TEST(EdgeDockState, StartDocksAtTheTopAndSlidesOut) {
  EdgeDockState dock;
  const DockActions start = dock.Start({600, 400}, kScreen, kT);
  EXPECT_TRUE(dock.Running());
  EXPECT_TRUE(dock.Collapsed());
  EXPECT_EQ(dock.CurrentEdge(), Edge::kTop);
  EXPECT_EQ(dock.Docked(), (Point{660, 0}));
  ASSERT_TRUE(start.place.has_value());
  EXPECT_EQ(*start.place, (Rect{660, -400, 1260, 20}));
  EXPECT_TRUE(start.reshape);
  EXPECT_EQ(start.timer, TimerCommand::kStart);
  EXPECT_EQ(start.timerPeriodMs, 500);

  // Without autoHide it stays slid in and no timer runs.
  EdgeDockState still;
  const DockActions s = still.Start({600, 400}, kScreen, kT, /*autoHide=*/false);
  EXPECT_FALSE(still.Collapsed());
  EXPECT_EQ(*s.place, (Rect{660, 0, 1260, 420}));
  EXPECT_EQ(s.timer, TimerCommand::kStop);
}

TEST(EdgeDockState, TimerTicksSlideTheWindowInAndOut) {
  EdgeDockState dock;
  dock.Start({600, 400}, kScreen, kT);
  struct Step {
    bool cursorOnWindow;
    std::optional<Rect> place;
    bool collapsed;
  } steps[] = {
      {false, std::nullopt, true},               // already out: stays
      {true, Rect{660, 0, 1260, 420}, false},    // on the tab: slides in
      {true, std::nullopt, false},               // still on it
      {false, Rect{660, -400, 1260, 20}, true},  // left it: slides out
  };
  for (const Step& s : steps) {
    const DockActions a = dock.Tick(s.cursorOnWindow);
    EXPECT_EQ(a.place, s.place);
    EXPECT_EQ(dock.Collapsed(), s.collapsed);
    EXPECT_EQ(a.timer, TimerCommand::kStart);
    EXPECT_EQ(a.timerPeriodMs, 500);
  }
}

TEST(EdgeDockState, SlideOutForExpandsAndDelaysTheNextCheck) {
  EdgeDockState dock;
  dock.Start({600, 400}, kScreen, kT);
  const DockActions a = dock.SlideOutFor(5000);
  EXPECT_EQ(a.place, (Rect{660, 0, 1260, 420}));
  EXPECT_EQ(a.timer, TimerCommand::kStart);
  EXPECT_EQ(a.timerPeriodMs, 5000);
  EXPECT_FALSE(dock.Collapsed());
  // The tray's other click.
  EXPECT_EQ(dock.Collapse().place, (Rect{660, -400, 1260, 20}));
  EXPECT_EQ(dock.Collapse(), DockActions{});
  EXPECT_TRUE(dock.Collapsed());
}

TEST(EdgeDockState, DragFromTheTopPastTheLeftSideDocksLeft) {
  EdgeDockState dock;
  dock.Start({600, 400}, kScreen, kT);
  // Pressed on the collapsed tab (screen y 0 to 20).
  const DockActions down = dock.ButtonDown({700, 10}, {660, -400}, kScreen);
  EXPECT_TRUE(down.captureMouse);
  EXPECT_EQ(down.timer, TimerCommand::kStop);
  EXPECT_TRUE(dock.Dragging());
  // Ticks and tray clicks wait for the drag's end.
  EXPECT_EQ(dock.Tick(false), DockActions{});
  EXPECT_EQ(dock.Collapse(), DockActions{});

  // Pulled down: it comes in and stays at the top.
  DockActions move = dock.MouseMove({700, 300});
  EXPECT_EQ(move.place, (Rect{660, 0, 1260, 420}));
  EXPECT_FALSE(move.reshape);
  // Past the left side.
  move = dock.MouseMove({20, 500});
  EXPECT_EQ(dock.CurrentEdge(), Edge::kLeft);
  EXPECT_TRUE(move.reshape);
  EXPECT_EQ(move.place, At({0, 90}, {620, 400}));
  EXPECT_EQ(dock.WindowSize(), (Size{620, 400}));
  // Away from the left side into the middle: nothing.
  EXPECT_EQ(dock.MouseMove({400, 500}), DockActions{});
  EXPECT_EQ(dock.Docked(), (Point{0, 90}));

  const DockActions up = dock.ButtonUp();
  EXPECT_TRUE(up.releaseMouse);
  EXPECT_EQ(up.timer, TimerCommand::kStart);
  EXPECT_EQ(up.timerPeriodMs, 500);
  EXPECT_FALSE(dock.Dragging());
  EXPECT_EQ(dock.MouseMove({20, 700}), DockActions{});  // no drag any more

  // Dragged in by its tab, the window counts as slid in: the mouse leaving
  // slides it out at its new edge.
  EXPECT_EQ(dock.Tick(false).place, At({-600, 90}, {620, 400}));
}

TEST(EdgeDockState, ARestartKeepsTheEdgeAndDocksAfresh) {
  EdgeDockState dock;
  dock.Start({600, 400}, kScreen, kT);
  dock.ButtonDown({700, 10}, {660, -400}, kScreen);
  dock.MouseMove({20, 500});
  // Stopping during a drag lets the mouse go.
  const DockActions stop = dock.Stop();
  EXPECT_TRUE(stop.releaseMouse);
  EXPECT_EQ(stop.timer, TimerCommand::kStop);
  EXPECT_FALSE(dock.Running());
  EXPECT_EQ(dock.Tick(true), DockActions{});
  EXPECT_EQ(dock.SlideOutFor(5000), DockActions{});

  // On again: the same edge, centred again, slid out.
  const DockActions start = dock.Start({600, 400}, kScreen, kT);
  EXPECT_EQ(dock.CurrentEdge(), Edge::kLeft);
  EXPECT_EQ(start.place, At({-600, 340}, {620, 400}));
  EXPECT_TRUE(dock.Collapsed());
}

TEST(EdgeDockState, ARestartAfterStoppingSlidInStillSlidesOut) {
  EdgeDockState dock;
  dock.Start({600, 400}, kScreen, kT);
  dock.Tick(true);
  dock.Stop();
  const DockActions start = dock.Start({600, 400}, kScreen, kT);
  EXPECT_EQ(start.place, (Rect{660, -400, 1260, 20}));
  EXPECT_EQ(dock.Tick(true).place, (Rect{660, 0, 1260, 420}));
}

TEST(EdgeDockState, ADragStaysOnTheMonitorItStartedOn) {
  const Rect second{-1920, -300, 0, 780};
  EdgeDockState dock;
  const DockActions start = dock.Start({600, 400}, second, kT);
  EXPECT_EQ(start.place, (Rect{-1260, -700, -660, -280}));
  dock.Tick(true);
  dock.ButtonDown({-1200, -290}, {-1260, -300}, second);
  // Towards the primary monitor on the right: it stops at this monitor's right side.
  const DockActions move = dock.MouseMove({500, -200});
  EXPECT_EQ(dock.CurrentEdge(), Edge::kRight);
  EXPECT_EQ(move.place, At({-620, -210}, {620, 400}));
}

}  // namespace
