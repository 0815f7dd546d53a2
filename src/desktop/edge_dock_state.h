// The states of a docked fly-out window: running or not, slid in (expanded) or
// slid out (collapsed), and dragged between a button press and its release.
// Every input is passed in (cursor positions, whether the cursor is on the
// window, the monitor), and every answer is a list of actions for the window
// code to carry out; there is no clock and no window here.
#pragma once

#include <optional>

#include "desktop/edge_dock_geometry.h"

namespace sorvane::dock {

enum class TimerCommand { kNone, kStop, kStart };

struct DockActions {
  // Move and size the window to this rectangle (screen coordinates, z-order kept).
  std::optional<Rect> place;
  // The edge changed (or docking began): rebuild the shape, the children's
  // places and the caption for the present edge and size before moving.
  bool reshape = false;
  // kStart (re)starts the tab timer with timerPeriodMs; kStop stops it.
  TimerCommand timer = TimerCommand::kNone;
  int timerPeriodMs = 0;
  bool captureMouse = false;
  bool releaseMouse = false;
  bool operator==(const DockActions&) const = default;
};

class EdgeDockState {
 public:
  bool Running() const { return running_; }
  bool Collapsed() const { return collapsed_; }
  bool Dragging() const { return dragging_; }
  Edge CurrentEdge() const { return edge_; }
  Point Docked() const { return docked_; }
  Size WindowSize() const { return window_; }
  Size ClientSize() const { return client_; }
  int TabThickness() const { return tabThickness_; }
  const Rect& Monitor() const { return monitor_; }

  // Docks a window whose client area is `client` at the edge used last (the
  // top at first) of `monitor`, then slides it out (autoHide) or leaves it in.
  DockActions Start(Size client, const Rect& monitor, int tabThickness, bool autoHide = true);
  // Ends docking: the timer stops and a drag under way ends. The window code
  // then restores the window itself. Edge and docked position are kept.
  DockActions Stop();

  // The tab timer fired; cursorOnWindow: the cursor lies inside the window's shape.
  DockActions Tick(bool cursorOnWindow);
  // Slides the window in and checks the cursor again only after periodMs.
  DockActions SlideOutFor(int periodMs);
  DockActions Collapse();
  DockActions Expand();

  // Left button pressed on the window itself (not on a child). The drag keeps
  // the window on `monitor`, the one that holds it.
  DockActions ButtonDown(Point cursor, Point windowTopLeft, const Rect& monitor);
  DockActions MouseMove(Point cursor);
  DockActions ButtonUp();

 private:
  DockActions PlaceAt(Point position) const;

  bool running_ = false;
  bool autoHide_ = true;
  bool collapsed_ = false;
  bool dragging_ = false;
  Edge edge_ = Edge::kTop;
  Point docked_;
  Size client_;
  Size window_;
  int tabThickness_ = 20;
  Rect monitor_;
  Point dragOffset_;
};

}  // namespace sorvane::dock
