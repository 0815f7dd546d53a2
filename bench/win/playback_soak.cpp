// Plays a list of many short generated files from the first to the last by
// the end of each medium alone, and watches which row plays: in list order
// and in random order, with the window shown and hidden. Every row must play
// exactly once per round; nothing may stall, be skipped or play twice.
//
//   playback_soak.exe [files] [milliseconds per file] <path of Sorvane.exe>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "harness.h"
#include "settings/settings_store.h"
#include "settings/win/win_file_system.h"

using namespace e2e;

namespace {

constexpr UINT kCommandClose = 32916, kCmdRandomOn = 1307, kCmdSequential = 1310, kCmdRepeatAll = 1311;
constexpr int kListView = 1033;

std::u16string U16(const std::wstring& w) { return std::u16string(w.begin(), w.end()); }

struct Round {
  std::vector<int> played;  // rows in the order they came up
  double seconds = 0;
  bool stalled = false;
};

// Records each newly focused row (the row that plays) until `files` rows have
// come up or nothing changes for stallMs.
// In list order the round starts by clicking the first row. In random order
// nothing is clicked: a click plays its row outside the shuffled order (which
// then goes on from where it stood), so it would come up twice. Repeat all
// keeps the list playing between rounds; the next `files` rows chosen at the
// end of a medium are consecutive places of the shuffled order, one full
// cycle of it.
Round PlayRound(DWORD process, HWND w, int files, DWORD stallMs, bool hidden, bool random) {
  Round r;
  HWND list = GetDlgItem(w, kListView);
  RemoteListView remote(process, list);
  if (hidden) ShowWindow(w, SW_HIDE);
  const ULONGLONG start = GetTickCount64();
  if (!random) {
    SendMessageW(list, LVM_ENSUREVISIBLE, 0, FALSE);
    // A click on the second row and then on the first, so the focus moves to
    // the first row (a click on a row that has the focus already plays nothing
    // new); posted, so a hidden window takes them as well.
    remote.Click(1);
    const ULONGLONG waitEnd = GetTickCount64() + 10000;
    while (SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) != 1 && GetTickCount64() < waitEnd)
      Sleep(5);
    remote.Click(0);
  }
  // In list order the round starts once the first row has the focus.
  const ULONGLONG firstEnd = GetTickCount64() + 10000;
  while (!random && SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED) != 0 &&
         GetTickCount64() < firstEnd)
    Sleep(5);
  int last = random ? static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)) : -1;
  ULONGLONG changed = GetTickCount64();
  while (static_cast<int>(r.played.size()) < files) {
    const int focused = static_cast<int>(SendMessageW(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    if (focused != last && focused >= 0 && focused < files) {
      r.played.push_back(focused);
      last = focused;
      changed = GetTickCount64();
    }
    if (GetTickCount64() - changed > stallMs) {
      r.stalled = true;
      break;
    }
    Sleep(5);
  }
  r.seconds = static_cast<double>(GetTickCount64() - start) / 1000.0;
  if (hidden) ShowWindow(w, SW_SHOW);
  return r;
}

void Report(const char* name, const Round& r, int files, bool inOrder, bool& ok) {
  std::vector<int> count(static_cast<size_t>(files), 0);
  int doubled = 0, outOfOrder = 0;
  for (size_t i = 0; i < r.played.size(); ++i) {
    if (++count[static_cast<size_t>(r.played[i])] == 2) ++doubled;
    if (inOrder && r.played[i] != static_cast<int>(i)) ++outOfOrder;
  }
  int missing = 0;
  for (int c : count) missing += c == 0;
  printf("%-26s %6.1f s, rows played %zu, missing %d, twice %d, out of order %d%s\n", name, r.seconds,
         r.played.size(), missing, doubled, outOfOrder, r.stalled ? ", STALLED" : "");
  ok = ok && !r.stalled && missing == 0 && doubled == 0 && outOfOrder == 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: playback_soak [files] [milliseconds per file] <path of Sorvane.exe>\n");
    return 2;
  }
  const int files = argc >= 3 ? _wtoi(argv[1]) : 1000;
  const DWORD ms = argc >= 4 ? static_cast<DWORD>(_wtoi(argv[2])) : 200;
  std::string exe;
  for (const wchar_t* c = argv[argc - 1]; *c; ++c) exe += static_cast<char>(*c);
  SetSorvaneExe(UnixToWindowsPath(exe));

  TempFolder copy(L"playback_soak"), media(L"playback_soak_media");
  const std::wstring program = copy / L"sorvane_p.exe";
  if (!CopyProgramTo(program)) return 1;
  std::u16string list;
  for (int i = 0; i < files; ++i) {
    wchar_t name[32];
    swprintf(name, 32, L"\\soak%05d.wav", i);
    const std::wstring path = media.Path() + name;
    if (!WriteToneWav(path, ms)) return 1;
    list += (i ? u"\r\n" : u"") + U16(path);
  }
  {
    sorvane::win::WinFileSystem fs;
    sorvane::SettingsStore store(fs);
    store.SetIniPath(U16(copy / L"Sorvane.ini"));
    store.WriteString(u"Program", u"m_PlayList", u"Soak");
    store.WriteInt(u"Sorvane", u"m_LastSel", 0);
    store.WriteInt(u"Sorvane", u"m_PlayLast", 0);
    store.WriteLongValue(u"MediaList", list);
  }

  Process p;
  if (!p.Start(program)) return 1;
  HWND w = p.WaitForMainWindow(120000);
  if (!w) return 1;
  // Repeat all: a round ends when every row has come up once, not when the list stops.
  SendMessageW(w, WM_COMMAND, kCmdRepeatAll, 0);
  const DWORD stallMs = ms * 10 + 10000;
  bool ok = true;

  SendMessageW(w, WM_COMMAND, kCmdSequential, 0);
  Report("in order, window shown", PlayRound(p.Id(), w, files, stallMs, false, false), files, true, ok);
  Report("in order, window hidden", PlayRound(p.Id(), w, files, stallMs, true, false), files, true, ok);
  SendMessageW(w, WM_COMMAND, kCmdRandomOn, 0);
  Report("random, window shown", PlayRound(p.Id(), w, files, stallMs, false, true), files, false, ok);
  Report("random, window hidden", PlayRound(p.Id(), w, files, stallMs, true, true), files, false, ok);

  PostMessageW(w, WM_COMMAND, kCommandClose, 0);
  const auto code = p.WaitForExit(120000);
  printf("files                      %d of %lu ms\n", files, static_cast<unsigned long>(ms));
  printf("exit code                  %lu\n", code ? *code : 0ul);
  printf("result                     %s\n", ok ? "ok" : "FAILED");
  return ok && code && *code == 45054 ? 0 : 1;
}
