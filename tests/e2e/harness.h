// Drives Sorvane.exe as a separate process under the same wineserver, the way
// a user's session would: fresh folders, window messages, message boxes, the
// INI file, screenshots and the full 32-bit exit code.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// The program under test, set by main() from the last argument.
const std::wstring& SorvaneExe();
void SetSorvaneExe(std::wstring path);
// "/x/y" -> "Z:\x\y"; other texts are returned as they are.
std::wstring UnixToWindowsPath(const std::string& path);

// A fresh, empty folder outside the temporary folder (a program started from
// inside the temporary folder never counts as portable); removed at the end.
class TempFolder {
 public:
  explicit TempFolder(const std::wstring& tag);
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

 private:
  std::wstring path_;
};

// Points the user's roaming application-data folder at a fresh folder for the
// processes started while it lives, and restores the previous setting.
class AppDataRedirect {
 public:
  AppDataRedirect();
  ~AppDataRedirect();
  AppDataRedirect(const AppDataRedirect&) = delete;
  AppDataRedirect& operator=(const AppDataRedirect&) = delete;
  const std::wstring& Path() const { return folder_.Path(); }
  std::wstring IniPath() const { return folder_.Path() + L"\\Sorvane\\Sorvane.ini"; }

 private:
  TempFolder folder_;
  std::optional<std::wstring> oldUser_, oldShell_;
};

// One started copy of the program; killed at the end if still running.
class Process {
 public:
  Process() = default;
  ~Process() { Kill(); }
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;

  bool Start(const std::wstring& exe, const std::wstring& arguments = L"");
  DWORD Id() const { return info_.dwProcessId; }
  bool Running() const;
  // Its visible main window (a dialog holding the list view 1033), or null.
  HWND WaitForMainWindow(DWORD timeoutMs = 60000) const;
  // A visible message box of this process whose text contains the given text.
  HWND WaitForMessageBox(const std::wstring& text, DWORD timeoutMs = 60000) const;
  // The full exit code, or none when the process has not ended in time.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs = 60000) const;
  void Kill();

 private:
  PROCESS_INFORMATION info_{};
};

// Presses the button with this id (IDOK, IDYES, IDNO, ...) of a message box.
bool PressButton(HWND box, int id);
void SendCommand(HWND window, UINT id);
std::wstring TextOf(HWND window);
RECT WindowRect(HWND window);

// The INI file decoded from UTF-16LE; none when it is missing or has no
// byte-order mark.
std::optional<std::wstring> ReadUtf16Ini(const std::wstring& path);
// A key's value in a section (names without regard to case); none when absent.
std::optional<std::wstring> IniValue(const std::wstring& ini, const std::wstring& section, const std::wstring& key);
// Writes a UTF-16LE file with byte-order mark, creating its folder.
bool WriteUtf16File(const std::wstring& path, const std::wstring& text);

bool FileExists(const std::wstring& path);
bool CopyProgramTo(const std::wstring& target);

// Saves the whole virtual display as <name>.bmp into $SORVANE_SCREENSHOT_DIR.
bool SaveScreenshot(const std::wstring& name);


// Polls condition every 50 ms until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs = 50);

// The list view of another process: counts and states by plain messages,
// texts and rectangles through a buffer in the target's memory.
class RemoteListView {
 public:
  RemoteListView(DWORD processId, HWND list);
  ~RemoteListView();
  RemoteListView(const RemoteListView&) = delete;
  RemoteListView& operator=(const RemoteListView&) = delete;

  bool Ready() const { return buffer_ != nullptr; }
  int Count() const;
  int Focused() const;
  std::wstring Text(int row, int column) const;
  // Column texts of every row.
  std::vector<std::wstring> Column(int column) const;
  // Presses the left button on a row as a user would.
  bool Click(int row) const;
  // The row's rectangle in screen coordinates.
  std::optional<RECT> RowOnScreen(int row) const;

 private:
  HWND list_;
  HANDLE process_ = nullptr;
  void* buffer_ = nullptr;
};

// A mono 16-bit PCM WAV of a quiet square tone at 8000 Hz.
// The files below folder in the order the file system lists them, a
// subfolder's files where its entry comes up.
void ListInFileSystemOrder(const std::wstring& folder, std::vector<std::wstring>& out);

// Writes the bytes as the whole file.
bool WriteBytesFile(const std::wstring& path, const std::string& bytes);
bool WriteToneWav(const std::wstring& path, DWORD milliseconds);

// A visible top-level window of the process whose caption is exactly caption.
HWND FindProcessWindow(DWORD processId, const std::wstring& caption);

}  // namespace e2e
