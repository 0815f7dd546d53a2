// Base of windows of a class the program registers but whose instances the
// system creates (a control inside a dialog template): the window owns its
// object, made at WM_NCCREATE and destroyed at WM_NCDESTROY. Derived has a
// constructor taking the HWND and a member HandleMessage that answers like a
// window procedure.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/win/boundary.h"

namespace sorvane::win {

template <class Derived>
class OwnedWindow {
 public:
  static Derived* From(HWND window) { return reinterpret_cast<Derived*>(GetWindowLongPtrW(window, GWLP_USERDATA)); }

  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      // An object that cannot be made fails the window's creation.
      auto* made = Guarded<Derived*>("window creation", nullptr,
                                     [&] { return std::make_unique<Derived>(window).release(); });
      if (!made) return FALSE;
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(made));
      return DefWindowProcW(window, message, wParam, lParam);
    }
    Derived* self = From(window);
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    bool failed = false;
    LRESULT result = Guarded<LRESULT>("window procedure", 0, [&]() -> LRESULT {
      failed = true;
      const LRESULT answer = self->HandleMessage(message, wParam, lParam);
      failed = false;
      return answer;
    });
    if (failed) result = DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      std::unique_ptr<Derived> gone(self);
    }
    return result;
  }
};

}  // namespace sorvane::win
