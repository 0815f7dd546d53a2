#include <gtest/gtest.h>

#include <optional>
#include <random>

#include "settings/ini_document.h"

namespace sorvane {
namespace {

using namespace std::string_view_literals;

std::optional<Text> Lookup(TextView file, TextView section, TextView key) {
  const IniDocument doc = IniDocument::Parse(file);
  const Text* v = doc.Find(section, key);
  if (!v) return std::nullopt;
  return Text(IniDocument::Unquote(*v));
}

Text Utf16Of(const std::string& bytes) {
  EXPECT_TRUE(IniDocument::HasUtf16Bom(bytes));
  return IniDocument::DecodeUtf16(std::string_view(bytes).substr(2));
}

struct LookupCase {
  const char* what;
  TextView file, section, key;
  std::optional<Text> expected;
};

// The answers of the platform's reader for the same lines, seen under Wine.
TEST(SettingsIniDocument, LooksUpLikeThePlatformReader) {
  const LookupCase cases[] = {
      {"exact", u"[A]\r\nk=v\r\n", u"A", u"k", u"v"},
      {"case of section and key", u"[Prog]\r\nMyKey=1\r\n", u"pROG", u"mykey", u"1"},
      {"blanks around names and value", u"  [ S ]  \r\n  Key One  =  val one  \r\n", u" s ", u"key one", u"val one"},
      {"tabs trimmed, inner tab kept", u"[M]\ne=\t x \t\nc=3\td\n", u"M", u"c", u"3\td"},
      {"double quotes removed", u"[T]\r\nq=\"quoted\"\r\n", u"T", u"q", u"quoted"},
      {"single quotes removed", u"[T]\r\nq=  'single'  \r\n", u"T", u"q", u"single"},
      {"unmatched quote kept", u"[T]\r\nq=\"half\r\n", u"T", u"q", u"\"half"},
      {"only outer pair removed", u"[T]\r\nq=\"a\"b\"\r\n", u"T", u"q", u"a\"b"},
      {"one quote alone kept", u"[T]\r\nq=\"\r\n", u"T", u"q", u"\""},
      {"empty quotes", u"[T]\r\nq=\"\"\r\n", u"T", u"q", u""},
      {"quotes keep inner blanks", u"[T]\r\nq=\"  x  \"\r\n", u"T", u"q", u"  x  "},
      {"empty value", u"[C]\r\nc=\r\n", u"C", u"c", u""},
      {"line without = has no value", u"[S]\r\nnoequals\r\n", u"S", u"noequals", std::nullopt},
      {"value holds =", u"[S]\r\nk=a=b\r\n", u"S", u"k", u"a=b"},
      {"first of duplicate keys", u"[S]\r\nk=1\r\nk=2\r\n", u"S", u"k", u"1"},
      {"first of duplicate sections", u"[S]\r\na=1\r\n[s]\r\nb=2\r\n", u"S", u"b", std::nullopt},
      {"lone CR ends lines", u"[L]\ra=1\rb=2\r", u"L", u"b", u"2"},
      {"NUL ends the line's text", u"[N]\r\na=1\0x\r\nb=2\r\n"sv, u"N", u"b", u"2"},
      {"text after NUL dropped", u"[N]\r\na=1\0x\r\n"sv, u"N", u"a", u"1"},
      {"unterminated header is a line", u"[A]\r\n[broken\r\nk=1\r\n", u"A", u"k", u"1"},
      {"text after header ignored", u"[X] trailing\r\nx=1\r\n", u"X", u"x", u"1"},
      {"keys before any header unreachable", u"x=1\r\n[A]\r\n", u"", u"x", std::nullopt},
      {"empty key never found", u"[A]\r\n=v\r\n", u"A", u"", std::nullopt},
      {"missing section", u"[A]\r\nk=1\r\n", u"B", u"k", std::nullopt},
      {"comment line is not a key", u"[A]\r\n;k=1\r\n", u"A", u"k", std::nullopt},
      {"surrogates pass through", u"[A]\r\nk=\U0001F3B5\xD800z\r\n", u"A", u"k", u"\U0001F3B5\xD800z"},
  };
  for (const auto& c : cases) EXPECT_EQ(Lookup(c.file, c.section, c.key), c.expected) << c.what;
}

// The bytes the platform's writer produces for the same writes, seen under Wine.
TEST(SettingsIniDocument, SerialisesInThePlatformsNormalForm) {
  IniDocument doc;
  ASSERT_TRUE(doc.Set(u"A", u"k", u"v"));
  EXPECT_EQ(Utf16Of(doc.Serialize()), u"[A]\r\nk=v\r\n");
  ASSERT_TRUE(doc.Set(u"B", u"x", u"1"));
  ASSERT_TRUE(doc.Set(u"A", u"k2", u"v2"));
  ASSERT_TRUE(doc.Set(u"a", u"K", u"  sp  "));
  ASSERT_TRUE(doc.Set(u"C", u"c", u""));
  ASSERT_TRUE(doc.Set(u" Sec ", u" key ", u" v "));
  // Only the last write keeps its trailing blanks: the platform reads the file
  // again before each write, which trims those of the earlier ones.
  EXPECT_EQ(Utf16Of(doc.Serialize()),
            u"[A]\r\nk=sp\r\nk2=v2\r\n[B]\r\nx=1\r\n[C]\r\nc=\r\n[Sec ]\r\nkey =v \r\n");
  const std::string bytes = doc.Serialize();
  EXPECT_EQ(bytes.substr(0, 6), std::string("\xFF\xFE[\0A\0", 6));
}

TEST(SettingsIniDocument, RewriteKeepsEveryLineInNormalForm) {
  IniDocument doc = IniDocument::Parse(
      u"; comment\r\n[S]\r\nnoequals\r\n; c2\r\n  Key One  =  val one  \r\n\r\n\r\n"
      u"[T]\r\nq2=  'single'  \r\n\r\n");
  ASSERT_TRUE(doc.Set(u"S", u"new", u"n"));
  EXPECT_EQ(Utf16Of(doc.Serialize()),
            u"; comment\r\n[S]\r\nnoequals\r\n; c2\r\nKey One=val one\r\nnew=n\r\n[T]\r\nq2='single'\r\n");
}

TEST(SettingsIniDocument, RefusesWritesThatWouldNotReadBack) {
  IniDocument doc = IniDocument::Parse(u"[Keep]\r\nk=1\r\n");
  EXPECT_FALSE(doc.Set(u"A", u"k", u"line\r\n[Evil]"));
  EXPECT_FALSE(doc.Set(u"A", u"k", u"lone\nLF"));
  EXPECT_FALSE(doc.Set(u"A", u"a=b", u"v"));
  EXPECT_FALSE(doc.Set(u"A", u"[x]", u"v"));
  EXPECT_FALSE(doc.Set(u"  ", u"k", u"v"));
  EXPECT_FALSE(doc.Set(u"A", u"", u"v"));
  EXPECT_FALSE(doc.Set(u"A\r\nB", u"k", u"v"));
  EXPECT_EQ(Utf16Of(doc.Serialize()), u"[Keep]\r\nk=1\r\n");
  // A section name with "]" reads back: the header ends at its last "]".
  ASSERT_TRUE(doc.Set(u"a]b", u"k", u"v"));
  EXPECT_EQ(Lookup(Utf16Of(doc.Serialize()), u"a]b", u"k"), u"v");
}

TEST(SettingsIniDocument, DeleteSectionRemovesEveryCopyAndNothingElse) {
  IniDocument doc = IniDocument::Parse(u"top=1\r\n[A]\r\nk=1\r\n[B]\r\nk=2\r\n[a]\r\nk=3\r\n[C]\r\nk=4\r\n");
  EXPECT_TRUE(doc.DeleteSection(u" a "));
  EXPECT_FALSE(doc.DeleteSection(u"A"));
  EXPECT_EQ(Utf16Of(doc.Serialize()), u"top=1\r\n[B]\r\nk=2\r\n[C]\r\nk=4\r\n");
}

TEST(SettingsIniDocument, DecodesOddAndEmptyInput) {
  EXPECT_EQ(IniDocument::DecodeUtf16(std::string_view("A\0B", 3)), u"A");
  EXPECT_EQ(IniDocument::DecodeUtf16({}), u"");
  EXPECT_FALSE(IniDocument::HasUtf16Bom("\xFF"));
  EXPECT_TRUE(IniDocument::HasUtf16Bom("\xFF\xFE"));
  EXPECT_TRUE(IniDocument::Parse(u"").Sections().empty());
}

// Whatever the bytes, parsing never fails and a write keeps every readable value.
TEST(SettingsIniDocument, GarbageSurvivesARewrite) {
  std::mt19937 rng(7);
  const char16_t alphabet[] = {u'[', u']', u'=', u'\r', u'\n', u' ', u'"', u'\'', u';', u'a', u'B', 0, 0xD800, 0xDC00, 0xE000};
  for (int round = 0; round < 300; ++round) {
    Text text;
    const int n = static_cast<int>(rng() % 60);
    for (int i = 0; i < n; ++i) text.push_back(alphabet[rng() % std::size(alphabet)]);
    IniDocument doc = IniDocument::Parse(text);
    const IniDocument before = doc;
    doc.Set(u"New", u"k", u"v");
    const IniDocument after = IniDocument::Parse(Utf16Of(doc.Serialize()));
    for (const auto& s : before.Sections()) {
      if (!s.hasHeader) continue;
      for (const auto& e : s.entries) {
        const Text* was = before.Find(s.name, e.name);
        const Text* now = after.Find(s.name, e.name);
        ASSERT_EQ(was == nullptr, now == nullptr) << round;
        if (was) EXPECT_EQ(*was, *now) << round;
      }
    }
    EXPECT_EQ(*after.Find(u"New", u"k"), u"v");
  }
}

}  // namespace
}  // namespace sorvane
