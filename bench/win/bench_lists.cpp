// How a list of 100,000 entries compares with a small one in the real program,
// driven from outside as a user's session would:
//   start (window shown; first row drawn), close, switching between a large
//   and a small list, select all / invert / move on the large list,
// each beside its small-list counterpart and the ratio of the two.
// Medians of several alternating runs. Checks only that every step happened.
//
// Then the import of a folder of 2,000 WAV files with probing, beside one of 20.
//
//   bench_lists.exe [rows] [runs] [--no-bulk] [--no-import] <path of Sorvane.exe>
// --no-bulk leaves out the bulk changes (so the close follows the switches only);
// --no-import leaves out the imports.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <cwchar>
#include <string>
#include <vector>

#include "harness.h"
#include "import_run.h"
#include "settings/settings_store.h"
#include "settings/win/win_file_system.h"

using namespace e2e;

namespace {

constexpr UINT kCommandClose = 32916;
constexpr UINT kCmdMoveTop = 1001, kCmdSelectAll = 1009, kCmdInvert = 1010;
constexpr int kListView = 1033, kSelector = 1000;
constexpr DWORD kNormalExit = 45054;
constexpr COLORREF kEvenRowColor = RGB(64, 64, 64), kEmptyListColor = RGB(32, 32, 32);

LARGE_INTEGER Now() {
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return t;
}

double Ms(LARGE_INTEGER from, LARGE_INTEGER to) {
  static const LONGLONG frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f.QuadPart;
  }();
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency);
}

double Median(std::vector<double> v) {
  if (v.empty()) return -1;
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Polls finely (the figures are milliseconds) until the condition holds.
bool WaitFine(const std::function<bool()>& condition, DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  while (!condition()) {
    if (GetTickCount64() > end) return false;
    Sleep(2);
  }
  return true;
}

struct Found {
  DWORD process;
  HWND window;
};

BOOL CALLBACK FindVisibleMain(HWND w, LPARAM data) {
  auto* f = reinterpret_cast<Found*>(data);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == f->process && IsWindowVisible(w) && GetDlgItem(w, kListView)) {
    f->window = w;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleMainWindow(DWORD process) {
  Found f{process, nullptr};
  EnumWindows(FindVisibleMain, reinterpret_cast<LPARAM>(&f));
  return f.window;
}

// A portable copy in its own folder, its INI beside it.
struct Copy {
  TempFolder folder;
  std::wstring exe;
  explicit Copy(const wchar_t* tag) : folder(tag), exe(folder / L"sorvane_p.exe") { CopyProgramTo(exe); }
  std::wstring Ini() const { return folder / L"Sorvane.ini"; }
};

std::wstring TrackPath(int i) {
  wchar_t path[160];
  swprintf(path, 160, L"C:\\Music\\Album %02d\\Disc %d\\Track %06d - a title of middling length.mp3", i % 97,
           i % 3, i);
  return path;
}

// Two lists: "Large" (rows paths, shown at start) and "Small" (10 paths).
bool WriteLists(const std::wstring& ini, int rows) {
  sorvane::win::WinFileSystem fs;
  sorvane::SettingsStore store(fs);
  store.SetIniPath(sorvane::Text(reinterpret_cast<const char16_t*>(ini.c_str())));
  std::u16string large, small;
  for (int i = 0; i < rows; ++i) {
    if (i) large += u"\r\n";
    large += reinterpret_cast<const char16_t*>(TrackPath(i).c_str());
  }
  for (int i = 0; i < 10; ++i) {
    if (i) small += u"\r\n";
    small += reinterpret_cast<const char16_t*>(TrackPath(rows + i).c_str());
  }
  return store.WriteString(u"Program", u"m_PlayList", u"Large\tSmall") &&
         store.WriteInt(u"Sorvane", u"m_LastSel", 0) && store.WriteLongValue(u"MediaList", large) &&
         store.WriteLongValue(u"MediaList1", small);
}

// Whether any pixel of the screen rectangle has one of the colours; one copy
// of the rectangle, not a call per pixel.
bool RectangleShows(const RECT& r, std::initializer_list<COLORREF> colours) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool seen = false;
  if (bitmap && bits) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const auto* px = static_cast<const uint32_t*>(bits);
    for (int i = 0; i < w * h && !seen; ++i) {
      const COLORREF c = RGB((px[i] >> 16) & 0xFF, (px[i] >> 8) & 0xFF, px[i] & 0xFF);
      for (COLORREF want : colours) seen = seen || c == want;
    }
    SelectObject(memory, old);
  }
  if (bitmap) DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return seen;
}

// The top row on screen, drawn: an even row's own background, or the text of
// any row (white, or yellow when selected).
bool TopRowDrawn(HWND list, const RemoteListView& remote) {
  const int top = static_cast<int>(SendMessageW(list, LVM_GETTOPINDEX, 0, 0));
  const auto row = remote.RowOnScreen(top);
  if (!row) return false;
  // The row's columns reach past the list's right edge: only what the list shows counts.
  RECT client{}, shown{};
  GetClientRect(list, &client);
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&client), 2);
  if (!IntersectRect(&shown, &*row, &client)) return false;
  return RectangleShows(shown, {top % 2 ? RGB(255, 255, 255) : kEvenRowColor, RGB(255, 255, 255), RGB(255, 255, 0)});
}

struct StartTimes {
  double shown = -1, drawn = -1, close = -1;
  bool closedNormally = false;
};

// Starts the copy, waits for the window and for its list to be painted
// (the first row's colour, or the empty list's), then closes it with Exit.
StartTimes StartAndClose(const std::wstring& exe, bool expectRows,
                         const std::function<void(HWND, DWORD)>& whileOpen = {}) {
  StartTimes t;
  Process p;
  const LARGE_INTEGER start = Now();
  if (!p.Start(exe)) return t;
  HWND w = nullptr;
  if (!WaitFine([&] { return (w = VisibleMainWindow(p.Id())) != nullptr; }, 120000)) return t;
  t.shown = Ms(start, Now());
  HWND list = GetDlgItem(w, kListView);
  RECT area{};
  GetWindowRect(list, &area);
  RemoteListView remote(p.Id(), list);
  const bool drawn = WaitFine(
      [&] {
        if (!expectRows) {
          // The empty list: its own colour in the middle of the rows' area.
          HDC screen = GetDC(nullptr);
          const bool seen =
              GetPixel(screen, (area.left + area.right) / 2, (area.top + area.bottom) / 2) == kEmptyListColor;
          ReleaseDC(nullptr, screen);
          return seen;
        }
        return TopRowDrawn(list, remote);
      },
      30000);
  if (drawn) {
    t.drawn = Ms(start, Now());
  } else {
    // Say what was there instead, so a changed look is told from a slow paint.
    RECT r{};
    GetWindowRect(list, &r);
    HDC screen = GetDC(nullptr);
    fprintf(stderr, "list not seen painted: pixels %06lx %06lx %06lx in %ld,%ld-%ld,%ld\n",
            GetPixel(screen, r.left + 40, r.top + 30), GetPixel(screen, (r.left + r.right) / 2, (r.top + r.bottom) / 2),
            GetPixel(screen, (r.left + r.right) / 2, r.bottom - 8), r.left, r.top, r.right, r.bottom);
    ReleaseDC(nullptr, screen);
  }
  if (whileOpen) whileOpen(w, p.Id());
  const LARGE_INTEGER closing = Now();
  PostMessageW(w, WM_COMMAND, kCommandClose, 0);
  const auto code = p.WaitForExit(120000);
  if (code) {
    t.close = Ms(closing, Now());
    t.closedNormally = *code == kNormalExit;
  }
  return t;
}

// Time of one synchronous command to the main window.
double TimeCommand(HWND w, UINT id) {
  const LARGE_INTEGER before = Now();
  SendMessageW(w, WM_COMMAND, id, 0);
  return Ms(before, Now());
}

int SelectedCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETSELECTEDCOUNT, 0, 0)); }
int ItemCount(HWND list) { return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0)); }

// Shows list `index` through the selector as a user's choice does; the time
// until the list view holds its rows and the window answers again.
double SwitchTo(HWND w, int index, int rows) {
  HWND selector = GetDlgItem(w, kSelector);
  HWND list = GetDlgItem(w, kListView);
  const LARGE_INTEGER before = Now();
  SendMessageW(selector, CB_SETCURSEL, index, 0);
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(kSelector, CBN_SELENDOK), reinterpret_cast<LPARAM>(selector));
  if (!WaitFine([&] { return ItemCount(list) == rows; }, 120000)) return -1;
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 120000, &answer);
  return Ms(before, Now());
}

// Selects rows [0, last] as a user does: a click on the first, a shift-click on the last.
bool SelectFirstRows(DWORD process, HWND list, int last) {
  RemoteListView remote(process, list);
  SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
  if (!remote.Click(0)) return false;
  // The click is posted: the shift-click below is sent, and would overtake it.
  if (!WaitFine([&] { return SelectedCount(list) == 1 && remote.Focused() == 0; }, 60000)) return false;
  SendMessageW(list, LVM_ENSUREVISIBLE, last, FALSE);
  const auto row = remote.RowOnScreen(last);
  if (!row) return false;
  POINT at{row->left + 40, (row->top + row->bottom) / 2};
  ScreenToClient(list, &at);
  const LPARAM where = MAKELPARAM(at.x, at.y);
  SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, where);
  SendMessageW(list, WM_LBUTTONUP, MK_SHIFT, where);
  return WaitFine([&] { return SelectedCount(list) == last + 1; }, 60000);
}

struct BulkTimes {
  std::vector<double> selectAll, invert, move;
  bool ok = true;
};

void MeasureBulk(HWND w, DWORD process, int rows, BulkTimes& out) {
  HWND list = GetDlgItem(w, kListView);
  out.selectAll.push_back(TimeCommand(w, kCmdSelectAll));
  auto check = [&](bool held, const char* what) {
    if (!held) fprintf(stderr, "%d rows: %s did not happen\n", rows, what);
    out.ok = out.ok && held;
  };
  check(SelectedCount(list) == rows, "select all");
  check(SelectFirstRows(process, list, rows / 2 - 1), "a click and a shift-click selecting the first half");
  out.invert.push_back(TimeCommand(w, kCmdInvert));
  check(SelectedCount(list) == rows - rows / 2, "invert");
  out.move.push_back(TimeCommand(w, kCmdMoveTop));
  check(ItemCount(list) == rows, "move");
}

void Row(const char* what, double small, double large) {
  if (small > 0)
    printf("%-34s %10.1f ms %12.1f ms %8.2fx\n", what, small, large, large / small);
  else
    printf("%-34s %10s    %12.1f ms\n", what, "-", large);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: bench_lists [rows] [runs] <path of Sorvane.exe>\n");
    return 2;
  }
  bool bulk = true, import = true;
  for (int i = 1; i < argc - 1; ++i) {
    if (wcscmp(argv[i], L"--no-bulk") == 0) bulk = false;
    if (wcscmp(argv[i], L"--no-import") == 0) import = false;
  }
  const int rows = argc >= 3 && argv[1][0] != L'-' ? _wtoi(argv[1]) : 100000;
  const int runs = argc >= 4 && argv[2][0] != L'-' ? _wtoi(argv[2]) : 5;
  std::string exe;
  for (const wchar_t* c = argv[argc - 1]; *c; ++c) exe += static_cast<char>(*c);
  SetSorvaneExe(UnixToWindowsPath(exe));

  Copy empty(L"bench_lists_empty"), large(L"bench_lists_large");
  // The empty copy makes its INI at its first start; the large one has its lists ready.
  StartAndClose(empty.exe, false);
  if (!WriteLists(large.Ini(), rows)) {
    fprintf(stderr, "cannot write the lists\n");
    return 1;
  }

  std::vector<double> emptyShown, emptyDrawn, emptyClose, largeShown, largeDrawn, largeClose;
  std::vector<double> toSmall, toLarge;
  BulkTimes bigBulk, smallBulk;
  bool ok = true;
  for (int run = 0; run < runs; ++run) {
    const StartTimes e = StartAndClose(empty.exe, false);
    const StartTimes l = StartAndClose(large.exe, true, [&](HWND w, DWORD process) {
      // Switching and bulk changes measured in the same session, once the list is up.
      toSmall.push_back(SwitchTo(w, 1, 10));
      if (bulk) MeasureBulk(w, process, 10, smallBulk);
      toLarge.push_back(SwitchTo(w, 0, rows));
      if (bulk) MeasureBulk(w, process, rows, bigBulk);
    });
    if (!e.closedNormally || !l.closedNormally) fprintf(stderr, "a close did not end with the normal exit code\n");
    if (e.drawn <= 0 || l.drawn <= 0) fprintf(stderr, "a list was not seen drawn\n");
    ok = ok && e.closedNormally && l.closedNormally && e.drawn > 0 && l.drawn > 0;
    emptyShown.push_back(e.shown);
    emptyDrawn.push_back(e.drawn);
    emptyClose.push_back(e.close);
    largeShown.push_back(l.shown);
    largeDrawn.push_back(l.drawn);
    largeClose.push_back(l.close);
  }
  ok = ok && bigBulk.ok && smallBulk.ok;

  printf("rows in the large list             %d (INI %s), runs %d, medians\n", rows, "13 MB for 100,000", runs);
  printf("%-34s %13s %15s %9s\n", "", "small/empty", "large", "ratio");
  Row("start: window shown", Median(emptyShown), Median(largeShown));
  Row("start: list painted (first row)", Median(emptyDrawn), Median(largeDrawn));
  Row("close (Exit) to process end", Median(emptyClose), Median(largeClose));
  Row("switch to the list", Median(toSmall), Median(toLarge));
  Row("select all", Median(smallBulk.selectAll), Median(bigBulk.selectAll));
  Row("invert (half selected)", Median(smallBulk.invert), Median(bigBulk.invert));
  Row("move the selected rows to the top", Median(smallBulk.move), Median(bigBulk.move));
  printf("close, large minus empty             %.1f ms\n", Median(largeClose) - Median(emptyClose));
  if (import) {
    const ImportFigures few = MeasureImport(20, false), many = MeasureImport(2000, false);
    if (!few.ok || !many.ok) fprintf(stderr, "an import did not bring every file in order\n");
    ok = ok && few.ok && many.ok;
    printf("import with probing, files/s       %10.1f    %12.1f    %8.2fx (20 files; 2,000 files)\n", few.rate,
           many.rate, few.rate > 0 ? many.rate / few.rate : 0.0);
    printf("import: worst ping while adding    %10.1f ms %12.1f ms\n", few.worstWhileAdding, many.worstWhileAdding);
  }
  printf("result                               %s\n", ok ? "ok" : "FAILED (a step did not happen)");
  return ok ? 0 : 1;
}
