// The main window's menus as data: the program menu (its first popup with the
// language, information and help items plus the main window's own items, then
// the "Media" popup), the list's context menu and the tray menu. The Win32 side
// turns a tree into menu handles and buttons; everything that decides what a
// menu holds lives here, so that it is tested without a window.
#pragma once

#include <functional>
#include <vector>

#include "app/accelerators.h"
#include "language/language_store.h"
#include "framework/text.h"

namespace sorvane {

// Text of a language string id in the current language (empty when absent).
using MenuText = std::function<Text(int stringId)>;

// The current language of a store, with English as fallback.
MenuText StoreMenuText(LanguageStore& store);

struct MenuItem {
  int id = 0;   // command id; 0 for separators and popups
  Text text;    // "label", "label\tshortcut" or "label\tshortcut\tsymbol"
  bool popup = false;
  bool separator = false;
  bool checked = false;
  bool greyed = false;
  bool defaultItem = false;  // shown bold (the current language)
  bool columnBreak = false;  // starts a new column (long language lists)
  std::vector<MenuItem> children;  // items of a popup; a menu bar is a popup too

  static MenuItem Command(int id, Text text);
  static MenuItem Separator();
  static MenuItem Popup(Text text, std::vector<MenuItem> children = {});
};

// Depth-first, in menu order: the first item with this command id, or null.
MenuItem* FindMenuItem(MenuItem& menu, int id);
const MenuItem* FindMenuItem(const MenuItem& menu, int id);

// The Language submenu's items as menu items.
std::vector<MenuItem> LanguageMenuItems(const std::vector<LanguageMenuItem>& items);

// The program menu of the window framework, before the main window adds to it:
// a bar with one popup "Program" holding the Language submenu, a separator,
// "Info" and "Help", then the web items. The items the main window inserts by
// position land after "Help".
MenuItem BuildBaseProgramMenu(const MenuText& text, std::vector<MenuItem> languageItems);

// Inserts the main window's items into the first popup of bar, by position 4
// to 10 (Send To items, Restart, FlyOut Color, with separators). Positions past
// the end append. A bar without a popup gets an empty first popup "Program".
void InsertMainWindowItems(MenuItem& bar, const MenuText& text);

// The "Media" popup.
MenuItem BuildMediaPopup(const MenuText& text);

// The whole program menu: the base menu, the inserted items, and "Media" as
// the second popup of the bar.
MenuItem BuildProgramMenu(const MenuText& text, std::vector<MenuItem> languageItems);

// The program menu and the accelerators derived from its texts; the window
// replaces its accelerator table with these on every build.
struct BuiltMenu {
  MenuItem bar;
  std::vector<Accelerator> accelerators;
};
BuiltMenu BuildMenu(const MenuText& text, std::vector<MenuItem> languageItems);

// One button of the menu row along the top edge: a popup of the bar, or a
// command button (exit and the help button "# ?").
struct MenuRowButton {
  Text text;
  int popupIndex = -1;  // index into the bar's children; -1 for a command button
  int command = 0;
};
std::vector<MenuRowButton> MenuRowButtons(const MenuItem& bar, const MenuText& text);

// The context menu of the media list: 1001 to 1010 with separators.
MenuItem BuildListContextMenu(const MenuText& text);

// The tray menu: "Program" with the program menu's first popup, "E&xit", and
// the item that brings the window back, titled with the product name and
// version.
MenuItem BuildTrayMenu(const MenuItem& programMenu, const MenuText& text, TextView nameAndVersion);

// The check marks of the program menu, from the settings they show.
struct MenuCheckValues {
  int playLast = 1;    // "m_PlayLast"
  int randomPlay = 9;  // "random_play"
  int repeat = 1;      // "m_Repeat": 0 off, 1 all, 2 one
};
struct MenuCheck {
  int id = 0;
  bool checked = false;
  bool operator==(const MenuCheck&) const = default;
};
std::vector<MenuCheck> MenuChecks(const MenuCheckValues& values);
// Sets every item carrying one of those ids, submenus included.
void UpdateMenuChecks(MenuItem& menu, const MenuCheckValues& values);

}  // namespace sorvane
