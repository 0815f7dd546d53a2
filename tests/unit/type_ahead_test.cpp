#include "medialist/type_ahead.h"

#include <gtest/gtest.h>

namespace sorvane {
namespace {

MediaList Titles(std::initializer_list<const char16_t*> titles) {
  MediaList rows;
  for (const char16_t* t : titles) {
    MediaEntry e;
    e.text[kColumnTitle] = t;
    e.text[kColumnPath] = Text(u"C:\\zzz\\") + t;  // the path never matches
    rows.Append(std::move(e));
  }
  return rows;
}

TEST(TypeAhead, FindsTheNextTitleStartingWithTheTypedTextWrappingAround) {
  const MediaList rows = Titles({u"Alpha", u"beta", u"Bravo", u"\u0416\u0443\u043A", u"alpine", u"Zulu"});
  struct Case {
    const char* what;
    TitleSearch search;
    int row;
  };
  const Case cases[] = {
      {"first match from the top", {u"a", 0}, 0},
      {"from the start row on", {u"a", 1}, 4},
      {"ignoring case", {u"B", 0}, 1},
      {"longer prefix", {u"br", 0}, 2},
      {"wraps past the end", {u"b", 3}, 1},
      {"start past the end begins at the top", {u"z", 6}, 5},
      {"no wrap stops at the end", {u"b", 3, true, false}, -1},
      {"other scripts", {u"\u0436\u0423", 0}, 3},
      {"whole title when not a prefix search", {u"BETA", 0, false}, 1},
      {"a prefix is no whole title", {u"bet", 0, false}, -1},
      {"nothing matches", {u"q", 0}, -1},
      {"empty text finds nothing", {u"", 0}, -1},
      {"negative start counts from the top", {u"zu", -3}, 5},
  };
  for (const Case& c : cases) EXPECT_EQ(FindTitleRow(rows, c.search), c.row) << c.what;
  EXPECT_EQ(FindTitleRow(MediaList{}, {u"a", 0}), -1);
}

}  // namespace
}  // namespace sorvane
