#include "language/win/language_part.h"

#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "language/help_page.h"
#include "language/language_store.h"
#include "language/win/help_win.h"
#include "language/win/language_win.h"
#include "framework/win/gdi.h"
#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {

class LanguagePart : public MainWindowPart {
 public:
  explicit LanguagePart(bool ownMenuBar) : ownMenuBar_(ownMenuBar) {}

  void OnStarted(PartHost& window) override { RebuildMenuBar(window); }

  bool OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM, LRESULT& result) override {
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
  void RebuildMenuBar(PartHost& window) {
    if (!ownMenuBar_) return;
    UniqueMenu bar(CreateMenu());
    UniqueMenu program(CreatePopupMenu());
    if (!bar || !program) return;
    AppendLanguageAndInfoMenus(program.get());
    if (!AppendMenuW(bar.get(), MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(program.get()),
                     W(Text(Languages().Str(67)))))
      return;
    program.release();  // the bar frees it now
    HMENU old = GetMenu(window.Window());
    if (!SetMenu(window.Window(), bar.get())) return;
    bar.release();  // the window frees its menu when it is destroyed
    if (old) DestroyMenu(old);
    DrawMenuBar(window.Window());
  }

  bool ownMenuBar_;
};

}  // namespace

void AppendLanguageAndInfoMenus(HMENU programMenu) {
  AppendLanguageMenu(programMenu);
  UniqueMenu info(BuildInfoSubmenu(true));
  if (info && AppendMenuW(programMenu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(info.get()),
                          W(Text(Languages().Str(24)))))
    info.release();  // the program menu frees it now
}

std::unique_ptr<MainWindowPart> MakeLanguagePart(bool ownMenuBar) {
  return std::make_unique<LanguagePart>(ownMenuBar);
}

}  // namespace sorvane::win
