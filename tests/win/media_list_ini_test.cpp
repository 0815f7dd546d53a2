// The list selector's operations against a real INI file, checked with the
// platform's own profile functions.
#include <windows.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>

#include "settings/settings_store.h"
#include "settings/win/win_file_system.h"
#include "list_host.h"
#include "medialist/settings_list_storage.h"

namespace sorvane::win {
namespace {

class MediaListIniTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
  }
  MediaListIniTest() : store(fs), storage(store) {
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    folder = std::wstring(temp) + L"sorvane_lists_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
             std::to_wstring(GetTickCount());
    CreateDirectoryW(folder.c_str(), nullptr);
    ini = folder + L"\\Sorvane.ini";
    store.SetIniPath(T(ini.c_str()));
  }
  ~MediaListIniTest() override {
    DeleteFileW(ini.c_str());
    RemoveDirectoryW(folder.c_str());
  }
  std::wstring Profile(const wchar_t* section, const wchar_t* key) {
    std::wstring buffer(70000, L'\0');
    const DWORD n = GetPrivateProfileStringW(section, key, L"<none>", buffer.data(), 70000, ini.c_str());
    buffer.resize(n);
    return buffer;
  }
  bool HasSection(const wchar_t* section) {
    wchar_t buffer[256] = {};
    return GetPrivateProfileSectionW(section, buffer, 256, ini.c_str()) > 0;
  }

  WinFileSystem fs;
  SettingsStore store;
  SettingsListStorage storage;
  std::wstring folder, ini;
};

// The stored form of a line break between two paths.
const std::wstring kBreak = L"\xE000\xE001\xE002";

TEST_F(MediaListIniTest, SelectorOperationsChangeTheIniFile) {
  store.WriteString(kProgramSection, u"m_PlayList", u"L0\tL1\tL2");
  store.WriteLongValue(u"MediaList", u"C:\\a\\p0.mp3");
  store.WriteLongValue(u"MediaList1", u"C:\\a\\p1.mp3");
  store.WriteLongValue(u"MediaList2", u"C:\\a\\音楽 2a.mp3\r\nC:\\a\\p2b.mp3");
  store.WriteInt(kProductSection, u"m_LastSel", 7);

  testing::ListHost host(storage);
  host.controller.Start();
  EXPECT_EQ(host.controller.Session().ShownListIndex(), 2);  // 7 clamped to the last of three
  ASSERT_EQ(ListView_GetItemCount(host.list), 2);
  EXPECT_EQ(host.ItemText(0, 0), u"音楽 2a.mp3");

  // Switching writes the shown rows back before loading the chosen list.
  host.controller.AddMediaFile(u"C:\\a\\p2c.mp3", nullptr);
  host.ChooseEntry(0);
  EXPECT_EQ(Profile(L"MediaList2", L"MediaList2"),
            L"C:\\a\\音楽 2a.mp3" + kBreak + L"C:\\a\\p2b.mp3" + kBreak + L"C:\\a\\p2c.mp3");
  EXPECT_EQ(host.ItemText(0, 1), u"C:\\a\\p0.mp3");

  // Creating with Yes copies the shown list into the new section.
  host.answer = Answer::kYes;
  host.ChooseEntry(3);
  EXPECT_EQ(Profile(L"MediaList3", L"MediaList3"), L"C:\\a\\p0.mp3");
  const std::wstring names = Profile(L"Program", L"m_PlayList");
  EXPECT_EQ(names.rfind(L"L0\tL1\tL2\tNew playlist ", 0), 0u) << ToUtf8(T(names.c_str()));

  // Creating with No leaves the new list empty: no section at all.
  host.answer = Answer::kNo;
  host.ChooseEntry(4);
  EXPECT_FALSE(HasSection(L"MediaList4"));
  EXPECT_EQ(ListView_GetItemCount(host.list), 0);

  // Renaming the shown list.
  SetFocus(host.selector);
  SetWindowTextW(host.selector, L"Renamed");
  SendMessageW(host.window, WM_COMMAND, MAKEWPARAM(testing::kSelectorId, CBN_EDITCHANGE),
               reinterpret_cast<LPARAM>(host.selector));
  SetFocus(host.list);
  const std::wstring renamed = Profile(L"Program", L"m_PlayList");
  EXPECT_EQ(renamed.substr(renamed.rfind(L'\t') + 1), L"Renamed");

  // Deleting list 1: the later sections move down, the last one goes.
  host.ChooseEntry(1);
  host.answer = Answer::kYes;
  host.ChooseEntry(6);  // the delete entry of five lists
  EXPECT_EQ(Profile(L"MediaList", L"MediaList"), L"C:\\a\\p0.mp3");
  EXPECT_EQ(Profile(L"MediaList1", L"MediaList1"),
            L"C:\\a\\音楽 2a.mp3" + kBreak + L"C:\\a\\p2b.mp3" + kBreak + L"C:\\a\\p2c.mp3");
  EXPECT_EQ(Profile(L"MediaList2", L"MediaList2"), L"C:\\a\\p0.mp3");
  EXPECT_FALSE(HasSection(L"MediaList3"));
  EXPECT_FALSE(HasSection(L"MediaList4"));
  const std::wstring after = Profile(L"Program", L"m_PlayList");
  EXPECT_EQ(after.rfind(L"L0\tL2\tNew playlist ", 0), 0u);
  EXPECT_EQ(SendMessageW(host.selector, CB_GETCOUNT, 0, 0), 6);

  // Exit: the shown list's index and the first selected row.
  host.ChooseEntry(1);
  host.controller.View().SelectAndFocus(1);
  host.controller.SaveAtExit();
  EXPECT_EQ(GetPrivateProfileIntW(L"Sorvane", L"m_LastSel", -1, ini.c_str()), 1);
  EXPECT_EQ(GetPrivateProfileIntW(L"Sorvane", L"m_Sel", -1, ini.c_str()), 1);
}

}  // namespace
}  // namespace sorvane::win
