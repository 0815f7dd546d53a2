#include "harness.h"

#include "../support/sound_files.h"

#include <shellapi.h>
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <cstdint>

namespace e2e {

namespace {

std::wstring g_exe;

const wchar_t* kUserShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";
const wchar_t* kShellFolders = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

std::optional<std::wstring> ReadRegString(const wchar_t* keyPath, const wchar_t* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
  wchar_t buffer[2048] = {};
  DWORD size = sizeof(buffer) - sizeof(wchar_t);
  DWORD type = 0;
  const LONG rc = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS) return std::nullopt;
  return std::wstring(buffer);
}

void WriteRegString(const wchar_t* keyPath, const wchar_t* name, const std::optional<std::wstring>& value,
                    DWORD type) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS)
    return;
  if (value)
    RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(value->c_str()),
                   static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
  else
    RegDeleteValueW(key, name);
  RegCloseKey(key);
}

void RemoveTree(const std::wstring& path) {
  std::wstring from = path + L'\0';  // double terminator for the shell
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  SHFileOperationW(&op);
}

struct WindowSearch {
  DWORD process;
  const std::wstring* text;
  HWND found;
};

bool IsDialogClass(HWND window) {
  wchar_t cls[64] = {};
  GetClassNameW(window, cls, 64);
  return wcscmp(cls, L"#32770") == 0;
}

BOOL CALLBACK FindMain(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == s->process && IsWindowVisible(window) && IsDialogClass(window) && GetDlgItem(window, 1033)) {
    s->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != s->process || !IsWindowVisible(window) || !IsDialogClass(window) || GetDlgItem(window, 1033))
    return TRUE;
  // The message text is the static control 0xFFFF of the box.
  HWND textControl = GetDlgItem(window, 0xFFFF);
  if (textControl && TextOf(textControl).find(*s->text) != std::wstring::npos) {
    s->found = window;
    return FALSE;
  }
  return TRUE;
}

template <typename Fn>
HWND Poll(DWORD timeoutMs, Fn fn) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  do {
    if (HWND w = fn()) return w;
    Sleep(50);
  } while (GetTickCount64() < end);
  return nullptr;
}

}  // namespace

const std::wstring& SorvaneExe() { return g_exe; }
void SetSorvaneExe(std::wstring path) { g_exe = std::move(path); }

std::wstring UnixToWindowsPath(const std::string& path) {
  std::wstring out;
  if (!path.empty() && path[0] == '/') out = L"Z:";
  for (char c : path) out += (c == '/') ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
  return out;
}

TempFolder::TempFolder(const std::wstring& tag) {
  static int counter = 0;
  CreateDirectoryW(L"C:\\sorvane_e2e", nullptr);
  for (;;) {
    path_ = L"C:\\sorvane_e2e\\" + tag + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(++counter);
    if (CreateDirectoryW(path_.c_str(), nullptr)) break;
    if (GetLastError() != ERROR_ALREADY_EXISTS) break;
  }
}

TempFolder::~TempFolder() { RemoveTree(path_); }

AppDataRedirect::AppDataRedirect() : folder_(L"appdata") {
  oldUser_ = ReadRegString(kUserShellFolders, L"AppData");
  oldShell_ = ReadRegString(kShellFolders, L"AppData");
  WriteRegString(kUserShellFolders, L"AppData", folder_.Path(), REG_EXPAND_SZ);
  WriteRegString(kShellFolders, L"AppData", folder_.Path(), REG_SZ);
}

AppDataRedirect::~AppDataRedirect() {
  WriteRegString(kUserShellFolders, L"AppData", oldUser_, REG_EXPAND_SZ);
  WriteRegString(kShellFolders, L"AppData", oldShell_, REG_SZ);
}

bool Process::Start(const std::wstring& exe, const std::wstring& arguments) {
  Kill();
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  return CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                        &info_) != FALSE;
}

bool Process::Running() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND Process::WaitForMainWindow(DWORD timeoutMs) const {
  return Poll(timeoutMs, [this] {
    WindowSearch s{info_.dwProcessId, nullptr, nullptr};
    EnumWindows(FindMain, reinterpret_cast<LPARAM>(&s));
    return s.found;
  });
}

HWND Process::WaitForMessageBox(const std::wstring& text, DWORD timeoutMs) const {
  return Poll(timeoutMs, [this, &text] {
    WindowSearch s{info_.dwProcessId, &text, nullptr};
    EnumWindows(FindBox, reinterpret_cast<LPARAM>(&s));
    return s.found;
  });
}

std::optional<DWORD> Process::WaitForExit(DWORD timeoutMs) const {
  if (!info_.hProcess || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  if (!GetExitCodeProcess(info_.hProcess, &code)) return std::nullopt;
  return code;
}

void Process::Kill() {
  if (info_.hProcess) {
    if (Running()) {
      TerminateProcess(info_.hProcess, 0xDEAD);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
  info_ = {};
}

bool PressButton(HWND box, int id) {
  HWND button = GetDlgItem(box, id);
  if (!button) return false;
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  return true;
}

void SendCommand(HWND window, UINT id) { PostMessageW(window, WM_COMMAND, id, 0); }

std::wstring TextOf(HWND window) {
  // WM_GETTEXT crosses processes; GetWindowTextW would not for other processes' controls.
  const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT got = SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(got));
  return text;
}

RECT WindowRect(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  return r;
}

std::optional<std::wstring> ReadUtf16Ini(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(f);
  if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
      static_cast<unsigned char>(bytes[1]) != 0xFE)
    return std::nullopt;
  std::wstring text((bytes.size() - 2) / 2, L'\0');
  memcpy(text.data(), bytes.data() + 2, text.size() * 2);
  return text;
}

std::optional<std::wstring> IniValue(const std::wstring& ini, const std::wstring& section, const std::wstring& key) {
  auto trim = [](std::wstring s) {
    const auto b = s.find_first_not_of(L" \t\r");
    const auto e = s.find_last_not_of(L" \t\r");
    return b == std::wstring::npos ? std::wstring() : s.substr(b, e - b + 1);
  };
  bool inSection = false;
  size_t pos = 0;
  while (pos <= ini.size()) {
    size_t end = ini.find(L'\n', pos);
    if (end == std::wstring::npos) end = ini.size();
    const std::wstring line = trim(ini.substr(pos, end - pos));
    pos = end + 1;
    if (!line.empty() && line.front() == L'[') {
      const auto close = line.find(L']');
      inSection = close != std::wstring::npos && _wcsicmp(line.substr(1, close - 1).c_str(), section.c_str()) == 0;
      continue;
    }
    const auto eq = line.find(L'=');
    if (inSection && eq != std::wstring::npos && _wcsicmp(trim(line.substr(0, eq)).c_str(), key.c_str()) == 0)
      return trim(line.substr(eq + 1));
  }
  return std::nullopt;
}

bool WriteUtf16File(const std::wstring& path, const std::wstring& text) {
  const auto slash = path.find_last_of(L'\\');
  if (slash != std::wstring::npos) CreateDirectoryW(path.substr(0, slash).c_str(), nullptr);
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  const unsigned char bom[2] = {0xFF, 0xFE};
  DWORD written = 0;
  bool ok = WriteFile(f, bom, 2, &written, nullptr) &&
            WriteFile(f, text.data(), static_cast<DWORD>(text.size() * 2), &written, nullptr);
  CloseHandle(f);
  return ok;
}

bool FileExists(const std::wstring& path) {
  const DWORD a = GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool CopyProgramTo(const std::wstring& target) { return CopyFileW(g_exe.c_str(), target.c_str(), FALSE) != FALSE; }

bool SaveScreenshot(const std::wstring& name) {
  const char* dir = std::getenv("SORVANE_SCREENSHOT_DIR");
  if (!dir || !*dir) return false;
  const std::wstring path = UnixToWindowsPath(dir) + L"\\" + name + L".bmp";
  const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;  // bottom-up, as BMP files store rows
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  bool ok = false;
  if (bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    ok = BitBlt(memory, 0, 0, w, h, screen, x, y, SRCCOPY | CAPTUREBLT) != FALSE;
    GdiFlush();
    SelectObject(memory, old);
    const DWORD stride = ((static_cast<DWORD>(w) * 3 + 3) & ~3u);
    const DWORD imageSize = stride * static_cast<DWORD>(h);
    BITMAPFILEHEADER fh{};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(BITMAPINFOHEADER);
    fh.bfSize = fh.bfOffBits + imageSize;
    bi.bmiHeader.biSizeImage = imageSize;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (ok && f != INVALID_HANDLE_VALUE) {
      DWORD written = 0;
      ok = WriteFile(f, &fh, sizeof(fh), &written, nullptr) &&
           WriteFile(f, &bi.bmiHeader, sizeof(bi.bmiHeader), &written, nullptr) &&
           WriteFile(f, bits, imageSize, &written, nullptr);
    } else {
      ok = false;
    }
    if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}


bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs, DWORD pollMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(pollMs);
  }
}

RemoteListView::RemoteListView(DWORD processId, HWND list) : list_(list) {
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (process_) buffer_ = VirtualAllocEx(process_, nullptr, 4096, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteListView::~RemoteListView() {
  if (buffer_) VirtualFreeEx(process_, buffer_, 0, MEM_RELEASE);
  if (process_) CloseHandle(process_);
}

int RemoteListView::Count() const { return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0)); }

int RemoteListView::Focused() const {
  return static_cast<int>(SendMessageW(list_, LVM_GETNEXTITEM, WPARAM(-1), LVNI_FOCUSED));
}

std::wstring RemoteListView::Text(int row, int column) const {
  if (!buffer_) return L"<no buffer>";
  auto* base = static_cast<uint8_t*>(buffer_);
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<LPWSTR>(base + 512);
  item.cchTextMax = 1024;
  if (!WriteProcessMemory(process_, base, &item, sizeof(item), nullptr)) return L"<write failed>";
  const LRESULT length = SendMessageW(list_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(base));
  std::wstring text(static_cast<size_t>(length), L'\0');
  if (length > 0 && !ReadProcessMemory(process_, base + 512, text.data(), length * sizeof(wchar_t), nullptr))
    return L"<read failed>";
  return text;
}

std::vector<std::wstring> RemoteListView::Column(int column) const {
  std::vector<std::wstring> texts;
  const int count = Count();
  for (int row = 0; row < count; ++row) texts.push_back(Text(row, column));
  return texts;
}

std::optional<RECT> RemoteListView::RowOnScreen(int row) const {
  if (!buffer_) return std::nullopt;
  RECT r{};
  r.left = LVIR_BOUNDS;
  if (!WriteProcessMemory(process_, buffer_, &r, sizeof(r), nullptr)) return std::nullopt;
  if (!SendMessageW(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(buffer_))) return std::nullopt;
  if (!ReadProcessMemory(process_, buffer_, &r, sizeof(r), nullptr)) return std::nullopt;
  MapWindowPoints(list_, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool RemoteListView::Click(int row) const {
  if (!buffer_) return false;
  RECT r{};
  r.left = LVIR_BOUNDS;
  if (!WriteProcessMemory(process_, buffer_, &r, sizeof(r), nullptr)) return false;
  if (!SendMessageW(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(buffer_))) return false;
  if (!ReadProcessMemory(process_, buffer_, &r, sizeof(r), nullptr)) return false;
  const LPARAM at = MAKELPARAM(r.left + 40, (r.top + r.bottom) / 2);
  PostMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(list_, WM_LBUTTONUP, 0, at);
  return true;
}

void ListInFileSystemOrder(const std::wstring& folder, std::vector<std::wstring>& out) {
  WIN32_FIND_DATAW data{};
  HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    const std::wstring name = data.cFileName;
    if (name == L"." || name == L"..") continue;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      ListInFileSystemOrder(folder + L"\\" + name, out);
    else
      out.push_back(folder + L"\\" + name);
  } while (FindNextFileW(find, &data));
  FindClose(find);
}

bool WriteBytesFile(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
  CloseHandle(f);
  return ok;
}

bool WriteToneWav(const std::wstring& path, DWORD milliseconds) {
  return WriteBytesFile(path, sorvane::testing::SoundFileBytes(milliseconds / 1000.0));
}

namespace {
struct CaptionSearch {
  DWORD process;
  const std::wstring* caption;
  HWND found;
};
BOOL CALLBACK FindCaption(HWND window, LPARAM param) {
  auto* s = reinterpret_cast<CaptionSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid == s->process && IsWindowVisible(window) && TextOf(window) == *s->caption) {
    s->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

HWND FindProcessWindow(DWORD processId, const std::wstring& caption) {
  CaptionSearch s{processId, &caption, nullptr};
  EnumWindows(FindCaption, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

}  // namespace e2e
