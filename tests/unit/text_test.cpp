#include "framework/text.h"

#include <gtest/gtest.h>

namespace sorvane {
namespace {

TEST(Text, Utf8RoundTripKeepsEveryPlane) {
  const Text samples[] = {u"", u"abc", u"Grüße", u"日本語のファイル", u"\U0001F3B5 music", u"e\u0301"};
  for (const Text& s : samples) EXPECT_EQ(FromUtf8(ToUtf8(s)), s);
}

TEST(Text, BrokenUtf8BecomesReplacementNotOverread) {
  EXPECT_EQ(FromUtf8(std::string("a\xE2\x82", 3)), u"a\uFFFD\uFFFD");
  EXPECT_EQ(FromUtf8(std::string("\xC0\xAF", 2)), u"\uFFFD");   // overlong
  EXPECT_EQ(ToUtf8(Text(1, char16_t(0xD800))), "\xEF\xBF\xBD");  // lone surrogate
}

TEST(Text, LowerCaseAsThePlatformComparesPaths) {
  EXPECT_EQ(ToLower(u"C:\\Müsik\\ÄÖÜ.MP3"), u"c:\\müsik\\äöü.mp3");
  EXPECT_EQ(ToLower(u"ΑΒΓ Привет"), u"αβγ привет");
  EXPECT_TRUE(EqualsIgnoreCase(u"-BG", u"-bg"));
  EXPECT_FALSE(EqualsIgnoreCase(u"-bg", u"-bgx"));
}

TEST(Text, ParseIntLikeWtoi) {
  struct Case { const char16_t* text; int value; } cases[] = {
      {u"42", 42}, {u"  -7x", -7}, {u"+3", 3}, {u"abc", 0}, {u"", 0},
      {u"99999999999", 2147483647}, {u"-99999999999", -2147483647 - 1}};
  for (const auto& c : cases) EXPECT_EQ(ParseInt(c.text), c.value) << ToUtf8(c.text);
}

TEST(Text, FormatTheProgramsFormats) {
  EXPECT_EQ(Format(u"%02d:%02d /  %02d:%02d", {0, 30, 0, 59}), u"00:30 /  00:59");
  EXPECT_EQ(Format(u"%d,%d,%d,%d", {-50, 0, 700, 500}), u"-50,0,700,500");
  EXPECT_EQ(Format(u"%f", {83.5}), u"83.500000");
  EXPECT_EQ(Format(u"%s_%d", {TextView(u"MediaList3"), 2}), u"MediaList3_2");
  EXPECT_EQ(Format(u"100%% %d", {}), u"100% ");
}

TEST(Text, ReplaceAllAndTrim) {
  Text t = u"a\r\nb\r\n";
  ReplaceAll(t, u"\r\n", u"\uE000\uE001\uE002");
  EXPECT_EQ(t, u"a\uE000\uE001\uE002b\uE000\uE001\uE002");
  EXPECT_EQ(Trim(u" \t x y \r\n"), u"x y");
}

}  // namespace
}  // namespace sorvane
