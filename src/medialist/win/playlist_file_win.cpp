#include "medialist/win/playlist_file_win.h"

#include <climits>

#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {

DWORD WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(bytes.size() > (1u << 30) ? (1u << 30) : bytes.size());
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    bytes.remove_prefix(written);
  }
  return ERROR_SUCCESS;
}

DWORD WriteInPlace(const Text& path, std::string_view bytes) {
  HANDLE file = CreateFileW(W(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  const DWORD result = WriteAll(file, bytes);
  CloseHandle(file);
  return result;
}

}  // namespace

DWORD WritePlaylistFile(const Text& path, std::string_view bytes) {
  // The folder must exist and the target must not be a folder: say so with
  // the target's own error rather than one about the temporary file.
  const DWORD attributes = GetFileAttributesW(W(path));
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return ERROR_ACCESS_DENIED;
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return ERROR_ACCESS_DENIED;

  const Text temp = path + Format(u".%d.tmp", {static_cast<int>(GetCurrentProcessId())});
  HANDLE file = CreateFileW(W(temp), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  // No file beside it (no right to create one, or its longer name does not
  // fit): write in place; a missing folder fails there with its own error.
  if (file == INVALID_HANDLE_VALUE) return WriteInPlace(path, bytes);
  DWORD result = WriteAll(file, bytes);
  if (result == ERROR_SUCCESS && !FlushFileBuffers(file)) result = GetLastError();
  CloseHandle(file);
  if (result == ERROR_SUCCESS && !MoveFileExW(W(temp), W(path), MOVEFILE_REPLACE_EXISTING)) result = GetLastError();
  if (result != ERROR_SUCCESS) DeleteFileW(W(temp));
  return result;
}

DWORD ReadPlaylistFile(const Text& path, std::string& bytes, size_t maxBytes) {
  bytes.clear();
  HANDLE file = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  DWORD result = ERROR_SUCCESS;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) {
    result = GetLastError();
  } else if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) {
    result = ERROR_FILE_TOO_LARGE;
  } else {
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t got = 0;
    while (got < bytes.size()) {
      DWORD read = 0;
      const DWORD want = static_cast<DWORD>(bytes.size() - got > (1u << 30) ? (1u << 30) : bytes.size() - got);
      if (!ReadFile(file, bytes.data() + got, want, &read, nullptr)) {
        result = GetLastError();
        break;
      }
      if (read == 0) break;  // the file shrank meanwhile: take what is there
      got += read;
    }
    bytes.resize(got);
  }
  CloseHandle(file);
  if (result != ERROR_SUCCESS) bytes.clear();
  return result;
}

Text SystemErrorText(DWORD code) {
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                     FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  Text text = n && buffer ? T(buffer, n) : Text();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ')) text.pop_back();
  if (text.empty()) text = Format(u"Error %d", {static_cast<int>(code)});
  return text;
}

Text DecodeAnsi(std::string_view bytes) {
  return AnsiCodePageToText(bytes);
}

}  // namespace sorvane::win
