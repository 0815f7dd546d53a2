#include "app/menu_model.h"

#include <algorithm>
#include <utility>

#include "app/command_ids.h"
#include "settings/settings_store.h"

namespace sorvane {
namespace {

// Language string ids of the menu texts.
namespace str {
constexpr int kExit = 7;
constexpr int kFlyOutColor = 14;
constexpr int kCompactMode = 16;
constexpr int kRestart = 17;
constexpr int kHelp = 23;
constexpr int kInfo = 24;
constexpr int kMoveTop = 40;
constexpr int kMoveUp = 41;
constexpr int kMoveDown = 42;
constexpr int kMoveBottom = 43;
constexpr int kRemove = 44;
constexpr int kShowInExplorer = 45;
constexpr int kExportPlaylist = 46;
constexpr int kImportPlaylist = 47;
constexpr int kSelectAll = 48;
constexpr int kInvertSelection = 49;
constexpr int kMedia = 65;
constexpr int kProgram = 67;
constexpr int kLanguage = 77;
constexpr int kDonate = 78;
constexpr int kPlay = 110;
constexpr int kPause = 111;
constexpr int kStop = 112;
constexpr int kPrevious = 113;
constexpr int kNext = 114;
constexpr int kMute = 115;
constexpr int kRandom = 116;
constexpr int kRepeatOne = 117;
constexpr int kRepeatAll = 118;
constexpr int kSequential = 119;
constexpr int kImportFolder = 120;
constexpr int kAddFiles = 121;
constexpr int kSystemVolume = 122;
constexpr int kPlayLast = 123;
constexpr int kRepeatOff = 124;
constexpr int kDropTip = 125;
constexpr int kAddToSendTo = 130;
constexpr int kEditSendTo = 131;
constexpr int kFaq = 244;
constexpr int kHistory = 245;
constexpr int kHomepage = 246;
}  // namespace str

Text Get(const MenuText& text, int id) { return text ? text(id) : Text(); }

// "label\tshortcut\tsymbol"; the shortcut is fixed here so that it is the same
// in every language.
MenuItem Shortcut(int id, const MenuText& text, int stringId, TextView shortcut, TextView symbol = {}) {
  Text t = Get(text, stringId);
  t += u'\t';
  t += shortcut;
  if (!symbol.empty()) {
    t += u'\t';
    t += symbol;
  }
  return MenuItem::Command(id, std::move(t));
}

MenuItem Plain(int id, const MenuText& text, int stringId) { return MenuItem::Command(id, Get(text, stringId)); }

void InsertAt(std::vector<MenuItem>& items, size_t position, MenuItem item) {
  items.insert(items.begin() + static_cast<std::ptrdiff_t>(std::min(position, items.size())), std::move(item));
}

template <typename Item>
Item* Find(Item& menu, int id) {
  for (Item& item : menu.children) {
    if (!item.separator && !item.popup && item.id == id) return &item;
    if (item.popup) {
      if (Item* found = Find(item, id)) return found;
    }
  }
  return nullptr;
}

void ApplyChecks(MenuItem& menu, const std::vector<MenuCheck>& checks) {
  for (MenuItem& item : menu.children) {
    if (item.popup) {
      ApplyChecks(item, checks);
      continue;
    }
    if (item.separator) continue;
    for (const MenuCheck& c : checks) {
      if (c.id == item.id) item.checked = c.checked;
    }
  }
}

}  // namespace

MenuText StoreMenuText(LanguageStore& store) {
  return [&store](int id) { return Text(store.Str(id)); };
}

MenuItem MenuItem::Command(int id, Text text) {
  MenuItem item;
  item.id = id;
  item.text = std::move(text);
  return item;
}

MenuItem MenuItem::Separator() {
  MenuItem item;
  item.separator = true;
  return item;
}

MenuItem MenuItem::Popup(Text text, std::vector<MenuItem> children) {
  MenuItem item;
  item.popup = true;
  item.text = std::move(text);
  item.children = std::move(children);
  return item;
}

MenuItem* FindMenuItem(MenuItem& menu, int id) { return Find(menu, id); }
const MenuItem* FindMenuItem(const MenuItem& menu, int id) { return Find(menu, id); }

std::vector<MenuItem> LanguageMenuItems(const std::vector<LanguageMenuItem>& items) {
  std::vector<MenuItem> out;
  out.reserve(items.size());
  for (const LanguageMenuItem& l : items) {
    if (l.separator) {
      out.push_back(MenuItem::Separator());
      continue;
    }
    MenuItem item = MenuItem::Command(l.command, l.text);
    item.checked = l.checked;
    item.defaultItem = l.checked;
    item.columnBreak = l.columnBreak;
    out.push_back(std::move(item));
  }
  return out;
}

MenuItem BuildBaseProgramMenu(const MenuText& text, std::vector<MenuItem> languageItems) {
  std::vector<MenuItem> first;
  first.push_back(MenuItem::Popup(Get(text, str::kLanguage), std::move(languageItems)));
  first.push_back(MenuItem::Separator());
  first.push_back(Plain(cmd::kInfo, text, str::kInfo));
  first.push_back(Plain(cmd::kHelp, text, str::kHelp));
  // The main window's items are inserted from here on.
  first.push_back(MenuItem::Separator());
  first.push_back(MenuItem::Command(cmd::kFaq, Get(text, str::kFaq) + u"\t(# ?)"));
  first.push_back(Plain(cmd::kHomepage, text, str::kHomepage));
  first.push_back(Plain(cmd::kHistory, text, str::kHistory));
  first.push_back(MenuItem::Separator());
  first.push_back(Plain(cmd::kDonate, text, str::kDonate));

  MenuItem bar = MenuItem::Popup({});
  bar.children.push_back(MenuItem::Popup(Get(text, str::kProgram), std::move(first)));
  return bar;
}

void InsertMainWindowItems(MenuItem& bar, const MenuText& text) {
  if (bar.children.empty() || !bar.children.front().popup) {
    bar.children.insert(bar.children.begin(), MenuItem::Popup(Get(text, str::kProgram)));
  }
  std::vector<MenuItem>& first = bar.children.front().children;
  Text restart = Get(text, str::kRestart);
  restart += u' ';
  restart += kAppName;
  // In order of position, each insertion shifting the later items down.
  InsertAt(first, 4, MenuItem::Separator());
  InsertAt(first, 5, Plain(cmd::kAddToSendTo, text, str::kAddToSendTo));
  InsertAt(first, 6, Plain(cmd::kEditSendTo, text, str::kEditSendTo));
  InsertAt(first, 7, MenuItem::Separator());
  InsertAt(first, 8, MenuItem::Command(cmd::kRestart, std::move(restart)));
  InsertAt(first, 9, MenuItem::Separator());
  InsertAt(first, 10, Plain(cmd::kFlyOutColor, text, str::kFlyOutColor));
}

MenuItem BuildMediaPopup(const MenuText& text) {
  Text tip = Get(text, str::kDropTip);
  ReplaceAll(tip, u"&", u"&&");  // shown as typed, not as a mnemonic
  MenuItem tipItem = MenuItem::Command(cmd::kAddFiles, std::move(tip));
  tipItem.greyed = true;

  std::vector<MenuItem> items;
  items.push_back(Plain(cmd::kPlayLast, text, str::kPlayLast));
  items.push_back(Shortcut(cmd::kCompact, text, str::kCompactMode, u"Ctrl + C"));
  items.push_back(MenuItem::Separator());
  items.push_back(Shortcut(cmd::kPlay, text, str::kPlay, u"Ctrl + P", u"\u25B6"));
  items.push_back(Shortcut(cmd::kPause, text, str::kPause, u"Ctrl + P", u"\u23F8"));
  items.push_back(Shortcut(cmd::kStop, text, str::kStop, u"Ctrl + S", u"\u23F9"));
  items.push_back(MenuItem::Separator());
  items.push_back(Shortcut(cmd::kMenuPrevious, text, str::kPrevious, u"Ctrl + R", u"\u23EA"));
  items.push_back(Shortcut(cmd::kMenuNext, text, str::kNext, u"Ctrl + N", u"\u23E9"));
  items.push_back(MenuItem::Separator());
  items.push_back(Shortcut(cmd::kMute, text, str::kMute, u"Ctrl + M", u"\U0001F507"));
  items.push_back(MenuItem::Separator());
  items.push_back(Plain(cmd::kExport, text, str::kExportPlaylist));
  items.push_back(Plain(cmd::kImport, text, str::kImportPlaylist));
  items.push_back(MenuItem::Separator());
  items.push_back(Plain(cmd::kImportFolder, text, str::kImportFolder));
  items.push_back(Plain(cmd::kAddFiles, text, str::kAddFiles));
  items.push_back(std::move(tipItem));
  items.push_back(MenuItem::Separator());
  items.push_back(Shortcut(cmd::kRandom, text, str::kRandom, u"Ctrl + O", u"\U0001F500"));
  items.push_back(Shortcut(cmd::kSequential, text, str::kSequential, u"Ctrl + Q", u"\u27A1"));
  items.push_back(MenuItem::Separator());
  items.push_back(Shortcut(cmd::kRepeatOne, text, str::kRepeatOne, u"Ctrl + 1", u"\U0001F502"));
  items.push_back(Shortcut(cmd::kRepeatAll, text, str::kRepeatAll, u"Ctrl + 2", u"\U0001F501"));
  items.push_back(Shortcut(cmd::kRepeatOff, text, str::kRepeatOff, u"Ctrl + 3", u"\u26AA"));
  items.push_back(MenuItem::Separator());
  items.push_back(Plain(cmd::kSystemVolume, text, str::kSystemVolume));
  items.push_back(MenuItem::Separator());
  return MenuItem::Popup(Get(text, str::kMedia), std::move(items));
}

MenuItem BuildProgramMenu(const MenuText& text, std::vector<MenuItem> languageItems) {
  MenuItem bar = BuildBaseProgramMenu(text, std::move(languageItems));
  InsertMainWindowItems(bar, text);
  InsertAt(bar.children, 1, BuildMediaPopup(text));
  return bar;
}

BuiltMenu BuildMenu(const MenuText& text, std::vector<MenuItem> languageItems) {
  BuiltMenu built;
  built.bar = BuildProgramMenu(text, std::move(languageItems));
  built.accelerators = DeriveAccelerators(built.bar);
  return built;
}

std::vector<MenuRowButton> MenuRowButtons(const MenuItem& bar, const MenuText& text) {
  std::vector<MenuRowButton> row;
  for (size_t i = 0; i < bar.children.size(); ++i) {
    const MenuItem& item = bar.children[i];
    if (item.popup) row.push_back({item.text, static_cast<int>(i), 0});
  }
  row.push_back({Get(text, str::kExit), -1, cmd::kExit});
  row.push_back({u"# ?", -1, cmd::kFaq});
  return row;
}

MenuItem BuildListContextMenu(const MenuText& text) {
  std::vector<MenuItem> items;
  items.push_back(Plain(cmd::kMoveTop, text, str::kMoveTop));
  items.push_back(Plain(cmd::kMoveUp, text, str::kMoveUp));
  items.push_back(Plain(cmd::kMoveDown, text, str::kMoveDown));
  items.push_back(Plain(cmd::kMoveBottom, text, str::kMoveBottom));
  items.push_back(MenuItem::Separator());
  items.push_back(Plain(cmd::kRemove, text, str::kRemove));
  items.push_back(Plain(cmd::kShowInExplorer, text, str::kShowInExplorer));
  items.push_back(MenuItem::Separator());
  items.push_back(Plain(cmd::kListExport, text, str::kExportPlaylist));
  items.push_back(Plain(cmd::kListImport, text, str::kImportPlaylist));
  items.push_back(MenuItem::Separator());
  items.push_back(Plain(cmd::kSelectAll, text, str::kSelectAll));
  items.push_back(Plain(cmd::kInvertSelection, text, str::kInvertSelection));
  return MenuItem::Popup({}, std::move(items));
}

MenuItem BuildTrayMenu(const MenuItem& programMenu, const MenuText& text, TextView nameAndVersion) {
  std::vector<MenuItem> first;
  if (!programMenu.children.empty() && programMenu.children.front().popup) {
    first = programMenu.children.front().children;
  }
  std::vector<MenuItem> items;
  items.push_back(MenuItem::Popup(Get(text, str::kProgram) + u"\t>>", std::move(first)));
  items.push_back(MenuItem::Separator());
  items.push_back(Plain(cmd::kExit, text, str::kExit));
  items.push_back(MenuItem::Separator());
  items.push_back(MenuItem::Command(cmd::kShowWindow, Text(nameAndVersion)));
  return MenuItem::Popup({}, std::move(items));
}

std::vector<MenuCheck> MenuChecks(const MenuCheckValues& v) {
  return {
      {cmd::kPlayLast, v.playLast != 0},   {cmd::kRandom, v.randomPlay != 0},
      {cmd::kSequential, v.randomPlay == 0}, {cmd::kRepeatOne, v.repeat == 2},
      {cmd::kRepeatAll, v.repeat == 1},    {cmd::kRepeatOff, v.repeat == 0},
  };
}

void UpdateMenuChecks(MenuItem& menu, const MenuCheckValues& values) { ApplyChecks(menu, MenuChecks(values)); }

}  // namespace sorvane
