// Start-up, settings file location, single instance and the orderly ends of
// the program, seen from outside the process.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "harness.h"

using namespace e2e;

namespace {

constexpr DWORD kExitNormal = 45054;
constexpr UINT kCommandClose = 32916;
constexpr int kStatusText = 1320;

std::wstring RectText(const RECT& r) {
  return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," + std::to_wstring(r.right) + L"," +
         std::to_wstring(r.bottom);
}

bool EndsWith(const std::wstring& s, const std::wstring& end) {
  return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

bool InstanceMutexExists() {
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Sorvane_WETZREWZREZ");
  if (mutex) CloseHandle(mutex);
  return mutex != nullptr;
}

// The process's main window (a dialog holding the list view), shown or not.
HWND MainWindowOf(DWORD processId) {
  struct Search {
    DWORD process;
    HWND found;
  } search{processId, nullptr};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid != s->process || !GetDlgItem(w, 1033)) return TRUE;
        s->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class Startup : public testing::Test {
 protected:
  // A copy of the program in a fresh folder of its own.
  std::wstring Install(const std::wstring& name = L"Sorvane.exe") {
    const std::wstring path = programFolder / name;
    EXPECT_TRUE(CopyProgramTo(path));
    return path;
  }

  AppDataRedirect appData;
  TempFolder programFolder{L"prog"};
};

TEST_F(Startup, FirstStartCreatesUtf16IniInAppDataAndCloseSavesTheWindowRect) {
  Process p;
  ASSERT_TRUE(p.Start(Install()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);

  const std::wstring title = TextOf(w);
  EXPECT_EQ(title.rfind(L"Sorvane 1.01 ", 0), 0u) << title;
  EXPECT_EQ(title.find(L"Portable"), std::wstring::npos) << title;

  // First start: centred in the work area, half its height.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const RECT r = WindowRect(w);
  EXPECT_NEAR((r.left + r.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((r.top + r.bottom) / 2, (work.top + work.bottom) / 2, 1);
  EXPECT_EQ(r.bottom - r.top, (work.bottom - work.top) / 2);
  SaveScreenshot(L"startup_first_start");

  auto ini = ReadUtf16Ini(appData.IniPath());
  ASSERT_TRUE(ini.has_value()) << "no UTF-16LE INI file with byte-order mark in the application-data folder";
  EXPECT_EQ(IniValue(*ini, L"Program", L"TestIni"), std::wstring(L"eeee"));
  EXPECT_FALSE(IniValue(*ini, L"Program", L"m_Window_Rect").has_value());
  EXPECT_FALSE(FileExists(programFolder / L"Sorvane.ini"));

  SendCommand(w, kCommandClose);
  EXPECT_EQ(p.WaitForExit(), kExitNormal);
  ini = ReadUtf16Ini(appData.IniPath());
  ASSERT_TRUE(ini.has_value());
  EXPECT_EQ(IniValue(*ini, L"Program", L"m_Window_Rect"), RectText(r));
}

TEST_F(Startup, PortableCopyKeepsItsIniBesideTheProgram) {
  Process p;
  ASSERT_TRUE(p.Start(Install(L"sorvane_p.exe")));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(EndsWith(TextOf(w), L"- Portable")) << TextOf(w);
  const auto ini = ReadUtf16Ini(programFolder / L"Sorvane.ini");
  ASSERT_TRUE(ini.has_value());
  EXPECT_EQ(IniValue(*ini, L"Program", L"TestIni"), std::wstring(L"eeee"));
  EXPECT_FALSE(FileExists(appData.IniPath()));
  SendCommand(w, kCommandClose);
  EXPECT_EQ(p.WaitForExit(), kExitNormal);
}

TEST_F(Startup, IniOverrideWithSpacesIsUsed) {
  TempFolder other(L"my settings");
  const std::wstring custom = other / L"my player.ini";
  Process p;
  ASSERT_TRUE(p.Start(Install(), L"\"-ini:" + custom + L"\""));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  SendCommand(w, kCommandClose);
  EXPECT_EQ(p.WaitForExit(), kExitNormal);
  const auto ini = ReadUtf16Ini(custom);
  ASSERT_TRUE(ini.has_value());
  EXPECT_EQ(IniValue(*ini, L"Program", L"TestIni"), std::wstring(L"eeee"));
  EXPECT_TRUE(IniValue(*ini, L"Program", L"m_Window_Rect").has_value());
  EXPECT_FALSE(FileExists(appData.IniPath()));
}

TEST_F(Startup, SecondStartHandsItsCommandLineToTheFirstAndEnds) {
  const std::wstring exe = Install();
  Process first;
  ASSERT_TRUE(first.Start(exe, L"-bg"));
  // The first copy is up once it holds the mutex and has made its main window;
  // started hidden, that window is not shown.
  HWND hidden = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        hidden = MainWindowOf(first.Id());
        return InstanceMutexExists() && hidden;
      },
      60000));
  EXPECT_FALSE(IsWindowVisible(hidden));

  // The forwarded full command line becomes the first copy's status text. The
  // first copy's own probe of its empty list blinks its tip in the same place
  // for a while after its start, so the line may be replaced again soon after:
  // the status is watched from before the second start until the line shows.
  Process second;
  ASSERT_TRUE(second.Start(exe, L"\"C:\\My Music\\a b.mp3\" -bg"));
  std::wstring status, forwarded;
  const bool shown = WaitUntil(
      [&] {
        status = TextOf(GetDlgItem(hidden, kStatusText));
        if (status.find(L"\"C:\\My Music\\a b.mp3\" -bg") != std::wstring::npos) forwarded = status;
        return !forwarded.empty();
      },
      60000, 2);
  EXPECT_TRUE(shown) << status;
  EXPECT_NE(forwarded.find(L"Sorvane.exe"), std::wstring::npos) << forwarded;  // the program path is included
  EXPECT_EQ(second.WaitForExit(), 0u);
  // The probe shows the first copy.
  HWND w = first.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w, hidden);
  EXPECT_TRUE(first.Running());
  SendCommand(w, kCommandClose);
  EXPECT_EQ(first.WaitForExit(), kExitNormal);
}

// The test itself plays a first copy that is still starting: it holds the
// mutex, and its window answers the second copy's search only once that copy
// has searched more than once, so the retry is seen to happen.
struct SlowFirstCopy {
  static LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    static const UINT instance = RegisterWindowMessageW(L"Sorvane");
    if (m == instance) {
      ++searches;
      return answering ? instance : 0;
    }
    if (m == WM_COPYDATA) {
      const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
      if (data->dwData == 10100)
        received.assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t) - 1);
      return 10100;
    }
    return DefWindowProcW(w, m, wp, lp);
  }
  static inline std::wstring received;
  static inline int searches = 0;
  static inline bool answering = false;
};

// Serves the test thread's messages until done(); false when the cap ran out first.
template <typename Done>
bool ServeUntil(Done done, ULONGLONG capMs) {
  const ULONGLONG end = GetTickCount64() + capMs;
  for (;;) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
}

TEST_F(Startup, SecondStartWaitsForAFirstCopyThatIsStillStarting) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, L"Sorvane_WETZREWZREZ");
  ASSERT_NE(mutex, nullptr);
  SlowFirstCopy::received.clear();
  SlowFirstCopy::searches = 0;
  SlowFirstCopy::answering = false;
  WNDCLASSW wc{};
  wc.lpfnWndProc = SlowFirstCopy::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"SlowFirstCopy";
  RegisterClassW(&wc);
  HWND w = CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(w, nullptr);

  Process second;
  ASSERT_TRUE(second.Start(Install(), L"late.mp3"));
  // Two searches found no first copy: the second copy is retrying.
  EXPECT_TRUE(ServeUntil([&] { return SlowFirstCopy::searches >= 2 || !second.Running(); }, 120000))
      << SlowFirstCopy::searches;
  ASSERT_TRUE(second.Running()) << "the second copy gave up while the first was still starting";
  EXPECT_GE(SlowFirstCopy::searches, 2);

  SlowFirstCopy::answering = true;
  EXPECT_TRUE(ServeUntil([&] { return !second.Running(); }, 120000));
  EXPECT_EQ(second.WaitForExit(1000), 0u);
  EXPECT_NE(SlowFirstCopy::received.find(L"late.mp3"), std::wstring::npos) << SlowFirstCopy::received;
  DestroyWindow(w);
  CloseHandle(mutex);
}

TEST_F(Startup, QuitRequestEndsWithCodeZeroWithoutSaving) {
  Process p;
  ASSERT_TRUE(p.Start(Install()));
  ASSERT_NE(p.WaitForMainWindow(), nullptr);
  const UINT message = RegisterWindowMessageW(L"Sorvane");
  // As the updater does: to every top-level window.
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(HWND_BROADCAST, message, message, message, SMTO_BLOCK | SMTO_ABORTIFHUNG, 1000, &answer);
  EXPECT_EQ(p.WaitForExit(), 0u);
  const auto ini = ReadUtf16Ini(appData.IniPath());
  ASSERT_TRUE(ini.has_value());
  EXPECT_FALSE(IniValue(*ini, L"Program", L"m_Window_Rect").has_value());
}

TEST_F(Startup, MiniBrowserModeTakesNoMutexSoANormalCopyRunsAlongside) {
  const std::wstring exe = Install();
  Process browser;
  ASSERT_TRUE(browser.Start(exe, L"MINI_BROWSER"));
  HWND box = browser.WaitForMessageBox(L"mini browser");
  ASSERT_NE(box, nullptr);
  HANDLE mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Sorvane_WETZREWZREZ");
  EXPECT_EQ(mutex, nullptr);
  if (mutex) CloseHandle(mutex);

  Process normal;
  ASSERT_TRUE(normal.Start(exe));
  HWND w = normal.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  mutex = OpenMutexW(SYNCHRONIZE, FALSE, L"Sorvane_WETZREWZREZ");
  EXPECT_NE(mutex, nullptr);
  if (mutex) CloseHandle(mutex);

  EXPECT_TRUE(PressButton(box, IDOK));
  EXPECT_EQ(browser.WaitForExit(), 0u);
  SendCommand(w, kCommandClose);
  EXPECT_EQ(normal.WaitForExit(), kExitNormal);
}

TEST_F(Startup, StoredRectangleIsCorrectedIntoAMinimumSize) {
  ASSERT_TRUE(WriteUtf16File(appData.IniPath(), L"[Program]\r\nm_Window_Rect=10,10,20,20\r\n"));
  Process p;
  ASSERT_TRUE(p.Start(Install()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  const RECT r = WindowRect(w);
  EXPECT_EQ(r.left, 10);
  EXPECT_EQ(r.top, 10);
  EXPECT_EQ(r.bottom - r.top, 400);
  // 600 wide unless the list view's minimum (2.5 times its width) is larger.
  const RECT list = WindowRect(GetDlgItem(w, 1033));
  EXPECT_EQ(r.right - r.left, std::max(600, static_cast<int>((list.right - list.left) * 2.5)));
  SaveScreenshot(L"startup_stored_rect");
  SendCommand(w, kCommandClose);
  EXPECT_EQ(p.WaitForExit(), kExitNormal);
}

}  // namespace

namespace {

RECT ChildRect(HWND parent, int id) {
  RECT r = WindowRect(GetDlgItem(parent, id));
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

TEST_F(Startup, ResizingWidensOnlyThePanelAndStaysWithinTheLimits) {
  Process p;
  ASSERT_TRUE(p.Start(Install()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  const RECT list0 = ChildRect(w, 1033), panel0 = ChildRect(w, 1249), selector0 = ChildRect(w, 1000);
  const RECT r0 = WindowRect(w);

  SetWindowPos(w, nullptr, r0.left, r0.top, (r0.right - r0.left) + 100, (r0.bottom - r0.top) + 60,
               SWP_NOZORDER | SWP_NOACTIVATE);
  // The children follow the new size once the program has handled it.
  WaitUntil([&] { return ChildRect(w, 1249).right - ChildRect(w, 1249).left == (panel0.right - panel0.left) + 100; },
            60000);
  const RECT list1 = ChildRect(w, 1033), panel1 = ChildRect(w, 1249), selector1 = ChildRect(w, 1000);
  EXPECT_EQ(list1.right - list1.left, list0.right - list0.left);
  EXPECT_EQ(list1.bottom - list1.top, (list0.bottom - list0.top) + 60);
  EXPECT_EQ(panel1.right - panel1.left, (panel0.right - panel0.left) + 100);
  EXPECT_EQ(panel1.bottom - panel1.top, (panel0.bottom - panel0.top) + 60);
  EXPECT_EQ(selector1.top, selector0.top + 60);
  EXPECT_EQ(selector1.right - selector1.left, selector0.right - selector0.left);

  // Too small and too large are both corrected.
  const int listWidth = list0.right - list0.left;
  SetWindowPos(w, nullptr, 0, 0, 100, 100, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  RECT r = WindowRect(w);
  EXPECT_EQ(r.right - r.left, static_cast<int>(listWidth * 2.5));
  EXPECT_EQ(r.bottom - r.top, 400);
  SetWindowPos(w, nullptr, 0, 0, 5000, 5000, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  r = WindowRect(w);
  EXPECT_EQ(r.right - r.left, static_cast<int>(GetSystemMetrics(SM_CXSCREEN) * 0.8));
  EXPECT_EQ(r.bottom - r.top, static_cast<int>(GetSystemMetrics(SM_CYSCREEN) * 0.8));

  // Free client area drags the window; the frame stays a frame.
  const RECT panel = WindowRect(GetDlgItem(w, 1249));
  r = WindowRect(w);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(panel.right + 3, panel.bottom + 3)), HTCAPTION);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(panel.left + 5, panel.top + 5)), HTCAPTION);
  EXPECT_EQ(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(r.right - 1, (r.top + r.bottom) / 2)), HTRIGHT);
  Sleep(300);  // let the resized window paint before the picture
  SaveScreenshot(L"startup_resized");
  SendCommand(w, kCommandClose);
  EXPECT_EQ(p.WaitForExit(), kExitNormal);
}

TEST_F(Startup, EndOfSessionSavesWithoutClosingAndEscHidesToTheTray) {
  Process p;
  ASSERT_TRUE(p.Start(Install()));
  HWND w = p.WaitForMainWindow();
  ASSERT_NE(w, nullptr);
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(w, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 5000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE));
  auto ini = ReadUtf16Ini(appData.IniPath());
  ASSERT_TRUE(ini.has_value());
  EXPECT_EQ(IniValue(*ini, L"Program", L"m_Window_Rect"), RectText(WindowRect(w)));
  EXPECT_TRUE(p.Running());

  // Esc (the dialog's cancel) only hides the window; Exit ends the program.
  SendCommand(w, IDCANCEL);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(w); }, 10000));
  EXPECT_TRUE(p.Running());
  SendCommand(w, kCommandClose);
  EXPECT_EQ(p.WaitForExit(), kExitNormal);
}

}  // namespace

namespace {

// Start modes that end without a main window, with their exit codes.
TEST_F(Startup, ModesWithoutMainWindowEndWithTheirCodes) {
  struct Case {
    const wchar_t* name;
    const wchar_t* arguments;
    DWORD code;
  } cases[] = {
      {L"sorvane_setup.exe", L"", 0},
      {L"sorvane_uninstall.exe", L"", 0},
      {L"Sorvane.exe", L"-?install", 0},
      {L"Sorvane.exe", L"AutoupdateService_2020", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::wstring(c.name) + L" " + c.arguments);
    Process p;
    ASSERT_TRUE(p.Start(Install(c.name), c.arguments));
    EXPECT_EQ(p.WaitForExit(), c.code);
    // No main window ran: no window rectangle was ever saved.
    const auto ini = ReadUtf16Ini(appData.IniPath());
    EXPECT_FALSE(ini && IniValue(*ini, L"Program", L"m_Window_Rect").has_value());
  }
  // The service mode located the INI file like a normal start.
  EXPECT_TRUE(FileExists(appData.IniPath()));
}

}  // namespace
