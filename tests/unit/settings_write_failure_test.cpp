// A write that cannot reach the file (full disk, file locked or read-only,
// folder gone): the file keeps its old bytes and the failure is told once per
// run of failures, again only after a write has reached the file.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "settings_fake_file_system.h"

namespace sorvane {
namespace {

using testing::FakeFileSystem;

const Text kIni = u"C:\\cfg\\Sorvane.ini";
constexpr uint32_t kDiskFull = 112;
constexpr uint32_t kSharingViolation = 32;

struct Told {
  Text path;
  uint32_t error;
};

struct Machine {
  Machine() : store(fs) {
    fs.folders.insert(u"c:\\cfg");
    fs.PutUtf16(kIni, u"[Program]\r\nm_PlayList=A\r\n[Sorvane]\r\nVolume=10\r\n[MediaList]\r\nMediaList=old\r\n");
    store.SetIniPath(kIni);
    store.SetWriteFailureSink([this](const Text& path, uint32_t error) {
      told.push_back({path, error});
      if (onTold) onTold();
      return answer;
    });
  }
  FakeFileSystem fs;
  SettingsStore store;
  std::vector<Told> told;
  std::function<void()> onTold;
  bool answer = true;
};

// Each kind of write the program makes, so every one is seen to fail the same way.
const std::function<bool(SettingsStore&)> kWrites[] = {
    [](SettingsStore& s) { return s.WriteInt(kProductSection, u"Volume", 80); },
    [](SettingsStore& s) { return s.WriteProgramString(u"m_PlayList", u"A\tB"); },
    [](SettingsStore& s) { return s.WriteLongValue(u"MediaList", u"C:\\a.mp3\r\nC:\\b.mp3"); },
    [](SettingsStore& s) { return s.DeleteSection(u"MediaList"); },
};

TEST(SettingsWriteFailure, ToldOncePerRunOfFailuresAndAgainAfterASuccess) {
  Machine m;
  const std::string old = m.fs.Bytes(kIni);
  m.fs.writeError = kDiskFull;
  for (const auto& write : kWrites) {
    EXPECT_FALSE(write(m.store));
    EXPECT_EQ(m.fs.Bytes(kIni), old);
  }
  ASSERT_EQ(m.told.size(), 1u);
  EXPECT_EQ(m.told[0].path, kIni);
  EXPECT_EQ(m.told[0].error, kDiskFull);

  // A write that reaches the file ends the run; the next failure is a new one.
  m.fs.writeError = 0;
  EXPECT_TRUE(m.store.WriteInt(kProductSection, u"Volume", 20));
  const std::string good = m.fs.Bytes(kIni);
  m.fs.writeError = kSharingViolation;
  EXPECT_FALSE(m.store.WriteInt(kProductSection, u"Volume", 30));
  EXPECT_FALSE(m.store.WriteInt(kProductSection, u"Volume", 40));
  EXPECT_EQ(m.fs.Bytes(kIni), good);
  ASSERT_EQ(m.told.size(), 2u);
  EXPECT_EQ(m.told[1].error, kSharingViolation);
  m.fs.writeError = 0;
  EXPECT_EQ(m.store.ReadInt(kProductSection, u"Volume", 0), 20);

  // A write refused before it reached the file (a value that would split its line) is no failure to tell.
  EXPECT_TRUE(m.store.WriteInt(kProductSection, u"Volume", 50));
  EXPECT_FALSE(m.store.WriteProgramString(u"bad", u"two\r\nlines"));
  EXPECT_EQ(m.told.size(), 2u);
}

TEST(SettingsWriteFailure, ReadOnlyFileMissingFolderAndUnreadableFileAreToldWithTheirReason) {
  struct Case {
    const char* what;
    std::function<void(FakeFileSystem&)> setup;
    uint32_t error;
  } cases[] = {
      {"read-only file", [](FakeFileSystem& fs) { fs.readOnly.insert(FakeFileSystem::Key(kIni)); }, 5},
      {"folder gone", [](FakeFileSystem& fs) { fs.folders.clear(); }, 3},
      // Held by another process so that it cannot even be read: writing would lose its content.
      {"unreadable file", [](FakeFileSystem& fs) { fs.unreadable.insert(FakeFileSystem::Key(kIni)); }, kSharingViolation},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Machine m;
    const std::string old = m.fs.Bytes(kIni);
    c.setup(m.fs);
    EXPECT_FALSE(m.store.WriteInt(kProductSection, u"Volume", 80));
    EXPECT_FALSE(m.store.WriteLongValue(u"MediaList", u"C:\\new.mp3"));
    EXPECT_EQ(m.fs.Bytes(kIni), old);
    ASSERT_EQ(m.told.size(), 1u);
    EXPECT_EQ(m.told[0].path, kIni);
    EXPECT_EQ(m.told[0].error, c.error);
  }
}

TEST(SettingsWriteFailure, ABatchTellsItsFailureOnceWhenItEnds) {
  for (const bool unreadable : {false, true}) {
    SCOPED_TRACE(unreadable ? "file unreadable at the batch's start" : "the batch's write fails");
    Machine m;
    const std::string old = m.fs.Bytes(kIni);
    if (unreadable) m.fs.unreadable.insert(FakeFileSystem::Key(kIni));
    else m.fs.writeError = kDiskFull;
    {
      SettingsBatch batch(m.store);
      {
        SettingsBatch inner(m.store);
        for (const auto& write : kWrites) write(m.store);
      }
      // Not half-way through: the notice could let other code run between the batch's writes.
      EXPECT_TRUE(m.told.empty());
      EXPECT_FALSE(batch.Commit());
    }
    EXPECT_EQ(m.told.size(), 1u);
    m.fs.unreadable.clear();
    EXPECT_EQ(m.fs.Bytes(kIni), old);
    EXPECT_EQ(m.store.ReadInt(kProductSection, u"Volume", 0), 10);
  }
}

TEST(SettingsWriteFailure, ANoticeNotGivenIsOfferedAgainAndWritesDuringOneAreNotToldTwice) {
  Machine m;
  m.fs.writeError = kDiskFull;
  // The notice cannot be given now (the session ends): the next failure is offered again.
  m.answer = false;
  EXPECT_FALSE(m.store.WriteInt(kProductSection, u"Volume", 80));
  EXPECT_FALSE(m.store.WriteInt(kProductSection, u"Volume", 81));
  EXPECT_EQ(m.told.size(), 2u);

  // While the notice waits for the user, other writes fail too: they belong to the same run.
  m.answer = true;
  m.told.clear();
  int nested = 0;
  m.onTold = [&] {
    if (nested++ > 0) return;
    EXPECT_FALSE(m.store.WriteInt(kProductSection, u"Volume", 82));
    EXPECT_FALSE(m.store.WriteLongValue(u"MediaList", u"x"));
  };
  EXPECT_FALSE(m.store.WriteInt(kProductSection, u"Volume", 83));
  EXPECT_EQ(m.told.size(), 1u);
  EXPECT_FALSE(m.store.WriteInt(kProductSection, u"Volume", 84));
  EXPECT_EQ(m.told.size(), 1u);
}

TEST(SettingsWriteFailure, TheProbesOfLocatingTheFileAreNotTold) {
  FakeFileSystem fs;
  fs.folders = {u"c:\\apps\\sorvane", u"c:\\users\\u\\appdata\\roaming"};
  const Text beside = u"C:\\Apps\\Sorvane\\Sorvane.ini";
  fs.PutUtf16(beside, u"[Program]\r\nTestIni=eeee\r\n");
  fs.readOnly.insert(FakeFileSystem::Key(beside));
  fs.program = u"C:\\Apps\\Sorvane\\sorvane_p.exe";  // portable: writes "M" beside the program first
  SettingsStore store(fs);
  int told = 0;
  store.SetWriteFailureSink([&](const Text&, uint32_t) { return ++told, true; });
  ASSERT_TRUE(store.LocateIniFile());
  EXPECT_EQ(told, 0);
  EXPECT_NE(store.IniPath(), beside);
  // The sink stays in place for the writes that follow.
  fs.writeError = kDiskFull;
  EXPECT_FALSE(store.WriteProgramInt(u"lng", 1));
  EXPECT_EQ(told, 1);
}

}  // namespace
}  // namespace sorvane
