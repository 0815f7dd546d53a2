#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "medialist/adding.h"
#include "medialist/adding_strings.h"
#include "medialist/busy_animation.h"
#include "medialist/command_line_split.h"
#include "medialist/folder_scan.h"
#include "medialist/forwarded_lines.h"
#include "medialist/open_file_selection.h"

namespace sorvane {
namespace {

using Texts = std::vector<Text>;

// ---- the open-file dialog ----

TEST(AddingFilter, FourPairsEndedByAnEmptyPairWithNulSeparators) {
  const Text filter = OpenFileFilter(EnglishAddingString);
  Texts parts;
  size_t start = 0;
  for (size_t i = 0; i < filter.size(); ++i) {
    if (filter[i] == u'\0') {
      parts.push_back(filter.substr(start, i - start));
      start = i + 1;
    }
  }
  EXPECT_EQ(start, filter.size()) << "the text ends with a NUL";
  EXPECT_EQ(filter.find(u'\n'), Text::npos);
  const Texts expected = {
      u"Audio/Video (*.mp3;*.wav;*.mp4;*.avi;*.mkv;*.flv;*.mov)", u"*.mp3;*.wav;*.mp4;*.avi;*.mkv;*.flv;*.mov",
      u"Audio (*.mp3;*.wav;*.flac;*.ogg)",                          u"*.mp3;*.wav;*.flac;*.ogg",
      u"Video (*.mp4;*.avi;*.mkv;*.mov;*.flv)",                     u"*.mp4;*.avi;*.mkv;*.mov;*.flv",
      u"All Files (*.*)",                                           u"*.*",
      u""};
  EXPECT_EQ(parts, expected);
  EXPECT_EQ(filter.substr(filter.size() - 5), Text(u"*.*\0\0", 5)) << "a double NUL ends the list";
}

TEST(AddingFilter, DescriptionsComeFromStrings132To135InOrder) {
  const Text filter = OpenFileFilter([](int id) { return u"<" + Format(u"%d", {id}) + u">"; });
  EXPECT_EQ(filter.find(u"<132> ("), 0u);
  const size_t a = filter.find(u"<133>"), v = filter.find(u"<134>"), all = filter.find(u"<135> (*.*)");
  ASSERT_NE(all, Text::npos);
  EXPECT_LT(a, v);
  EXPECT_LT(v, all);
}

Text Buffer(std::initializer_list<TextView> strings) {
  Text b;
  for (TextView s : strings) {
    b += s;
    b += u'\0';
  }
  b.resize(kOpenFileBufferChars, u'\0');
  return b;
}

TEST(AddingSelection, OneFileOrFolderWithNames) {
  struct Case {
    const char* what;
    Text buffer;
    Texts expected;
  };
  const Case cases[] = {
      {"one file: the first string is the path", Buffer({u"C:\\Music\\a.mp3"}), {u"C:\\Music\\a.mp3"}},
      {"three files in the order given",
       Buffer({u"C:\\Music", u"c.mp3", u"a.wav", u"b.mp4"}),
       {u"C:\\Music\\c.mp3", u"C:\\Music\\a.wav", u"C:\\Music\\b.mp4"}},
      {"drive root already ends with a backslash", Buffer({u"D:\\", u"x.mp3", u"y.mp3"}), {u"D:\\x.mp3", u"D:\\y.mp3"}},
      {"nothing chosen", Text(kOpenFileBufferChars, u'\0'), {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseOpenFileSelection(c.buffer), c.expected) << c.what;
}

TEST(AddingSelection, FullBufferWithoutTerminatorIsNotOverrun) {
  // A selection filling every character: the last name ends at the buffer's end.
  Text buffer = u"C:\\F";
  buffer += u'\0';
  buffer += Text(kOpenFileBufferChars - buffer.size(), u'n');
  const Texts paths = ParseOpenFileSelection(buffer);
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(paths[0].size(), 4 + 1 + (kOpenFileBufferChars - 5));
}

// ---- command-line splitting ----

TEST(AddingCommandLine, SplitsLikeThePlatform) {
  struct Case {
    Text line;
    Texts expected;
  };
  const Case cases[] = {
      {u"", {u""}},
      {u"prog.exe", {u"prog.exe"}},
      {u"prog.exe   ", {u"prog.exe"}},
      {u"\"C:\\Program Files\\S.exe\" C:\\a.mp3", {u"C:\\Program Files\\S.exe", u"C:\\a.mp3"}},
      // The program name takes no escapes: its backslash before the quote stays.
      {u"\"C:\\dir\\\" x", {u"C:\\dir\\", u"x"}},
      {u"p \"C:\\My Music\\a b.mp3\"\tD:\\x", {u"p", u"C:\\My Music\\a b.mp3", u"D:\\x"}},
      {u"p \"C:\\My Music\\\\\" next", {u"p", u"C:\\My Music\\", u"next"}},  // 2n backslashes: n, then a closing quote
      {u"p a\\\"b", {u"p", u"a\"b"}},                                     // 2n+1: n and a literal quote
      {u"p a\\\\\\\"b", {u"p", u"a\\\"b"}},
      {u"p C:\\a\\b", {u"p", u"C:\\a\\b"}},                               // backslashes without a quote stay
      {u"p \"\" x", {u"p", u"", u"x"}},                                  // an empty quoted argument counts
      {u"p \"a\"\"b\"", {u"p", u"a\"b"}},                                // a tripled quote in quotes: literal, quotes end
      {u"p \"a\"\"\"b c\"", {u"p", u"a\"b c"}},
      {u"p a\"b c\"d e", {u"p", u"ab cd", u"e"}},
      {u"p \"unterminated arg", {u"p", u"unterminated arg"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommandLine(c.line), c.expected) << ToUtf8(c.line);
}

// ---- AddPath ----

struct RecordingAddPath : AddPathHost {
  uint32_t attributes = 0;
  Texts calls;
  uint32_t FileAttributes(const Text&) override { return attributes; }
  void ImportFolderWithProgress(const Text& f) override { calls.push_back(u"import " + f); }
  void AddMediaFile(const Text& p) override { calls.push_back(u"add " + p); }
};

TEST(AddingAddPath, DirectoryBitOrUnreadableAttributesImportAFolder) {
  struct Case {
    uint32_t attributes;
    Text expected;
  };
  const Case cases[] = {
      {0x20, u"add x"},                 // archive
      {0x80, u"add x"},                 // normal
      {0x10, u"import x"},              // directory
      {0x11, u"import x"},              // read-only directory
      {kInvalidFileAttributes, u"import x"},
  };
  for (const Case& c : cases) {
    RecordingAddPath host;
    host.attributes = c.attributes;
    AddPath(host, u"x");
    EXPECT_EQ(host.calls, Texts{c.expected}) << c.attributes;
  }
}

TEST(AddingShortcut, EndsWithLnkInAnyCaseAndIsLongerThanFourCharacters) {
  EXPECT_TRUE(IsShortcutPath(u"C:\\a.lnk"));
  EXPECT_TRUE(IsShortcutPath(u"a.LnK"));
  EXPECT_FALSE(IsShortcutPath(u".lnk"));
  EXPECT_FALSE(IsShortcutPath(u"a.lnk.mp3"));
  EXPECT_FALSE(IsShortcutPath(u"a.lnkx"));
}

// ---- OpenFromCommandLine ----

struct RecordingCommandLine : CommandLineHost {
  Texts existing = {u"C:\\a.mp3", u"C:\\b.mp3", u"C:\\Music"};
  Texts shown = {u"C:\\A.MP3"};
  std::vector<Answer> answers;  // in the order asked
  Texts calls;
  int questions = 0;

  bool PathExists(const Text& p) override {
    for (const Text& e : existing)
      if (e == p) return true;
    return false;
  }
  Texts ShownPaths() override { return shown; }
  Answer Ask(TextView text, TextView caption) override {
    calls.push_back(u"ask " + Text(text) + u" | " + Text(caption));
    const size_t i = static_cast<size_t>(questions++);
    if (onAsk) onAsk();
    return i < answers.size() ? answers[i] : Answer::kCancel;
  }
  void SaveShownList() override { calls.push_back(u"save shown"); }
  int NewMediaList(TextView prefix) override {
    calls.push_back(u"new " + Text(prefix));
    return 7;
  }
  void SaveListNames() override { calls.push_back(u"save names"); }
  void ShowEmptyList(int index) override { calls.push_back(u"show empty " + Format(u"%d", {index})); }
  void AddPath(const Text& p) override {
    calls.push_back(u"add " + p);
    if (onAdd) onAdd(p);
  }
  void SaveMediaList() override { calls.push_back(u"save list"); }
  bool Stopped() override { return stopAfterCalls >= 0 && calls.size() >= static_cast<size_t>(stopAfterCalls); }

  std::function<void()> onAsk;
  std::function<void(const Text&)> onAdd;
  int stopAfterCalls = -1;  // the program closes once this many calls were made
};

const Text kNewQ = u"ask Should a new playlist be created? | Question";
const Text kDupQ = u"ask Should duplicate files be skipped? | Question";

TEST(AddingOpenFromCommandLine, YesMakesANewListAfterSavingTheShownOne) {
  RecordingCommandLine host;
  host.answers = {Answer::kYes};
  OpenFromCommandLine(u"S.exe C:\\a.mp3 C:\\a.mp3", host);
  // A new list has no duplicates: nothing else is asked, both equal arguments are added.
  const Texts expected = {kNewQ,         u"save shown", u"new From command line", u"save names", u"show empty 7",
                          u"add C:\\a.mp3", u"add C:\\a.mp3", u"save list"};
  EXPECT_EQ(host.calls, expected);
}

TEST(AddingOpenFromCommandLine, DuplicateAnswersDecideWhatIsAdded) {
  struct Case {
    const char* what;
    std::vector<Answer> answers;
    Texts expected;
  };
  // a.mp3 is in the shown list as "C:\A.MP3"; b.mp3 is not.
  const Text line = u"\"C:\\S.exe\" C:\\a.mp3 C:\\b.mp3 c:\\A.mp3";
  const Case cases[] = {
      {"No, then Yes: skip this and every later duplicate",
       {Answer::kNo, Answer::kYes},
       {kNewQ, kDupQ, u"add C:\\b.mp3", u"save list"}},
      {"No, then No: the duplicate is added and asked again",
       {Answer::kNo, Answer::kNo, Answer::kNo},
       {kNewQ, kDupQ, u"add C:\\a.mp3", u"add C:\\b.mp3", kDupQ, u"add c:\\A.mp3", u"save list"}},
      {"Cancel, then Cancel: like No",
       {Answer::kCancel, Answer::kCancel, Answer::kCancel},
       {kNewQ, kDupQ, u"add C:\\a.mp3", u"add C:\\b.mp3", kDupQ, u"add c:\\A.mp3", u"save list"}},
  };
  for (const Case& c : cases) {
    RecordingCommandLine host;
    host.answers = c.answers;
    OpenFromCommandLine(line, host);
    EXPECT_EQ(host.calls, c.expected) << c.what;
  }
}

TEST(AddingOpenFromCommandLine, AddedPathsDoNotBecomeDuplicatesOfEachOther) {
  RecordingCommandLine host;
  host.shown = {};
  host.answers = {Answer::kNo};
  OpenFromCommandLine(u"S.exe C:\\b.mp3 C:\\B.mp3 C:\\b.mp3", host);
  const Texts expected = {kNewQ, u"add C:\\b.mp3", u"add C:\\B.mp3", u"add C:\\b.mp3", u"save list"};
  EXPECT_EQ(host.calls, expected);
}

TEST(AddingOpenFromCommandLine, PathsAreComparedAsGivenOnlyLowerCased) {
  RecordingCommandLine host;
  host.shown = {u"C:\\Music\\..\\a.mp3"};
  host.answers = {Answer::kNo};
  OpenFromCommandLine(u"S.exe C:\\a.mp3", host);
  const Texts expected = {kNewQ, u"add C:\\a.mp3", u"save list"};
  EXPECT_EQ(host.calls, expected);
}

TEST(AddingOpenFromCommandLine, IgnoredWithoutAnExistingFirstArgument) {
  for (const Text line : {Text(u"S.exe"), Text(u""), Text(u"S.exe -bg C:\\a.mp3"), Text(u"S.exe C:\\missing.mp3")}) {
    RecordingCommandLine host;
    OpenFromCommandLine(line, host);
    EXPECT_TRUE(host.calls.empty()) << ToUtf8(line);
  }
  // Only the first argument must exist; later ones go to AddPath whatever they name.
  RecordingCommandLine host;
  host.answers = {Answer::kNo};
  OpenFromCommandLine(u"S.exe C:\\Music C:\\missing.mp3", host);
  const Texts expected = {kNewQ, u"add C:\\Music", u"add C:\\missing.mp3", u"save list"};
  EXPECT_EQ(host.calls, expected);
}

// ---- several forwarded command lines in one addition ----

TEST(AddingOpenFromCommandLines, LinesOfOneRoundAskOnceAndAddInArrivalOrder) {
  RecordingCommandLine host;
  host.shown = {};
  host.existing = {u"C:\\1.mp3", u"C:\\2.mp3", u"C:\\3.mp3", u"C:\\Music"};
  host.answers = {Answer::kNo};
  // The second line has only options and the third starts with a missing
  // path: they give nothing, the others keep their own order.
  OpenFromCommandLines({u"S.exe C:\\2.mp3 C:\\Music", u"S.exe -bg", u"S.exe C:\\gone.mp3 C:\\1.mp3",
                        u"\"C:\\p\\S.exe\" C:\\3.mp3 C:\\1.mp3"},
                       host);
  const Texts expected = {kNewQ, u"add C:\\2.mp3", u"add C:\\Music", u"add C:\\3.mp3", u"add C:\\1.mp3",
                          u"save list"};
  EXPECT_EQ(host.calls, expected);
}

TEST(AddingOpenFromCommandLines, NoQuestionWhenNoLineNamesAnExistingPath) {
  RecordingCommandLine host;
  OpenFromCommandLines({u"S.exe", u"S.exe C:\\missing.mp3", u"S.exe -bg C:\\a.mp3"}, host);
  EXPECT_TRUE(host.calls.empty());
}

TEST(AddingOpenFromCommandLines, DuplicatesAcrossLinesFollowTheSkipQuestion) {
  // C:\A.MP3 is shown. Yes to the skip question skips every later duplicate
  // of the merged lines, whichever line named it; a path repeated across the
  // lines but not shown is added each time.
  RecordingCommandLine host;
  host.answers = {Answer::kNo, Answer::kYes};
  OpenFromCommandLines({u"S.exe C:\\b.mp3 C:\\a.mp3", u"S.exe C:\\a.mp3 C:\\b.mp3", u"S.exe C:\\b.mp3 c:\\A.MP3"},
                       host);
  const Texts expected = {kNewQ, u"add C:\\b.mp3", kDupQ, u"add C:\\b.mp3", u"add C:\\b.mp3", u"save list"};
  EXPECT_EQ(host.calls, expected);
}

TEST(AddingOpenFromCommandLines, LinesArrivingWhileTheNewListQuestionIsOpenJoinAfterTheOthers) {
  RecordingCommandLine host;
  host.shown = {};
  host.answers = {Answer::kYes};
  int taken = 0;
  OpenFromCommandLines({u"S.exe C:\\a.mp3"}, host, [&] {
    ++taken;
    // The question is already answered when the late lines are read.
    EXPECT_EQ(host.calls, Texts{kNewQ});
    return Texts{u"S.exe C:\\b.mp3", u"S.exe C:\\missing.mp3 C:\\a.mp3", u"S.exe C:\\Music"};
  });
  EXPECT_EQ(taken, 1);
  const Texts expected = {kNewQ,         u"save shown",    u"new From command line", u"save names",
                          u"show empty 7", u"add C:\\a.mp3", u"add C:\\b.mp3",        u"add C:\\Music",
                          u"save list"};
  EXPECT_EQ(host.calls, expected);
}

TEST(AddingOpenFromCommandLines, ClosingDuringTheAdditionDropsTheRestAndWritesNothing) {
  struct Case {
    const char* what;
    int stopAfterCalls;
    std::vector<Answer> answers;
    Texts expected;
  };
  const Case cases[] = {
      {"closed while the new-list question was open", 1, {Answer::kYes}, {kNewQ}},
      {"closed while the skip question was open", 2, {Answer::kNo, Answer::kNo}, {kNewQ, kDupQ}},
      {"closed while a path was being added (a folder scan)", 3, {Answer::kNo}, {kNewQ, u"add C:\\b.mp3",
                                                                                 u"add C:\\Music"}},
  };
  for (const Case& c : cases) {
    RecordingCommandLine host;
    host.answers = c.answers;
    host.stopAfterCalls = c.stopAfterCalls;
    const Text line = c.stopAfterCalls == 2 ? Text(u"S.exe C:\\a.mp3 C:\\b.mp3") : Text(u"S.exe C:\\b.mp3 C:\\Music C:\\a.mp3");
    bool lateRead = false;
    OpenFromCommandLines({line}, host, [&] {
      lateRead = true;
      return Texts{};
    });
    EXPECT_EQ(host.calls, c.expected) << c.what;
    EXPECT_EQ(lateRead, c.stopAfterCalls != 1) << c.what;
  }
}

// Rounds as the main window runs them: lines that come during the new-list
// question join the round, lines that come while its files are added make the
// next round, which asks once more.
TEST(AddingForwardedRounds, LateLinesJoinWhileAskingAndOtherwiseMakeTheNextRound) {
  std::chrono::milliseconds now{0};
  ForwardedLineQueue queue([&] { return now; });
  RecordingCommandLine host;
  host.shown = {};
  host.existing = {u"C:\\1.mp3", u"C:\\2.mp3", u"C:\\3.mp3", u"C:\\4.mp3", u"C:\\own.mp3"};
  host.answers = {Answer::kNo, Answer::kNo};
  host.onAsk = [&] {
    if (host.questions == 1) queue.Arrive(u"S.exe C:\\2.mp3");
  };
  host.onAdd = [&](const Text& path) {
    if (path == u"C:\\2.mp3") {
      queue.Arrive(u"S.exe C:\\3.mp3");
      queue.Arrive(u"S.exe C:\\4.mp3");
    }
  };
  queue.Arrive(u"S.exe C:\\1.mp3");
  // The start's own command line comes first.
  RunForwardedRound(queue, host, {u"S.exe C:\\own.mp3"});
  EXPECT_FALSE(queue.InRound());
  const Texts first = {kNewQ, u"add C:\\own.mp3", u"add C:\\1.mp3", u"add C:\\2.mp3", u"save list"};
  EXPECT_EQ(host.calls, first);
  EXPECT_EQ(queue.Waiting(), 2u);

  host.calls.clear();
  now += kForwardQuietTime;
  ASSERT_EQ(queue.WaitBeforeRound(), std::chrono::milliseconds(0));
  RunForwardedRound(queue, host);
  const Texts second = {kNewQ, u"add C:\\3.mp3", u"add C:\\4.mp3", u"save list"};
  EXPECT_EQ(host.calls, second);
  EXPECT_EQ(queue.Waiting(), 0u);
}

TEST(AddingForwardedRounds, TheRoundEndsWhenTheAdditionIsCutShort) {
  std::chrono::milliseconds now{0};
  ForwardedLineQueue queue([&] { return now; });
  RecordingCommandLine host;
  host.stopAfterCalls = 1;
  queue.Arrive(u"S.exe C:\\a.mp3");
  RunForwardedRound(queue, host);
  EXPECT_EQ(host.calls, Texts{kNewQ});
  EXPECT_FALSE(queue.InRound());
}

// ---- ScanFolder ----

struct FakeFolders : DirectoryLister {
  // pattern -> entries in listing order; a missing pattern cannot be searched.
  std::map<Text, std::vector<DirectoryEntry>> listings;
  Texts searched;
  int open = 0, maxOpen = 0;

  struct Search : DirectorySearch {
    FakeFolders& owner;
    std::vector<DirectoryEntry> entries;
    size_t next = 0;
    Search(FakeFolders& o, std::vector<DirectoryEntry> e) : owner(o), entries(std::move(e)) {
      owner.maxOpen = std::max(owner.maxOpen, ++owner.open);
    }
    ~Search() override { --owner.open; }
    bool Next(DirectoryEntry& entry) override {
      if (next >= entries.size()) return false;
      entry = entries[next++];
      return true;
    }
  };
  std::unique_ptr<DirectorySearch> Find(const Text& pattern) override {
    searched.push_back(pattern);
    auto it = listings.find(pattern);
    if (it == listings.end()) return nullptr;
    return std::make_unique<Search>(*this, it->second);
  }
};

TEST(AddingScanFolder, DepthFirstInListingOrderSkippingDotEntries) {
  FakeFolders fs;
  fs.listings[u"C:\\M\\*.*"] = {{u".", true},  {u"..", true},   {u"1.mp3", false}, {u"Sub", true},
                                {u"..x", false}, {u"Empty", true}, {u"2.mp3", false}};
  fs.listings[u"C:\\M\\Sub\\*.*"] = {{u".", true}, {u"..", true}, {u"s.mp3", false}, {u"Deep", true}};
  fs.listings[u"C:\\M\\Sub\\Deep\\*.*"] = {{u"d.mp3", false}};
  // "Empty" cannot be searched (unreadable): its scan ends, the rest goes on.
  Texts added;
  int pumps = 0;
  const bool finished = ScanFolder(u"C:\\M", fs, {[&](const Text& p) { added.push_back(p); }, [&] {
                                                      ++pumps;
                                                      return true;
                                                    }});
  EXPECT_TRUE(finished);
  const Texts expectedAdded = {u"C:\\M\\1.mp3", u"C:\\M\\Sub\\s.mp3", u"C:\\M\\Sub\\Deep\\d.mp3", u"C:\\M\\..x",
                               u"C:\\M\\2.mp3"};
  EXPECT_EQ(added, expectedAdded);
  EXPECT_EQ(pumps, 5) << "messages are pumped after each file";
  const Texts expectedSearched = {u"C:\\M\\*.*", u"C:\\M\\Sub\\*.*", u"C:\\M\\Sub\\Deep\\*.*", u"C:\\M\\Empty\\*.*"};
  EXPECT_EQ(fs.searched, expectedSearched) << "\".\" and \"..\" are never entered";
  EXPECT_EQ(fs.open, 0) << "every search is closed";
  EXPECT_EQ(fs.maxOpen, 3);
}

TEST(AddingScanFolder, TrailingBackslashIsNotDoubled) {
  FakeFolders fs;
  fs.listings[u"D:\\*.*"] = {{u"a.mp3", false}};
  Texts added;
  ScanFolder(u"D:\\", fs, {[&](const Text& p) { added.push_back(p); }, nullptr});
  EXPECT_EQ(added, Texts{u"D:\\a.mp3"});
}

TEST(AddingScanFolder, PatternOf260CharactersIsNotSearched) {
  // folder + "\*.*" = 259 characters is searched; one more is not.
  const Text folder259 = u"C:\\" + Text(259 - 4 - 3, u'f');
  const Text folder260 = folder259 + u'g';
  FakeFolders fs;
  fs.listings[folder259 + u"\\*.*"] = {{u"a", false}};
  fs.listings[folder260 + u"\\*.*"] = {{u"b", false}};
  ASSERT_EQ((folder259 + u"\\*.*").size(), 259u);
  Texts added;
  const ScanCallbacks cb{[&](const Text& p) { added.push_back(p); }, nullptr};
  ScanFolder(folder259, fs, cb);
  ScanFolder(folder260, fs, cb);
  EXPECT_EQ(added, Texts{folder259 + u"\\a"});
  EXPECT_EQ(fs.searched.size(), 1u);
}

TEST(AddingScanFolder, QuittingPumpEndsTheWholeScan) {
  FakeFolders fs;
  fs.listings[u"C:\\M\\*.*"] = {{u"Sub", true}, {u"after.mp3", false}};
  fs.listings[u"C:\\M\\Sub\\*.*"] = {{u"1.mp3", false}, {u"2.mp3", false}};
  Texts added;
  const bool finished =
      ScanFolder(u"C:\\M", fs, {[&](const Text& p) { added.push_back(p); }, [] { return false; }});
  EXPECT_FALSE(finished);
  EXPECT_EQ(added, Texts{u"C:\\M\\Sub\\1.mp3"});
  EXPECT_EQ(fs.open, 0);
}

// ---- BusyDialog ----

TEST(AddingBusy, BarBouncesBetweenTheEnds) {
  BusyCounters counters;
  BusyAnimation a(counters);
  std::vector<int> positions;
  std::vector<bool> up;
  for (int i = 0; i < 70; ++i) {
    a.Tick();
    positions.push_back(a.Position());
    up.push_back(a.MovingUp());
  }
  EXPECT_EQ(positions[0], 300);
  EXPECT_EQ(positions[32], 9900);
  EXPECT_TRUE(up[32]);
  EXPECT_EQ(positions[33], 10000) << "10200 is cut to the top";
  EXPECT_FALSE(up[33]);
  EXPECT_EQ(positions[34], 9700);
  EXPECT_EQ(positions[65], 400);
  EXPECT_EQ(positions[66], 100);
  EXPECT_FALSE(up[66]);
  EXPECT_EQ(positions[67], 0) << "below 1 turns up at 0";
  EXPECT_TRUE(up[67]);
  EXPECT_EQ(positions[68], 300);
  for (int p : positions) {
    EXPECT_GE(p, 0);
    EXPECT_LE(p, kBusyBarMax);
  }
}

TEST(AddingBusy, TextsRotateEvery100TicksAcrossDialogs) {
  BusyCounters counters;
  EXPECT_EQ(BusyAnimation::FirstTextId(), 170);
  EXPECT_EQ(EnglishAddingString(BusyAnimation::FirstTextId()), u"Processing files...");
  std::vector<int> shown;
  {
    BusyAnimation first(counters);
    for (int i = 0; i < 250; ++i)
      if (int id = first.Tick()) shown.push_back(id);
  }
  {
    // A later dialog of the same run goes on with the shared counters.
    BusyAnimation second(counters);
    for (int i = 0; i < 550; ++i)
      if (int id = second.Tick()) shown.push_back(id);
  }
  EXPECT_EQ(shown, (std::vector<int>{172, 173, 174, 175, 176, 171, 172, 173}));
  EXPECT_EQ(counters.ticks, 800);
  const Texts english = {u"Scanning files...", u"Processing media...", u"Loading tracks...", u"Adding to playlist...",
                         u"Organizing library...", u"Almost done..."};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(EnglishAddingString(171 + i), english[static_cast<size_t>(i)]);
}

}  // namespace
}  // namespace sorvane
