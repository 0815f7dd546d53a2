// A flat push button drawn entirely by the program: a symbol on black, a grey
// border, lighter while the mouse is over it, darker while pressed, an amber
// border while focused.
#pragma once

#include <windows.h>

namespace sorvane::win {

class TransportButton {
 public:
  static constexpr COLORREF kBackground = RGB(0, 0, 0);
  static constexpr COLORREF kText = RGB(255, 255, 255);
  static constexpr COLORREF kBorder = RGB(80, 80, 80);
  static constexpr COLORREF kHoverBackground = RGB(40, 40, 40);
  static constexpr COLORREF kPressedBackground = RGB(20, 20, 20);
  static constexpr COLORREF kFocusBorder = RGB(255, 200, 0);  // amber

  TransportButton() = default;
  TransportButton(const TransportButton&) = delete;
  TransportButton& operator=(const TransportButton&) = delete;
  ~TransportButton();

  bool Subclass(HWND button);
  HWND Window() const { return button_; }
  bool Hovering() const { return hovering_; }
  bool Pressed() const { return pressed_; }
  bool Focused() const { return focused_; }

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  void Repaint() { InvalidateRect(button_, nullptr, TRUE); }
  void Paint();
  void Unsubclass();

  HWND button_ = nullptr;
  bool hovering_ = false;
  bool pressed_ = false;
  bool focused_ = false;
};

}  // namespace sorvane::win
