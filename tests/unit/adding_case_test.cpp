// The duplicate test of command-line additions compares paths through the
// platform's case mapping, not the portable table (which misses scripts).
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "medialist/adding.h"

namespace sorvane {
namespace {

using Texts = std::vector<Text>;

// Upper and lower case pairs, among them ones the portable lower-casing does
// not know: Cyrillic Ghe with upturn, Latin Extended-B, Armenian, Georgian.
struct CasePair {
  const char* what;
  char16_t upper, lower;
};
constexpr CasePair kPairs[] = {
    {"Latin", u'A', u'a'},
    {"Latin-1", u'\u00C9', u'\u00E9'},
    {"Cyrillic Ghe with upturn", u'\u0490', u'\u0491'},
    {"Cyrillic", u'\u0416', u'\u0436'},
    {"Latin B with topbar", u'\u0182', u'\u0183'},
    {"Latin A with caron", u'\u01CD', u'\u01CE'},
    {"Latin S with comma below", u'\u0218', u'\u0219'},
    {"Latin DZ with caron", u'\u01C4', u'\u01C6'},
    {"Armenian Ayb", u'\u0531', u'\u0561'},
    {"Greek", u'\u03A3', u'\u03C3'},
};

// A host whose platform case mapping is the full table above.
struct TableHost : CommandLineHost {
  Texts shown;
  Texts added;
  int duplicateQuestions = 0;
  bool PathExists(const Text&) override { return true; }
  Texts ShownPaths() override { return shown; }
  Answer Ask(TextView text, TextView) override {
    if (text == u"Should duplicate files be skipped?") ++duplicateQuestions;
    return Answer::kNo;
  }
  void SaveShownList() override {}
  int NewMediaList(TextView) override { return 1; }
  void SaveListNames() override {}
  void ShowEmptyList(int) override {}
  void AddPath(const Text& p) override { added.push_back(p); }
  void SaveMediaList() override {}
  Text PathCaseKey(const Text& path) override {
    Text key = path;
    for (char16_t& c : key)
      for (const CasePair& p : kPairs)
        if (c == p.lower || (p.upper == u'\u01C4' && c == u'\u01C5')) c = p.upper;
    return key;
  }
};

TEST(AddingCase, DuplicatesAreFoundThroughThePlatformsCaseMapping) {
  for (const CasePair& p : kPairs) {
    SCOPED_TRACE(p.what);
    TableHost host;
    host.shown = {Text(u"C:\\") + p.lower + u".mp3"};
    const Text upper = Text(u"C:\\") + p.upper + u".mp3";
    OpenFromCommandLine(u"S.exe \"" + upper + u"\"", host);
    EXPECT_EQ(host.duplicateQuestions, 1) << "the shown row is the same file";
    EXPECT_EQ(host.added, Texts{upper}) << "No adds it all the same";
  }
}

TEST(AddingCase, DifferentLettersAreNoDuplicates) {
  TableHost host;
  host.shown = {u"C:\\\u0491.mp3"};
  OpenFromCommandLine(u"S.exe C:\\\u0433.mp3", host);  // Ghe without upturn
  EXPECT_EQ(host.duplicateQuestions, 0);
}

}  // namespace
}  // namespace sorvane
