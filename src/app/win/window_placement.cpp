#include "app/win/window_placement.h"

#include "app/window_rect.h"

namespace sorvane::win {

bool ApplyWindowRect(HWND window, TextView storedText) {
  const auto r = StoredWindowRect(storedText, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (!r) return false;
  return SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top, 0) != 0;
}

bool RestoredWindowRect(HWND window, RECT& rect) {
  if (!IsIconic(window) && !IsZoomed(window)) return GetWindowRect(window, &rect) != 0;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof(placement);
  if (!GetWindowPlacement(window, &placement)) return false;
  rect = placement.rcNormalPosition;
  // The normal position is in workspace coordinates (relative to the work
  // area of its monitor) unless the window is a tool window.
  if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return true;
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (GetMonitorInfoW(MonitorFromRect(&rect, MONITOR_DEFAULTTONEAREST), &info))
    OffsetRect(&rect, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
  return true;
}

}  // namespace sorvane::win
