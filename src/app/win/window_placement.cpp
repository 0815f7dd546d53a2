#include "app/win/window_placement.h"

#include "app/window_rect.h"

namespace sorvane::win {

bool ApplyWindowRect(HWND window, TextView storedText) {
  const auto r = StoredWindowRect(storedText, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (!r) return false;
  return SetWindowPos(window, nullptr, r->left, r->top, r->right - r->left, r->bottom - r->top, 0) != 0;
}

}  // namespace sorvane::win
