// Kills the real program while it saves at close, again and again, and checks
// that its INI file is always whole: the list entry for entry, and the window
// rectangle either the one stored before or the one the close writes.
//
// Each trial starts a portable copy whose shown list has `rows` entries, moves
// its window (so the close has something new to write), closes it with Exit
// and terminates the process after a random delay between nothing and a
// little more than an undisturbed close takes.
//
//   killed_close.exe [trials] [rows] <path of Sorvane.exe>
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "harness.h"
#include "settings/settings_store.h"
#include "settings/win/win_file_system.h"

using namespace e2e;

namespace {

constexpr UINT kCommandClose = 32916;

std::u16string U16(const std::wstring& w) { return std::u16string(w.begin(), w.end()); }

std::wstring TrackPath(const std::wstring& folder, int i) {
  wchar_t name[64];
  swprintf(name, 64, L"\\Track %06d.mp3", i);
  return folder + name;
}

std::u16string JoinRows(const std::vector<std::wstring>& rows) {
  std::u16string out;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (i) out += u"\r\n";
    out += U16(rows[i]);
  }
  return out;
}

std::u16string StoredList(const std::wstring& ini) {
  sorvane::win::WinFileSystem fs;
  sorvane::SettingsStore store(fs);
  store.SetIniPath(U16(ini));
  return store.ReadLongValue(u"MediaList");
}

FILETIME LastWrite(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
  return data.ftLastWriteTime;
}

// "m_Window_Rect" as stored, or empty when the file cannot be read.
std::u16string StoredRect(const std::wstring& ini) {
  sorvane::win::WinFileSystem fs;
  sorvane::SettingsStore store(fs);
  store.SetIniPath(U16(ini));
  return store.ReadString(u"Program", u"m_Window_Rect", u"");
}

bool WriteList(const std::wstring& ini, const std::vector<std::wstring>& rows) {
  sorvane::win::WinFileSystem fs;
  sorvane::SettingsStore store(fs);
  store.SetIniPath(U16(ini));
  return store.WriteString(u"Program", u"m_PlayList", u"Shown") && store.WriteInt(u"Sorvane", u"m_LastSel", 0) &&
         store.WriteLongValue(u"MediaList", JoinRows(rows));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fprintf(stderr, "usage: killed_close [trials] [rows] <path of Sorvane.exe>\n");
    return 2;
  }
  const int trials = argc >= 3 ? _wtoi(argv[1]) : 100;
  const int rows = argc >= 4 ? _wtoi(argv[2]) : 20000;
  std::string exe;
  for (const wchar_t* c = argv[argc - 1]; *c; ++c) exe += static_cast<char>(*c);
  SetSorvaneExe(UnixToWindowsPath(exe));

  TempFolder copy(L"killed_close");
  const std::wstring program = copy / L"sorvane_p.exe";
  const std::wstring ini = copy / L"Sorvane.ini";
  if (!CopyProgramTo(program)) return 1;
  std::vector<std::wstring> list;
  for (int i = 0; i < rows; ++i) list.push_back(TrackPath(L"C:\\Music", i));
  if (!WriteList(ini, list)) return 1;

  // How long a close takes here when nothing interrupts it, and when in it
  // the file is written (its last-write time changes): the kills are spread
  // over the time up to a little past that write.
  DWORD closeMs = 0, savedMs = 0;
  {
    Process p;
    if (!p.Start(program)) return 1;
    HWND w = p.WaitForMainWindow(120000);
    if (!w) return 1;
    const FILETIME before = LastWrite(ini);
    const ULONGLONG t0 = GetTickCount64();
    PostMessageW(w, WM_COMMAND, kCommandClose, 0);
    const auto unchanged = [&] {
      const FILETIME now = LastWrite(ini);
      return CompareFileTime(&before, &now) == 0;
    };
    while (p.Running() && unchanged()) Sleep(1);
    savedMs = static_cast<DWORD>(GetTickCount64() - t0);
    if (!p.WaitForExit(120000)) return 1;
    closeMs = static_cast<DWORD>(GetTickCount64() - t0);
  }
  if (StoredList(ini) != JoinRows(list)) {
    fprintf(stderr, "an undisturbed close changed the list\n");
    return 1;
  }

  std::mt19937 random(20261210);
  std::uniform_int_distribution<DWORD> delay(0, savedMs * 12 / 10 + 1);
  const std::u16string expected = JoinRows(list);
  int seenOld = 0, seenNew = 0, torn = 0, noWindow = 0;
  for (int trial = 0; trial < trials; ++trial) {
    const std::u16string before = StoredRect(ini);
    Process p;
    if (!p.Start(program)) return 1;
    HWND w = p.WaitForMainWindow(120000);
    if (!w) {
      ++noWindow;
      continue;
    }
    RECT r = WindowRect(w);
    const int shift = trial % 2 ? 7 : -7;
    SetWindowPos(w, nullptr, r.left + shift, r.top + shift, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    PostMessageW(w, WM_COMMAND, kCommandClose, 0);
    Sleep(delay(random));
    p.Kill();

    const std::u16string list = StoredList(ini);
    const std::u16string rect = StoredRect(ini);
    if (list != expected || rect.empty()) {
      ++torn;
      fprintf(stderr, "trial %d: list of %zu units (expected %zu), rectangle \"%ls\"\n", trial, list.size(),
              expected.size(), std::wstring(rect.begin(), rect.end()).c_str());
    } else if (rect == before) {
      ++seenOld;
    } else {
      ++seenNew;
    }
  }
  printf("rows in the list         %d\n", rows);
  printf("an undisturbed close     %lu ms, the file written after %lu ms; kills spread over %lu ms\n",
         static_cast<unsigned long>(closeMs), static_cast<unsigned long>(savedMs),
         static_cast<unsigned long>(savedMs * 12 / 10 + 1));
  printf("trials                   %d (%d without a window, not judged)\n", trials, noWindow);
  printf("old file found           %d (the kill came before the save)\n", seenOld);
  printf("new file found           %d\n", seenNew);
  printf("torn, empty or cut       %d\n", torn);
  return torn == 0 && noWindow == 0 ? 0 : 1;
}
