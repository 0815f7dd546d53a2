// Saving over an INI file that another process holds open, or that is
// read-only: the old bytes stay, no temporary file is left beside it, and the
// user is told once for a run of failing writes, with the system's reason.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/win/save_failure_notice.h"
#include "settings/settings_store.h"
#include "settings/win/win_file_system.h"
#include "framework/win/kernel_handle.h"
#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {

class SettingsSaveFailure : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    static int counter = 0;
    folder_ = T(temp) + u"sorvane_savefail_" + Format(u"%d_%d", {static_cast<int>(GetCurrentProcessId()), ++counter});
    ASSERT_TRUE(CreateDirectoryW(W(folder_), nullptr));
    ini_ = folder_ + u"\\Sorvane.ini";
    store_.SetIniPath(ini_);
    ASSERT_TRUE(store_.WriteInt(kProductSection, u"Volume", 10));
    ASSERT_TRUE(store_.WriteLongValue(u"MediaList", u"C:\\old.mp3"));
    old_ = Bytes();
    store_.SetWriteFailureSink([this](const Text& path, uint32_t error) {
      told_.push_back({path, error});
      return true;
    });
  }
  void TearDown() override {
    for (const Text& name : Names()) {
      SetFileAttributesW(W(folder_ + u"\\" + name), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(W(folder_ + u"\\" + name));
    }
    RemoveDirectoryW(W(folder_));
  }
  std::vector<Text> Names() {
    std::vector<Text> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW(W(folder_ + u"\\*"), &found);
    if (h == INVALID_HANDLE_VALUE) return names;
    do {
      const Text name = T(found.cFileName);
      if (name != u"." && name != u"..") names.push_back(name);
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return names;
  }
  std::string Bytes() {
    std::string b;
    fs_.ReadFile(ini_, b);
    return b;
  }
  KernelHandle Hold(DWORD share) {
    return KernelHandle(CreateFileW(W(ini_), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  }

  struct Told {
    Text path;
    uint32_t error;
  };
  WinFileSystem fs_;
  SettingsStore store_{fs_};
  Text folder_, ini_;
  std::string old_;
  std::vector<Told> told_;
};

TEST_F(SettingsSaveFailure, AFileHeldOrReadOnlyKeepsItsBytesLeavesNoTemporaryFileAndIsToldOnce) {
  struct Case {
    const char* what;
    DWORD share;     // another process's handle on the file, with this sharing
    bool readOnly;   // or the file's read-only attribute
  } cases[] = {
      // Reading works, but the replace cannot delete a file opened without FILE_SHARE_DELETE.
      {"held open for reading, deletion not shared", FILE_SHARE_READ, false},
      {"held open without any sharing", 0, false},
      {"read-only file", 0, true},
  };
  size_t expectedTold = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    {
      KernelHandle held;
      if (c.readOnly) ASSERT_TRUE(SetFileAttributesW(W(ini_), FILE_ATTRIBUTE_READONLY));
      else ASSERT_TRUE((held = Hold(c.share)).Valid());
      // The look that spares a start the rewrite of an unchanged file foresees the failure.
      EXPECT_FALSE(fs_.CanReplace(ini_));
      EXPECT_FALSE(store_.WriteInt(kProductSection, u"Volume", 80));
      {
        SettingsBatch batch(store_);
        store_.WriteLongValue(u"MediaList", u"C:\\new.mp3");
        EXPECT_FALSE(batch.Commit());
      }
      ++expectedTold;
      ASSERT_EQ(told_.size(), expectedTold);
      EXPECT_EQ(told_.back().path, ini_);
      EXPECT_NE(told_.back().error, 0u);
      EXPECT_EQ(Names(), std::vector<Text>{u"Sorvane.ini"});
      SetFileAttributesW(W(ini_), FILE_ATTRIBUTE_NORMAL);
    }
    EXPECT_EQ(Bytes(), old_);
    EXPECT_TRUE(fs_.CanReplace(ini_));
    // Once the file is free again a write reaches it, which ends the run: the next case is told anew.
    ASSERT_TRUE(store_.WriteInt(kProductSection, u"Volume", 10));
    ASSERT_TRUE(store_.WriteLongValue(u"MediaList", u"C:\\old.mp3"));
    EXPECT_EQ(Bytes(), old_);
    EXPECT_EQ(told_.size(), expectedTold);
  }
}

// Only a look, which foresees what a write would meet: the file keeps its
// bytes and nothing is left beside it; a missing file or a folder cannot be
// replaced.
TEST_F(SettingsSaveFailure, CanReplaceLooksWithoutWriting) {
  EXPECT_TRUE(fs_.CanReplace(ini_));
  EXPECT_EQ(Bytes(), old_);
  {
    // Whether a reader that shares everything stands in the way is the
    // platform's to say; the look must agree with the write.
    KernelHandle reader = Hold(FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_TRUE(reader.Valid());
    const bool canReplace = fs_.CanReplace(ini_);
    EXPECT_EQ(store_.WriteInt(kProductSection, u"Volume", 10), canReplace);
  }
  EXPECT_TRUE(store_.WriteInt(kProductSection, u"Volume", 10));
  EXPECT_EQ(Bytes(), old_);
  EXPECT_EQ(Names(), std::vector<Text>{u"Sorvane.ini"});
  EXPECT_FALSE(fs_.CanReplace(folder_ + u"\\missing.ini"));
  EXPECT_FALSE(fs_.CanReplace(folder_));
}

TEST_F(SettingsSaveFailure, TheNoticeIsOneBoxNamingTheFileAndTheReasonAndNoneAtTheEndOfTheSession) {
  std::vector<Text> boxes;
  SetSaveFailureBoxForTest([&](const Text& text) {
    boxes.push_back(text);
    // A write made while the box waits for the user opens no second box.
    EXPECT_FALSE(TellSaveFailure(ini_, ERROR_SHARING_VIOLATION));
  });
  store_.SetWriteFailureSink(TellSaveFailure);
  {
    KernelHandle held = Hold(0);
    ASSERT_TRUE(held.Valid());
    {
      QuietSaveFailures endingSession;
      EXPECT_FALSE(store_.WriteInt(kProductSection, u"Volume", 80));
      EXPECT_TRUE(boxes.empty());
    }
    EXPECT_FALSE(store_.WriteInt(kProductSection, u"Volume", 81));
    EXPECT_FALSE(store_.WriteInt(kProductSection, u"Volume", 82));
  }
  SetSaveFailureBoxForTest(nullptr);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(boxes[0].find(ini_), Text::npos);
  // The system's own words for the failure follow the path.
  const Text reason = boxes[0].substr(boxes[0].find(ini_) + ini_.size());
  EXPECT_NE(reason.find_first_not_of(u"\n"), Text::npos);
  EXPECT_EQ(reason.find(u"not known"), Text::npos);
  EXPECT_EQ(Bytes(), old_);
}

}  // namespace
}  // namespace sorvane::win
