#include "language/language_store.h"

#include <gtest/gtest.h>

#include "language/language_archive.h"
#include "lang_fixture.h"

namespace sorvane {
namespace {

// A small archive text: info strings, two agreements, three languages and the
// closing "##" line.
Text SmallArchive() {
  return u"\uFEFF##\r\n"
         u"19=Sorvane 1.01\r\n"
         u"25=Line one\\r\\nLine two\\nend\r\n"
         u"200=out of range\r\n"
         u"##\r\n"
         u"Agreement EN\r\n"
         u"##\r\n"
         u"Agreement DE\r\n"
         u"##=German\tDeutsch\r\n"
         u"TranslatorName=Someone\r\n"
         u"[Menu]\r\n"
         u"50=Titel\r\n"
         u"51=\r\n"
         u"##=English\tEnglish\r\n"
         u"TranslatorName=Sorvane\r\n"
         u"50=Title\r\n"
         u"51=Path\r\n"
         u"52=Duration\r\n"
         u"53=a=b=c\r\n"
         u"##=Kor\r\n"
         u"50=Korean title\r\n"
         u"##\r\n";
}

LanguageStore Loaded(Text text) {
  LanguageStore store;
  EXPECT_TRUE(store.Load(std::move(text)));
  return store;
}

TEST(LanguageLines, FollowTheLineRules) {
  Text body =
      u"TranslatorName=A\r\n"
      u"TranslatorURL=B\r\n"
      u"[Heading]\r\n"
      u"\r\n"
      u"  7=seven\r\n"
      u"8=x=y\n"          // a bare LF ends a line too
      u"9=\r\n"           // exists, empty
      u"-3=negative\r\n"
      u"10=first\r\n"
      u"10=second\r\n"
      u"12abc=leading digits\r\n"
      u"11=no line break at the end";
  StringMap m;
  ParseLanguageLines(body, m);
  EXPECT_EQ(m.at(0), u"B");  // both name lines land on id 0, the later wins
  EXPECT_EQ(m.at(7), u"seven");
  EXPECT_EQ(m.at(8), u"x=y");
  ASSERT_TRUE(m.count(9));
  EXPECT_EQ(m.at(9), u"");
  EXPECT_EQ(m.count(-3), 0u);
  EXPECT_EQ(m.at(10), u"second");
  EXPECT_EQ(m.at(12), u"leading digits");
  EXPECT_EQ(m.count(11), 0u);
  EXPECT_EQ(m.size(), 6u);
}

TEST(LanguageStore, SplitsSectionsAndNames) {
  LanguageStore s = Loaded(SmallArchive());
  ASSERT_EQ(s.LanguageCount(), 4);  // the closing "##" is one more, unnamed
  EXPECT_EQ(s.LanguageAt(0).name, u"German\tDeutsch");
  EXPECT_EQ(s.LanguageAt(1).name, u"English\tEnglish");
  EXPECT_EQ(s.LanguageAt(2).name, u"Kor");
  EXPECT_EQ(s.LanguageAt(3).name, u"");
  EXPECT_TRUE(s.LanguageAt(3).strings.empty());
  EXPECT_EQ(s.Agreement(0), u"Agreement EN\r\n");
  EXPECT_EQ(s.Agreement(1), u"Agreement DE\r\n");
  EXPECT_EQ(s.GetInfoString(19), u"Sorvane 1.01");
  EXPECT_EQ(s.GetInfoString(25), u"Line one\r\nLine two\nend");
  EXPECT_EQ(s.GetInfoString(24), u"");
  EXPECT_EQ(s.GetInfoString(128), u"");
  EXPECT_EQ(s.GetInfoString(-1), u"");
  EXPECT_EQ(s.EnglishBody(), u"TranslatorName=Sorvane\r\n50=Title\r\n51=Path\r\n52=Duration\r\n53=a=b=c\r\n");
}

TEST(LanguageStore, LooksUpCurrentThenEnglish) {
  LanguageStore s = Loaded(SmallArchive());
  s.SetCurrent(0);
  EXPECT_EQ(s.GetLangString(50).value(), u"Titel");
  // Defined empty: empty, no fallback to English.
  ASSERT_TRUE(s.GetLangString(51).has_value());
  EXPECT_EQ(*s.GetLangString(51), u"");
  EXPECT_EQ(s.GetLangString(52).value(), u"Duration");
  EXPECT_EQ(s.GetLangString(53).value(), u"a=b=c");
  EXPECT_FALSE(s.GetLangString(1).has_value());
  // An index without a language: English everywhere, nothing checked.
  for (int bad : {-1, 4, 63, 64, 1000}) {
    s.SetCurrent(bad);
    EXPECT_EQ(s.GetLangString(50).value(), u"Title") << bad;
    for (const auto& item : BuildLanguageMenu(s, false)) EXPECT_FALSE(item.checked) << bad;
  }
}

TEST(LanguageStore, CompletenessCountsNonEmptyEnglishIds) {
  LanguageStore s = Loaded(SmallArchive());
  // English has 5 non-empty ids below 512: 0, 50, 51, 52, 53.
  EXPECT_EQ(s.LanguageAt(1).completeness, 100);
  // German: ids 0 and 50 of 5; the empty 51 counts as missing.
  EXPECT_EQ(s.LanguageAt(0).completeness, 40);
  EXPECT_EQ(s.LanguageAt(2).completeness, 20);
  EXPECT_EQ(s.LanguageAt(3).completeness, 0);
}

TEST(LanguageStore, NativeName) {
  LanguageStore s = Loaded(SmallArchive());
  struct Case { int current; const char16_t* expected; };
  for (Case c : {Case{0, u"Deutsch"}, Case{1, u"English"}, Case{2, u"Kor"}, Case{3, u"English"},
                 Case{-1, u"English"}, Case{64, u"English"}, Case{9, u"English"}}) {
    s.SetCurrent(c.current);
    EXPECT_EQ(s.CurrentLanguageNativeName(), c.expected) << c.current;
  }
}

TEST(LanguageStore, DamagedTextIsRejected) {
  LanguageStore s;
  EXPECT_FALSE(s.Load(u""));
  EXPECT_FALSE(s.Load(u"\uFEFFno sections at all\r\n"));
  EXPECT_FALSE(s.Load(u"\uFEFF##\r\n##\r\n##\r\n##=German\tDeutsch\r\n1=x\r\n"));  // no English
  // A "##" that does not start a line opens nothing.
  LanguageStore t = Loaded(u"\uFEFF##\r\n##\r\n##\r\n##=A\tA\r\n1=a ##=B\r\n##=English\tEnglish\r\n1=e\r\n");
  EXPECT_EQ(t.LanguageCount(), 2);
}

TEST(LanguageStore, TakesAtMost64Languages) {
  Text text = u"\uFEFF##\r\n##\r\n##\r\n##=Xerman\tX\r\n1=x\r\n##=English\tEnglish\r\n1=e\r\n";
  for (int i = 2; i < 70; ++i) text += Format(u"##=Language %d\r\n1=l%d\r\n", {i, i});
  LanguageStore s = Loaded(text);
  ASSERT_EQ(s.LanguageCount(), 64);
  // The 65th header only ends the 64th body.
  EXPECT_EQ(s.LanguageAt(63).strings.at(1), u"l63");
  s.SetCurrent(63);
  EXPECT_EQ(s.GetLangString(1).value(), u"l63");
}

TEST(LanguageStore, DetectsTheUserLanguageFromTheMatchTable) {
  LanguageStore s;
  ASSERT_TRUE(s.LoadArchive(*FindArchive(PackArchive(TextToUtf16Le(testing::RealLanguageText())))));
  struct Case { uint16_t langId; int expected; const char* who; };
  const Case cases[] = {
      {0x0407, 0, "German (Germany)"},  {0x0807, 0, "German (Switzerland)"},
      {0x0409, 1, "English (US)"},      {0x0809, 1, "English (UK)"},
      {0x0410, 2, "Italian"},           {0x0408, 1, "Greek: no row"},
      {0x0404, 4, "Chinese (Taiwan)"},  {0x0804, 1, "Chinese (PRC)"},
      {0x0412, 5, "Korean"},            {0x040C, 6, "French"},
      {0x0C0C, 6, "French (Canada)"},   {0x0419, 1, "Russian"},
      {0x0411, 1, "Japanese"},          {0x0000, 1, "neutral"},
  };
  for (const Case& c : cases) {
    s.SetCurrent(3);
    s.DetectUserLanguage(c.langId);
    EXPECT_EQ(s.Current(), c.expected) << c.who;
  }
}

TEST(LanguageStore, DetectionSkipsShortNamesAndTheClosingEntry) {
  // "Kor" (3 characters) takes part in detection; "Ko" would not.
  LanguageStore s = Loaded(SmallArchive());
  s.DetectUserLanguage(0x0412);
  EXPECT_EQ(s.Current(), 1) << "\"kor\" does not contain \"korea\"";
  LanguageStore t = Loaded(u"\uFEFF##\r\n##\r\n##\r\n##=Ko\r\n1=k\r\n##=English\tEnglish\r\n1=e\r\n"
                           u"##=Korea\r\n1=k\r\n##\r\n");
  t.DetectUserLanguage(0x0412);
  EXPECT_EQ(t.Current(), 2);
  // Rows with a sublanguage need both fragments.
  LanguageStore u = Loaded(u"\uFEFF##\r\n##\r\n##\r\n##=Chinese\r\n1=c\r\n##=English\tEnglish\r\n1=e\r\n##\r\n");
  u.DetectUserLanguage(0x0404);
  EXPECT_EQ(u.Current(), 1);
}

TEST(LanguageMenu, ItemsChecksAndColumnBreak) {
  LanguageStore s = Loaded(SmallArchive());
  s.SetCurrent(0);
  auto items = BuildLanguageMenu(s, false);
  // "Kor" (3 characters) and the unnamed entry are not listed.
  ASSERT_EQ(items.size(), 5u);
  EXPECT_EQ(items[0].text, u"German\tDeutsch / 40 %");
  EXPECT_EQ(items[0].command, 33000);
  EXPECT_TRUE(items[0].checked);
  EXPECT_EQ(items[1].text, u"English\tEnglish / 100 %");
  EXPECT_EQ(items[1].command, 33001);
  EXPECT_FALSE(items[1].checked);
  EXPECT_TRUE(items[2].separator);
  EXPECT_EQ(items[3].text, u"Translate");
  EXPECT_EQ(items[3].command, 33100);
  EXPECT_EQ(items[4].text, u"Load from File (Unicode)");
  EXPECT_EQ(items[4].command, 33101);
  for (const auto& item : items) EXPECT_FALSE(item.columnBreak);

  EXPECT_EQ(BuildLanguageMenu(s, true)[1].text, u"1 English\tEnglish / 100 %");

  // Eleven listed languages break into two columns at 11 / 2 + 2 = 7.
  Text text = u"\uFEFF##\r\n##\r\n##\r\n##=Xerman\tX\r\n1=x\r\n##=English\tEnglish\r\n1=e\r\n";
  for (int i = 2; i < 11; ++i) text += Format(u"##=Language %d\r\n1=l\r\n", {i});
  LanguageStore many = Loaded(text);
  auto more = BuildLanguageMenu(many, false);
  for (size_t i = 0; i < more.size(); ++i) EXPECT_EQ(more[i].columnBreak, i == 7) << i;
  // Ten do not.
  Text ten = u"\uFEFF##\r\n##\r\n##\r\n##=Xerman\tX\r\n1=x\r\n##=English\tEnglish\r\n1=e\r\n";
  for (int i = 2; i < 10; ++i) ten += Format(u"##=Language %d\r\n1=l\r\n", {i});
  for (const auto& item : BuildLanguageMenu(Loaded(ten), false)) EXPECT_FALSE(item.columnBreak);
}

TEST(TranslationOverride, AnswersAloneAndReportsMissingIds) {
  // English with 12 non-empty ids: 0 and 50 to 60.
  Text text = u"\uFEFF##\r\n19=Sorvane 1.01\r\n##\r\n##\r\n##=German\tDeutsch\r\n50=Titel\r\n"
              u"##=English\tEnglish\r\nTranslatorName=me\r\n";
  for (int id = 50; id <= 60; ++id) text += Format(u"%d=E%d\r\n", {id, id});
  text += u"##\r\n";
  LanguageStore s = Loaded(text);
  s.SetCurrent(0);
  Text report = s.LoadTranslation(u"##=Test\r\n51=T51\r\n52=\r\n");
  EXPECT_TRUE(s.OverrideActive());
  // Present: id 0 (the "##=" line) and 51, of 12.
  EXPECT_EQ(report,
            u"16 %\n\nmiss:\n"
            u"50=E50\n52=E52\n53=E53\n54=E54\n55=E55\n56=E56\n57=E57\n58=E58\n59=E59\n"
            u"........\n60,");
  EXPECT_EQ(s.GetLangString(51).value(), u"T51");
  EXPECT_EQ(s.GetLangString(52).value(), u"");
  EXPECT_EQ(s.GetLangString(50).value(), u"str:50?");
  TextView miss123 = s.GetLangString(123).value();
  EXPECT_EQ(miss123, u"str:123?");
  EXPECT_EQ(s.GetLangString(-4).value(), u"str:-4?");
  EXPECT_EQ(miss123, u"str:123?") << "an earlier miss text stays valid";

  // A second file replaces the first entirely; views into the first stay valid.
  TextView t51 = s.GetLangString(51).value();
  Text second = s.LoadTranslation(u"");
  EXPECT_EQ(second.substr(0, 13), u"0 %\n\nmiss:\n0=");
  EXPECT_EQ(s.GetLangString(51).value(), u"str:51?");
  EXPECT_EQ(t51, u"T51");

  // Nothing missing: the percentage alone.
  Text full = u"0=x\r\n";
  for (int id = 50; id <= 60; ++id) full += Format(u"%d=t\r\n", {id});
  EXPECT_EQ(s.LoadTranslation(full), u"100 %");
}

TEST(TranslationTemplate, NameAndText) {
  LanguageStore s = Loaded(SmallArchive());
  EXPECT_EQ(TranslationTemplateFileName(s), u"Sorvane_1.01_translate.txt");
  EXPECT_EQ(TranslationTemplateText(s),
            u"\r\nPlease don't forget! Write in e-mail subject: Strings for: Sorvane 1.01"
            u" and Language Name i.e. : German / Deutsch \r\n\r\n"
            u"Line one\r\nLine two\nend\r\n\r\n"
            u"##=English\tEnglish\r\n\r\n\r\n"
            u"TranslatorName=Sorvane\r\n50=Title\r\n51=Path\r\n52=Duration\r\n53=a=b=c\r\n\r\n\r\n");
}

TEST(TextFileBytes, Utf16AndAnsi) {
  auto latin1 = [](std::string_view b) {
    Text t;
    for (unsigned char c : b) t += static_cast<char16_t>(c);
    return t;
  };
  using namespace std::string_literals;
  EXPECT_EQ(DecodeTextFileBytes("\xFF\xFE" "A\0B\0"s, latin1), u"AB");
  // An odd trailing byte is dropped, not read past.
  EXPECT_EQ(DecodeTextFileBytes("\xFF\xFE" "A\0B"s, latin1), u"A");
  EXPECT_EQ(DecodeTextFileBytes("\xFF\xFE"s, latin1), u"");
  EXPECT_EQ(DecodeTextFileBytes("caf\xE9"s, latin1), u"caf\u00E9");
  EXPECT_EQ(DecodeTextFileBytes("\xFF"s, latin1), u"\u00FF");
  // A zero character ends its 1,024-byte piece; the next piece goes on.
  std::string big = "\xFF\xFE"s;
  for (int i = 0; i < 512; ++i) big += (i == 3) ? "\0\0"s : "a\0"s;
  big += "b\0"s;
  EXPECT_EQ(DecodeTextFileBytes(big, latin1), u"aaab");
}

TEST(RealArchive, LoadsWithEveryLanguageComplete) {
  Text text = testing::RealLanguageText();
  LanguageStore s;
  ASSERT_TRUE(s.Load(text));
  ASSERT_EQ(s.LanguageCount(), 8);
  const char16_t* names[] = {u"German\tDeutsch", u"English\tEnglish", u"Italian\tItaliano",
                             u"Greek\t\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC",
                             u"Chinese-Traditional\t\u6B63\u9AD4\u4E2D\u6587",
                             u"Korean\t\uD55C\uAD6D\uC5B4", u"French\tFran\u00E7aise", u""};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(s.LanguageAt(i).name, names[i]) << i;
  for (int i = 0; i < 7; ++i) EXPECT_EQ(s.LanguageAt(i).completeness, 100) << i;
  for (int i = 0; i < 7; ++i) EXPECT_NE(s.LanguageAt(i).strings.at(7).find(u'&'), TextView::npos) << i;
  EXPECT_EQ(s.GetInfoString(19), u"Sorvane 1.01");
  EXPECT_EQ(s.GetLangString(166).value(), u"Tab");
  EXPECT_EQ(s.GetLangString(50).value(), u"Title");
  EXPECT_EQ(s.GetLangString(302).value_or(u"absent"), u"");
  EXPECT_FALSE(s.GetLangString(1).has_value());
  // Every translation keeps the placeholders and accelerators of English.
  const StringMap& en = s.LanguageAt(1).strings;
  for (int i = 0; i < 7; ++i) {
    for (const auto& [id, english] : en) {
      TextView t = s.LanguageAt(i).strings.at(id);
      for (TextView token : {TextView(u"#APP#"), TextView(u"#AP#"), TextView(u"#IN#"), TextView(u"%s"),
                             TextView(u"\\n"), TextView(u"\\r\\n"), TextView(u"\t"), TextView(u"#?")}) {
        bool inEnglish = english.find(token) != TextView::npos;
        bool inThis = t.find(token) != TextView::npos;
        EXPECT_EQ(inEnglish, inThis) << "language " << i << " id " << id << " token " << ToUtf8(token);
      }
    }
  }
}

}  // namespace
}  // namespace sorvane
