#include "app/menu_model.h"

#include <gtest/gtest.h>

#include <set>

#include "app/command_ids.h"
#include "app/setting_commands.h"
#include "language/language_store.h"
#include "lang_fixture.h"

namespace sorvane {
namespace {

// The real language tables; tests pick the language they read.
LanguageStore& RealStore() {
  // Views into the loaded text are kept, so the store is never moved.
  static LanguageStore* store = [] {
    auto* s = new LanguageStore;
    EXPECT_TRUE(s->Load(testing::RealLanguageText()));
    return s;
  }();
  return *store;
}

MenuText InLanguage(int index) {
  RealStore().SetCurrent(index);
  return StoreMenuText(RealStore());
}

BuiltMenu RealMenu(int language) {
  MenuText text = InLanguage(language);
  return BuildMenu(text, LanguageMenuItems(BuildLanguageMenu(RealStore(), false)));
}

struct Row {
  int id;  // 0: separator
  const char16_t* text;
  bool greyed = false;
};

void ExpectRows(const MenuItem& popup, const std::vector<Row>& rows) {
  ASSERT_EQ(popup.children.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    const MenuItem& item = popup.children[i];
    if (rows[i].id == 0) {
      EXPECT_TRUE(item.separator);
      continue;
    }
    EXPECT_FALSE(item.separator);
    EXPECT_FALSE(item.popup);
    EXPECT_EQ(item.id, rows[i].id);
    EXPECT_EQ(item.text, rows[i].text);
    EXPECT_EQ(item.greyed, rows[i].greyed);
  }
}

TEST(MediaMenu, HoldsTheItemsInOrderWithShortcutsAndSymbols) {
  const MenuItem media = BuildMediaPopup(InLanguage(kEnglishIndex));
  EXPECT_TRUE(media.popup);
  EXPECT_EQ(media.text, u"Media");
  ExpectRows(media, {
                        {33368, u"Resume playback at the last position on startup."},
                        {1244, u"Compact Mode\tCtrl + C"},
                        {0, nullptr},
                        {1301, u"Play\tCtrl + P\t\u25B6"},
                        {1302, u"Pause\tCtrl + P\t\u23F8"},
                        {1303, u"Stop\tCtrl + S\t\u23F9"},
                        {0, nullptr},
                        {1304, u"Previous\tCtrl + R\t\u23EA"},
                        {1305, u"Next\tCtrl + N\t\u23E9"},
                        {0, nullptr},
                        {1306, u"Mute\tCtrl + M\t\U0001F507"},
                        {0, nullptr},
                        {33369, u"Export Playlist"},
                        {33370, u"Import Playlist"},
                        {0, nullptr},
                        {33371, u"Import from Folder"},
                        {33372, u"Add Files"},
                        {33372, u"Tip: Add Files via Drag and Drop", true},
                        {0, nullptr},
                        {1307, u"Random\tCtrl + O\t\U0001F500"},
                        {1310, u"Sequential\tCtrl + Q\t\u27A1"},
                        {0, nullptr},
                        {1308, u"Repeat One\tCtrl + 1\t\U0001F502"},
                        {1311, u"Repeat All\tCtrl + 2\t\U0001F501"},
                        {1312, u"Repeat Off\tCtrl + 3\t\u26AA"},
                        {0, nullptr},
                        {33374, u"System Volume"},
                        {0, nullptr},
                    });
  for (const MenuItem& item : media.children) EXPECT_FALSE(item.checked) << item.id;
}

TEST(MediaMenu, DoublesTheAmpersandOfTheHintSoThatItShows) {
  const MenuItem media = BuildMediaPopup(InLanguage(kGermanIndex));
  EXPECT_EQ(media.text, u"Medien");
  EXPECT_EQ(media.children[3].text, u"Wiedergabe\tCtrl + P\t\u25B6");
  const MenuItem& tip = media.children[17];
  EXPECT_TRUE(tip.greyed);
  EXPECT_EQ(tip.text, u"Tipp: Dateien per Drag && Drop hinzuf\u00FCgen");

  const MenuItem lookalike = BuildMediaPopup([](int id) { return id == 125 ? Text(u"A&&B&") : Text(u"x"); });
  EXPECT_EQ(lookalike.children[17].text, u"A&&&&B&&");
}

TEST(ProgramMenu, FirstPopupCarriesTheInsertedItemsAndMediaIsSecond) {
  const BuiltMenu built = RealMenu(kEnglishIndex);
  const MenuItem& bar = built.bar;
  ASSERT_EQ(bar.children.size(), 2u);
  EXPECT_TRUE(bar.children[0].popup);
  EXPECT_EQ(bar.children[0].text, u"Program");
  EXPECT_TRUE(bar.children[1].popup);
  EXPECT_EQ(bar.children[1].text, u"Media");

  const MenuItem& first = bar.children[0];
  ASSERT_FALSE(first.children.empty());
  EXPECT_TRUE(first.children[0].popup);
  EXPECT_EQ(first.children[0].text, u"Language");
  MenuItem rest = first;
  rest.children.erase(rest.children.begin());
  ExpectRows(rest, {
                       {0, nullptr},
                       {32915, u"Info"},
                       {57670, u"Help"},
                       {0, nullptr},
                       {32203, u"Add to Send To Menu"},
                       {32205, u"Edit Send To"},
                       {0, nullptr},
                       {45107, u"Restart Sorvane"},
                       {0, nullptr},
                       {33364, u"FlyOut Color"},
                       {0, nullptr},
                       {33206, u"FAQ\t(# ?)"},
                       {32821, u"Homepage"},
                       {32913, u"History"},
                       {0, nullptr},
                       {32914, u"Donate"},
                   });

  // The Language submenu: the seven named languages, English checked, then the translator items.
  const MenuItem& language = first.children[0];
  ASSERT_EQ(language.children.size(), 10u);
  int checked = 0;
  for (const MenuItem& item : language.children) checked += item.checked;
  EXPECT_EQ(checked, 1);
  EXPECT_TRUE(language.children[1].checked);
  EXPECT_TRUE(language.children[1].defaultItem);
  EXPECT_EQ(language.children[1].id, kLanguageCommandFirst + 1);
  EXPECT_TRUE(language.children[7].separator);
  EXPECT_EQ(language.children[9].id, kLoadTranslationCommand);
}

TEST(ProgramMenu, InsertionsByPositionAppendPastTheEndOfAShortFirstPopup) {
  auto text = [](int id) { return Text(u"s") + Text(1, static_cast<char16_t>(u'0' + id % 10)); };
  MenuItem bar = MenuItem::Popup({});
  bar.children.push_back(MenuItem::Popup(u"P", {MenuItem::Command(1, u"a"), MenuItem::Command(2, u"b")}));
  InsertMainWindowItems(bar, text);
  std::vector<int> ids;
  for (const MenuItem& item : bar.children[0].children) ids.push_back(item.separator ? 0 : item.id);
  EXPECT_EQ(ids, (std::vector<int>{1, 2, 0, 32203, 32205, 0, 45107, 0, 33364}));

  // Without any popup there is still a first popup to insert into.
  MenuItem empty = MenuItem::Popup({});
  InsertMainWindowItems(empty, text);
  ASSERT_EQ(empty.children.size(), 1u);
  EXPECT_TRUE(empty.children[0].popup);
  EXPECT_EQ(empty.children[0].children.size(), 7u);
}

std::vector<Accelerator> MediaAccelerators() {
  constexpr uint8_t VC = kAccelVirtKey | kAccelControl;
  return {
      {VC, 'C', 1244}, {VC, 'P', 1301}, {VC, 'P', 1302}, {VC, 'S', 1303}, {VC, 'R', 1304}, {VC, 'N', 1305},
      {VC, 'M', 1306}, {VC, 'O', 1307}, {VC, 'Q', 1310}, {VC, '1', 1308}, {VC, '2', 1311}, {VC, '3', 1312},
  };
}

TEST(ProgramMenu, ShortcutsAreTheSameInEveryLanguage) {
  // The whole menu is walked, the language names with their tabs included:
  // only the Media items give accelerators, and Ctrl+P reaches Play first.
  for (int language = 0; language < 7; ++language) {
    SCOPED_TRACE(language);
    const BuiltMenu built = RealMenu(language);
    EXPECT_EQ(built.accelerators, MediaAccelerators());
  }
  RealStore().SetCurrent(kEnglishIndex);
}

TEST(ProgramMenu, RowShowsOneButtonPerPopupThenExitAndHelp) {
  MenuText text = InLanguage(kEnglishIndex);
  const BuiltMenu built = BuildMenu(text, {});
  const std::vector<MenuRowButton> row = MenuRowButtons(built.bar, text);
  ASSERT_EQ(row.size(), 4u);
  EXPECT_EQ(row[0].text, u"Program");
  EXPECT_EQ(row[0].popupIndex, 0);
  EXPECT_EQ(row[1].text, u"Media");
  EXPECT_EQ(row[1].popupIndex, 1);
  EXPECT_EQ(row[2].text, u"E&xit");
  EXPECT_EQ(row[2].command, cmd::kExit);
  EXPECT_EQ(row[2].popupIndex, -1);
  EXPECT_EQ(row[3].text, u"# ?");
  EXPECT_EQ(row[3].command, cmd::kFaq);
}

TEST(ListContextMenu, HoldsTheListCommandsInGroups) {
  const MenuItem menu = BuildListContextMenu(InLanguage(kEnglishIndex));
  ExpectRows(menu, {
                       {1001, u"Move Top"},
                       {1002, u"Move Up"},
                       {1003, u"Move Down"},
                       {1004, u"Move Bottom"},
                       {0, nullptr},
                       {1005, u"Remove"},
                       {1006, u"Show in Explorer"},
                       {0, nullptr},
                       {1007, u"Export Playlist"},
                       {1008, u"Import Playlist"},
                       {0, nullptr},
                       {1009, u"Select All"},
                       {1010, u"Invert Selection"},
                   });
}

TEST(TrayMenu, HoldsTheFirstPopupExitAndTheWindowItem) {
  MenuText text = InLanguage(kEnglishIndex);
  const BuiltMenu built = BuildMenu(text, {});
  const MenuItem tray = BuildTrayMenu(built.bar, text, u"Sorvane 1.01");
  ASSERT_EQ(tray.children.size(), 5u);
  const MenuItem& program = tray.children[0];
  EXPECT_TRUE(program.popup);
  EXPECT_EQ(program.text, u"Program\t>>");
  ASSERT_EQ(program.children.size(), built.bar.children[0].children.size());
  EXPECT_NE(FindMenuItem(program, cmd::kRestart), nullptr);
  EXPECT_EQ(FindMenuItem(program, cmd::kPlay), nullptr) << "the Media popup is not part of it";
  EXPECT_TRUE(tray.children[1].separator);
  EXPECT_EQ(tray.children[2].id, cmd::kExit);
  EXPECT_EQ(tray.children[2].text, u"E&xit");
  EXPECT_TRUE(tray.children[3].separator);
  EXPECT_EQ(tray.children[4].id, cmd::kShowWindow);
  EXPECT_EQ(tray.children[4].text, u"Sorvane 1.01");
}

TEST(MenuChecks, FollowTheSettings) {
  struct Case {
    MenuCheckValues values;
    std::set<int> checked;
  };
  const Case cases[] = {
      {{1, 9, 1}, {33368, 1307, 1311}},  // first start: the settings' initial values
      {{0, 0, 0}, {1310, 1312}},
      {{1, 1, 2}, {33368, 1307, 1308}},
      {{5, -1, 1}, {33368, 1307, 1311}},  // any value other than 0 is on
      {{0, 0, 7}, {1310}},                // an unknown repeat value checks no repeat item
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.values.playLast << "," << c.values.randomPlay << "," << c.values.repeat);
    BuiltMenu built = RealMenu(kEnglishIndex);
    // Checks left from an earlier showing are cleared.
    UpdateMenuChecks(built.bar, {1, 1, 2});
    UpdateMenuChecks(built.bar, {0, 0, 0});
    UpdateMenuChecks(built.bar, c.values);
    std::set<int> seen;
    const MenuItem& media = built.bar.children[1];
    for (const MenuItem& item : media.children) {
      if (item.checked) seen.insert(item.id);
      if (item.greyed) EXPECT_EQ(item.id, cmd::kAddFiles);
    }
    EXPECT_EQ(seen, c.checked);
    // The language menu keeps its own check.
    EXPECT_TRUE(FindMenuItem(built.bar, kLanguageCommandFirst + kEnglishIndex)->checked);
  }
}

TEST(SettingCommands, WriteWhenChangedOrAlwaysAsEachCommandNeeds) {
  struct Case {
    int command;
    int oldValue;
    int expectedNew;
    bool writes;
  };
  const Case cases[] = {
      {1307, 1, 1, false},  // Random while on writes nothing
      {1307, 0, 1, true},    {1307, 9, 1, true},   {1310, 0, 0, false}, {1310, 1, 0, true},
      {1308, 2, 2, false},   {1308, 1, 2, true},   {1311, 1, 1, false}, {1311, 0, 1, true},
      {1312, 0, 0, false},   {1312, 2, 0, true},
      {33368, 1, 0, true},   {33368, 0, 1, true},  {33368, 5, 0, true},
      {1243, 0, 1, true},    {1243, 1, 0, true},
      {32905, 0, 1, true},   {32905, 1, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.command << " from " << c.oldValue);
    const SettingCommand* s = FindSettingCommand(c.command);
    ASSERT_NE(s, nullptr);
    const int after = SettingValueAfter(*s, c.oldValue);
    EXPECT_EQ(after, c.expectedNew);
    EXPECT_EQ(CommandWritesSetting(c.command, c.oldValue, after), c.writes);
  }
  // Twice "Resume playback ...": back to the first value, written both times.
  const SettingCommand* playLast = FindSettingCommand(cmd::kPlayLast);
  EXPECT_EQ(SettingValueAfter(*playLast, SettingValueAfter(*playLast, 1)), 1);

  const SettingCommand* colour = FindSettingCommand(cmd::kFlyOutColor);
  ASSERT_NE(colour, nullptr);
  EXPECT_EQ(colour->key, u"m_FlyOut_color");
  EXPECT_EQ(SettingValueAfter(*colour, 33023, 0xFF0000), 0xFF0000);
  EXPECT_FALSE(CommandWritesSetting(cmd::kFlyOutColor, 33023, 33023));
  EXPECT_TRUE(CommandWritesSetting(cmd::kFlyOutColor, 33023, 0xFF0000));

  EXPECT_EQ(FindSettingCommand(cmd::kAlwaysOnTop)->key, u"Toop");
  EXPECT_EQ(FindSettingCommand(cmd::kAlwaysOnTop)->section, u"Program");
  EXPECT_EQ(FindSettingCommand(cmd::kRepeatOne)->key, u"m_Repeat");
  EXPECT_EQ(FindSettingCommand(cmd::kRandom)->key, u"random_play");
  for (int other : {cmd::kPlay, cmd::kCompact, cmd::kExit, 0}) {
    EXPECT_EQ(FindSettingCommand(other), nullptr) << other;
    EXPECT_FALSE(CommandWritesSetting(other, 0, 1)) << other;
  }
}

}  // namespace
}  // namespace sorvane
