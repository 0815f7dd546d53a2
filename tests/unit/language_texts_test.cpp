// An empty text in a language file is an empty text: the built-in English
// texts stand in only for an id no language has.
#include <gtest/gtest.h>

#include <optional>

#include "language/language_store.h"
#include "medialist/adding_strings.h"
#include "medialist/list_strings.h"

namespace sorvane {
namespace {

Text GermanWithGaps() {
  return u"\uFEFF##\r\n"
         u"##\r\n"
         u"Agreement EN\r\n"
         u"##\r\n"
         u"Agreement DE\r\n"
         u"##=German\tDeutsch\r\n"
         u"125=\r\n"
         u"177=Medien werden gepr\u00FCft...\r\n"
         u"##=English\tEnglish\r\n"
         u"125=Tip: Add Files via Drag and Drop\r\n"
         u"177=Checking media...\r\n"
         u"178=Media checked. Errors:\r\n"
         u"##\r\n";
}

TEST(LanguageTexts, StoreTextsAreTakenAsTheyAreAndTheBuiltInOnlyForAMissingId) {
  LanguageStore store;
  ASSERT_TRUE(store.Load(GermanWithGaps()));
  store.SetCurrent(0);
  EXPECT_EQ(LangStringOr(store, 125, u"built in"), u"") << "an empty translation stays empty";
  EXPECT_EQ(LangStringOr(store, 177, u"built in"), u"Medien werden gepr\u00FCft...");
  EXPECT_EQ(LangStringOr(store, 178, u"built in"), u"Media checked. Errors:") << "the store's English";
  EXPECT_EQ(LangStringOr(store, 999, u"built in"), u"built in") << "no language has it";
}

TEST(LanguageTexts, ListAndAddingTextsKeepAnEmptyTranslation) {
  struct Case {
    const char* what;
    std::optional<Text> installed;  // what the installed lookup answers for every id
    Text list44, adding143;
  };
  const Case cases[] = {
      {"empty translation", Text(), u"", u""},
      {"translated", Text(u"X"), u"X", u"X"},
      {"id missing", std::nullopt, u"Remove", u"Should a new playlist be created?"},
  };
  for (const Case& c : cases) {
    InstallListStrings([&](int) { return c.installed; });
    EXPECT_EQ(ListString(44), c.list44) << c.what;
    EXPECT_EQ(AddingString(143), c.adding143) << c.what;
  }
  InstallListStrings(nullptr);
  EXPECT_EQ(ListString(44), u"Remove") << "nothing installed";
  EXPECT_EQ(AddingString(143), u"Should a new playlist be created?");
}

}  // namespace
}  // namespace sorvane
