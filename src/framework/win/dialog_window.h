// Base of the program's modeless dialogs: one static dialog procedure that
// takes the object from the creation parameter and calls its member handler.
#pragma once

#include <windows.h>

#include "framework/win/boundary.h"

namespace sorvane::win {

template <typename Derived>
class DialogWindow {
 public:
  DialogWindow() = default;
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;
  virtual ~DialogWindow() {
    if (window_) {
      SetWindowLongPtrW(window_, DWLP_USER, 0);
      DestroyWindow(window_);
    }
  }

  HWND Create(HINSTANCE instance, int templateId, HWND parent = nullptr) {
    return CreateDialogParamW(instance, MAKEINTRESOURCEW(templateId), parent, &DialogWindow::StaticProc,
                              reinterpret_cast<LPARAM>(this));
  }

  HWND Window() const { return window_; }
  HWND Item(int id) const { return GetDlgItem(window_, id); }

 protected:
  // Sets the answer of a message whose result a dialog procedure cannot return
  // directly; the handler then returns TRUE.
  INT_PTR Answer(LRESULT result) {
    SetWindowLongPtrW(window_, DWLP_MSGRESULT, result);
    return TRUE;
  }
  // The same for any message: the few that a dialog procedure answers by its
  // return value (colour brushes, list-box keys, ...) get it returned.
  INT_PTR Answer(UINT message, LRESULT result) {
    if (ReturnsDirectly(message)) return static_cast<INT_PTR>(result);
    return Answer(result);
  }
  static bool ReturnsDirectly(UINT message) {
    return (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_COMPAREITEM ||
           message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_QUERYDRAGICON ||
           message == WM_INITDIALOG;
  }

 private:
  static INT_PTR CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Derived* self = nullptr;
    if (message == WM_INITDIALOG) {
      self = static_cast<Derived*>(reinterpret_cast<DialogWindow*>(lParam));
      SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
      self->window_ = window;
    } else {
      self = reinterpret_cast<Derived*>(GetWindowLongPtrW(window, DWLP_USER));
    }
    if (!self) return FALSE;
    // A failure inside a handler answers "not handled", so the dialog manager's default applies.
    const INT_PTR result =
        Guarded<INT_PTR>("dialog procedure", FALSE, [&] { return self->HandleMessage(message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(window, DWLP_USER, 0);
      self->window_ = nullptr;
    }
    return result;
  }

  HWND window_ = nullptr;
};

}  // namespace sorvane::win
