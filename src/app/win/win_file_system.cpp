#include "app/win/win_file_system.h"

#include <windows.h>
#include <shlobj.h>

#include "framework/win/wintext.h"

namespace sorvane::win {

bool WinFileSystem::ReadFile(const Text& path, std::string& bytes) {
  HANDLE f = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  bytes.clear();
  char buffer[65536];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ::ReadFile(f, buffer, sizeof(buffer), &got, nullptr) != FALSE) && got > 0) bytes.append(buffer, got);
  CloseHandle(f);
  return ok;
}

bool WinFileSystem::WriteFileAtomic(const Text& path, std::string_view bytes) {
  const Text temp = path + u".tmp~";
  HANDLE f = CreateFileW(W(temp), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const bool ok = ::WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                  written == bytes.size() && FlushFileBuffers(f);
  CloseHandle(f);
  if (!ok || !MoveFileExW(W(temp), W(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(W(temp));
    return false;
  }
  return true;
}

int WinFileSystem::PathKind(const Text& path) {
  const DWORD a = GetFileAttributesW(W(path));
  if (a == INVALID_FILE_ATTRIBUTES) {
    const DWORD e = GetLastError();
    return (e == ERROR_FILE_NOT_FOUND || e == ERROR_PATH_NOT_FOUND) ? 0 : -1;
  }
  return (a & FILE_ATTRIBUTE_DIRECTORY) ? 2 : 1;
}

bool WinFileSystem::CreateFolder(const Text& path) { return CreateDirectoryW(W(path), nullptr) != FALSE; }

Text WinFileSystem::TempFolder() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
  return T(buffer, n <= MAX_PATH ? n : 0);
}

Text WinFileSystem::ProgramFilePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n < buffer.size()) return T(buffer.c_str(), n);
    buffer.resize(buffer.size() * 2);
  }
}

Text WinFileSystem::AppDataFolder() {
  wchar_t buffer[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_APPDATA, FALSE)) return {};
  return T(buffer);
}

Text WinFileSystem::AnsiToText(std::string_view bytes) {
  if (bytes.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return T(out.c_str(), out.size());
}

}  // namespace sorvane::win
