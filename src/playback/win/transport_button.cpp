#include "playback/win/transport_button.h"

#include <commctrl.h>
#include <usp10.h>

#include "framework/win/boundary.h"
#include "framework/win/gdi.h"

namespace sorvane::win {
namespace {
constexpr UINT_PTR kSubclassId = 0x5042;  // "PB"
}

TransportButton::~TransportButton() { Unsubclass(); }

bool TransportButton::Subclass(HWND button) {
  Unsubclass();
  if (!button || !SetWindowSubclass(button, Proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
  button_ = button;
  return true;
}

void TransportButton::Unsubclass() {
  if (button_) RemoveWindowSubclass(button_, Proc, kSubclassId);
  button_ = nullptr;
}

LRESULT CALLBACK TransportButton::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self) {
  auto* button = reinterpret_cast<TransportButton*>(self);
  if (message == WM_NCDESTROY) {
    button->Unsubclass();
    return DefSubclassProc(window, message, wParam, lParam);
  }
  return GuardedOrDefault(
      "transport button",
      [&] {
        bool handled = false;
        const LRESULT result = button->Handle(message, wParam, lParam, handled);
        return handled ? result : DefSubclassProc(window, message, wParam, lParam);
      },
      [&] { return DefSubclassProc(window, message, wParam, lParam); });
}

LRESULT TransportButton::Handle(UINT message, WPARAM, LPARAM, bool& handled) {
  switch (message) {
    case WM_PAINT:
      Paint();
      handled = true;
      return 0;
    case WM_ERASEBKGND:
      handled = true;
      return 1;
    case WM_MOUSEMOVE:
      if (hovering_) {
        handled = true;
        return 0;
      } else {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, button_, 0};
        TrackMouseEvent(&track);
        hovering_ = true;
        Repaint();
      }
      return 0;
    case WM_MOUSELEAVE:
      hovering_ = false;
      Repaint();
      return 0;
    case WM_LBUTTONDOWN:
      pressed_ = true;
      Repaint();
      return 0;
    case WM_LBUTTONUP:
      pressed_ = false;
      Repaint();
      return 0;
    case WM_SETFOCUS:
      focused_ = true;
      Repaint();
      handled = true;
      return 0;
    case WM_KILLFOCUS:
      focused_ = false;
      Repaint();
      handled = true;
      return 0;
    default:
      return 0;
  }
}

void TransportButton::Paint() {
  PaintScope paint(button_);
  HDC dc = paint.dc();
  RECT rc{};
  GetClientRect(button_, &rc);

  UniqueBrush fill(CreateSolidBrush(pressed_ ? kPressedBackground : hovering_ ? kHoverBackground : kBackground));
  FillRect(dc, &rc, fill.get());
  {
    UniquePen pen(CreatePen(PS_SOLID, 1, focused_ ? kFocusBorder : kBorder));
    SelectScope usePen(dc, pen.get());
    SelectScope hollow(dc, GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, rc.left, rc.top, rc.right, rc.bottom);
  }
  if (focused_) {
    RECT inner = rc;
    InflateRect(&inner, -2, -2);
    DrawFocusRect(dc, &inner);
  }

  HFONT font = reinterpret_cast<HFONT>(SendMessageW(button_, WM_GETFONT, 0, 0));
  SelectScope useFont(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
  wchar_t text[64] = {};
  const int length = GetWindowTextW(button_, text, 64);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kText);
  // Through the script processor: several glyphs lie outside the basic plane,
  // and plain TextOutW of some systems (Wine's) maps each half of such a pair
  // on its own and draws two empty boxes.
  SCRIPT_STRING_ANALYSIS analysis = nullptr;
  if (length > 0 && SUCCEEDED(ScriptStringAnalyse(dc, text, length, length * 3 / 2 + 16, -1, SSA_GLYPHS, 0, nullptr,
                                                  nullptr, nullptr, nullptr, nullptr, &analysis))) {
    const SIZE* size = ScriptString_pSize(analysis);
    const int cx = size ? size->cx : 0, cy = size ? size->cy : 0;
    ScriptStringOut(analysis, (rc.right - cx - rc.left) / 2, (rc.bottom - cy - rc.top) / 2, 0, nullptr, 0, 0, FALSE);
    ScriptStringFree(&analysis);
    return;
  }
  SIZE size{};
  GetTextExtentPoint32W(dc, text, length, &size);
  TextOutW(dc, (rc.right - size.cx - rc.left) / 2, (rc.bottom - size.cy - rc.top) / 2, text, length);
}

}  // namespace sorvane::win
