// Media named on the command line reach the shown list, seen from outside.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "harness.h"

using namespace e2e;

namespace {

constexpr UINT kCommandClose = 32916;

int RowCount(HWND window) {
  return static_cast<int>(SendMessageW(GetDlgItem(window, 1033), LVM_GETITEMCOUNT, 0, 0));
}

TEST(AddingFromOutside, FolderOnTheCommandLineFillsANewListAndIsSaved) {
  AppDataRedirect appData;
  TempFolder programFolder{L"prog"};
  TempFolder media{L"media"};
  const std::wstring exe = programFolder / L"Sorvane.exe";
  ASSERT_TRUE(CopyProgramTo(exe));
  CreateDirectoryW((media / L"Sub").c_str(), nullptr);
  ASSERT_TRUE(WriteToneWav(media / L"one.wav", 1000));
  ASSERT_TRUE(WriteToneWav(media / L"Sub\\two.wav", 1000));
  HANDLE text = CreateFileW((media / L"notes.txt").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(text);

  Process p;
  ASSERT_TRUE(p.Start(exe, L"\"" + media.Path() + L"\""));
  HWND question = p.WaitForMessageBox(L"Should a new playlist be created?");
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(PressButton(question, IDYES));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  // The folder is scanned with the busy dialog; the text file is no medium.
  EXPECT_TRUE(WaitUntil([&] { return RowCount(w) >= 2; }, 60000));
  Sleep(1000);  // time for a wrong third row to show up, not a condition to wait for
  EXPECT_EQ(RowCount(w), 2);
  EXPECT_EQ(SendMessageW(GetDlgItem(w, 1033), LVM_GETSELECTEDCOUNT, 0, 0), 0) << "adding selects nothing";
  SaveScreenshot(L"adding_command_line");

  SendCommand(w, kCommandClose);
  ASSERT_TRUE(p.WaitForExit().has_value());
  const auto ini = ReadUtf16Ini(appData.IniPath());
  ASSERT_TRUE(ini.has_value());
  const auto names = IniValue(*ini, L"Program", L"m_PlayList");
  ASSERT_TRUE(names.has_value());
  EXPECT_NE(names->find(L"From command line New playlist"), std::wstring::npos) << *names;
  EXPECT_NE(ini->find(L"one.wav"), std::wstring::npos);
  EXPECT_NE(ini->find(L"Sub\\two.wav"), std::wstring::npos);
  EXPECT_EQ(ini->find(L"notes.txt"), std::wstring::npos);
}

}  // namespace
