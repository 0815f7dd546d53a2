// The main window's own actions and the bottom button bars, in-process: the
// starts of other programs are recorded through the shell seam, the colour
// dialog is replaced by a chooser, and the Send To folder is a temporary one.
#include "app/win/window_actions_part.h"

#include <windows.h>
#include <objbase.h>
#include <shobjidl.h>

#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/win/button_bars_part.h"
#include "app/win/main_window.h"
#include "framework/win/shell_run.h"
#include "framework/win/wintext.h"
#include "settings/settings_store.h"

#include "main_window_fixture.h"

namespace sorvane::win {
namespace {

class WindowActionsTest : public MainWindowFixture {
 protected:
  WindowActionsTest() : MainWindowFixture(L"window_actions_test_") {}
  void SetUp() override {
    MainWindowFixture::SetUp();
    SetShellStartRecorderForTests([this](const ShellStart& s) {
      starts.push_back(s);
      return startsSucceed;
    });
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    sendTo_ = std::wstring(temp) + L"window_actions_sendto_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(sendTo_.c_str(), nullptr);
  }
  void TearDown() override {
    if (window.Window()) DestroyWindow(window.Window());
    SetShellStartRecorderForTests(nullptr);
    DeleteFileW((sendTo_ + L"\\Sorvane.lnk").c_str());
    RemoveDirectoryW(sendTo_.c_str());
    MainWindowFixture::TearDown();
  }

  WindowActionsPart& Start() {
    WindowActionHooks hooks;
    hooks.chooseColour = [this](HWND, COLORREF& colour) {
      offered.push_back(colour);
      if (!chosen) return false;
      colour = *chosen;
      return true;
    };
    hooks.sendToFolder = [this] { return T(sendTo_.c_str()); };
    auto part = std::make_unique<WindowActionsPart>(hooks);
    WindowActionsPart& ref = *part;
    window.AddPart(std::make_unique<ButtonBarsPart>());
    window.AddPart(std::move(part));
    EXPECT_NE(window.Create(GetModuleHandleW(nullptr)), nullptr);
    return ref;
  }
  void Command(UINT id) { SendMessageW(window.Window(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }
  std::wstring IniValue(const wchar_t* section, const wchar_t* key) {
    wchar_t value[64] = {};
    GetPrivateProfileStringW(section, key, L"<none>", value, 64, ini_.c_str());
    return value;
  }
  bool Topmost() const { return (GetWindowLongPtrW(window.Window(), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }

  MainWindow window;
  std::vector<ShellStart> starts;
  bool startsSucceed = true;
  std::optional<COLORREF> chosen;
  std::vector<COLORREF> offered;
  std::wstring sendTo_;
};

TEST_F(WindowActionsTest, FlyOutColourIsWrittenOnlyWhenTheChoiceChangesIt) {
  store_.WriteInt(kProductSection, u"m_FlyOut_color", 0x123456);
  WindowActionsPart& part = Start();
  EXPECT_EQ(part.FlyOutColour(), 0x123456u);
  DeleteFileW(ini_.c_str());  // from here on, any write shows as a new file

  Command(33364);  // Cancel
  chosen = 0x123456;
  Command(33364);  // OK with the same colour
  EXPECT_EQ(IniValue(L"Sorvane", L"m_FlyOut_color"), L"<none>");
  chosen = RGB(1, 2, 3);
  Command(33364);
  EXPECT_EQ(IniValue(L"Sorvane", L"m_FlyOut_color"), std::to_wstring(RGB(1, 2, 3)));
  EXPECT_EQ(part.FlyOutColour(), RGB(1, 2, 3));
  // The dialog always starts from the current colour.
  EXPECT_EQ(offered, (std::vector<COLORREF>{0x123456, 0x123456, 0x123456}));
}

TEST_F(WindowActionsTest, SystemVolumeTriesBothMixersAndRestartClosesOnlyAfterTheStart) {
  Start();
  startsSucceed = false;
  Command(33374);
  ASSERT_EQ(starts.size(), 2u);
  EXPECT_EQ(starts[0].file, u"sndvol32.exe");
  EXPECT_EQ(starts[0].parameters, u"-t -n");
  EXPECT_EQ(starts[1].file, u"sndvol.exe");
  EXPECT_EQ(starts[1].parameters, u"/d");

  // A failed start keeps this copy running.
  starts.clear();
  Command(45107);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_TRUE(IsWindow(window.Window()));
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(starts[0].kind, ShellStart::Kind::kProcess);
  EXPECT_EQ(starts[0].file, T(self));
  EXPECT_EQ(starts[0].parameters, u"RESTART_TESSALOOM_2018");

  startsSucceed = true;
  Command(45107);
  EXPECT_FALSE(IsWindow(window.Window()));
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 45054u);
}

TEST_F(WindowActionsTest, SendToGetsAShortcutToThisProgramAndEditOpensTheFolder) {
  Start();
  Command(32203);
  const std::wstring link = sendTo_ + L"\\Sorvane.lnk";
  ASSERT_NE(GetFileAttributesW(link.c_str()), INVALID_FILE_ATTRIBUTES);
  Microsoft::WRL::ComPtr<IShellLinkW> shell;
  ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&shell))));
  Microsoft::WRL::ComPtr<IPersistFile> file;
  ASSERT_TRUE(SUCCEEDED(shell.As(&file)));
  ASSERT_TRUE(SUCCEEDED(file->Load(link.c_str(), STGM_READ)));
  wchar_t target[MAX_PATH] = {}, self[MAX_PATH] = {};
  shell->GetPath(target, MAX_PATH, nullptr, 0);
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  EXPECT_EQ(lstrcmpiW(target, self), 0) << target;

  Command(32205);
  ASSERT_EQ(starts.size(), 1u);
  EXPECT_EQ(starts[0].file, T(sendTo_.c_str()));
  EXPECT_EQ(starts[0].owner, window.Window());
}

TEST_F(WindowActionsTest, BarsCarryTheButtonsAndAlwaysOnTopTogglesCheckZOrderAndToop) {
  store_.WriteProgramString(u"Toop", u"1");
  Start();
  HWND w = window.Window();
  for (int id : {44500, 44999, 1243, 1244, 32905, 32915}) EXPECT_NE(GetDlgItem(w, id), nullptr) << id;
  // Read at start: on.
  EXPECT_TRUE(Topmost());
  EXPECT_EQ(SendDlgItemMessageW(w, 32905, BM_GETCHECK, 0, 0), BST_CHECKED);
  // A click (BN_CLICKED from the button) turns it off and writes "0"; again, on and "1".
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(32905, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(w, 32905)));
  EXPECT_FALSE(Topmost());
  EXPECT_EQ(SendDlgItemMessageW(w, 32905, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(IniValue(L"Program", L"Toop"), L"0");
  Command(32905);
  EXPECT_TRUE(Topmost());
  EXPECT_EQ(IniValue(L"Program", L"Toop"), L"1");

  // Resizing: the centred bar stays centred, the left bar keeps its place, both follow the bottom.
  auto rectOf = [&](int id) {
    RECT r{};
    GetWindowRect(GetDlgItem(w, id), &r);
    MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
    return r;
  };
  const RECT centred0 = rectOf(44500), left0 = rectOf(44999), flyOut0 = rectOf(1243);
  RECT outer{};
  GetWindowRect(w, &outer);
  SetWindowPos(w, nullptr, 0, 0, outer.right - outer.left + 100, outer.bottom - outer.top + 40,
               SWP_NOMOVE | SWP_NOZORDER);
  const RECT centred1 = rectOf(44500), left1 = rectOf(44999), flyOut1 = rectOf(1243);
  EXPECT_EQ(centred1.left, centred0.left + 50);
  EXPECT_EQ(centred1.top, centred0.top + 40);
  EXPECT_EQ(flyOut1.left, flyOut0.left + 50);
  EXPECT_EQ(left1.left, left0.left);
  EXPECT_EQ(left1.top, left0.top + 40);
}

}  // namespace
}  // namespace sorvane::win
