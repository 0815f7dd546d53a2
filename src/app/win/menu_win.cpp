#include "app/win/menu_win.h"

#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {


// Menus align the text after the first tab to the right and draw any further
// tab as a box: the symbol after the shortcut stands apart by blanks instead.
Text DisplayText(const Text& text) {
  const size_t first = text.find(u'\t');
  if (first == Text::npos) return text;
  Text shown = text;
  for (size_t i = shown.find(u'\t', first + 1); i != Text::npos; i = shown.find(u'\t', i + 2))
    shown.replace(i, 1, u"  ");
  return shown;
}

}  // namespace

UniqueMenu MakePopupMenu(const MenuItem& popup) {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return menu;
  for (const MenuItem& item : popup.children) {
    if (item.separator) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING;
    if (item.checked) flags |= MF_CHECKED;
    if (item.greyed) flags |= MF_GRAYED;
    if (item.columnBreak) flags |= MF_MENUBARBREAK;
    if (item.popup) {
      UniqueMenu sub = MakePopupMenu(item);
      if (!sub) continue;
      if (AppendMenuW(menu.get(), flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()), W(item.text)))
        sub.release();  // the parent menu destroys it with itself
      continue;
    }
    AppendMenuW(menu.get(), flags, static_cast<UINT_PTR>(item.id), W(DisplayText(item.text)));
    if (item.defaultItem) SetMenuDefaultItem(menu.get(), static_cast<UINT>(item.id), FALSE);
  }
  return menu;
}

void ApplyMenuChecks(HMENU menu, const std::vector<MenuCheck>& checks) {
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = GetSubMenu(menu, i)) {
      ApplyMenuChecks(sub, checks);
      continue;
    }
    const UINT id = GetMenuItemID(menu, i);
    for (const MenuCheck& c : checks)
      if (static_cast<UINT>(c.id) == id)
        CheckMenuItem(menu, static_cast<UINT>(i), MF_BYPOSITION | (c.checked ? MF_CHECKED : MF_UNCHECKED));
  }
}

UniqueAcceleratorTable MakeAcceleratorTable(const std::vector<Accelerator>& accelerators) {
  if (accelerators.empty()) return UniqueAcceleratorTable();
  std::vector<ACCEL> table;
  table.reserve(accelerators.size());
  for (const Accelerator& a : accelerators)
    table.push_back(ACCEL{static_cast<BYTE>(a.flags), static_cast<WORD>(a.key), static_cast<WORD>(a.command)});
  return UniqueAcceleratorTable(CreateAcceleratorTableW(table.data(), static_cast<int>(table.size())));
}

}  // namespace sorvane::win
