// Batches, the kept document, surrogate-safe chunks, UTF-8 files and the
// "-ini:" path: the settings store's answers to large files and odd input.
#include <gtest/gtest.h>

#include <functional>

#include "settings/ini_document.h"
#include "settings/settings_store.h"
#include "settings_fake_file_system.h"

namespace sorvane {
namespace {

using testing::FakeFileSystem;

const Text kIni = u"C:\\cfg\\Sorvane.ini";
const TextView kSeed = u"[Program]\r\nm_PlayList=A\tB\r\n[Sorvane]\r\nVolume=10\r\nm_Sel=3\r\n[MediaList]\r\nMediaList=old\r\n";

struct Machine {
  Machine() : store(fs) {
    fs.folders.insert(u"c:\\cfg");
    fs.PutUtf16(kIni, kSeed);
    store.SetIniPath(kIni);
    fs.reads = fs.writes = 0;
  }
  Text FileText() { return IniDocument::DecodeUtf16(std::string_view(fs.Bytes(kIni)).substr(2)); }
  FakeFileSystem fs;
  SettingsStore store;
};

Text LongList(size_t chunks) {
  Text text;
  for (int i = 0; text.size() < chunks * 32000; ++i) text += Format(u"C:\\Music\\%d \u00C9t\u00E9 \U0001F3B5.mp3\r\n", {i});
  return text;
}

// What closing the window writes, with the second "m_Sel", a refused write and
// names and values with blanks at their ends (which the next write trims) among them.
void CloseWrites(SettingsStore& s) {
  s.WriteProgramString(u"m_Window_Rect", u"10,20,810,620");
  s.WriteProgramString(u"blanks", u"  inner  blanks   ");
  EXPECT_EQ(s.ReadProgramString(u"blanks"), u"inner  blanks");
  s.WriteString(u" New  ", u" key  ", u"v 	");
  s.WriteInt(kProductSection, u"m_LastSel", 1);
  s.WriteLongValue(u"MediaList", LongList(3));
  s.WriteLongValue(u"MediaList1", u"");
  s.WriteInt(kProductSection, u"Volume", 80);
  s.WriteInt(kProductSection, u"m_Sel", 7);
  EXPECT_FALSE(s.WriteProgramString(u"bad", u"two\r\nlines"));
  s.WriteInt(kProductSection, u"m_Sel", 8);
  s.DeleteSection(u"Gone");
  s.WriteString(u"new", u"KEY", u"w");
  s.WriteProgramString(u"m_Position", u"83.500000  ");
  EXPECT_EQ(s.ReadProgramString(u"m_Position"), u"83.500000");
}

TEST(SettingsBatch, WritesOfOneMomentAreOneReadAndOneWriteWithTheSameBytes) {
  Machine one, batched;
  one.fs.stamps = false;  // the reference reads the file back before every write
  CloseWrites(one.store);
  EXPECT_GE(one.fs.writes, 8);
  {
    SettingsBatch batch(batched.store);
    CloseWrites(batched.store);
    EXPECT_EQ(batched.fs.writes, 0);
    // Reads inside the batch see its writes.
    EXPECT_EQ(batched.store.ReadInt(kProductSection, u"m_Sel", 0), 8);
    EXPECT_EQ(batched.store.ReadLongValue(u"MediaList"), LongList(3));
    EXPECT_TRUE(batch.Commit());
  }
  EXPECT_EQ(batched.fs.reads, 1);
  EXPECT_EQ(batched.fs.writes, 1);
  EXPECT_EQ(ToUtf8(batched.FileText()), ToUtf8(one.FileText()));
  EXPECT_EQ(batched.fs.Bytes(kIni), one.fs.Bytes(kIni));

  // Kept between writes without a batch, the document gives the same bytes too.
  Machine kept;
  CloseWrites(kept.store);
  EXPECT_EQ(kept.fs.reads, 1);
  EXPECT_EQ(kept.fs.Bytes(kIni), one.fs.Bytes(kIni));
  EXPECT_EQ(batched.store.ReadInt(kProductSection, u"Volume", 0), 80);
}

TEST(SettingsBatch, NestedBatchesWriteOnceAtTheOutermostEnd) {
  Machine m;
  {
    SettingsBatch outer(m.store);
    m.store.WriteInt(kProductSection, u"Volume", 1);
    {
      SettingsBatch inner(m.store);
      m.store.WriteInt(kProductSection, u"m_Sel", 2);
      EXPECT_TRUE(inner.Commit());
      EXPECT_TRUE(m.store.InBatch());
    }
    m.store.WriteInt(kProductSection, u"m_Repeat", 0);
    EXPECT_EQ(m.fs.writes, 0);
  }
  EXPECT_FALSE(m.store.InBatch());
  EXPECT_EQ(m.fs.reads, 1);
  EXPECT_EQ(m.fs.writes, 1);
  EXPECT_EQ(m.FileText(),
            u"[Program]\r\nm_PlayList=A\tB\r\n[Sorvane]\r\nVolume=1\r\nm_Sel=2\r\nm_Repeat=0\r\n[MediaList]\r\nMediaList=old\r\n");
  // An end without a beginning is refused, not counted below zero.
  EXPECT_FALSE(m.store.EndBatch());
  m.store.WriteInt(kProductSection, u"Volume", 5);
  EXPECT_EQ(m.fs.writes, 2);
}

TEST(SettingsBatch, AFailureInsideABatchIsReportedAndLeavesTheFileWhole) {
  {
    // The file cannot be replaced: the writes apply in memory, the end reports
    // the failure, and later reads show the file as it is.
    Machine m;
    const std::string before = m.fs.Bytes(kIni);
    m.fs.readOnly.insert(FakeFileSystem::Key(kIni));
    SettingsBatch batch(m.store);
    EXPECT_TRUE(m.store.WriteInt(kProductSection, u"Volume", 99));
    EXPECT_TRUE(m.store.WriteLongValue(u"MediaList", u"new"));
    EXPECT_FALSE(batch.Commit());
    EXPECT_FALSE(batch.Commit());  // a second end changes nothing
    EXPECT_EQ(m.fs.Bytes(kIni), before);
    EXPECT_EQ(m.store.ReadInt(kProductSection, u"Volume", 0), 10);
    EXPECT_EQ(m.store.ReadLongValue(u"MediaList"), u"old");
  }
  {
    // The file exists but cannot be read: nothing may replace it.
    Machine m;
    const std::string before = m.fs.Bytes(kIni);
    m.fs.unreadable.insert(FakeFileSystem::Key(kIni));
    SettingsBatch batch(m.store);
    EXPECT_FALSE(m.store.WriteInt(kProductSection, u"Volume", 99));
    EXPECT_FALSE(m.store.WriteLongValue(u"MediaList", u"new"));
    EXPECT_FALSE(batch.Commit());
    EXPECT_EQ(m.fs.writes, 0);
    EXPECT_EQ(m.fs.Bytes(kIni), before);
  }
  {
    // A write to another file inside a batch goes to that file at once.
    Machine m;
    SettingsBatch batch(m.store);
    const Text other = u"C:\\cfg\\other.ini";
    EXPECT_TRUE(m.store.WriteString(u"X", u"k", u"v", other));
    EXPECT_EQ(m.fs.writes, 1);
    m.store.WriteInt(kProductSection, u"Volume", 3);
    EXPECT_TRUE(batch.Commit());
    EXPECT_EQ(m.fs.writes, 2);
    EXPECT_EQ(m.store.ReadString(u"X", u"k", u"", 1024, other), u"v");
  }
}

TEST(SettingsCache, RepeatedReadsParseOnceAndAChangeBehindTheStoresBackIsSeen) {
  Machine m;
  for (int i = 0; i < 12; ++i) EXPECT_EQ(m.store.ReadInt(kProductSection, u"Volume", 0), 10);
  EXPECT_EQ(m.store.ReadLongValue(u"MediaList"), u"old");
  EXPECT_EQ(m.fs.reads, 1);

  // Another process rewrites the file.
  m.fs.PutUtf16(kIni, u"[Sorvane]\r\nVolume=44\r\n");
  EXPECT_EQ(m.store.ReadInt(kProductSection, u"Volume", 0), 44);
  EXPECT_EQ(m.store.ReadLongValue(u"MediaList"), u"");
  EXPECT_EQ(m.fs.reads, 2);

  // The store's own write keeps what it wrote: no read afterwards.
  ASSERT_TRUE(m.store.WriteInt(kProductSection, u"m_Sel", 5));
  EXPECT_EQ(m.store.ReadInt(kProductSection, u"m_Sel", 0), 5);
  EXPECT_EQ(m.fs.reads, 2);

  // A deleted file reads as missing; a file that became unreadable is not trusted.
  m.fs.files.erase(FakeFileSystem::Key(kIni));
  EXPECT_EQ(m.store.ReadInt(kProductSection, u"Volume", 50), 50);
  m.fs.PutUtf16(kIni, u"[Sorvane]\r\nVolume=1\r\n");
  EXPECT_EQ(m.store.ReadInt(kProductSection, u"Volume", 50), 1);
  m.fs.unreadable.insert(FakeFileSystem::Key(kIni));
  EXPECT_EQ(m.store.ReadInt(kProductSection, u"Volume", 50), 50);
  EXPECT_FALSE(m.store.WriteInt(kProductSection, u"Volume", 2));
}

TEST(SettingsCache, WithoutStampsEveryReadGoesToTheFile) {
  Machine m;
  m.fs.stamps = false;
  for (int i = 0; i < 3; ++i) EXPECT_EQ(m.store.ReadInt(kProductSection, u"Volume", 0), 10);
  EXPECT_EQ(m.fs.reads, 3);
  // A batch still reads once.
  SettingsBatch batch(m.store);
  m.store.WriteInt(kProductSection, u"Volume", 1);
  m.store.WriteInt(kProductSection, u"m_Sel", 1);
  EXPECT_TRUE(batch.Commit());
  EXPECT_EQ(m.fs.reads, 4);
  EXPECT_EQ(m.fs.writes, 1);
}

bool HasLoneSurrogate(TextView t) {
  for (size_t i = 0; i < t.size(); ++i) {
    const bool high = t[i] >= 0xD800 && t[i] <= 0xDBFF;
    const bool low = t[i] >= 0xDC00 && t[i] <= 0xDFFF;
    if (low) return true;
    if (high) {
      if (i + 1 == t.size() || t[i + 1] < 0xDC00 || t[i + 1] > 0xDFFF) return true;
      ++i;
    }
  }
  return false;
}

TEST(SettingsLongValue, ChunksNeverSplitACharacterOutsideTheBasicPlane) {
  const TextView emoji = u"\U0001F600";
  struct Case {
    size_t at;  // index of the emoji's first unit
    size_t firstChunk;
  } cases[] = {
      {31998, 32000},  // ends exactly at the edge
      {31999, 31999},  // would be split: the chunk ends one unit earlier
      {32000, 32000},  // starts the second chunk
  };
  for (const auto& c : cases) {
    Machine m;
    Text text = Text(c.at, u'a') + Text(emoji) + Text(40000, u'b');
    ASSERT_TRUE(m.store.WriteLongValue(u"MediaList", text));
    const IniDocument doc = IniDocument::Parse(m.FileText());
    const Text* first = doc.Find(u"MediaList", u"MediaList");
    const Text* second = doc.Find(u"MediaList", u"MediaList_1");
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->size(), c.firstChunk) << c.at;
    EXPECT_FALSE(HasLoneSurrogate(*first)) << c.at;
    EXPECT_FALSE(HasLoneSurrogate(*second)) << c.at;
    EXPECT_EQ(m.store.ReadLongValue(u"MediaList"), text) << c.at;
  }
  // A file cut the old way, between the halves, reads back whole.
  Machine m;
  m.fs.PutUtf16(kIni, u"[L]\r\nL=" + Text(31999, u'a') + u"\xD83D\r\nL_1=\xDE00z\r\n");
  EXPECT_EQ(m.store.ReadLongValue(u"L"), Text(31999, u'a') + Text(emoji) + u"z");
}

TEST(SettingsEncoding, Utf8FileWithByteOrderMarkKeepsEveryKey) {
  Machine m;
  m.fs.Put(kIni, "\xEF\xBB\xBF[Program]\r\nm_PlayList=Rock\tCaf\xC3\xA9 \xF0\x9F\x8E\xB5\r\n[Sorvane]\r\nVolume=12\r\n");
  EXPECT_EQ(m.store.ReadProgramString(u"m_PlayList"), u"Rock\tCaf\u00E9 \U0001F3B5");
  EXPECT_EQ(m.store.ReadInt(kProductSection, u"Volume", 50), 12);
  ASSERT_TRUE(m.store.WriteProgramInt(u"lng", 1031));
  ASSERT_TRUE(IniDocument::HasUtf16Bom(m.fs.Bytes(kIni)));
  EXPECT_EQ(m.FileText(), u"[Program]\r\nm_PlayList=Rock\tCaf\u00E9 \U0001F3B5\r\nlng=1031\r\n[Sorvane]\r\nVolume=12\r\n");

  // Located at start-up, the file is converted with its keys.
  FakeFileSystem fs;
  fs.folders = {u"c:\\apps\\sorvane", u"c:\\users\\u\\appdata\\roaming", u"c:\\users\\u\\appdata\\roaming\\sorvane"};
  const Text appDataIni = u"C:\\Users\\u\\AppData\\Roaming\\Sorvane\\Sorvane.ini";
  fs.Put(appDataIni, "\xEF\xBB\xBF[Program]\r\nm_PlayList=\xD0\x93\r\n");
  SettingsStore store(fs);
  store.LocateIniFile();
  ASSERT_EQ(store.IniPath(), appDataIni);
  EXPECT_TRUE(IniDocument::HasUtf16Bom(fs.Bytes(appDataIni)));
  EXPECT_EQ(store.ReadProgramString(u"m_PlayList"), u"\u0413");
  EXPECT_EQ(store.ReadProgramString(u"TestIni"), u"eeee");
}

TEST(SettingsLocate, ARelativeIniPathIsMadeAbsoluteOnce) {
  struct Case {
    Text given, expected;
  } cases[] = {
      {u"cfg\\my.ini", u"D:\\Portable\\cfg\\my.ini"},
      {u".\\my.ini", u"D:\\Portable\\my.ini"},
      {u"\\cfg\\my.ini", u"D:\\cfg\\my.ini"},
      {u"E:\\cfg\\my.ini", u"E:\\cfg\\my.ini"},
  };
  for (const auto& c : cases) {
    FakeFileSystem fs;
    fs.folders = {u"c:\\apps\\sorvane", u"c:\\users\\u\\appdata\\roaming", u"d:\\portable\\cfg", u"d:\\portable",
                  u"d:\\cfg", u"e:\\cfg", u"d:\\music"};
    fs.currentFolder = u"D:\\Portable";
    SettingsStore store(fs);
    store.LocateIniFile(c.given);
    EXPECT_EQ(ToUtf8(store.IniPath()), ToUtf8(c.expected));
    // A file dialog that moved the current directory changes nothing.
    fs.currentFolder = u"D:\\Music";
    ASSERT_TRUE(store.WriteProgramString(u"m_PlayList", u"Rock"));
    EXPECT_EQ(store.ReadProgramString(u"m_PlayList"), u"Rock");
    EXPECT_TRUE(fs.Has(c.expected));
    EXPECT_FALSE(fs.Has(u"D:\\Music\\my.ini"));
  }
}

}  // namespace
}  // namespace sorvane
