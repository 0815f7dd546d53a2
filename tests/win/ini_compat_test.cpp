// Our INI engine against the platform's private-profile functions as a peer:
// each reads what the other writes, and both write the same bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/ini_document.h"
#include "settings/settings_store.h"
#include "settings/win/win_file_system.h"
#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {

class IniCompat : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    static int counter = 0;
    folder_ = T(temp) + u"sorvane_ini_" + Format(u"%d_%d", {static_cast<int>(GetCurrentProcessId()), ++counter});
    ASSERT_TRUE(CreateDirectoryW(W(folder_), nullptr));
    ini_ = folder_ + u"\\Sorvane.ini";
    store_.SetIniPath(ini_);
  }
  void TearDown() override {
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(W(folder_ + u"\\*"), &found);
    if (h != INVALID_HANDLE_VALUE) {
      do {
        const Text name = T(found.cFileName);
        if (name == u"." || name == u"..") continue;
        SetFileAttributesW(W(folder_ + u"\\" + name), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(W(folder_ + u"\\" + name));
      } while (FindNextFileW(h, &found));
      FindClose(h);
    }
    RemoveDirectoryW(W(folder_));
  }

  static Text PlatformRead(const Text& file, TextView section, TextView key, TextView def = u"(missing)") {
    std::vector<wchar_t> buffer(70000);
    const DWORD n = GetPrivateProfileStringW(W(Text(section)), W(Text(key)), W(Text(def)), buffer.data(),
                                             static_cast<DWORD>(buffer.size()), W(file));
    return T(buffer.data(), n);
  }
  static bool PlatformWrite(const Text& file, TextView section, TextView key, TextView value) {
    return WritePrivateProfileStringW(W(Text(section)), W(Text(key)), W(Text(value)), W(file)) != 0;
  }
  void PutBytes(const Text& path, const std::string& bytes) { ASSERT_TRUE(fs_.WriteFileAtomic(path, bytes)); }
  std::string Bytes(const Text& path) {
    std::string b;
    fs_.ReadFile(path, b);
    return b;
  }

  WinFileSystem fs_;
  SettingsStore store_{fs_};
  Text folder_, ini_;
};

struct Entry {
  TextView section, key, value;
};

const Entry kEntries[] = {
    {u"Program", u"m_PlayList", u"Default PlayList\tRock"},
    {u"Program", u"cjk", u"\u4E2D\u6587\u97F3\u4E50 \u65E5\u672C\u8A9E"},
    {u"Program", u"emoji", u"\U0001F3B5\U0001F600 music"},
    {u"Program", u"quoted", u"\"C:\\Music\\a b.mp3\""},
    {u"Program", u"single", u"'x'"},
    {u"Program", u"half", u"\"half"},
    {u"Program", u"blanks", u"   inner  blanks   "},
    {u"Program", u"MixedCase", u"v"},
    {u"Program", u"pua", u"a\uE000\uE001\uE002b"},
    {u"Program", u"empty", u""},
    {u"Sorvane", u"Volume", u"50"},
    {u"Sorvane", u"m_FlyOut_color", u"33023"},
    {u"MediaList2", u"MediaList2", u"x"},
};

// Lookups ask in another case and with blanks around the names.
Text OtherCase(TextView t) {
  Text out(u" ");
  for (char16_t c : t) out.push_back(c >= u'a' && c <= u'z' ? c - 32 : (c >= u'A' && c <= u'Z' ? c + 32 : c));
  return out + u" ";
}

TEST_F(IniCompat, PlatformReadsWhatWeWrite) {
  for (const auto& e : kEntries) ASSERT_TRUE(store_.WriteString(e.section, e.key, e.value));
  for (const auto& e : kEntries) {
    const Text ours = store_.ReadString(e.section, e.key, u"(missing)", 70000);
    EXPECT_EQ(ToUtf8(PlatformRead(ini_, OtherCase(e.section), OtherCase(e.key))), ToUtf8(ours)) << ToUtf8(e.key);
  }
  EXPECT_EQ(PlatformRead(ini_, u"Program", u"nothing"), u"(missing)");
}

TEST_F(IniCompat, WeReadWhatThePlatformWrites) {
  PutBytes(ini_, "\xFF\xFE");  // the platform writes UTF-16 only into a file that already is
  for (const auto& e : kEntries) ASSERT_TRUE(PlatformWrite(ini_, e.section, e.key, e.value));
  for (const auto& e : kEntries) {
    EXPECT_EQ(ToUtf8(store_.ReadString(OtherCase(e.section), OtherCase(e.key), u"(missing)", 70000)),
              ToUtf8(PlatformRead(ini_, e.section, e.key)))
        << ToUtf8(e.key);
  }
}

TEST_F(IniCompat, SameWritesGiveTheSameBytes) {
  const Text platformFile = folder_ + u"\\platform.ini";
  const std::string start[] = {
      std::string("\xFF\xFE", 2),
      [] {
        const Text t = u"; note\r\n[Program]\r\nstray line\r\n  Toop =  1  \r\n\r\n[ Sorvane ]\r\nVolume=5\r\n\r\n";
        return std::string("\xFF\xFE", 2) + std::string(reinterpret_cast<const char*>(t.data()), t.size() * 2);
      }(),
  };
  for (const auto& bytes : start) {
    PutBytes(platformFile, bytes);
    PutBytes(ini_, bytes);
    for (const auto& e : kEntries) {
      ASSERT_TRUE(PlatformWrite(platformFile, e.section, e.key, e.value));
      ASSERT_TRUE(store_.WriteString(e.section, e.key, e.value));
    }
    ASSERT_TRUE(PlatformWrite(platformFile, u"program", u"mixedcase", u"  changed"));
    ASSERT_TRUE(store_.WriteString(u"program", u"mixedcase", u"  changed"));
    ASSERT_TRUE(WritePrivateProfileStringW(L"MediaList2", nullptr, nullptr, W(platformFile)));
    ASSERT_TRUE(store_.DeleteSection(u"MediaList2"));
    ASSERT_TRUE(PlatformWrite(platformFile, u"Sorvane", u"m_Sel", u"3"));
    ASSERT_TRUE(store_.WriteInt(u"Sorvane", u"m_Sel", 3));
    const std::string platform = Bytes(platformFile), ours = Bytes(ini_);
    EXPECT_EQ(ours, platform);
    if (ours != platform)
      ADD_FAILURE() << "ours:\n" << ToUtf8(IniDocument::DecodeUtf16(ours)) << "\nplatform:\n"
                    << ToUtf8(IniDocument::DecodeUtf16(platform));
  }
}

Text LongText() {
  Text text;
  for (int i = 0; text.size() < 3 * 32000 + 100; ++i)
    text += u"C:\\Music\\\u4E2D\U0001F3B5 Album\\" + Format(u"%d", {i}) + u" Title \"q\".mp3\r\n";
  return u"  " + text + u"  ";
}

TEST_F(IniCompat, LongValueChunksReadBackThroughThePlatform) {
  const Text text = LongText();
  ASSERT_TRUE(store_.WriteString(u"Program", u"m_PlayList", u"A"));
  ASSERT_TRUE(store_.WriteLongValue(u"MediaList", text));
  Text stored;
  for (int i = 0;; ++i) {
    const Text key = i == 0 ? Text(u"MediaList") : Format(u"%s_%d", {TextView(u"MediaList"), i});
    const Text chunk = PlatformRead(ini_, u"MediaList", key, u"");
    if (chunk.empty()) break;
    EXPECT_LE(chunk.size(), 32000u);
    stored += chunk;
  }
  ReplaceAll(stored, u"\uE000\uE001\uE002", u"\r\n");
  EXPECT_EQ(stored, text);
  EXPECT_EQ(PlatformRead(ini_, u"Program", u"m_PlayList"), u"A");
}

// Per-key writes as older versions made them: our reader must see what the platform's sees.
TEST_F(IniCompat, WeReadLongValuesThePlatformWrote) {
  Text stored = LongText();
  ReplaceAll(stored, u"\r\n", u"\uE000\uE001\uE002");
  PutBytes(ini_, "\xFF\xFE");
  ASSERT_TRUE(WritePrivateProfileSectionW(L"MediaList1", L"", W(ini_)));
  Text platform;
  for (size_t i = 0, at = 0; at < stored.size(); ++i, at += 32000) {
    const Text key = i == 0 ? Text(u"MediaList1") : Format(u"%s_%d", {TextView(u"MediaList1"), static_cast<int>(i)});
    ASSERT_TRUE(PlatformWrite(ini_, u"MediaList1", key, TextView(stored).substr(at, 32000)));
    platform += PlatformRead(ini_, u"MediaList1", key, u"");
  }
  ReplaceAll(platform, u"\uE000\uE001\uE002", u"\r\n");
  const Text ours = store_.ReadLongValue(u"MediaList1");
  EXPECT_EQ(ours.size(), platform.size());
  EXPECT_TRUE(ours == platform);
}

TEST_F(IniCompat, FileSystemReplacesAtomicallyAndTellsKinds) {
  const Text file = folder_ + u"\\a.bin";
  EXPECT_EQ(fs_.PathKind(file), 0);
  EXPECT_EQ(fs_.PathKind(folder_ + u"\\no\\such\\file"), 0);
  EXPECT_EQ(fs_.PathKind(folder_), 2);
  ASSERT_TRUE(fs_.WriteFileAtomic(file, std::string("first, longer content")));
  ASSERT_TRUE(fs_.WriteFileAtomic(file, std::string("sec\0nd", 6)));
  EXPECT_EQ(fs_.PathKind(file), 1);
  EXPECT_EQ(Bytes(file), std::string("sec\0nd", 6));
  ASSERT_TRUE(fs_.WriteFileAtomic(file, std::string()));
  EXPECT_EQ(Bytes(file), "");

  // Only the file itself is left in the folder: no temporary file stays behind.
  int count = 0;
  WIN32_FIND_DATAW found;
  HANDLE h = FindFirstFileW(W(folder_ + u"\\*"), &found);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  do count += found.cFileName[0] != L'.';
  while (FindNextFileW(h, &found));
  FindClose(h);
  EXPECT_EQ(count, 1);

  // A read-only file is not replaced, and a missing folder is a failure.
  ASSERT_TRUE(SetFileAttributesW(W(file), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(fs_.WriteFileAtomic(file, "x"));
  EXPECT_EQ(Bytes(file), "");
  EXPECT_FALSE(fs_.WriteFileAtomic(folder_ + u"\\missing\\b.ini", "x"));
  std::string bytes;
  EXPECT_FALSE(fs_.ReadFile(folder_ + u"\\missing.ini", bytes));
}

TEST_F(IniCompat, FileSystemEnvironment) {
  const Text temp = fs_.TempFolder();
  ASSERT_FALSE(temp.empty());
  EXPECT_EQ(temp.back(), u'\\');
  const Text program = ToLower(fs_.ProgramFilePath());
  EXPECT_TRUE(program.ends_with(u".exe")) << ToUtf8(program);
  EXPECT_EQ(fs_.PathKind(fs_.ProgramFilePath()), 1);
  EXPECT_FALSE(fs_.AppDataFolder().empty());
  EXPECT_EQ(fs_.AnsiToText("abc=1\r\n"), u"abc=1\r\n");
  EXPECT_FALSE(fs_.CreateFolder(folder_));  // exists already
  EXPECT_TRUE(fs_.CreateFolder(folder_ + u"\\sub"));
  EXPECT_EQ(fs_.PathKind(folder_ + u"\\sub"), 2);
  RemoveDirectoryW(W(folder_ + u"\\sub"));
}

TEST_F(IniCompat, PlatformReadsAFileStoreAfterLocatingConvertedIt) {
  // An ANSI file as older versions or a text editor leave it.
  PutBytes(ini_, "[Program]\r\nm_PlayList=Rock\r\n[Sorvane]\r\nVolume=12\r\n");
  ASSERT_TRUE(store_.WriteString(u"Program", u"TestIni", u"eeee"));
  const std::string bytes = Bytes(ini_);
  ASSERT_TRUE(IniDocument::HasUtf16Bom(bytes));
  EXPECT_EQ(PlatformRead(ini_, u"Program", u"m_PlayList"), u"Rock");
  EXPECT_EQ(PlatformRead(ini_, u"Sorvane", u"Volume"), u"12");
  ASSERT_TRUE(PlatformWrite(ini_, u"Program", u"cjk", u"\u4E2D"));
  EXPECT_EQ(store_.ReadString(u"Program", u"cjk", u""), u"\u4E2D");
}

TEST_F(IniCompat, StampsTellVersionsApartAndTheStoreSeesThePlatformsChanges) {
  const Text file = folder_ + u"\\s.bin";
  FileStamp none;
  EXPECT_FALSE(fs_.Stamp(file, none));
  FileStamp written, now, again;
  bool stamped = false;
  ASSERT_TRUE(fs_.WriteFileAtomicStamped(file, "first", written, stamped));
  ASSERT_TRUE(stamped);
  ASSERT_TRUE(fs_.Stamp(file, now));
  EXPECT_TRUE(now == written) << "the rename keeps what the written file's stamp said";
  EXPECT_EQ(now.size, 5u);
  ASSERT_TRUE(fs_.WriteFileAtomic(file, "other"));
  ASSERT_TRUE(fs_.Stamp(file, again));
  EXPECT_FALSE(again == now) << "a replaced file of the same size is another file";

  // The store keeps what it read and still sees the platform's writes.
  ASSERT_TRUE(store_.WriteString(u"Program", u"m_PlayList", u"A"));
  EXPECT_EQ(store_.ReadProgramString(u"m_PlayList"), u"A");
  ASSERT_TRUE(PlatformWrite(ini_, u"Program", u"m_PlayList", u"Rock\tJazz"));
  EXPECT_EQ(store_.ReadProgramString(u"m_PlayList"), u"Rock\tJazz");
  ASSERT_TRUE(fs_.WriteFileAtomic(ini_, std::string("\xFF\xFE[\0P\0]\0\r\0\n\0", 12)));
  EXPECT_EQ(store_.ReadProgramString(u"m_PlayList", u"none"), u"none");

  // A relative path is resolved against the current directory.
  wchar_t current[MAX_PATH + 1] = {};
  GetCurrentDirectoryW(MAX_PATH + 1, current);
  ASSERT_TRUE(SetCurrentDirectoryW(W(folder_)));
  EXPECT_TRUE(EqualsIgnoreCase(fs_.FullPath(u"sub\\x.ini"), folder_ + u"\\sub\\x.ini")) << ToUtf8(fs_.FullPath(u"sub\\x.ini"));
  EXPECT_EQ(fs_.FullPath(u"C:\\abs\\x.ini"), u"C:\\abs\\x.ini");
  SetCurrentDirectoryW(current);
}

}  // namespace
}  // namespace sorvane::win

#include "app/win/window_placement.h"

namespace sorvane::win {
namespace {

TEST(WindowPlacement, MovesTheWindowToTheFittedStoredRectangle) {
  HWND w = CreateWindowExW(0, L"STATIC", L"placement", WS_POPUP, 200, 200, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(w, nullptr);
  RECT r{};
  EXPECT_FALSE(ApplyWindowRect(w, u"0,0,0,0"));
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 200);
  ASSERT_TRUE(ApplyWindowRect(w, u"10,10,20,20"));
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 10);
  EXPECT_EQ(r.right - r.left, 600);
  EXPECT_EQ(r.bottom - r.top, 400);
  if (GetSystemMetrics(SM_CXSCREEN) >= 1024 && GetSystemMetrics(SM_CYSCREEN) >= 768) {
    ASSERT_TRUE(ApplyWindowRect(w, u"-50,0,700,500"));
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 750);
    EXPECT_EQ(r.bottom, 500);
    // Wholly left of the screen: moved onto it with its size, never inverted.
    ASSERT_TRUE(ApplyWindowRect(w, u"-1500,100,-700,700"));
    GetWindowRect(w, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 100);
    EXPECT_EQ(r.right, 800);
    EXPECT_EQ(r.bottom, 700);
  }
  DestroyWindow(w);
}

}  // namespace
}  // namespace sorvane::win
