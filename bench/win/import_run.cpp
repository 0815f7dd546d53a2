// The import of a folder through the real program, shared by bench_import and
// bench_lists.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "harness.h"
#include "import_run.h"

namespace e2e {
namespace {

constexpr UINT kCommandClose = 32916;
constexpr int kListView = 1033;


std::string ToUtf8(const std::wstring& text) {
  std::string out(static_cast<size_t>(text.size()) * 3 + 1, '\0');
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(),
                                    static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(n > 0 ? static_cast<size_t>(n) : 0);
  return out;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

ImportFigures MeasureImport(int files, bool verbose) {
  ImportFigures f;
  AppDataRedirect appData;
  TempFolder media{L"bench_import"};
  for (int i = 0; i < files; ++i) {
    wchar_t name[32];
    swprintf(name, 32, L"track%04d.wav", i);
    if (!WriteToneWav(media / name, 100)) {
      fprintf(stderr, "cannot write %ls\n", name);
      return f;
    }
  }
  std::vector<std::wstring> order;
  ListInFileSystemOrder(media.Path(), order);

  // A running copy receives the folder from a second start, as when the user
  // opens a folder with the program: its window is up and should stay alive.
  Process p;
  if (!p.Start(SorvaneExe())) {
    fprintf(stderr, "cannot start the program\n");
    return f;
  }
  HWND w = p.WaitForMainWindow(30000);
  if (!w) {
    fprintf(stderr, "no main window\n");
    return f;
  }
  Process second;
  if (!second.Start(SorvaneExe(), L"\"" + media.Path() + L"\"")) return f;
  HWND question = p.WaitForMessageBox(L"Should a new playlist be created?", 30000);
  if (!question) {
    fprintf(stderr, "no question about a new list\n");
    return f;
  }
  LARGE_INTEGER frequency, start, lastRow{}, busyClosed{}, now;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  PressButton(question, IDYES);
  HWND view = GetDlgItem(w, kListView);

  std::vector<double> pings;
  double worstPing = -1, worstAt = 0;
  int worstRows = 0;
  // Pings sent after the first row came and answered before the last: the
  // window while files are being added, apart from what comes before and after.
  double worstWhileAdding = 0;
  std::string slowPings;
  bool busySeen = false, screenshot = false;
  int rows = 0;
  const ULONGLONG deadline = GetTickCount64() + 30 * 60 * 1000;
  for (;;) {
    LARGE_INTEGER before, after;
    QueryPerformanceCounter(&before);
    DWORD_PTR answer = 0;
    const bool answered = SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer) != 0;
    QueryPerformanceCounter(&after);
    pings.push_back(answered ? Seconds(before, after, frequency) * 1000 : 60000);
    const int count = static_cast<int>(SendMessageW(view, LVM_GETITEMCOUNT, 0, 0));
    if (pings.back() > 250) {
      char line[128];
      snprintf(line, sizeof line, "  slow ping at %.2f s: %.0f ms, %d rows after it\n", Seconds(start, before, frequency),
               pings.back(), count);
      slowPings += line;
    }
    if (rows > 0 && count < files) worstWhileAdding = std::max(worstWhileAdding, pings.back());
    if (pings.back() > worstPing) {
      worstPing = pings.back();
      worstAt = Seconds(start, before, frequency);
      worstRows = count;
    }
    QueryPerformanceCounter(&now);
    if (count != rows) lastRow = now;
    rows = count;
    const bool busy = FindProcessWindow(p.Id(), L"Processing Folder...") != nullptr;
    busySeen = busySeen || busy;
    if (busy && !screenshot && rows >= files / 2) screenshot = SaveScreenshot(L"bench_import_busy_dialog");
    if (rows >= files && !busy) {
      busyClosed = now;
      break;
    }
    if (GetTickCount64() > deadline || !p.Running()) break;
    Sleep(100);
  }

  RemoteListView list(p.Id(), view);
  const std::vector<std::wstring> paths = list.Column(1);
  const std::wstring firstDuration = list.Text(0, 2);
  SaveScreenshot(L"bench_import_done");
  SendCommand(w, kCommandClose);
  p.WaitForExit(60000);

  const bool inOrder = paths == order;
  std::vector<double> sorted = pings;
  std::sort(sorted.begin(), sorted.end());
  const double importSeconds = Seconds(start, lastRow, frequency);
  const double median = sorted.empty() ? 0 : sorted[sorted.size() / 2];
  const double worst = sorted.empty() ? 0 : sorted.back();
  const auto slow = std::count_if(pings.begin(), pings.end(), [](double ms) { return ms > 250; });
  f.files = files;
  f.rows = static_cast<int>(paths.size());
  f.inOrder = inOrder;
  f.busySeen = busySeen;
  f.seconds = importSeconds;
  f.rate = importSeconds > 0 ? paths.size() / importSeconds : 0.0;
  f.medianPing = median;
  f.worstPing = worst;
  f.worstWhileAdding = worstWhileAdding;
  f.slowPings = static_cast<int>(slow);
  if (verbose) {
    printf("files generated          %d (0.1 s mono 16-bit WAV each)\n", files);
    printf("rows in the list         %d, in file-system order: %s\n", static_cast<int>(paths.size()),
            inOrder ? "yes" : "NO");
    printf("duration of row 0        %s\n", ToUtf8(firstDuration).c_str());
    printf("busy dialog seen         %s\n", busySeen ? "yes" : "NO");
    printf("time to the last row     %.2f s\n", importSeconds);
    printf("time to the dialog gone  %.2f s\n", Seconds(start, busyClosed, frequency));
    printf("import rate              %.1f files/s\n", importSeconds > 0 ? paths.size() / importSeconds : 0.0);
    printf("pings of the main window %d: median %.1f ms, worst %.1f ms, over 250 ms %d\n",
            static_cast<int>(pings.size()), median, worst, static_cast<int>(slow));
    printf("%s", slowPings.c_str());
    printf("worst ping sent at       %.2f s, %d rows in the list after it\n", worstAt, worstRows);
    printf("worst ping while adding  %.1f ms\n", worstWhileAdding);
  }
  f.ok = inOrder && f.rows == files && busySeen;
  return f;
}

}  // namespace e2e
