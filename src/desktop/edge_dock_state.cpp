#include "desktop/edge_dock_state.h"

namespace sorvane::dock {

namespace {

DockActions RestartTimer(DockActions a, int periodMs) {
  a.timer = TimerCommand::kStart;
  a.timerPeriodMs = periodMs;
  return a;
}

}  // namespace

DockActions EdgeDockState::PlaceAt(Point position) const {
  DockActions a;
  a.place = Rect{position.x, position.y, position.x + window_.width, position.y + window_.height};
  return a;
}

DockActions EdgeDockState::Start(Size client, const Rect& monitor, int tabThickness, bool autoHide) {
  running_ = true;
  autoHide_ = autoHide;
  dragging_ = false;
  client_ = client;
  monitor_ = monitor;
  tabThickness_ = tabThickness;
  window_ = DockedSize(edge_, client_, tabThickness_);
  docked_ = DockedPosition(edge_, client_, tabThickness_, monitor_);
  // The window is about to stand at its docked place, whatever an earlier run left.
  collapsed_ = false;

  DockActions a;
  if (autoHide_) {
    collapsed_ = true;
    a = RestartTimer(PlaceAt(CollapsedPosition(edge_, docked_, window_, tabThickness_)),
                     kTabTimerPeriodMs);
  } else {
    a = PlaceAt(docked_);
    a.timer = TimerCommand::kStop;
  }
  a.reshape = true;
  return a;
}

DockActions EdgeDockState::Stop() {
  if (!running_) return {};
  DockActions a;
  a.timer = TimerCommand::kStop;
  a.releaseMouse = dragging_;
  running_ = false;
  dragging_ = false;
  collapsed_ = false;
  return a;
}

DockActions EdgeDockState::Tick(bool cursorOnWindow) {
  // The timer is stopped during a drag; a tick already queued then is stale.
  if (!running_ || dragging_) return {};
  const DockActions moved = cursorOnWindow ? Expand() : Collapse();
  return RestartTimer(moved, kTabTimerPeriodMs);
}

DockActions EdgeDockState::SlideOutFor(int periodMs) {
  if (!running_ || dragging_) return {};
  return RestartTimer(Expand(), periodMs);
}

DockActions EdgeDockState::Collapse() {
  if (!running_ || collapsed_ || dragging_) return {};
  collapsed_ = true;
  return PlaceAt(CollapsedPosition(edge_, docked_, window_, tabThickness_));
}

DockActions EdgeDockState::Expand() {
  if (!running_ || !collapsed_ || dragging_) return {};
  collapsed_ = false;
  return PlaceAt(docked_);
}

DockActions EdgeDockState::ButtonDown(Point cursor, Point windowTopLeft, const Rect& monitor) {
  if (!running_ || dragging_) return {};
  dragging_ = true;
  monitor_ = monitor;
  dragOffset_ = {cursor.x - windowTopLeft.x, cursor.y - windowTopLeft.y};
  DockActions a;
  a.timer = TimerCommand::kStop;
  a.captureMouse = true;
  return a;
}

DockActions EdgeDockState::MouseMove(Point cursor) {
  if (!running_ || !dragging_) return {};
  const Point proposed{cursor.x - dragOffset_.x, cursor.y - dragOffset_.y};
  const DragStep step = DragMove(edge_, proposed, window_, client_, tabThickness_, monitor_);
  if (!step.moved) return {};
  const bool edgeChanged = step.edge != edge_;
  edge_ = step.edge;
  window_ = step.size;
  docked_ = step.position;
  // A window dragged by its tab now stands at its docked place: it is slid in,
  // so the next timer tick may slide it out again.
  collapsed_ = false;
  DockActions a = PlaceAt(docked_);
  a.reshape = edgeChanged;
  return a;
}

DockActions EdgeDockState::ButtonUp() {
  if (!running_ || !dragging_) return {};
  dragging_ = false;
  DockActions a;
  a.releaseMouse = true;
  if (autoHide_) a = RestartTimer(a, kTabTimerPeriodMs);
  return a;
}

}  // namespace sorvane::dock
