// Counts what the running program holds before and after many ordinary
// actions: 1,000 track changes, 100 list switches and 20 language changes.
// Kernel handles, GDI objects and windows must not grow. Then the peak working
// set of a start with an empty list and with a list of 100,000 entries.
//
// The platform's own figures (GetProcessHandleCount, GetGuiResources) are
// printed too; under Wine they are 0, so the verdict rests on the counts read
// from the handle list, the GDI table and the window enumeration. Menus, icons
// and accelerator tables cannot be counted from outside: the in-process test
// of the main window counts the program's own owners of them.
//
//   resources.exe [rows] <path of Sorvane.exe>
#include <windows.h>
#include <psapi.h>
#include <wmp.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "../../tests/support/process_resources.h"
#include "harness.h"
#include "settings/settings_store.h"
#include "settings/win/win_file_system.h"

using namespace e2e;

namespace {

constexpr UINT kCommandClose = 32916, kCmdNext = 1259;
constexpr int kSelector = 1000;
constexpr int kLanguageEnglish = 33000 + 1, kLanguageGerman = 33000;

struct Counts {
  DWORD reportedHandles = 0, reportedGdi = 0, reportedUser = 0;
  bool handlesReported = false;
  std::optional<sorvane::testing::KernelCounts> kernel;
  std::optional<sorvane::testing::GdiCounts> gdi;
  unsigned windows = 0;
};

Counts CountsOf(HANDLE process, DWORD pid) {
  Counts c;
  c.handlesReported = GetProcessHandleCount(process, &c.reportedHandles) != FALSE && c.reportedHandles != 0;
  c.reportedGdi = GetGuiResources(process, GR_GDIOBJECTS);
  c.reportedUser = GetGuiResources(process, GR_USEROBJECTS);
  c.kernel = sorvane::testing::KernelHandleCounts(pid, process);
  c.gdi = sorvane::testing::GdiObjectCounts(process);
  c.windows = sorvane::testing::WindowCount(pid);
  return c;
}

// What the platform leaves behind in a process each time a media player
// control opens a medium, measured here in this process with the same control
// the program hosts: registry keys (most of them of the filter catalogue, which
// tell how many media were opened), and events along with them.
struct PlatformCost {
  double catalogueKeys = 0, keys = 0, events = 0;
};

PlatformCost MeasurePlatformCost(const std::wstring& wav) {
  PlatformCost cost;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const CLSID player = {0x6BF52A52, 0x394A, 0x11d3, {0xB1, 0x53, 0x00, 0xC0, 0x4F, 0x79, 0xFA, 0xA6}};
  IWMPCore* core = nullptr;
  if (SUCCEEDED(CoCreateInstance(player, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IWMPCore),
                                 reinterpret_cast<void**>(&core)))) {
    BSTR url = SysAllocString(wav.c_str());
    core->put_URL(url);  // the first opening loads what is kept
    const auto before = sorvane::testing::KernelHandleCounts(GetCurrentProcessId());
    constexpr int kOpenings = 4;
    for (int i = 0; i < kOpenings; ++i) core->put_URL(url);
    const auto after = sorvane::testing::KernelHandleCounts(GetCurrentProcessId());
    if (before && after) {
      cost.catalogueKeys = (static_cast<double>(after->catalogueKeys) - before->catalogueKeys) / kOpenings;
      cost.keys = (static_cast<double>(after->registryKeys) - before->registryKeys) / kOpenings;
      cost.events = (static_cast<double>(after->events) - before->events) / kOpenings;
    }
    core->close();
    SysFreeString(url);
    core->Release();
  }
  CoUninitialize();
  return cost;
}

std::u16string U16(const std::wstring& w) { return std::u16string(w.begin(), w.end()); }

bool WriteLists(const std::wstring& ini, const std::vector<std::wstring>& first, int largeRows) {
  sorvane::win::WinFileSystem fs;
  sorvane::SettingsStore store(fs);
  store.SetIniPath(U16(ini));
  std::u16string a, b;
  for (size_t i = 0; i < first.size(); ++i) a += (i ? u"\r\n" : u"") + U16(first[i]);
  for (int i = 0; i < largeRows; ++i) {
    wchar_t path[96];
    swprintf(path, 96, L"C:\\Music\\Album %02d\\Track %06d.mp3", i % 97, i);
    b += (i ? u"\r\n" : u"") + U16(path);
  }
  return store.WriteString(u"Program", u"m_PlayList", u"Songs\tLarge") &&
         store.WriteInt(u"Sorvane", u"m_LastSel", 0) && store.WriteLongValue(u"MediaList", a) &&
         store.WriteLongValue(u"MediaList1", b);
}

void Settle(HWND w) {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
}

SIZE_T PeakWorkingSet(HANDLE process) {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof(pmc);
  return GetProcessMemoryInfo(process, &pmc, sizeof(pmc)) ? pmc.PeakWorkingSetSize : 0;
}

// Peak working set of a start whose shown list has `rows` entries, measured
// once its window is up and has answered.
SIZE_T StartPeak(const std::wstring& program, const std::wstring& ini, int rows) {
  {
    sorvane::win::WinFileSystem fs;
    sorvane::SettingsStore store(fs);
    store.SetIniPath(U16(ini));
    std::u16string list;
    for (int i = 0; i < rows; ++i) {
      wchar_t path[96];
      swprintf(path, 96, L"C:\\Music\\Album %02d\\Track %06d.mp3", i % 97, i);
      list += (i ? u"\r\n" : u"") + U16(path);
    }
    store.WriteString(u"Program", u"m_PlayList", u"Shown");
    store.WriteInt(u"Sorvane", u"m_LastSel", 0);
    store.WriteLongValue(u"MediaList", list);
  }
  Process p;
  if (!p.Start(program)) return 0;
  HWND w = p.WaitForMainWindow(120000);
  if (!w) return 0;
  Settle(w);
  HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, p.Id());
  const SIZE_T peak = h ? PeakWorkingSet(h) : 0;
  if (h) CloseHandle(h);
  PostMessageW(w, WM_COMMAND, kCommandClose, 0);
  p.WaitForExit(120000);
  return peak;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: resources [rows] <path of Sorvane.exe>\n");
    return 2;
  }
  const int rows = argc >= 3 ? _wtoi(argv[1]) : 100000;
  std::string exe;
  for (const wchar_t* c = argv[argc - 1]; *c; ++c) exe += static_cast<char>(*c);
  SetSorvaneExe(UnixToWindowsPath(exe));

  TempFolder copy(L"resources"), media(L"resources_media");
  const std::wstring program = copy / L"sorvane_p.exe";
  if (!CopyProgramTo(program)) return 1;
  std::vector<std::wstring> songs;
  for (int i = 0; i < 10; ++i) {
    songs.push_back(media / (L"song" + std::to_wstring(i) + L".wav"));
    if (!WriteToneWav(songs.back(), 1000)) return 1;
  }
  if (!WriteLists(copy / L"Sorvane.ini", songs, 2000)) return 1;

  Process p;
  if (!p.Start(program)) return 1;
  HWND w = p.WaitForMainWindow(120000);
  if (!w) return 1;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_DUP_HANDLE, FALSE, p.Id());
  // One round of each action first, so lazily made objects (fonts, menus, the
  // player's own) exist before the first count.
  SendMessageW(w, WM_COMMAND, kCmdNext, 0);
  SendMessageW(GetDlgItem(w, kSelector), 0x014E /* CB_SETCURSEL */, 1, 0);
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(kSelector, 9 /* CBN_SELENDOK */), reinterpret_cast<LPARAM>(GetDlgItem(w, kSelector)));
  SendMessageW(GetDlgItem(w, kSelector), 0x014E, 0, 0);
  SendMessageW(w, WM_COMMAND, MAKEWPARAM(kSelector, 9), reinterpret_cast<LPARAM>(GetDlgItem(w, kSelector)));
  SendMessageW(w, WM_COMMAND, kLanguageGerman, 0);
  SendMessageW(w, WM_COMMAND, kLanguageEnglish, 0);
  Sleep(2000);
  Settle(w);
  const Counts start = CountsOf(process, p.Id());

  for (int i = 0; i < 1000; ++i) {
    SendMessageW(w, WM_COMMAND, kCmdNext, 0);
    if (i % 50 == 0) Settle(w);
  }
  for (int i = 0; i < 100; ++i) {
    SendMessageW(GetDlgItem(w, kSelector), 0x014E, (i + 1) % 2, 0);
    SendMessageW(w, WM_COMMAND, MAKEWPARAM(kSelector, 9), reinterpret_cast<LPARAM>(GetDlgItem(w, kSelector)));
    Settle(w);
  }
  for (int i = 0; i < 20; ++i) {
    SendMessageW(w, WM_COMMAND, i % 2 ? kLanguageEnglish : kLanguageGerman, 0);
    Settle(w);
  }
  // The probe of the last list shown and the last track's start settle down.
  Sleep(3000);
  Settle(w);
  const Counts end = CountsOf(process, p.Id());
  CloseHandle(process);
  PostMessageW(w, WM_COMMAND, kCommandClose, 0);
  const auto code = p.WaitForExit(120000);
  const PlatformCost cost = MeasurePlatformCost(songs[0]);

  printf("actions                  1000 track changes, 100 list switches, 20 language changes\n");
  const bool counted = start.kernel && end.kernel && start.gdi && end.gdi;
  // The playback engine keeps one or two objects of its own open or not (the
  // current medium's event among them), depending on the moment it was last
  // stopped; they do not add up.
  constexpr unsigned kSlack = 2;
  bool grew = false;
  if (start.kernel && end.kernel) {
    const auto &a = *start.kernel, &b = *end.kernel;
    // Rounded up: the keys of the media open at either count make the figure a little uneven.
    const double openings =
        cost.catalogueKeys > 0 && b.catalogueKeys > a.catalogueKeys
            ? std::ceil((b.catalogueKeys - a.catalogueKeys) / cost.catalogueKeys - 0.001)
            : 0.0;
    // The program's own keys and events must not come on top of the control's.
    const unsigned keysAllowed = static_cast<unsigned>(openings * cost.keys + 0.999) + kSlack;
    // The control leaves one event with each opening (a few openings may show less, the last ones still closing).
    const unsigned eventsAllowed = static_cast<unsigned>(openings + 0.999) + kSlack;
    printf("kernel handles           %u at start, %u at the end\n", a.total, b.total);
    printf("  registry keys          %u at start, %u at the end (allowed: %u more, left by the platform;\n"
           "                         %u and %u of them in the filter catalogue)\n",
           a.registryKeys, b.registryKeys, keysAllowed, a.catalogueKeys, b.catalogueKeys);
    printf("  events                 %u at start, %u at the end (allowed: %u more, left by the platform)\n", a.events,
           b.events, eventsAllowed);
    printf("  the rest               %u at start, %u at the end (allowed: %u more)\n", a.Rest(), b.Rest(), kSlack);
    printf("  platform, per medium   %.1f registry keys (%.1f of the catalogue) and %.1f events left behind by\n"
           "                         the media player control itself (measured in this tool); %.0f media opened\n",
           cost.keys, cost.catalogueKeys, cost.events, openings);
    grew = grew || b.Rest() > a.Rest() + kSlack || b.events > a.events + eventsAllowed ||
           b.registryKeys > a.registryKeys + keysAllowed;
  } else {
    printf("kernel handles           not reported here (no system handle list)\n");
  }
  if (start.gdi && end.gdi) {
    const auto &a = *start.gdi, &b = *end.gdi;
    printf("GDI objects              %u at start, %u at the end (dc %u/%u, region %u/%u, bitmap %u/%u, font %u/%u, "
           "brush %u/%u, pen %u/%u)\n",
           a.total, b.total, a.dcs, b.dcs, a.regions, b.regions, a.bitmaps, b.bitmaps, a.fonts, b.fonts, a.brushes,
           b.brushes, a.pens, b.pens);
    grew = grew || b.total > a.total;
  } else {
    printf("GDI objects              not reported here (no GDI table readable)\n");
  }
  printf("windows                  %u at start, %u at the end\n", start.windows, end.windows);
  grew = grew || end.windows > start.windows;
  printf("menus, icons, cursors, accelerator tables: not countable from outside (see the in-process test)\n");
  printf("platform's own counts    handles %lu/%lu%s, GDI %lu/%lu%s, USER %lu/%lu%s\n", start.reportedHandles,
         end.reportedHandles, start.handlesReported ? "" : " (not reported here)", start.reportedGdi, end.reportedGdi,
         start.reportedGdi || end.reportedGdi ? "" : " (not reported here)", start.reportedUser, end.reportedUser,
         start.reportedUser || end.reportedUser ? "" : " (not reported here)");
  // Where the platform reports GDI and USER objects (menus, icons and the rest included), they count too.
  if (start.reportedGdi && end.reportedGdi > start.reportedGdi) grew = true;
  if (start.reportedUser && end.reportedUser > start.reportedUser) grew = true;
  printf("exit code                %lu\n", code ? *code : 0ul);

  TempFolder emptyCopy(L"resources_empty"), largeCopy(L"resources_large");
  CopyProgramTo(emptyCopy / L"sorvane_p.exe");
  CopyProgramTo(largeCopy / L"sorvane_p.exe");
  const SIZE_T emptyPeak = StartPeak(emptyCopy / L"sorvane_p.exe", emptyCopy / L"Sorvane.ini", 0);
  const SIZE_T largePeak = StartPeak(largeCopy / L"sorvane_p.exe", largeCopy / L"Sorvane.ini", rows);
  printf("peak working set         empty list %.1f MB, %d entries %.1f MB, difference %.1f MB\n",
         emptyPeak / 1048576.0, rows, largePeak / 1048576.0, (static_cast<double>(largePeak) - emptyPeak) / 1048576.0);
  printf("result                   %s\n", grew ? "GREW" : counted ? "ok" : "not counted: the platform reports nothing");
  if (!counted) return 1;
  return grew || !code || *code != 45054 ? 1 : 0;
}
