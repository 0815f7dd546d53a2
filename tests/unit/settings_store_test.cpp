#include <gtest/gtest.h>

#include "settings/ini_document.h"
#include "settings/settings_store.h"
#include "settings_fake_file_system.h"
#include "../support/posix_file_system.h"

namespace sorvane {
namespace {

using testing::FakeFileSystem;

class SettingsStoreTest : public ::testing::Test {
 protected:
  SettingsStoreTest() : store(fs) {
    fs.folders.insert(u"c:\\cfg");
    store.SetIniPath(ini);
  }
  Text FileText() { return IniDocument::DecodeUtf16(std::string_view(fs.Bytes(ini)).substr(2)); }
  const Text* Stored(TextView section, TextView key) {
    doc = IniDocument::Parse(FileText());
    return doc.Find(section, key);
  }

  FakeFileSystem fs;
  SettingsStore store;
  const Text ini = u"C:\\cfg\\Sorvane.ini";
  IniDocument doc;
};

TEST_F(SettingsStoreTest, ReadIntConvertsLikeWtoi) {
  fs.PutUtf16(ini, u"[S]\r\nempty=\r\nnum=42\r\nneg= -7 \r\ntrail=12abc\r\nword=abc\r\nbig=99999999999\r\nq=\"5\"\r\n");
  struct Case {
    TextView key;
    int def, min, max, expected;
  } cases[] = {
      {u"missing", 9, -1, -1, 9},  {u"empty", 9, -1, -1, 9},   {u"num", 9, -1, -1, 42},
      {u"neg", 9, -1, -1, -7},     {u"trail", 9, -1, -1, 12},  {u"word", 9, -1, -1, 0},
      {u"big", 9, -1, -1, 2147483647}, {u"q", 0, -1, -1, 5},
      {u"num", 0, 0, 10, 10},      {u"neg", 0, 0, 10, 0},      {u"num", 0, 50, 60, 50},
      {u"num", 0, -1, 10, 42},     {u"num", 0, 50, -1, 42},    {u"missing", 70, 0, 10, 10},
  };
  for (const auto& c : cases)
    EXPECT_EQ(store.ReadInt(u"S", c.key, c.def, c.min, c.max), c.expected)
        << ToUtf8(c.key) << " " << c.min << ".." << c.max;
}

TEST_F(SettingsStoreTest, ReadStringKeepsAtMostCapacityLessOne) {
  fs.PutUtf16(ini, u"[Program]\r\nk=abcdef\r\n");
  EXPECT_EQ(store.ReadString(u"Program", u"k", u"d", 4), u"abc");
  EXPECT_EQ(store.ReadString(u"Program", u"k", u"d", 1), u"");
  EXPECT_EQ(store.ReadString(u"Program", u"k", u"d", 0), u"");
  EXPECT_EQ(store.ReadString(u"Program", u"none", u"default", 4), u"def");
  EXPECT_EQ(store.ReadProgramString(u"k"), u"abcdef");
  EXPECT_EQ(store.ReadProgramString(u"none", u"x"), u"x");
}

TEST_F(SettingsStoreTest, EachWriteIsOneReadAndOneAtomicWriteThatKeepsTheRest) {
  fs.PutUtf16(ini, u"[Other]\r\nkeep=\u4E2D\U0001F600\r\n[Sorvane]\r\nVolume=10\r\n");
  fs.reads = 0;
  ASSERT_TRUE(store.WriteInt(u"Sorvane", u"volume", 80));
  EXPECT_EQ(fs.reads, 1);
  EXPECT_EQ(fs.writes, 1);
  ASSERT_TRUE(store.WriteProgramString(u"m_PlayList", u"A\tB"));
  ASSERT_TRUE(store.WriteProgramInt(u"lng", 1031));
  EXPECT_EQ(FileText(), u"[Other]\r\nkeep=\u4E2D\U0001F600\r\n[Sorvane]\r\nVolume=80\r\n[Program]\r\nm_PlayList=A\tB\r\nlng=1031\r\n");
  EXPECT_EQ(store.ReadProgramInt(u"LNG", 0), 1031);
  // A change made behind the store's back is seen at once.
  fs.PutUtf16(ini, u"[Program]\r\nlng=7\r\n");
  EXPECT_EQ(store.ReadProgramInt(u"lng", 0), 7);
}

TEST_F(SettingsStoreTest, CreatesTheFileAndWritesToAnotherFileWhenNamed) {
  ASSERT_FALSE(fs.Has(ini));
  ASSERT_TRUE(store.WriteString(u"Program", u"TestIni", u"eeee"));
  EXPECT_EQ(fs.Bytes(ini), std::string("\xFF\xFE[\0P\0r\0o\0g\0r\0a\0m\0]\0\r\0\n\0T\0e\0s\0t\0I\0n\0i\0=\0e\0e\0e\0e\0\r\0\n\0", 52));
  const Text other = u"C:\\cfg\\other.ini";
  ASSERT_TRUE(store.WriteString(u"X", u"k", u"v", other));
  EXPECT_EQ(store.ReadString(u"X", u"k", u"", 1024, other), u"v");
  EXPECT_EQ(store.ReadString(u"X", u"k", u"none"), u"none");
}

TEST_F(SettingsStoreTest, AFileThatCannotBeReadIsNeverReplaced) {
  fs.PutUtf16(ini, u"[Lists]\r\nMediaList=precious\r\n");
  const std::string before = fs.Bytes(ini);
  fs.unreadable.insert(FakeFileSystem::Key(ini));
  EXPECT_FALSE(store.WriteInt(u"Sorvane", u"Volume", 1));
  EXPECT_FALSE(store.DeleteSection(u"Lists"));
  EXPECT_FALSE(store.WriteLongValue(u"MediaList", u"x"));
  EXPECT_EQ(store.ReadInt(u"Sorvane", u"Volume", 50), 50);
  EXPECT_EQ(fs.writes, 0);
  EXPECT_EQ(fs.Bytes(ini), before);
}

TEST_F(SettingsStoreTest, WriteFailureIsReported) {
  fs.readOnly.insert(FakeFileSystem::Key(ini));
  EXPECT_FALSE(store.WriteInt(u"Sorvane", u"Volume", 1));
  EXPECT_FALSE(store.WriteString(u"Program", u"k", u"two\r\nlines"));
}

TEST_F(SettingsStoreTest, AnAnsiFileReadsAndIsWrittenBackAsUtf16) {
  fs.Put(ini, "[Program]\r\nname=Caf\xE9\r\n[Sorvane]\r\nVolume=33\r\n");
  EXPECT_EQ(store.ReadProgramString(u"name"), u"Caf\u00E9");
  ASSERT_TRUE(store.WriteProgramString(u"lng", u"9"));
  EXPECT_EQ(FileText(), u"[Program]\r\nname=Caf\u00E9\r\nlng=9\r\n[Sorvane]\r\nVolume=33\r\n");
}

TEST_F(SettingsStoreTest, DeleteSectionKeepsTheOthers) {
  fs.PutUtf16(ini, u"[A]\r\nk=1\r\n[MediaList]\r\nMediaList=x\r\n[B]\r\nk=2\r\n");
  ASSERT_TRUE(store.DeleteSection(u"medialist"));
  EXPECT_EQ(FileText(), u"[A]\r\nk=1\r\n[B]\r\nk=2\r\n");
}

TEST_F(SettingsStoreTest, LongValueChunksAndKeys) {
  struct Case {
    size_t length;
    std::vector<Text> keys;
  } cases[] = {
      {1, {u"MediaList3"}},
      {32000, {u"MediaList3"}},
      {32001, {u"MediaList3", u"MediaList3_1"}},
      {64001, {u"MediaList3", u"MediaList3_1", u"MediaList3_2"}},
  };
  for (const auto& c : cases) {
    Text text;
    for (size_t i = 0; i < c.length; ++i) text.push_back(static_cast<char16_t>(u'a' + i % 26));
    ASSERT_TRUE(store.WriteLongValue(u"MediaList3", text));
    const IniDocument d = IniDocument::Parse(FileText());
    ASSERT_EQ(d.Sections().size(), 1u);
    ASSERT_EQ(d.Sections()[0].entries.size(), c.keys.size()) << c.length;
    for (size_t k = 0; k < c.keys.size(); ++k) {
      EXPECT_EQ(d.Sections()[0].entries[k].name, c.keys[k]);
      EXPECT_LE(d.Sections()[0].entries[k].value.size(), 32000u);
    }
    EXPECT_EQ(store.ReadLongValue(u"MediaList3"), text) << c.length;
  }
}

TEST_F(SettingsStoreTest, LongValueOfManyChunksIsOneWriteAndReadsBackWhole) {
  fs.PutUtf16(ini, u"[Program]\r\nm_PlayList=A\r\n");
  Text text;
  for (int i = 0; text.size() < 12 * 32000 + 5; ++i)
    text += u"C:\\Music\\Some Album\\" + Format(u"%d", {i}) + u" \u4E2D\U0001F600.mp3\r\n";
  fs.writes = 0;
  ASSERT_TRUE(store.WriteLongValue(u"MediaList", text));
  EXPECT_EQ(fs.writes, 1);
  EXPECT_EQ(store.ReadLongValue(u"MediaList"), text);
  EXPECT_NE(Stored(u"MediaList", u"MediaList_12"), nullptr);
  EXPECT_EQ(store.ReadProgramString(u"m_PlayList"), u"A");

  // A shorter value leaves no chunk of the longer one behind.
  ASSERT_TRUE(store.WriteLongValue(u"MediaList", u"short"));
  EXPECT_EQ(store.ReadLongValue(u"MediaList"), u"short");
  EXPECT_EQ(Stored(u"MediaList", u"MediaList_1"), nullptr);
  // The empty text leaves the section deleted.
  ASSERT_TRUE(store.WriteLongValue(u"MediaList", u""));
  EXPECT_EQ(FileText(), u"[Program]\r\nm_PlayList=A\r\n");
  EXPECT_EQ(store.ReadLongValue(u"MediaList"), u"");
}

TEST_F(SettingsStoreTest, LongValueLineBreaksAndChunkEdges) {
  ASSERT_TRUE(store.WriteLongValue(u"L", u"a\r\nb"));
  EXPECT_EQ(*Stored(u"L", u"L"), u"a\uE000\uE001\uE002b");
  // Stored by older versions: the private-use triple is CR LF.
  fs.PutUtf16(ini, u"[L]\r\nL=x\uE000\uE001\uE002y\r\nL_1=z\r\n");
  EXPECT_EQ(store.ReadLongValue(u"L"), u"x\r\nyz");

  const Text edges[] = {
      u"lone\nLF and lone\rCR\r\r\n\n",
      u"  leading and trailing blanks  ",
      u"\"quoted\"",
      u"'x'",
      Text(31999, u'a') + u"  " + Text(31999, u'b') + u"\" \"",  // blanks and quotes at chunk edges
      Text(32000, u' '),
  };
  for (const auto& text : edges) {
    ASSERT_TRUE(store.WriteLongValue(u"L", text));
    EXPECT_EQ(store.ReadLongValue(u"L"), text) << ToUtf8(text.substr(0, 40));
  }
  // Only chunks up to the first missing one belong to the value.
  fs.PutUtf16(ini, u"[L]\r\nL=a\r\nL_1=b\r\nL_3=stale\r\n");
  EXPECT_EQ(store.ReadLongValue(u"L"), u"ab");
  fs.PutUtf16(ini, u"[L]\r\nL=a\r\nL_1=\"\"\r\nL_2=stale\r\n");
  EXPECT_EQ(store.ReadLongValue(u"L"), u"a");
}

TEST(SettingsObjects, IntSettingCutsItsKeyAndSkipsUnchangedWrites) {
  FakeFileSystem fs;
  fs.folders.insert(u"c:\\cfg");
  SettingsStore store(fs);
  store.SetIniPath(u"C:\\cfg\\Sorvane.ini");
  IntSetting volume(u"Volume", 50);
  EXPECT_EQ(volume.Load(store), 50);
  EXPECT_TRUE(volume.WriteIfChanged(store, 50));
  EXPECT_EQ(fs.writes, 0);
  EXPECT_TRUE(volume.WriteIfChanged(store, 70));
  EXPECT_TRUE(volume.Write(store, 70));
  EXPECT_EQ(fs.writes, 2);
  EXPECT_EQ(IntSetting(u"volume", 0).Load(store), 70);
  EXPECT_EQ(store.ReadInt(kProductSection, u"Volume", 0), 70);

  const Text longKey(70, u'k');
  IntSetting cut(longKey, 1);
  EXPECT_EQ(cut.key.size(), 63u);
  ASSERT_TRUE(cut.Write(store, 5));
  EXPECT_EQ(store.ReadInt(kProductSection, longKey.substr(0, 63), 0), 5);
}

TEST(SettingsObjects, StringSettingWritesOnlyWhenTheTextDiffers) {
  FakeFileSystem fs;
  fs.folders.insert(u"c:\\cfg");
  SettingsStore store(fs);
  store.SetIniPath(u"C:\\cfg\\Sorvane.ini");
  StringSetting lists(u"m_PlayList", u"Default PlayList");
  EXPECT_EQ(lists.Load(store), u"Default PlayList");
  EXPECT_TRUE(lists.Set(store, u"Default PlayList"));
  EXPECT_EQ(fs.writes, 0);
  EXPECT_TRUE(lists.Set(store, u"default playlist"));
  EXPECT_EQ(fs.writes, 1);
  EXPECT_EQ(store.ReadProgramString(u"m_PlayList"), u"default playlist");

  ASSERT_TRUE(store.WriteProgramString(u"m_PlayList", Text(1500, u'x')));
  EXPECT_EQ(lists.Load(store).size(), 1023u);
}

TEST(SettingsObjects, ProcessWideStoreAnswersDefaultsUntilInstalled) {
  InstallSettings(nullptr);
  EXPECT_EQ(Settings().ReadProgramInt(u"lng", 1033), 1033);
  EXPECT_FALSE(Settings().WriteProgramInt(u"lng", 1));
  FakeFileSystem fs;
  fs.folders.insert(u"c:\\cfg");
  SettingsStore store(fs);
  store.SetIniPath(u"C:\\cfg\\Sorvane.ini");
  InstallSettings(&store);
  EXPECT_EQ(&Settings(), &store);
  EXPECT_TRUE(Settings().WriteProgramInt(u"lng", 1));
  InstallSettings(nullptr);
}

}  // namespace
}  // namespace sorvane

namespace sorvane {
namespace {

TEST(SettingsOnRealFiles, LongValueAndKeysSurviveAtomicRewrites) {
  testing::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  testing::PosixFileSystem fs;
  SettingsStore store(fs);
  store.SetIniPath(folder.File("Sorvane.ini"));
  ASSERT_TRUE(store.WriteProgramString(u"m_PlayList", u"\u4E2D\tB"));
  Text text;
  for (int i = 0; text.size() < 70000; ++i) text += Format(u"/music/%d song.mp3\r\n", {i});
  ASSERT_TRUE(store.WriteLongValue(u"MediaList", text));
  ASSERT_TRUE(store.WriteInt(kProductSection, u"Volume", 42));
  EXPECT_EQ(store.ReadLongValue(u"MediaList"), text);
  EXPECT_EQ(store.ReadProgramString(u"m_PlayList"), u"\u4E2D\tB");
  EXPECT_EQ(store.ReadInt(kProductSection, u"Volume", 0), 42);
  EXPECT_EQ(fs.PathKind(folder.File("Sorvane.ini")), 1);
  EXPECT_EQ(fs.PathKind(folder.File("")), 2);
  EXPECT_EQ(fs.PathKind(folder.File("missing/x.ini")), 0);
}

}  // namespace
}  // namespace sorvane
