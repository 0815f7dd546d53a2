#include "framework/win/language_part.h"

#include "app/settings_keys.h"
#include "app/settings_store.h"
#include "app/win/main_window.h"
#include "framework/help_page.h"
#include "framework/language_store.h"
#include "framework/win/help_win.h"
#include "framework/win/language_win.h"
#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {

class LanguagePart : public MainWindowPart {
 public:
  explicit LanguagePart(bool ownMenuBar) : ownMenuBar_(ownMenuBar) {}

  void OnStarted(MainWindow& window) override { RebuildMenuBar(window); }

  bool OnMessage(MainWindow& window, UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
    if (message == RetranslateMessage() && message != 0) {
      RebuildMenuBar(window);
      window.UpdateTitle();
      return false;  // the other parts set their texts too
    }
    if (message != WM_COMMAND) return false;
    const int id = LOWORD(wParam);
    HWND hwnd = window.Window();
    LanguageCommandHooks hooks;
    hooks.retranslate = [hwnd] { SendMessageW(hwnd, RetranslateMessage(), 0, 0); };
    hooks.saveLanguage = [](int index) { Settings().WriteProgramInt(keys::kLanguage, index); };
    if (HandleLanguageCommand(hwnd, id, hooks) || HandleInfoCommand(hwnd, id)) {
      result = 0;
      return true;
    }
    return false;
  }

 private:
  void RebuildMenuBar(MainWindow& window) {
    if (!ownMenuBar_) return;
    HMENU bar = CreateMenu();
    HMENU program = CreatePopupMenu();
    if (!bar || !program) {
      if (bar) DestroyMenu(bar);
      if (program) DestroyMenu(program);
      return;
    }
    AppendLanguageAndInfoMenus(program);
    AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(program), W(Text(Languages().Str(67))));
    HMENU old = GetMenu(window.Window());
    SetMenu(window.Window(), bar);
    if (old) DestroyMenu(old);
    DrawMenuBar(window.Window());
  }

  bool ownMenuBar_;
};

}  // namespace

void AppendLanguageAndInfoMenus(HMENU programMenu) {
  AppendLanguageMenu(programMenu);
  if (HMENU info = BuildInfoSubmenu(true)) {
    if (!AppendMenuW(programMenu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(info),
                     W(Text(Languages().Str(24)))))
      DestroyMenu(info);
  }
}

std::unique_ptr<MainWindowPart> MakeLanguagePart(bool ownMenuBar) {
  return std::make_unique<LanguagePart>(ownMenuBar);
}

}  // namespace sorvane::win
