#include "medialist/playlist_import.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

namespace sorvane {
namespace {

TEST(PlaylistImport, PlaylistExtensionsInAnyCaseAndOnlyInTheFileName) {
  for (const char16_t* yes : {u"C:\\a.m3u", u"C:\\a.M3U8", u"b.pls", u"x\\c.WpL", u"d.xspf", u"..\\.m3u"})
    EXPECT_TRUE(HasPlaylistExtension(yes)) << ToUtf8(yes);
  for (const char16_t* no : {u"C:\\a.mp3", u"C:\\list.m3u\\song", u"C:\\a.m3ux", u"m3u", u"C:\\a.m3u.txt", u""})
    EXPECT_FALSE(HasPlaylistExtension(no)) << ToUtf8(no);
}

TEST(PlaylistImport, NewListIsNamedAfterTheFile) {
  EXPECT_EQ(PlaylistListPrefix(u"C:\\Music\\Road Trip.m3u"), u"Road Trip");
  EXPECT_EQ(PlaylistListPrefix(u"D:/x/mix.v2.wpl"), u"mix.v2");
  EXPECT_EQ(PlaylistListPrefix(u".m3u"), u".m3u");
  EXPECT_EQ(PlaylistListPrefix(u"plain"), u"plain");
}

// Records every call; paths in `existing` exist, and each adds the rows in `rowsFor`.
struct FakeHost final : PlaylistImportHost {
  Answer answer = Answer::kNo;
  std::set<Text> existing;
  std::map<Text, int> rowsFor;
  int rows = 3;
  std::vector<std::string> calls;

  Answer Ask(TextView text, TextView caption) override {
    calls.push_back("ask " + ToUtf8(text) + " / " + ToUtf8(caption));
    return answer;
  }
  void SaveShownList() override { calls.push_back("save"); }
  int NewMediaList(TextView prefix) override {
    calls.push_back("new " + ToUtf8(prefix));
    return 7;
  }
  void SaveListNames() override { calls.push_back("names"); }
  void ShowEmptyList(int index) override {
    calls.push_back("show " + std::to_string(index));
    rows = 0;
  }
  int RowCount() override { return rows; }
  bool PathExists(const Text& path) override { return existing.count(path) != 0; }
  void AddPath(const Text& path) override {
    calls.push_back("add " + ToUtf8(path));
    auto it = rowsFor.find(path);
    rows += it == rowsFor.end() ? 0 : it->second;
  }
  void AddUrl(const Text& url) override {
    calls.push_back("url " + ToUtf8(url));
    ++rows;
  }
};

const std::vector<PlaylistEntry> kEntries = {
    {u"C:\\m\\a.mp3", false},     // a medium
    {u"C:\\m\\gone.mp3", false},  // missing: never tried
    {u"http://radio/x", true},    // kept as written
    {u"C:\\m\\notes.txt", false}, // exists, the probe refuses it
    {u"C:\\m\\folder", false},    // a folder with two media files
};

FakeHost HostForEntries() {
  FakeHost host;
  host.existing = {u"C:\\m\\a.mp3", u"C:\\m\\notes.txt", u"C:\\m\\folder"};
  host.rowsFor = {{u"C:\\m\\a.mp3", 1}, {u"C:\\m\\folder", 2}};
  return host;
}

TEST(PlaylistImport, AnswersChooseTheListAndCancelAddsNothing) {
  struct Case {
    Answer answer;
    std::vector<std::string> firstCalls;  // before the first entry
  };
  const std::string ask = "ask Should a new playlist be created? / Question";
  const std::vector<Case> cases = {
      {Answer::kYes, {ask, "save", "new Trip", "names", "show 7"}},
      {Answer::kNo, {ask}},
  };
  for (const Case& c : cases) {
    FakeHost host = HostForEntries();
    host.answer = c.answer;
    const auto counts = ImportPlaylistEntries(kEntries, u"C:\\lists\\Trip.m3u", true, host);
    ASSERT_TRUE(counts.has_value());
    EXPECT_EQ(*counts, (PlaylistImportCounts{4, 2}));
    std::vector<std::string> expected = c.firstCalls;
    for (const char* call : {"add C:\\m\\a.mp3", "url http://radio/x", "add C:\\m\\notes.txt", "add C:\\m\\folder",
                             "save"})
      expected.push_back(call);
    EXPECT_EQ(host.calls, expected);
    EXPECT_EQ(host.rows, (c.answer == Answer::kYes ? 0 : 3) + 4);
  }

  FakeHost host = HostForEntries();
  host.answer = Answer::kCancel;
  EXPECT_FALSE(ImportPlaylistEntries(kEntries, u"C:\\lists\\Trip.m3u", true, host).has_value());
  EXPECT_EQ(host.calls, std::vector<std::string>{"ask Should a new playlist be created? / Question"});
}

TEST(PlaylistImport, WithoutTheQuestionEntriesGoToTheShownList) {
  FakeHost host = HostForEntries();
  const auto counts = ImportPlaylistEntries(kEntries, u"C:\\lists\\Trip.m3u", false, host);
  ASSERT_TRUE(counts.has_value());
  EXPECT_EQ(*counts, (PlaylistImportCounts{4, 2}));
  EXPECT_EQ(host.calls.front(), "add C:\\m\\a.mp3");
}

// A folder scan lets the user switch to a shorter list: that entry added nothing here.
TEST(PlaylistImport, ShrinkingListCountsAsSkippedNotNegative) {
  struct Shrinking final : PlaylistImportHost {
    int rows = 10;
    Answer Ask(TextView, TextView) override { return Answer::kNo; }
    void SaveShownList() override {}
    int NewMediaList(TextView) override { return 0; }
    void SaveListNames() override {}
    void ShowEmptyList(int) override {}
    int RowCount() override { return rows; }
    bool PathExists(const Text&) override { return true; }
    void AddPath(const Text&) override { rows = 2; }
    void AddUrl(const Text&) override {}
  } host;
  const auto counts = ImportPlaylistEntries({{u"C:\\f", false}}, u"x.m3u", false, host);
  ASSERT_TRUE(counts.has_value());
  EXPECT_EQ(*counts, (PlaylistImportCounts{0, 1}));
}

TEST(PlaylistImport, SummaryNamesBothCounts) {
  EXPECT_EQ(PlaylistImportSummary({1, 1}), u"1 added, 1 skipped (missing, or not audio or video).");
}

}  // namespace
}  // namespace sorvane
