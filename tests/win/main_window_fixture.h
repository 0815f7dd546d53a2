// A settings store on a fresh INI file in the temporary folder and a message
// loop registered for the thread: what a main window needs around it in the
// in-process tests. Leftover posted messages are dropped at the end so they
// cannot reach the next test.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>

#include "settings/settings_store.h"
#include "framework/win/main_frame_loop.h"
#include "settings/win/win_file_system.h"
#include "framework/win/wintext.h"

namespace sorvane::win {

class MainWindowFixture : public ::testing::Test {
 protected:
  explicit MainWindowFixture(const wchar_t* iniPrefix) : prefix_(iniPrefix) {}

  void SetUp() override {
    OleInitialize(nullptr);
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    ini_ = std::wstring(temp) + prefix_ + std::to_wstring(GetCurrentProcessId()) + L".ini";
    DeleteFileW(ini_.c_str());
    store_.SetIniPath(T(ini_.c_str()));
    InstallSettings(&store_);
    SetCurrentLoop(&loop_);
  }
  void TearDown() override {
    SetCurrentLoop(nullptr);
    InstallSettings(nullptr);
    DeleteFileW(ini_.c_str());
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }

  std::wstring prefix_;
  std::wstring ini_;
  WinFileSystem files_;
  SettingsStore store_{files_};
  MainFrameLoop loop_;
};

}  // namespace sorvane::win
