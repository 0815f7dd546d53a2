// The media lists in a real INI document (settings store over an in-memory
// file system): nothing stored is lost or changed on the way back.
#include <gtest/gtest.h>

#include "settings/ini_document.h"
#include "settings/settings_store.h"
#include "medialist/list_persistence.h"
#include "medialist/list_session.h"
#include "medialist/settings_list_storage.h"
#include "settings_fake_file_system.h"

namespace sorvane {
namespace {

class NoQuestions : public ListSessionHost {
 public:
  Answer Ask(TextView, TextView, QuestionIcon) override { return Answer::kNo; }
  void ListLoaded(int) override {}
};

LocalDateTime FixedTime() { return {2026, 12, 9, 23, 5, 1}; }

class ListStorageIniTest : public ::testing::Test {
 protected:
  ListStorageIniTest() : store(fs), storage(store) {
    fs.folders.insert(u"c:\\cfg");
    store.SetIniPath(ini);
  }
  const Text* Stored(TextView section, TextView key) {
    doc = IniDocument::Parse(IniDocument::DecodeUtf16(std::string_view(fs.Bytes(ini)).substr(2)));
    return doc.Find(section, key);
  }

  testing::FakeFileSystem fs;
  SettingsStore store;
  SettingsListStorage storage;
  const Text ini = u"C:\\cfg\\Sorvane.ini";
  IniDocument doc;
};

TEST_F(ListStorageIniTest, StoredTextOf32001CharactersTakesTwoKeys) {
  // Two paths whose stored form (a line break counts three) is 32001 long.
  MediaList rows;
  AddMediaFile(rows, Text(20000, u'a'), nullptr);
  AddMediaFile(rows, Text(32001 - 20000 - 3, u'b'), nullptr);
  SaveMediaList(rows, storage, 4);
  const Text* first = Stored(u"MediaList4", u"MediaList4");
  ASSERT_TRUE(first);
  EXPECT_EQ(first->size(), 32000u);
  const Text* second = Stored(u"MediaList4", u"MediaList4_1");
  ASSERT_TRUE(second);
  EXPECT_EQ(*second, u"b");
  EXPECT_EQ(Stored(u"MediaList4", u"MediaList4_2"), nullptr);

  MediaList back;
  LoadMediaList(back, storage, 4);
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.Cell(1, kColumnPath), rows.Cell(1, kColumnPath));
}

TEST_F(ListStorageIniTest, HundredThousandPathsComeBackUnchanged) {
  // CJK, emoji (surrogate pairs), combining marks, private-use neighbours of
  // the line-break marks, quotes and '=' at the ends of chunks.
  const Text pieces[] = {u"音楽\\曲名", u"🎵🎶", u"e\u0301te\u0308", u"\uE000x\uE002", u"\"q\"", u"a=b;c", u"한국어",
                         u"Ελληνικά"};
  MediaList rows;
  rows.Reserve(100000);
  for (int i = 0; i < 100000; ++i) {
    const Text& p = pieces[static_cast<size_t>(i) % std::size(pieces)];
    AddMediaFile(rows, u"C:\\Music\\" + p + Format(u"\\%d ", {i}) + p + u".mp3", nullptr);
  }
  const Text saved = SaveMediaList(rows, storage, 7);
  EXPECT_GT(saved.size(), 320000u);  // far beyond ten chunks

  MediaList back;
  EXPECT_EQ(LoadMediaList(back, storage, 7), saved);
  ASSERT_EQ(back.Count(), rows.Count());
  for (int r = 0; r < rows.Count(); ++r)
    ASSERT_EQ(back.Cell(r, kColumnPath), rows.Cell(r, kColumnPath)) << "row " << r;
  EXPECT_EQ(back.Cell(99999, kColumnTitle), Text(FileNameOfPath(rows.Cell(99999, kColumnPath))));
}

TEST_F(ListStorageIniTest, ListNamesAreReadBackWholeAndTabsBecomeSpaces) {
  NoQuestions host;
  {
    MediaList rows;
    ListSession session(rows, storage, host, FixedTime);
    session.Start();
    for (int i = 0; i < 60; ++i) session.NewMediaList(Format(u"Liste %d mit einem recht langen Namen", {i}));
    session.SaveListNames();
    session.SetSelection(0);
    session.OnFocus();
    session.OnEditChanged();
    session.OnFocusLost(u"Tab\there");
    session.SaveAtExit();
  }
  ASSERT_GT(Stored(kProgramSection, kListNamesKey)->size(), 1023u * 3);

  MediaList rows;
  ListSession again(rows, storage, host, FixedTime);
  again.Start();
  ASSERT_EQ(again.ListCount(), 61);
  EXPECT_EQ(again.Names()[0], u"Tab here");
  EXPECT_EQ(again.Names()[60], u"Liste 59 mit einem recht langen Namen New playlist 12/09/2026 23:05:01");
}

TEST_F(ListStorageIniTest, ExitWritesTheSelectionKeys) {
  NoQuestions host;
  store.WriteString(kProgramSection, kListNamesKey, u"A\tB\tC");
  store.WriteLongValue(u"MediaList2", u"x.mp3\r\ny.mp3");
  store.WriteInt(kProductSection, kLastListKey, 7);
  MediaList rows;
  ListSession session(rows, storage, host, FixedTime);
  session.Start();
  EXPECT_EQ(session.ShownListIndex(), 2);
  ASSERT_EQ(rows.Count(), 2);
  rows.SetSelected(1, true);
  session.SaveAtExit();
  EXPECT_EQ(store.ReadInt(kProductSection, kLastListKey, -1), 2);
  EXPECT_EQ(store.ReadInt(kProductSection, kLastRowKey, -1), 1);
  EXPECT_EQ(store.ReadLongValue(u"MediaList2"), u"x.mp3\r\ny.mp3");
}

}  // namespace
}  // namespace sorvane
