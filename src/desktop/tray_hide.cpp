#include "desktop/tray_hide.h"

#include <algorithm>

namespace sorvane {

uint32_t HideAnimationMs(std::optional<uint32_t> userValue, std::optional<uint32_t> defaultUserValue) {
  uint32_t ms = kDefaultAnimationMs;
  if (userValue && *userValue != 0) {
    ms = *userValue;
  } else if (defaultUserValue && *defaultUserValue != 0) {
    ms = *defaultUserValue;
  }
  return std::min(ms, kMaxAnimationMs);
}

std::optional<TaskbarEdge> TaskbarEdgeFromAppBar(uint32_t edge) {
  if (edge > static_cast<uint32_t>(TaskbarEdge::kBottom)) return std::nullopt;
  return static_cast<TaskbarEdge>(edge);
}

ScreenRect TrayTargetRect(const TrayGeometry& g) {
  if (g.notifyArea && !g.notifyArea->Empty()) return *g.notifyArea;

  if (g.taskbar && !g.taskbar->rect.Empty()) {
    const ScreenRect& t = g.taskbar->rect;
    switch (g.taskbar->edge) {
      case TaskbarEdge::kTop:
      case TaskbarEdge::kBottom:
        return {t.right - 100, t.top, t.right - 16, t.bottom};
      case TaskbarEdge::kLeft:
      case TaskbarEdge::kRight:
        return {t.left, t.bottom - 100, t.right, t.bottom - 16};
    }
  }

  if (g.trayWindow && !g.trayWindow->Empty()) {
    ScreenRect r = *g.trayWindow;
    if (r.Width() > 150) r.left = r.right - 150;
    if (r.Height() >= 31) r.top = r.bottom - 30;
    return r;
  }

  const ScreenRect& w = g.workArea;
  return {w.right - 150, w.bottom - 30, w.right, w.bottom};
}

}  // namespace sorvane
