#include "app/win/tray_menu.h"

#include "desktop/win/theme_win.h"
#include "framework/win/wintext.h"
#include "language/language_start.h"
#include "language/language_store.h"

namespace sorvane::win {

HMENU BuildPopupMenuHandle(const MenuItem& popup) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  for (const MenuItem& item : popup.children) {
    if (item.separator) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING;
    if (item.checked) flags |= MF_CHECKED;
    if (item.greyed) flags |= MF_GRAYED;
    if (item.columnBreak) flags |= MF_MENUBREAK;
    if (item.popup) {
      HMENU sub = BuildPopupMenuHandle(item);
      AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), W(item.text));
    } else {
      AppendMenuW(menu, flags, static_cast<UINT_PTR>(item.id), W(item.text));
      if (item.defaultItem) SetMenuDefaultItem(menu, static_cast<UINT>(item.id), FALSE);
    }
  }
  return menu;
}

void ShowTrayMenu(HWND window, POINT at) {
  const MenuText text = StoreMenuText(Languages());
  const MenuItem bar = BuildProgramMenu(text, LanguageMenuItems(BuildLanguageMenu(Languages(), false)));
  HMENU menu = BuildPopupMenuHandle(BuildTrayMenu(bar, text, ProgramNameAndVersion()));
  if (!menu) return;
  ApplyThemeMenuBackground(menu);
  // The menu closes when the user clicks elsewhere only while the window is in front.
  SetForegroundWindow(window);
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, window, nullptr));
  PostMessageW(window, WM_NULL, 0, 0);
  DestroyMenu(menu);
  if (chosen != 0) SendMessageW(window, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

}  // namespace sorvane::win
