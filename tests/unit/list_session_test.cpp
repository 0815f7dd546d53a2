#include <gtest/gtest.h>

#include <deque>

#include "fake_list_storage.h"
#include "medialist/list_persistence.h"
#include "medialist/list_session.h"
#include "medialist/list_strings.h"

namespace sorvane {
namespace {

using sorvane::testing::FakeListStorage;

class ScriptedHost : public ListSessionHost {
 public:
  Answer Ask(TextView text, TextView caption, QuestionIcon icon) override {
    questions.push_back({Text(text), Text(caption), icon});
    if (answers.empty()) return Answer::kCancel;
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  void ListLoaded(int index) override { loaded.push_back(index); }

  struct Question {
    Text text, caption;
    QuestionIcon icon;
  };
  std::deque<Answer> answers;
  std::vector<Question> questions;
  std::vector<int> loaded;
};

LocalDateTime FixedTime() { return {2026, 1, 2, 3, 4, 5}; }

class ListSessionTest : public ::testing::Test {
 protected:
  void StoreLists(std::vector<Text> names, std::vector<Text> contents) {
    storage.strings[Text(kListNamesKey)] = JoinListNames(names);
    for (size_t i = 0; i < contents.size(); ++i)
      if (!contents[i].empty()) storage.sections[ListSectionName(static_cast<int>(i))] = contents[i];
  }
  std::vector<Text> Paths() const {
    std::vector<Text> out;
    for (int r = 0; r < rows.Count(); ++r) out.push_back(rows.Cell(r, kColumnPath));
    return out;
  }

  FakeListStorage storage;
  ScriptedHost host;
  MediaList rows;
  ListSession session{rows, storage, host, FixedTime};
};

TEST(ListSectionName, FirstListHasNoNumber) {
  EXPECT_EQ(ListSectionName(0), u"MediaList");
  EXPECT_EQ(ListSectionName(1), u"MediaList1");
  EXPECT_EQ(ListSectionName(12), u"MediaList12");
}

TEST(ListNames, SplitAndJoin) {
  struct Case {
    Text stored;
    std::vector<Text> names;
  } cases[] = {
      {u"", {}},
      {u"One", {u"One"}},
      {u"One\tTwo", {u"One", u"Two"}},
      {u"One\t\tThree", {u"One", u"", u"Three"}},  // empty piece between TABs stays
      {u"One\tTwo\t", {u"One", u"Two"}},           // empty piece after a final TAB goes
      {u"\tTwo", {u"", u"Two"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitListNames(c.stored), c.names) << ToUtf8(c.stored);
  EXPECT_EQ(JoinListNames({u"a\tb", u"c"}), u"a b\tc");  // a TAB inside a name becomes a space
}

TEST(ListPersistence, LoadTrimsSkipsBlankLinesAndAddsUnprobedRows) {
  FakeListStorage storage;
  storage.sections[u"MediaList2"] = u"  C:\\a.mp3 \r\n\r\n\tC:\\b c.mp3\r\nd.mp3\n\r\n";
  MediaList rows;
  AddMediaFile(rows, u"C:\\old.mp3", nullptr);
  const Text text = LoadMediaList(rows, storage, 2);
  EXPECT_EQ(text, storage.sections[u"MediaList2"]);
  ASSERT_EQ(rows.Count(), 3);
  EXPECT_EQ(rows.Cell(0, kColumnPath), u"C:\\a.mp3");
  EXPECT_EQ(rows.Cell(1, kColumnPath), u"C:\\b c.mp3");
  EXPECT_EQ(rows.Cell(2, kColumnPath), u"d.mp3");
  EXPECT_EQ(rows.Cell(2, kColumnTitle), u"d.mp3");
  EXPECT_EQ(rows.Entry(2).image, kImageNone);

  EXPECT_EQ(SaveMediaList(rows, storage, 2), u"C:\\a.mp3\r\nC:\\b c.mp3\r\nd.mp3");
  MediaList none;
  EXPECT_EQ(SaveMediaList(none, storage, 2), u"");
  EXPECT_EQ(storage.sections.count(u"MediaList2"), 0u);  // an empty list leaves no section
  LoadMediaList(rows, storage, 2);
  EXPECT_EQ(rows.Count(), 0);
}

TEST_F(ListSessionTest, StartClampsLastSelAndFillsTheSelector) {
  StoreLists({u"Rock", u"Jazz", u"Talk"}, {u"r.mp3", u"j.mp3", u"t1.mp3\r\nt2.mp3"});
  storage.ints[Text(kLastListKey)] = 7;
  session.Start();
  EXPECT_EQ(session.Selection(), 2);
  EXPECT_EQ(session.ShownListIndex(), 2);
  EXPECT_EQ(Paths(), (std::vector<Text>{u"t1.mp3", u"t2.mp3"}));
  EXPECT_EQ(host.loaded, std::vector<int>{2});
  ASSERT_EQ(session.EntryCount(), 5);
  EXPECT_EQ(session.EntryText(0), u"Rock");
  EXPECT_EQ(session.EntryText(3), u"....   + Add New Playlist");
  EXPECT_EQ(session.EntryText(4), u"    - Remove");

  // The delete entry names the list selected when the selector got the focus.
  session.SetSelection(1);
  session.OnFocus();
  session.SetSelection(0);  // moving through the drop-down does not change it
  session.OnDropDown();
  EXPECT_EQ(session.EntryText(4), u"... Remove: Jazz");
  EXPECT_EQ(session.ShownListIndex(), 2);
}

TEST_F(ListSessionTest, StartWithoutSettingUsesTheDefaultName) {
  session.Start();
  EXPECT_EQ(session.Names(), std::vector<Text>{u"Default PlayList"});
  EXPECT_EQ(session.Selection(), 0);
}

TEST_F(ListSessionTest, StartWithNoNamesCreatesAndStoresANewList) {
  storage.strings[Text(kListNamesKey)] = u"";
  storage.ints[Text(kLastListKey)] = 3;
  session.Start();
  EXPECT_EQ(session.Names(), std::vector<Text>{u"New playlist 01/02/2026 03:04:05"});
  EXPECT_EQ(session.ShownListIndex(), 0);
  EXPECT_EQ(session.Selection(), 0);
  EXPECT_EQ(storage.strings[Text(kListNamesKey)], u"New playlist 01/02/2026 03:04:05");
}

TEST_F(ListSessionTest, NewListNameWithPrefix) {
  session.Start();
  EXPECT_EQ(session.NewMediaList(u"Drop"), 1);
  EXPECT_EQ(session.EntryText(1), u"Drop New playlist 01/02/2026 03:04:05");
  EXPECT_EQ(session.Selection(), 1);
  EXPECT_EQ(session.EntryCount(), 4);
}

TEST_F(ListSessionTest, SwitchingSavesTheShownListThenLoadsTheChosenOne) {
  StoreLists({u"A", u"B"}, {u"a1.mp3", u"b1.mp3\r\nb2.mp3"});
  session.Start();
  AddMediaFile(rows, u"a2.mp3", nullptr);
  session.OnSelectionEnded(1);
  EXPECT_EQ(storage.sections[u"MediaList"], u"a1.mp3\r\na2.mp3");
  EXPECT_EQ(session.ShownListIndex(), 1);
  EXPECT_EQ(Paths(), (std::vector<Text>{u"b1.mp3", u"b2.mp3"}));

  // Choosing the shown list again reloads it: probe results and marks go.
  rows.SetEntryText(0, kColumnError, Text(kFailedMark));
  session.OnSelectionEnded(1);
  EXPECT_EQ(rows.Cell(0, kColumnError), u"");
  EXPECT_EQ(host.loaded, (std::vector<int>{0, 1, 1}));
}

TEST_F(ListSessionTest, CreatingAskesAndCopiesOnlyOnYes) {
  struct Case {
    Answer answer;
    bool copied;
  } cases[] = {{Answer::kYes, true}, {Answer::kNo, false}, {Answer::kCancel, false}};
  for (const Case& c : cases) {
    FakeListStorage storage;
    ScriptedHost host;
    MediaList rows;
    ListSession session(rows, storage, host, FixedTime);
    storage.strings[Text(kListNamesKey)] = u"Only";
    storage.sections[u"MediaList"] = u"x.mp3\r\ny.mp3";
    storage.sections[u"MediaList1"] = u"stale.mp3";  // left by an earlier list
    session.Start();
    host.answers.push_back(c.answer);
    session.OnSelectionEnded(1);  // the new-list entry
    ASSERT_EQ(host.questions.size(), 1u);
    EXPECT_EQ(host.questions[0].text, u"Should the titles be transferred to the new playlist?");
    EXPECT_EQ(host.questions[0].caption, u"Question");
    EXPECT_EQ(host.questions[0].icon, QuestionIcon::kQuestion);
    EXPECT_EQ(session.Names(), (std::vector<Text>{u"Only", u"New playlist 01/02/2026 03:04:05"}));
    EXPECT_EQ(storage.strings[Text(kListNamesKey)], u"Only\tNew playlist 01/02/2026 03:04:05");
    EXPECT_EQ(session.ShownListIndex(), 1);
    EXPECT_EQ(session.Selection(), 1);
    EXPECT_EQ(rows.Count(), c.copied ? 2 : 0);
    EXPECT_EQ(storage.sections.count(u"MediaList1"), c.copied ? 1u : 0u);
    EXPECT_EQ(storage.sections[u"MediaList"], u"x.mp3\r\ny.mp3");
  }
}

TEST_F(ListSessionTest, DeletingListOneShiftsTheLaterSectionsDown) {
  StoreLists({u"L0", u"L1", u"L2"}, {u"p0.mp3", u"p1.mp3", u"p2a.mp3\r\np2b.mp3"});
  storage.ints[Text(kLastListKey)] = 1;
  session.Start();
  host.answers.push_back(Answer::kYes);
  session.OnSelectionEnded(4);  // the delete entry of three lists
  ASSERT_EQ(host.questions.size(), 1u);
  EXPECT_EQ(host.questions[0].text, u"All titles in the current playlist will be removed.");
  EXPECT_EQ(host.questions[0].caption, u"Warning");
  EXPECT_EQ(host.questions[0].icon, QuestionIcon::kExclamation);
  EXPECT_EQ(session.Names(), (std::vector<Text>{u"L0", u"L2"}));
  EXPECT_EQ(storage.strings[Text(kListNamesKey)], u"L0\tL2");
  EXPECT_EQ(storage.sections[u"MediaList"], u"p0.mp3");
  EXPECT_EQ(storage.sections[u"MediaList1"], u"p2a.mp3\r\np2b.mp3");
  EXPECT_EQ(storage.sections.count(u"MediaList2"), 0u);
  EXPECT_EQ(session.ShownListIndex(), 0);
  EXPECT_EQ(session.Selection(), 0);
  EXPECT_EQ(Paths(), std::vector<Text>{u"p0.mp3"});
}

TEST_F(ListSessionTest, DeletingTheOnlyListLeavesANewEmptyOne) {
  StoreLists({u"Only"}, {u"p.mp3"});
  session.Start();
  host.answers.push_back(Answer::kYes);
  session.OnSelectionEnded(2);
  EXPECT_EQ(session.Names(), std::vector<Text>{u"New playlist 01/02/2026 03:04:05"});
  EXPECT_EQ(storage.strings[Text(kListNamesKey)], u"New playlist 01/02/2026 03:04:05");
  EXPECT_TRUE(storage.sections.empty());
  EXPECT_EQ(rows.Count(), 0);
  EXPECT_EQ(session.ShownListIndex(), 0);
}

TEST_F(ListSessionTest, DeletionNotConfirmedChangesNothing) {
  StoreLists({u"L0", u"L1"}, {u"p0.mp3", u"p1.mp3"});
  storage.ints[Text(kLastListKey)] = 1;
  session.Start();
  for (Answer a : {Answer::kNo, Answer::kCancel}) {
    host.answers.push_back(a);
    session.OnSelectionEnded(3);
    EXPECT_EQ(session.Names(), (std::vector<Text>{u"L0", u"L1"}));
    EXPECT_EQ(session.Selection(), 1);
    EXPECT_EQ(session.ShownListIndex(), 1);
    EXPECT_EQ(storage.sections[u"MediaList1"], u"p1.mp3");
    EXPECT_EQ(Paths(), std::vector<Text>{u"p1.mp3"});
  }
}

TEST_F(ListSessionTest, RenameNeedsTwoCharactersAndAnEdit) {
  StoreLists({u"Rock", u"Jazz"}, {});
  session.Start();
  const int writes = storage.stringWrites;
  session.OnFocus();
  session.OnFocusLost(u"Ignored");  // nothing typed: nothing renamed
  EXPECT_EQ(session.Names()[0], u"Rock");

  session.OnFocus();
  session.OnEditChanged();
  session.OnFocusLost(u"R");  // one character keeps the old name
  EXPECT_EQ(session.Names()[0], u"Rock");
  EXPECT_EQ(storage.stringWrites, writes);  // unchanged names are not written
  EXPECT_FALSE(session.NameEdited());

  session.OnFocus();
  session.OnEditChanged();
  session.OnFocusLost(u"Ro");
  EXPECT_EQ(session.Names()[0], u"Ro");
  EXPECT_EQ(storage.strings[Text(kListNamesKey)], u"Ro\tJazz");

  // After switching to list 1, a rename applies to list 1.
  session.OnSelectionEnded(1);
  session.OnEditChanged();
  session.OnFocusLost(u"Swing\tBand");
  EXPECT_EQ(storage.strings[Text(kListNamesKey)], u"Ro\tSwing Band");
}

TEST_F(ListSessionTest, ExitWritesLastListShownRowsAndFirstSelectedRow) {
  StoreLists({u"A", u"B"}, {u"a.mp3", u"b1.mp3\r\nb2.mp3"});
  session.Start();
  session.OnSelectionEnded(1);
  rows.SetSelected(1, true);
  AddMediaFile(rows, u"b3.mp3", nullptr);
  session.SaveAtExit();
  EXPECT_EQ(storage.ints[Text(kLastListKey)], 1);
  EXPECT_EQ(storage.ints[Text(kLastRowKey)], 1);
  EXPECT_EQ(storage.sections[u"MediaList1"], u"b1.mp3\r\nb2.mp3\r\nb3.mp3");

  // No selected row: "m_Sel" keeps its value.
  storage.ints[Text(kLastRowKey)] = 9;
  rows.SetAllSelected(false);
  session.SaveAtExit();
  EXPECT_EQ(storage.ints[Text(kLastRowKey)], 9);
}

TEST_F(ListSessionTest, EditsAreSavedOnceABurstHasWaitedTwoSeconds) {
  StoreLists({u"A"}, {u"a.mp3"});
  session.Start();
  const int before = storage.longWrites;
  AddMediaFile(rows, u"b.mp3", nullptr);
  session.MarkShownListEdited(1000);
  AddMediaFile(rows, u"c.mp3", nullptr);
  session.MarkShownListEdited(1500);  // same burst: the deadline stays
  EXPECT_EQ(session.PendingSaveDeadline(), 3000);
  EXPECT_FALSE(session.SaveIfDue(2999));
  EXPECT_EQ(storage.longWrites, before);
  EXPECT_TRUE(session.SaveIfDue(3000));
  EXPECT_EQ(storage.longWrites, before + 1);
  EXPECT_EQ(storage.sections[u"MediaList"], u"a.mp3\r\nb.mp3\r\nc.mp3");
  EXPECT_FALSE(session.HasPendingSave());
  EXPECT_FALSE(session.SaveIfDue(9000));

  // A switch saves at once and leaves nothing pending.
  session.MarkShownListEdited(10000);
  session.OnSelectionEnded(0);
  EXPECT_FALSE(session.HasPendingSave());
}

TEST_F(ListSessionTest, TextsFollowTheInstalledLanguageWithEnglishForGaps) {
  session.Start();
  InstallListStrings([](int id) -> std::optional<Text> {
    if (id == 31) return u"Neue Wiedergabeliste";
    if (id == 146) return u"Entfernen";
    return std::nullopt;  // no such id: the English one stands in
  });
  EXPECT_EQ(session.EntryText(2), u"    - Entfernen");
  EXPECT_EQ(session.EntryText(1), u"....   + Add New Playlist");
  session.NewMediaList({});
  EXPECT_EQ(session.EntryText(1), u"Neue Wiedergabeliste 01/02/2026 03:04:05");
  InstallListStrings(nullptr);
  EXPECT_EQ(session.EntryText(3), u"    - Remove");
}

}  // namespace
}  // namespace sorvane
