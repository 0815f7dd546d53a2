#include "app/win/window_placement.h"

#include "app/window_rect.h"

namespace sorvane::win {

void ApplyStoredWindowRect(HWND window, const Text& stored) {
  const auto r = StoredWindowRect(stored, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (r) SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top, 0);
}

}  // namespace sorvane::win
