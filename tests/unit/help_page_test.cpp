#include "language/help_page.h"

#include <gtest/gtest.h>

#include <map>

namespace sorvane {
namespace {

struct FakeStrings {
  std::map<int, Text> texts;
  StringLookup Lookup() const {
    return [this](int id) -> std::optional<TextView> {
      auto it = texts.find(id);
      if (it == texts.end()) return std::nullopt;
      return TextView(it->second);
    };
  }
};

TEST(InformationText, JoinsParagraphsAndOptions) {
  FakeStrings s;
  s.texts = {{91, u"One"}, {92, u"Two"}, {93, u"0123456789A"}, {94, u"0123456789"},
             {97, u"Options:"}, {98, u"-bg\t(start to tray)"}, {100, u"-ini:x"}};
  // 93 has 11 characters and is shown; 94 has 10 and is left out; 99 is absent.
  EXPECT_EQ(BuildInformationText(s.Lookup()),
            u"One\r\n\r\nTwo\r\n\r\n0123456789A\r\n\r\n"
            u"\r\nOptions:\r\n-bg\t(start to tray)\r\n\r\n-ini:x\r\n");
  s.texts[93] = u"short";
  s.texts[94] = u"0123456789AB";
  EXPECT_EQ(BuildInformationText(s.Lookup()),
            u"One\r\n\r\nTwo\r\n\r\n0123456789AB\r\n\r\n"
            u"\r\nOptions:\r\n-bg\t(start to tray)\r\n\r\n-ini:x\r\n");
  s.texts[91] = Text(20000, u'x');
  EXPECT_EQ(BuildInformationText(s.Lookup()).size(), 10240u);
}

Text BodyOf(const Text& page) {
  size_t at = page.find(u"<div class=\"container\">");
  return at == Text::npos ? Text() : page.substr(at + 23);
}

TEST(HelpPage, StartsWithTheStyleBlock) {
  FakeStrings none;
  Text page = BuildHelpPage(none.Lookup());
  EXPECT_EQ(page.substr(0, 20), u"<html><head><style>\n");
  EXPECT_NE(page.find(u"b { color: #0000FF; }\n.container { max-width: 700px;"), Text::npos);
  EXPECT_NE(page.find(u"    height: 100vh;\n}\n</style></head><body><div class=\"container\"><ul>\r\n</ul>\r\n"),
            Text::npos);
  // 104 empty lines, 50 more breaks, then the two closing divs.
  Text breaks;
  for (int i = 0; i < 154; ++i) breaks += u"<br>\r\n";
  EXPECT_EQ(BodyOf(page), u"<ul>\r\n</ul>\r\n" + breaks + u"</div>\r\n</div>\r\n");
}

TEST(HelpPage, HeadingsBoldAndRules) {
  FakeStrings s;
  s.texts = {
      {301, u"# Title  "},
      {302, u""},
      {303, u"####Four"},
      {304, u"#"},
      {305, u"a **b** c **d** e ** f"},
      {306, u"----"},
      {307, u"<br>kept"},
      {309, u"### Third"},
  };
  Text page = BuildHelpPage(s.Lookup());
  Text body = BodyOf(page);
  Text expectedStart =
      u"<ul>\r\n"
      u"<li><a href=\"#1\">Title</a></li>\r\n"
      u"<li><a href=\"#2\">#Four</a></li>\r\n"
      u"<li><a href=\"#3\"></a></li>\r\n"
      u"<li><a href=\"#4\">Third</a></li>\r\n"
      u"</ul>\r\n"
      u"<h3 id=\"1\">Title</h3>\r\n<br>\r\n"
      u"<br>\r\n"
      u"<h3 id=\"2\">#Four</h3>\r\n<br>\r\n"
      u"<h3 id=\"3\"></h3>\r\n<br>\r\n"
      u"a <b>b</b> c <b>d</b> e ** f<br>\r\n"
      u"<hr>-<br>\r\n"
      u"<br>kept<br>\r\n"
      u"<br>\r\n"
      u"<h3 id=\"4\">Third</h3>\r\n<br>\r\n";
  EXPECT_EQ(body.substr(0, expectedStart.size()), expectedStart);
}

TEST(HelpPage, UnpairedBoldStopsTheSearch) {
  FakeStrings s;
  s.texts = {{301, u"x ** y"}, {302, u"**not bold**"}};
  // The "**" of 301 pairs with the first of 302; the second of 302 has no partner.
  Text body = BodyOf(BuildHelpPage(s.Lookup()));
  EXPECT_NE(body.find(u"x <b> y<br>\r\n</b>not bold**<br>"), Text::npos) << ToUtf8(body.substr(0, 80));
}

TEST(WebItems, AddressesFromTheBase) {
  EXPECT_EQ(WebItemAddress(kHomepageCommand, u"https://a.example"), u"https://a.example");
  EXPECT_EQ(WebItemAddress(kHistoryCommand, u"https://a.example"), u"https://a.example/history");
  EXPECT_EQ(WebItemAddress(kFaqCommand, u"https://a.example"), u"https://a.example/faq");
  EXPECT_EQ(WebItemAddress(kDonateCommand, u"https://a.example"), u"https://a.example/donate");
  EXPECT_EQ(WebItemAddress(1, u"https://a.example"), u"");
}

}  // namespace
}  // namespace sorvane
