#include "app/win/button_bars_part.h"

#include "app/command_ids.h"
#include "language/language_store.h"
#include "language/win/language_win.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {

struct BarButton {
  int id;
  int textId;
  TextView english;
  int width;  // dialog units
  bool toggle;
};

struct Bar {
  int id;
  int left;  // dialog units in the 403 x 219 template
  Follow horizontal;
  std::initializer_list<BarButton> buttons;
};

// Below the bottom line (y 200) of the template, clear of the selector's edit.
constexpr int kTop = 203, kHeight = 13, kGap = 2;

const Bar kBars[] = {
    {kFrameworkBarId, 3, Follow::kFixed,
     {{cmd::kCompact, 16, u"Compact Mode", 70, false}, {cmd::kInfo, 24, u"Info", 40, false}}},
    {kModeBarId, 130, Follow::kCentred,
     {{cmd::kFlyOut, 13, u"Be FlyOut", 70, false}, {cmd::kAlwaysOnTop, 25, u"Always on top", 70, true}}},
    // The framework's theme button at the right end: its menu opens at the mouse.
    {kThemeBarId, 358, Follow::kMoves, {{kThemeMenuCommand, 80, u"Theme", 42, false}}},
};

Text LangOr(int id, TextView english) { return LangStringOr(Languages(), id, english); }

HWND MakeChild(HWND parent, const wchar_t* cls, const Text& text, DWORD style, RECT r, int id) {
  return CreateWindowExW(0, cls, W(text), WS_CHILD | style, r.left, r.top, r.right - r.left, r.bottom - r.top, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

}  // namespace

void ButtonBarsPart::OnInitDialog(PartHost& window) {
  HWND w = window.Window();
  const HFONT font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0));
  for (const Bar& bar : kBars) {
    int x = bar.left;
    for (const BarButton& b : bar.buttons) {
      RECT r{x, kTop, x + b.width, kTop + kHeight};
      x += b.width + kGap;
      MapDialogRect(w, &r);
      const DWORD style = WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS | (b.toggle ? BS_CHECKBOX | BS_PUSHLIKE : BS_PUSHBUTTON);
      HWND button = MakeChild(w, L"Button", LangOr(b.textId, b.english), style, r, b.id);
      if (!button) continue;
      if (font) SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      window.AddLayoutRule(b.id, bar.horizontal, Follow::kMoves);
    }
    // The bar itself: its id and its area, moving with its buttons.
    RECT area{bar.left, kTop, x - kGap, kTop + kHeight};
    MapDialogRect(w, &area);
    if (MakeChild(w, L"Static", {}, WS_DISABLED, area, bar.id)) window.AddLayoutRule(bar.id, bar.horizontal, Follow::kMoves);
  }
}

// Always on top from the last run: the same toggle a click gives.
void ButtonBarsPart::OnStarted(PartHost& window) {
  if (Settings().ReadProgramString(keys::kTopmost, keys::kTopmostDefault) == u"1")
    SendMessageW(window.Window(), WM_COMMAND, MAKEWPARAM(cmd::kAlwaysOnTop, 0), 0);
}

void ButtonBarsPart::SetTexts(PartHost& window) {
  for (const Bar& bar : kBars)
    for (const BarButton& b : bar.buttons)
      if (HWND button = window.Item(b.id)) SetWindowTextW(button, W(LangOr(b.textId, b.english)));
}

void ButtonBarsPart::ToggleAlwaysOnTop(PartHost& window) {
  topmost_ = !topmost_;
  SendMessageW(window.Item(cmd::kAlwaysOnTop), BM_SETCHECK, topmost_ ? BST_CHECKED : BST_UNCHECKED, 0);
  SetWindowPos(window.Window(), topmost_ ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Settings().WriteProgramString(keys::kTopmost, topmost_ ? u"1" : u"0");
}

bool ButtonBarsPart::OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == RetranslateMessage() && message != 0) {
    SetTexts(window);
    return false;
  }
  if (message == WM_COMMAND && LOWORD(wParam) == cmd::kAlwaysOnTop && HIWORD(wParam) <= 1) {
    ToggleAlwaysOnTop(window);
    result = 0;
    return true;
  }
  return false;
}

}  // namespace sorvane::win
