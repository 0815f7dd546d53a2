#include "language/help_page.h"

namespace sorvane {
namespace {

Text Get(const StringLookup& lookup, int id) {
  auto t = lookup(id);
  return t ? Text(*t) : Text();
}

// Pairs of "**" become bold; an unpaired "**" and everything after it stay.
void ReplaceBoldPairs(Text& page) {
  size_t from = 0;
  for (;;) {
    size_t open = page.find(u"**", from);
    if (open == Text::npos) return;
    size_t close = page.find(u"**", open + 2);
    if (close == Text::npos) return;
    Text bold = u"<b>" + page.substr(open + 2, close - open - 2) + u"</b>";
    page.replace(open, close + 2 - open, bold);
    from = open + bold.size();
  }
}

}  // namespace

Text BuildInformationText(const StringLookup& lookup) {
  Text t = Get(lookup, 91) + u"\r\n\r\n" + Get(lookup, 92) + u"\r\n\r\n";
  for (int id : {93, 94}) {
    Text p = Get(lookup, id);
    // A translation drops a paragraph by giving it 10 characters or fewer.
    if (p.size() > 10) t += p + u"\r\n\r\n";
  }
  for (int id : {97, 98, 99, 100}) t += u"\r\n" + Get(lookup, id);
  t += u"\r\n";
  if (t.size() > 10240) t.resize(10240);
  return t;
}

Text BuildHelpPage(const StringLookup& lookup) {
  Text page =
      u"<html><head><style>\n"
      u"body, pre { font-family: Verdana, Arial; font-size: 14px; color: #000000; }\n"
      u"b { color: #0000FF; }\n"
      u".container { max-width: 700px; margin: 40px auto; padding: 20px; border-radius: 12px; "
      u"box-shadow: 0 4px 15px rgba(0,0,0,0.1); background: rgba(255,255,255,0.9); }\n"
      u"body { \n"
      u"    background-color: #000044; \n"
      u"    background-size: cover;\n"
      u"    margin: 0;\n"
      u"    padding: 0;\n"
      u"    height: 100vh;\n"
      u"}\n"
      u"</style></head><body><div class=\"container\">";
  Text contents, body;
  int n = 1;
  for (int id = 301; id <= 404; ++id) {
    Text t = Get(lookup, id);
    if (!t.empty() && t[0] == u'#') {
      size_t cut = 1;
      while (cut < 3 && cut < t.size() && t[cut] == u'#') ++cut;
      Text heading(Trim(TextView(t).substr(cut)));
      Text number = Format(u"%d", {n});
      contents += u"<li><a href=\"#" + number + u"\">" + heading + u"</a></li>\r\n";
      body += u"<h3 id=\"" + number + u"\">" + heading + u"</h3>\r\n<br>\r\n";
      ++n;
    } else {
      body += t + u"<br>\r\n";
    }
  }
  for (int i = 0; i < 50; ++i) body += u"<br>\r\n";
  page += u"<ul>\r\n" + contents + u"</ul>\r\n" + body + u"</div>\r\n</div>\r\n";
  ReplaceBoldPairs(page);
  ReplaceAll(page, u"---", u"<hr>");
  return page;
}

Text WebItemAddress(int command, TextView base) {
  switch (command) {
    case kFaqCommand: return Text(base) + u"/faq";
    case kHomepageCommand: return Text(base);
    case kHistoryCommand: return Text(base) + u"/history";
    case kDonateCommand: return Text(base) + u"/donate";
    default: return {};
  }
}

}  // namespace sorvane
