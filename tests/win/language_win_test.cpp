#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "language/help_page.h"
#include "language/language_archive.h"
#include "language/language_store.h"
#include "language/win/help_win.h"
#include "language/win/language_win.h"
#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {

std::string ReadBytes(const Text& path) {
  std::ifstream in(std::filesystem::path(ToWide(path)), std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteBytes(const Text& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(ToWide(path)), std::ios::binary | std::ios::trunc);
  out << bytes;
}

Text SmallArchiveText() {
  return u"\uFEFF##\r\n19=Sorvane 1.01\r\n23=https://de.example\r\n24=https://en.example\r\n"
         u"25=Send it back\r\n##\r\nA\r\n##\r\nB\r\n"
         u"##=German\tDeutsch\r\n23=Hilfe\r\n24=Info\r\n50=Titel\r\n77=Sprache\r\n301=# Kopf\r\n"
         u"##=English\tEnglish\r\n23=Help\r\n24=Info\r\n50=Title\r\n51=Path\r\n77=Language\r\n90=Info\r\n"
         u"301=# Head\r\n302=**bold**\r\n"
         u"##\r\n";
}

// Every test starts from the small archive with English current and the
// shell opener recorded instead of run.
class LanguageWin : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Languages().Load(SmallArchiveText()));
    SetShellOpenerForTests([this](const Text& t) { opened.push_back(t); });
  }
  void TearDown() override { SetShellOpenerForTests(nullptr); }
  std::vector<Text> opened;
};

TEST_F(LanguageWin, LoadsTheArchiveFromAFileByItsMarkers) {
  Text path = TempFolder() + u"sorvane_lang_probe.bin";
  std::string packed = PackArchive(TextToUtf16Le(SmallArchiveText()));
  WriteBytes(path, "MZ" + std::string(5000, '\x90') + packed + std::string(7532, ' '));
  LanguageStore store;
  ASSERT_TRUE(LoadLanguageArchiveFromFile(path, store));
  EXPECT_EQ(store.LanguageCount(), 3);
  EXPECT_EQ(store.GetInfoString(19), u"Sorvane 1.01");

  // One byte of the begin marker changed: the archive is not found.
  std::string damaged = packed;
  damaged[10] = 'x';
  WriteBytes(path, "MZ" + damaged);
  LanguageStore other;
  EXPECT_FALSE(LoadLanguageArchiveFromFile(path, other));
  DeleteFileW(W(path));
  EXPECT_FALSE(LoadLanguageArchiveFromFile(path, other)) << "a missing file";
}

TEST_F(LanguageWin, ReadsUtf16AndAnsiTextFiles) {
  Text path = TempFolder() + u"sorvane_text_probe.txt";
  WriteBytes(path, std::string("\xFF\xFE" "5\0" "0\0" "=\0" "T\0" "\n\0" "x", 13));
  Text text = u"kept ";
  ASSERT_TRUE(ReadTextFile(path, text));
  EXPECT_EQ(text, u"kept 50=T\n") << "appends; the odd last byte is dropped";
  WriteBytes(path, "50=Plain\r\n");
  Text ansi;
  ASSERT_TRUE(ReadTextFile(path, ansi));
  EXPECT_EQ(ansi, u"50=Plain\r\n");
  DeleteFileW(W(path));
  Text untouched = u"same";
  EXPECT_FALSE(ReadTextFile(path, untouched));
  EXPECT_EQ(untouched, u"same");
}

TEST_F(LanguageWin, BuildsTheLanguageSubmenu) {
  Languages().SetCurrent(0);
  HMENU program = CreatePopupMenu();
  AppendLanguageMenu(program);
  ASSERT_EQ(GetMenuItemCount(program), 1);
  wchar_t title[64] = {};
  GetMenuStringW(program, 0, title, 64, MF_BYPOSITION);
  EXPECT_STREQ(title, L"Sprache");
  HMENU sub = GetSubMenu(program, 0);
  ASSERT_NE(sub, nullptr);
  ASSERT_EQ(GetMenuItemCount(sub), 5);
  wchar_t text[128] = {};
  GetMenuStringW(sub, 33000, text, 128, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"German\tDeutsch / 62 %");
  EXPECT_EQ(GetMenuState(sub, 33000, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(GetMenuState(sub, 33001, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EXPECT_EQ(GetMenuDefaultItem(sub, FALSE, 0), 33000u);
  GetMenuStringW(sub, 4, text, 128, MF_BYPOSITION);
  EXPECT_STREQ(text, L"Load from File (Unicode)");
  DestroyMenu(program);

  // Eleven languages: the eighth item starts the second column.
  Text many = u"\uFEFF##\r\n##\r\n##\r\n##=Xerman\tX\r\n1=x\r\n##=English\tEnglish\r\n1=e\r\n";
  for (int i = 2; i < 11; ++i) many += Format(u"##=Language %d\r\n1=l\r\n", {i});
  ASSERT_TRUE(Languages().Load(many));
  HMENU columns = BuildLanguageSubmenu();
  for (int i = 0; i < 11; ++i) {
    bool broken = (GetMenuState(columns, i, MF_BYPOSITION) & MF_MENUBARBREAK) != 0;
    EXPECT_EQ(broken, i == 7) << i;
  }
  DestroyMenu(columns);
}

TEST_F(LanguageWin, LanguageCommands) {
  int retranslated = 0;
  std::vector<int> saved;
  LanguageCommandHooks hooks{[&] { ++retranslated; }, [&](int i) { saved.push_back(i); }};
  EXPECT_TRUE(HandleLanguageCommand(nullptr, 33000, hooks));
  EXPECT_EQ(Languages().Current(), 0);
  EXPECT_EQ(Languages().Str(50), u"Titel");
  EXPECT_EQ(retranslated, 1);
  EXPECT_EQ(saved, std::vector<int>{0});
  // No range check: a language that does not exist makes every text English.
  EXPECT_TRUE(HandleLanguageCommand(nullptr, 33042, hooks));
  EXPECT_EQ(Languages().Str(50), u"Title");
  EXPECT_EQ(saved.back(), 42);
  EXPECT_TRUE(HandleLanguageCommand(nullptr, 33150, hooks));
  EXPECT_FALSE(HandleLanguageCommand(nullptr, 33201, hooks));
  EXPECT_FALSE(HandleLanguageCommand(nullptr, 32999, hooks));
  EXPECT_EQ(retranslated, 2);

  // The translator template, opened by the shell.
  EXPECT_TRUE(HandleLanguageCommand(nullptr, 33100, hooks));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], TempFolder() + u"Sorvane_1.01_translate.txt");
  std::string bytes = ReadBytes(opened[0]);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(Utf16LeToText(bytes.substr(2)), TranslationTemplateText(Languages()));
  DeleteFileW(W(opened[0]));
}

TEST_F(LanguageWin, TranslationFileTest) {
  Text path = TempFolder() + u"sorvane_translation_probe.txt";
  WriteBytes(path, "\xFF\xFE" + TextToUtf16Le(u"##=Test\r\n50=Testtitel\r\n"));
  Text report = LoadTranslationFile(path);
  // English has 8 texts (23, 24, 50, 51, 77, 90, 301, 302); the file gives 50 alone.
  EXPECT_EQ(report.substr(0, 4), u"12 %");
  EXPECT_EQ(Languages().Str(50), u"Testtitel");
  EXPECT_EQ(Languages().Str(51), u"str:51?");
  DeleteFileW(W(path));
  // A file that cannot be opened: every text shows its id.
  Text missing = LoadTranslationFile(path);
  EXPECT_EQ(missing.substr(0, 3), u"0 %");
  EXPECT_EQ(Languages().Str(50), u"str:50?");
}

TEST_F(LanguageWin, HelpPageAndWebItems) {
  EXPECT_TRUE(HandleInfoCommand(nullptr, kHelpCommand));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], TempFolder() + u"tmp_htm__dok_hlp.html");
  std::string bytes = ReadBytes(opened[0]);
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
  Text page = Utf16LeToText(bytes.substr(2));
  EXPECT_EQ(page, BuildHelpPage([](int id) { return Languages().GetLangString(id); }));
  EXPECT_NE(page.find(u"<li><a href=\"#1\">Head</a></li>"), Text::npos);
  EXPECT_NE(page.find(u"<b>bold</b>"), Text::npos);

  EXPECT_TRUE(HandleInfoCommand(nullptr, kHistoryCommand));
  EXPECT_EQ(opened.back(), u"https://en.example/history");
  Languages().SetCurrent(0);
  EXPECT_TRUE(HandleInfoCommand(nullptr, kHomepageCommand));
  EXPECT_EQ(opened.back(), u"https://de.example");
  EXPECT_FALSE(HandleInfoCommand(nullptr, 12345));

  HMENU info = BuildInfoSubmenu(true);
  EXPECT_EQ(GetMenuItemCount(info), 8);
  wchar_t text[64] = {};
  GetMenuStringW(info, kHelpCommand, text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"Hilfe");
  DestroyMenu(info);
  HMENU noHelp = BuildInfoSubmenu(false);
  EXPECT_EQ(GetMenuItemCount(noHelp), 7);
  DestroyMenu(noHelp);
}

}  // namespace
}  // namespace sorvane::win
