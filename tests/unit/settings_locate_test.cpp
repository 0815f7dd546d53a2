#include <gtest/gtest.h>

#include <functional>

#include "settings/ini_document.h"
#include "settings/settings_store.h"
#include "settings_fake_file_system.h"

namespace sorvane {
namespace {

using testing::FakeFileSystem;

const Text kAppDataIni = u"C:\\Users\\u\\AppData\\Roaming\\Sorvane\\Sorvane.ini";

FakeFileSystem MachineWith(const Text& program) {
  FakeFileSystem fs;
  fs.program = program;
  fs.folders = {u"c:\\apps\\sorvane", u"c:\\users\\u\\appdata\\roaming", u"c:\\users\\u\\appdata\\local\\temp",
                u"c:\\users\\u\\appdata\\local\\temp\\x"};
  return fs;
}

Text Value(FakeFileSystem& fs, const Text& path, TextView key) {
  if (!fs.Has(path)) return u"(no file)";
  const std::string& b = fs.Bytes(path);
  if (!IniDocument::HasUtf16Bom(b)) return u"(no BOM)";
  const IniDocument doc = IniDocument::Parse(IniDocument::DecodeUtf16(std::string_view(b).substr(2)));
  const Text* v = doc.Find(u"Program", key);
  return v ? *v : u"(no key)";
}

struct LocateCase {
  const char* what;
  Text program;
  std::function<void(FakeFileSystem&)> setup;
  Text override;
  Text expectedPath;
  bool expectedPortable;
};

TEST(SettingsLocate, ChoosesTheIniFile) {
  const Text beside = u"C:\\Apps\\Sorvane\\Sorvane.ini";
  const Text inTemp = u"C:\\Users\\u\\AppData\\Local\\Temp\\x\\Sorvane.ini";
  auto nothing = [](FakeFileSystem&) {};
  auto iniBeside = [&](FakeFileSystem& fs) { fs.PutUtf16(beside, u"[Program]\r\nlng=1\r\n"); };
  auto readOnlyBeside = [&](FakeFileSystem& fs) {
    // It even holds the test value from an earlier run: only a write that works counts.
    fs.PutUtf16(beside, u"[Program]\r\nTestIni=eeee\r\n");
    fs.readOnly.insert(FakeFileSystem::Key(beside));
  };
  const LocateCase cases[] = {
      {"installed copy", u"C:\\Apps\\Sorvane\\Sorvane.exe", nothing, u"", kAppDataIni, false},
      {"_p name", u"C:\\Apps\\Sorvane\\sorvane_p.exe", nothing, u"", beside, true},
      {"_Portable name", u"C:\\Apps\\Sorvane\\Sorvane_Portable.exe", nothing, u"", beside, true},
      {"_p at the first position", u"C:\\Apps\\Sorvane\\_player.exe", nothing, u"", kAppDataIni, false},
      {"_p in the folder only", u"C:\\Apps\\Sorvane\\Sorvane.exe", nothing, u"", kAppDataIni, false},
      {"writable ini beside", u"C:\\Apps\\Sorvane\\Sorvane.exe", iniBeside, u"", beside, false},
      {"read-only ini beside", u"C:\\Apps\\Sorvane\\Sorvane.exe", readOnlyBeside, u"", kAppDataIni, false},
      {"portable in an unwritable folder", u"C:\\Apps\\Sorvane\\sorvane_p.exe", readOnlyBeside, u"", kAppDataIni, true},
      {"inside the temporary folder", u"C:\\Users\\u\\AppData\\Local\\Temp\\x\\Sorvane.exe",
       [&](FakeFileSystem& fs) { fs.PutUtf16(inTemp, u"[Program]\r\n"); }, u"", kAppDataIni, false},
      {"temporary folder named in other case and doubled slashes", u"C:\\Users\\u\\AppData\\Local\\Temp\\x\\Sorvane.exe",
       [&](FakeFileSystem& fs) {
         fs.temp = u"c:\\users\\U\\appdata\\\\local\\TEMP";
         fs.PutUtf16(inTemp, u"[Program]\r\n");
       },
       u"", kAppDataIni, false},
      {"portable inside the temporary folder", u"C:\\Users\\u\\AppData\\Local\\Temp\\x\\Sorvane_p.exe", nothing, u"",
       kAppDataIni, true},
      {"long override", u"C:\\Apps\\Sorvane\\Sorvane.exe", nothing, u"C:\\c", u"C:\\c", false},
      {"override of 3 characters ignored", u"C:\\Apps\\Sorvane\\Sorvane.exe", nothing, u"C:\\", kAppDataIni, false},
      {"override loses to a writable ini beside", u"C:\\Apps\\Sorvane\\Sorvane.exe", iniBeside, u"C:\\c", beside, false},
  };
  for (const auto& c : cases) {
    FakeFileSystem fs = MachineWith(c.program);
    fs.folders.insert(u"c:");
    c.setup(fs);
    SettingsStore store(fs);
    EXPECT_TRUE(store.LocateIniFile(c.override));
    EXPECT_EQ(ToUtf8(store.IniPath()), ToUtf8(c.expectedPath)) << c.what;
    EXPECT_EQ(store.PortableMode(), c.expectedPortable) << c.what;
    EXPECT_EQ(ToUtf8(Value(fs, c.expectedPath, u"TestIni")), "eeee") << c.what;
    EXPECT_EQ(fs.PathKind(u"C:\\Users\\u\\AppData\\Roaming\\Sorvane"), c.expectedPath == beside ? 0 : 2) << c.what;
  }
}

// A start reads the file once and rewrites it only when the test value is
// missing or the platform cannot tell that a write would work: with a large
// list each rewrite and each whole read is a good part of the start.
TEST(SettingsLocate, AFileThatPassesTheTestAlreadyIsReadOnceAndNotRewritten) {
  const Text beside = u"C:\\Apps\\Sorvane\\Sorvane.ini";
  struct Case {
    const char* what;
    Text program;
    Text content;
    bool canTell;
    int writes;
  };
  const Case cases[] = {
      {"portable, test value there", u"C:\\Apps\\Sorvane\\sorvane_p.exe", u"[Program]\r\nTestIni=eeee\r\nlng=7\r\n", true, 0},
      {"beside, test value there", u"C:\\Apps\\Sorvane\\Sorvane.exe", u"[Program]\r\nTestIni=eeee\r\nlng=7\r\n", true, 0},
      {"portable, no test value yet", u"C:\\Apps\\Sorvane\\sorvane_p.exe", u"[Program]\r\nlng=7\r\n", true, 1},
      {"portable, an old mark", u"C:\\Apps\\Sorvane\\sorvane_p.exe", u"[Program]\r\nTestIni=M\r\nlng=7\r\n", true, 1},
      {"platform cannot tell", u"C:\\Apps\\Sorvane\\sorvane_p.exe", u"[Program]\r\nTestIni=eeee\r\nlng=7\r\n", false, 1},
  };
  for (const Case& c : cases) {
    FakeFileSystem fs = MachineWith(c.program);
    fs.canTellReplace = c.canTell;
    fs.PutUtf16(beside, c.content);
    SettingsStore store(fs);
    EXPECT_TRUE(store.LocateIniFile()) << c.what;
    EXPECT_EQ(store.IniPath(), beside) << c.what;
    EXPECT_EQ(fs.writes, c.writes) << c.what;
    EXPECT_EQ(fs.reads, 1) << c.what;
    EXPECT_EQ(ToUtf8(Value(fs, beside, u"TestIni")), "eeee") << c.what;
    EXPECT_EQ(store.ReadProgramInt(u"lng", 0), 7) << c.what;
  }
}

TEST(SettingsLocate, PortableCopyMarksTheFileBesideItEvenWhenNotUsingIt) {
  FakeFileSystem fs = MachineWith(u"C:\\Users\\u\\AppData\\Local\\Temp\\x\\Sorvane_p.exe");
  SettingsStore store(fs);
  store.LocateIniFile();
  EXPECT_EQ(Value(fs, u"C:\\Users\\u\\AppData\\Local\\Temp\\x\\Sorvane.ini", u"TestIni"), u"M");
}

TEST(SettingsLocate, ConvertsAnAnsiFileKeepingItsValues) {
  FakeFileSystem fs = MachineWith(u"C:\\Apps\\Sorvane\\Sorvane.exe");
  fs.folders.insert(u"c:\\users\\u\\appdata\\roaming\\sorvane");
  fs.Put(kAppDataIni, "[Program]\r\nm_PlayList=Rock\tCaf\xE9\r\n[Sorvane]\r\nVolume=12\r\n");
  SettingsStore store(fs);
  store.LocateIniFile();
  EXPECT_EQ(store.IniPath(), kAppDataIni);
  ASSERT_TRUE(IniDocument::HasUtf16Bom(fs.Bytes(kAppDataIni)));
  EXPECT_EQ(store.ReadProgramString(u"m_PlayList"), u"Rock\tCaf\u00E9");
  EXPECT_EQ(store.ReadInt(kProductSection, u"Volume", 50), 12);
}

TEST(SettingsLocate, LeavesAFileItCannotReadOrWriteAlone) {
  for (bool unreadable : {false, true}) {
    FakeFileSystem fs = MachineWith(u"C:\\Apps\\Sorvane\\Sorvane.exe");
    fs.folders.insert(u"c:\\users\\u\\appdata\\roaming\\sorvane");
    const std::string ansi = "[Sorvane]\r\nVolume=12\r\n";
    fs.Put(kAppDataIni, ansi);
    (unreadable ? fs.unreadable : fs.readOnly).insert(FakeFileSystem::Key(kAppDataIni));
    SettingsStore store(fs);
    EXPECT_TRUE(store.LocateIniFile());
    EXPECT_EQ(fs.Bytes(kAppDataIni), ansi) << unreadable;
  }
}

}  // namespace
}  // namespace sorvane
