#include "app/command_line.h"

#include <gtest/gtest.h>

using namespace sorvane;

TEST(CommandLineParse, SplitsNamesAndValuesAtTheFirstSeparator) {
  CommandLineOptions o;
  ASSERT_EQ(o.Parse(u"-bg  -ini:C:\\x.ini forall a:b:c"), 4u);
  const auto& t = o.Tokens();
  EXPECT_EQ(t[0].name, u"-bg");
  EXPECT_FALSE(t[0].value.has_value());
  EXPECT_EQ(t[1].name, u"-ini");
  EXPECT_EQ(t[1].value, Text(u"C:\\x.ini"));
  EXPECT_EQ(t[3].name, u"a");
  EXPECT_EQ(t[3].value, Text(u"b:c"));
}

TEST(CommandLineParse, QuotedWordsStayTogetherWithTheirSpaces) {
  CommandLineOptions o;
  ASSERT_EQ(o.Parse(u"\"-ini:C:\\My Files\\a.ini\" \"x  y\" z"), 3u);
  EXPECT_EQ(o.Tokens()[0].name, u"-ini");
  EXPECT_EQ(o.Value(u"-ini"), Text(u"C:\\My Files\\a.ini"));
  EXPECT_EQ(o.Tokens()[1].name, u"x  y");
  // A quote in the middle of a word joins as well.
  ASSERT_EQ(o.Parse(u"-ini:\"C:\\a b\\c.ini\""), 1u);
  EXPECT_EQ(o.Value(u"-ini"), Text(u"C:\\a b\\c.ini"));
}

TEST(CommandLineParse, TabsAndLineFeedsInTokensBecomeSpaces) {
  CommandLineOptions o;
  ASSERT_EQ(o.Parse(u"a\tb c\nd"), 2u);
  EXPECT_EQ(o.Tokens()[0].name, u"a b");
  EXPECT_EQ(o.Tokens()[1].name, u"c d");
}

TEST(CommandLineParse, EmptyAndBlankTextsGiveNoTokens) {
  CommandLineOptions o;
  EXPECT_EQ(o.Parse(u""), 0u);
  EXPECT_EQ(o.Parse(u"    "), 0u);
  EXPECT_EQ(o.Parse(u"\"\""), 0u);
  // A stray opening quote keeps the rest together; the padding stays out of it.
  EXPECT_EQ(o.Parse(u"\"a b"), 1u);
  EXPECT_EQ(o.Tokens()[0].name, u"a b");
}

TEST(CommandLineParse, StopsAfter256Tokens) {
  Text many;
  for (int i = 0; i < 300; ++i) many += u"t" + Format(u"%d", {i}) + u" ";
  CommandLineOptions o;
  EXPECT_EQ(o.Parse(many), 256u);
  EXPECT_EQ(o.Tokens().back().name, u"t255");
  // A new parse starts from nothing.
  EXPECT_EQ(o.Parse(u"a"), 1u);
}

TEST(CommandLineParse, HasIgnoresCaseButValueDoesNot) {
  CommandLineOptions o;
  o.Parse(u"-BG -INI:x.ini -ini:y.ini -ini:z.ini -ini");
  EXPECT_TRUE(o.Has(u"-bg"));
  EXPECT_TRUE(o.Has(u"-Bg"));
  EXPECT_FALSE(o.Has(u"-b"));
  EXPECT_EQ(o.Value(u"-ini"), Text(u"y.ini"));  // the first exact match
  EXPECT_EQ(o.Value(u"-INI"), Text(u"x.ini"));
  EXPECT_FALSE(o.Value(u"-Ini").has_value());
  o.Parse(u"-ini x");
  EXPECT_FALSE(o.Value(u"-ini").has_value());  // present without a value
  EXPECT_EQ(IniPathOverrideFrom(o), u"");
}

TEST(StartDecisions, StartsHidden) {
  struct Case {
    const char16_t* tail;
    bool hidden;
  } cases[] = {
      {u"-bg", true},      {u"x-bg", true},          {u"-BG", true},  {u"a.mp3 -bg", true},
      {u"xx-bg", false},   {u"a.mp3 x-bg", false},   {u"", false},    {u"-bgx", true},
      {u"\"-bg\"", true},  {u"-Bg a.mp3", true},
  };
  for (const Case& c : cases) {
    CommandLineOptions o;
    o.Parse(c.tail);
    EXPECT_EQ(StartsHidden(c.tail, o), c.hidden) << ToUtf8(c.tail);
  }
}

TEST(StartDecisions, SpecialWholeLineModesAreExact) {
  EXPECT_EQ(SpecialModeOf(u"MINI_BROWSER"), SpecialMode::kMiniBrowser);
  EXPECT_EQ(SpecialModeOf(u"RESTART_TESSALOOM_2018"), SpecialMode::kRestart);
  EXPECT_EQ(SpecialModeOf(u"AutoupdateService_2020"), SpecialMode::kAutoupdateService);
  EXPECT_EQ(SpecialModeOf(u"mini_browser"), SpecialMode::kNone);
  EXPECT_EQ(SpecialModeOf(u"MINI_BROWSER "), SpecialMode::kNone);
  EXPECT_EQ(SpecialModeOf(u""), SpecialMode::kNone);
}

TEST(StartDecisions, InstallerModeFromOptionsAndFileName) {
  struct Case {
    const char16_t* tail;
    const char16_t* file;
    InstallerMode mode;
  } cases[] = {
      {u"", u"Sorvane.exe", InstallerMode::kNone},
      {u"", u"sorvane_setup.exe", InstallerMode::kInstaller},
      {u"", u"Sorvane_Set_Up.EXE", InstallerMode::kInstaller},
      {u"", u"sorvane_install.exe", InstallerMode::kInstaller},
      {u"", u"sorvane_uninstall.exe", InstallerMode::kUninstaller},
      {u"", u"sorvane_portable_install.exe", InstallerMode::kPortableInstaller},
      {u"", u"sorvane_p.exe", InstallerMode::kNone},
      {u"-?install", u"Sorvane.exe", InstallerMode::kInstaller},
      {u"-?INSTALL -?uninstall", u"Sorvane.exe", InstallerMode::kInstaller},
      {u"-?uninstall", u"sorvane_setup.exe", InstallerMode::kUninstaller},
      {u"-?uninstall -?portable_install", u"Sorvane.exe", InstallerMode::kUninstaller},
      {u"-?portable_install", u"Sorvane.exe", InstallerMode::kPortableInstaller},
      {u"-?portable_install", u"sorvane_uninstall.exe", InstallerMode::kPortableInstaller},
      {u"install", u"Sorvane.exe", InstallerMode::kNone},
  };
  for (const Case& c : cases) {
    CommandLineOptions o;
    o.Parse(c.tail);
    EXPECT_EQ(ChooseInstallerMode(o, c.file), c.mode) << ToUtf8(c.tail) << " / " << ToUtf8(c.file);
  }
}

TEST(StartDecisions, FileNameOfPath) {
  EXPECT_EQ(FileNameOf(u"C:\\a\\b\\Sorvane.exe"), u"Sorvane.exe");
  EXPECT_EQ(FileNameOf(u"Z:/x/y.exe"), u"y.exe");
  EXPECT_EQ(FileNameOf(u"y.exe"), u"y.exe");
  EXPECT_EQ(FileNameOf(u"C:\\dir\\"), u"");
}
