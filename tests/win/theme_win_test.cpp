// The looks on the Win32 side: the window-creation hook's dialog colours, the
// list view's own dark look without any hook, and the theme menu's choice.
#include "desktop/win/theme_win.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "desktop/theme_menu.h"
#include "desktop/tray_events.h"
#include "framework/win/wintext.h"
#include "resource_ids.h"
#include "settings/settings_keys.h"

#include "main_window_fixture.h"

namespace sorvane::win {
namespace {

INT_PTR CALLBACK PlainDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

class HostOf final : public PartHost {
 public:
  explicit HostOf(HWND w) : w_(w) {}
  HWND Window() const override { return w_; }
  void AddLayoutRule(int, Follow, Follow) override {}
  void SetStatusText(const Text&) override {}
  void UpdateTitle() override {}

 private:
  HWND w_;
};

class ThemeTest : public MainWindowFixture {
 protected:
  ThemeTest() : MainWindowFixture(L"theme_test_") {}
  void TearDown() override {
    UninstallThemeForTests();
    MainWindowFixture::TearDown();
  }
};

COLORREF BrushColour(HBRUSH brush) {
  LOGBRUSH b{};
  GetObjectW(brush, sizeof(b), &b);
  return b.lbColor;
}

TEST_F(ThemeTest, LightThemeGivesDialogsAndTheirChildrenTheWhiteBrushAndBlackText) {
  InstallTheme(2);
  ASSERT_TRUE(ThemeHookInstalled());
  HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_BUSY), nullptr, PlainDialog, 0);
  ASSERT_NE(dialog, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  SetTextColor(dc, RGB(1, 2, 3));
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(dialog)));
  ASSERT_NE(brush, nullptr);
  EXPECT_EQ(BrushColour(brush), RGB(255, 255, 255));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  // A static child is answered with the same single brush; a message box's colours stay the system's.
  const auto staticBrush = reinterpret_cast<HBRUSH>(
      SendMessageW(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dialog)));
  EXPECT_EQ(staticBrush, brush);
  EXPECT_NE(reinterpret_cast<HBRUSH>(SendMessageW(dialog, WM_CTLCOLORMSGBOX, reinterpret_cast<WPARAM>(dc),
                                                  reinterpret_cast<LPARAM>(dialog))),
            brush);

  // A combo box made now gets the painter; every later one shares its previous procedure.
  HWND combo = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | CBS_DROPDOWNLIST, 0, 0, 100, 100, dialog, nullptr,
                               nullptr, nullptr);
  HWND combo2 = CreateWindowExW(0, WC_COMBOBOXW, L"", WS_CHILD | CBS_DROPDOWN, 0, 0, 100, 100, dialog, nullptr,
                                nullptr, nullptr);
  WNDCLASSW cls{};
  ASSERT_TRUE(GetClassInfoW(nullptr, WC_COMBOBOXW, &cls));
  EXPECT_NE(GetWindowLongPtrW(combo, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(cls.lpfnWndProc));
  EXPECT_EQ(GetWindowLongPtrW(combo, GWLP_WNDPROC), GetWindowLongPtrW(combo2, GWLP_WNDPROC));
  // It still works as a combo box: the procedure before it gets every message.
  SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"item"));
  EXPECT_EQ(SendMessageW(combo, CB_GETCOUNT, 0, 0), 1);
  UpdateWindow(combo);
  DeleteDC(dc);
  DestroyWindow(dialog);
}

TEST_F(ThemeTest, DefaultThemeInstallsNoHookYetTheListViewIsDark) {
  InstallTheme(0);
  EXPECT_FALSE(ThemeHookInstalled());
  EXPECT_EQ(CurrentTheme(), 0);
  HWND dialog = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_BUSY), nullptr, PlainDialog, 0);
  ASSERT_NE(dialog, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  const auto brush = reinterpret_cast<HBRUSH>(SendMessageW(dialog, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(dialog)));
  EXPECT_TRUE(brush == nullptr || BrushColour(brush) != RGB(33, 33, 33)) << "the system's own dialog colours";
  DeleteDC(dc);

  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"", WS_CHILD | LVS_REPORT, 0, 0, 200, 100, dialog,
                              nullptr, nullptr, nullptr);
  ASSERT_NE(list, nullptr);
  ApplyDarkListView(list);
  EXPECT_EQ(ListView_GetBkColor(list), RGB(32, 32, 32));
  EXPECT_EQ(ListView_GetTextBkColor(list), RGB(32, 32, 32));
  EXPECT_EQ(ListView_GetTextColor(list), RGB(255, 255, 255));
  // The header painter and the frame run without harm.
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH;
  column.cx = 80;
  column.pszText = const_cast<wchar_t*>(L"Name");
  ListView_InsertColumn(list, 0, &column);
  ShowWindow(dialog, SW_SHOWNA);
  ShowWindow(list, SW_SHOWNA);
  UpdateWindow(list);
  DestroyWindow(dialog);
}

std::wstring FileText(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  const std::string bytes = s.str();
  std::wstring text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
  return text;
}

TEST_F(ThemeTest, ThemeMenuWritesOnlyAChangeAndRestartsForEveryChoice) {
  InstallTheme(1);
  HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  HostOf host(owner);
  struct Case {
    int chosen;
    bool restartWorks;
    bool expectWrite;
    int expectRestarts;
    bool expectExit;
  };
  const Case cases[] = {
      {2, true, false, 1, true},    // Dark, the current look: restart without writing
      {0, true, false, 0, false},   // dismissed
      {3, false, true, 1, false},   // Light: written; the restart failed, so this copy stays
      {1, true, true, 1, true},     // Default
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    DeleteFileW(ini_.c_str());
    ThemePart part;
    int restarts = 0;
    int checkedSeen = 0;
    part.Hooks().track = [&](HWND, HMENU menu, POINT) {
      for (int id = 1; id <= 3; ++id)
        if (GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) & MF_CHECKED) checkedSeen = id;
      return c.chosen;
    };
    part.Hooks().restart = [&] {
      ++restarts;
      return c.restartWorks;
    };
    part.RunThemeMenu(owner, POINT{0, 0});
    EXPECT_EQ(checkedSeen, 2) << "Dark is checked";
    EXPECT_EQ(restarts, c.expectRestarts);
    const std::wstring ini = FileText(ini_);
    EXPECT_EQ(ini.find(L"by_theme") != std::wstring::npos, c.expectWrite) << ini;
    if (c.expectWrite) EXPECT_NE(ini.find(L"by_theme=" + std::to_wstring(c.chosen - 1)), std::wstring::npos) << ini;
    MSG m;
    const bool exitPosted = PeekMessageW(&m, owner, WM_COMMAND, WM_COMMAND, PM_REMOVE) && LOWORD(m.wParam) == kCmdExit;
    EXPECT_EQ(exitPosted, c.expectExit);
  }
  DestroyWindow(owner);
}

}  // namespace
}  // namespace sorvane::win
