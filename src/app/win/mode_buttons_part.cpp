#include "app/win/mode_buttons_part.h"

#include "app/win/main_window.h"
#include "language/language_store.h"
#include "language/win/language_win.h"
#include "framework/win/wintext.h"
#include "resource_ids.h"

namespace sorvane::win {
namespace {

struct ButtonSpec {
  int id;
  int textId;
  TextView english;
  RECT dialogUnits;  // left, top, right, bottom in the 403 x 219 template
  Follow horizontal;
};

// Below the bottom line (y 200) of the template, clear of the selector's edit.
constexpr ButtonSpec kButtons[] = {
    {IDC_COMPACT_BUTTON, 16, u"Compact Mode", {3, 203, 73, 216}, Follow::kFixed},
    {IDC_FLYOUT_BUTTON, 13, u"Be FlyOut", {166, 203, 236, 216}, Follow::kCentred},
};

class ModeButtonsPart final : public MainWindowPart {
 public:
  void OnInitDialog(PartHost& window) override {
    HWND w = window.Window();
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0));
    for (const ButtonSpec& b : kButtons) {
      RECT r = b.dialogUnits;
      MapDialogRect(w, &r);
      HWND button = CreateWindowExW(0, L"Button", W(LangStringOr(Languages(), b.textId, b.english)),
                                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, r.left, r.top,
                                    r.right - r.left, r.bottom - r.top, w,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(b.id)), GetModuleHandleW(nullptr),
                                    nullptr);
      if (!button) continue;
      if (font) SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      window.AddLayoutRule(b.id, b.horizontal, Follow::kMoves);
    }
  }

  bool OnMessage(PartHost& window, UINT message, WPARAM, LPARAM, LRESULT&) override {
    if (message == RetranslateMessage() && message != 0) {
      for (const ButtonSpec& b : kButtons)
        if (HWND button = window.Item(b.id)) SetWindowTextW(button, W(LangStringOr(Languages(), b.textId, b.english)));
    }
    return false;
  }
};

}  // namespace

std::unique_ptr<MainWindowPart> MakeModeButtonsPart() { return std::make_unique<ModeButtonsPart>(); }

}  // namespace sorvane::win
