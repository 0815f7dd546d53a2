#include "settings/win/win_file_system.h"

#include <windows.h>
#include <shlobj.h>

#include <climits>
#include <vector>

#include "framework/win/kernel_handle.h"
#include "framework/win/wintext.h"

namespace sorvane::win {

namespace {

// Why the last read or write of this thread failed, kept until the store asks.
thread_local DWORD t_lastFailure = 0;

// The failure's code, never 0: a failed call that left none still counts as failed.
DWORD Why() {
  const DWORD error = GetLastError();
  return error != 0 ? error : ERROR_GEN_FAILURE;
}

bool Fail(DWORD error) {
  t_lastFailure = error;
  return false;
}

Text FolderOf(const Text& path) {
  const size_t slash = path.find_last_of(u"\\/");
  return slash == Text::npos ? Text(u".") : path.substr(0, slash);
}

bool StampOf(HANDLE file, FileStamp& stamp) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (!GetFileInformationByHandle(file, &info)) return false;
  stamp.size = (static_cast<uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  stamp.lastWrite = (static_cast<uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) | info.ftLastWriteTime.dwLowDateTime;
  stamp.volume = info.dwVolumeSerialNumber;
  stamp.fileIdHigh = 0;
  stamp.fileIdLow = (static_cast<uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
  return true;
}

}  // namespace

bool WinFileSystem::Stamp(const Text& path, FileStamp& stamp) {
  // Opened for its attributes only: no sharing conflict with a writer, no data read.
  KernelHandle file(CreateFileW(W(path), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  return file.Valid() && StampOf(file.get(), stamp);
}

Text WinFileSystem::FullPath(const Text& path) {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetFullPathNameW(W(path), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    if (n == 0) return path;
    if (n < buffer.size()) return T(buffer.data(), n);
    buffer.resize(n + 1);
  }
}

bool WinFileSystem::ReadFile(const Text& path, std::string& bytes) {
  KernelHandle file(CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return Fail(Why());
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size)) return Fail(Why());
  if (size.QuadPart < 0 || size.QuadPart > INT_MAX) return Fail(ERROR_FILE_TOO_LARGE);
  bytes.resize(static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < bytes.size()) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
      return Fail(Why());
    if (got == 0) break;
    done += got;
  }
  bytes.resize(done);
  return true;
}

bool WinFileSystem::WriteFileAtomic(const Text& path, std::string_view bytes) {
  FileStamp unused;
  bool stamped = false;
  return WriteFileAtomicStamped(path, bytes, unused, stamped);
}

// The same conditions the replacing write meets: a temporary file can be made
// beside the target, the target is not read-only, and nobody else has it open
// (a rename over a file that is open fails, whatever sharing its holder allowed).
bool WinFileSystem::CanReplace(const Text& path) {
  const DWORD attributes = GetFileAttributesW(W(path));
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
    return false;
  {
    KernelHandle file(CreateFileW(W(path), DELETE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return false;
  }
  wchar_t temp[MAX_PATH + 1] = {};
  if (!GetTempFileNameW(W(FolderOf(path)), L"svn", 0, temp)) return false;
  DeleteFileW(temp);
  return true;
}

bool WinFileSystem::WriteFileAtomicStamped(const Text& path, std::string_view bytes, FileStamp& written, bool& stamped) {
  stamped = false;
  // The temporary file lies in the target's folder so that the rename never crosses volumes.
  // A folder where none can be made (read-only, missing) fails here, before anything exists.
  wchar_t temp[MAX_PATH + 1] = {};
  const Text folder = FolderOf(path);
  if (!GetTempFileNameW(W(folder), L"svn", 0, temp)) return Fail(Why());
  DWORD error = 0;
  {
    KernelHandle file(CreateFileW(temp, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) error = Why();
    size_t done = 0;
    while (error == 0 && done < bytes.size()) {
      DWORD wrote = 0;
      const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
      if (!::WriteFile(file.get(), bytes.data() + done, chunk, &wrote, nullptr)) error = Why();
      else if (wrote != chunk) error = ERROR_DISK_FULL;
      done += wrote;
    }
    if (error == 0 && !FlushFileBuffers(file.get())) error = Why();
    if (file.Valid() && !file.Close() && error == 0) error = Why();
  }
  // A read-only target stays as it is: replacing it would defeat the user's protection.
  if (error == 0) {
    const DWORD attributes = GetFileAttributesW(W(path));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) error = ERROR_ACCESS_DENIED;
  }
  // Taken from the written file under its own name, after the close (which may
  // still set its time): the rename keeps size, time and file number, and a
  // replacement by anyone else right after it has a different stamp.
  if (error == 0) stamped = Stamp(T(temp), written);
  // A target another process holds open without sharing deletion cannot be
  // replaced: the rename fails and the old file stays whole.
  if (error == 0 && !MoveFileExW(temp, W(path), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    error = Why();
  if (error != 0) {
    DeleteFileW(temp);
    stamped = false;
    return Fail(error);
  }
  return true;
}

uint32_t WinFileSystem::LastFailure() { return t_lastFailure; }

int WinFileSystem::PathKind(const Text& path) {
  const DWORD attributes = GetFileAttributesW(W(path));
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : -1;
  }
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 2 : 1;
}

bool WinFileSystem::CreateFolder(const Text& path) { return CreateDirectoryW(W(path), nullptr) != 0; }

Text WinFileSystem::TempFolder() {
  wchar_t buffer[MAX_PATH + 2] = {};
  const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
  return n > 0 && n <= MAX_PATH + 1 ? T(buffer, n) : Text();
}

Text WinFileSystem::ProgramFilePath() {
  // Long paths: grow the buffer until the whole name fits.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return T(buffer.data(), n);
    if (buffer.size() >= 32768) return {};
    buffer.resize(buffer.size() * 2);
  }
}

Text WinFileSystem::AppDataFolder() {
  wchar_t buffer[MAX_PATH] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_APPDATA, FALSE)) return {};
  return T(buffer);
}

Text WinFileSystem::AnsiToText(std::string_view bytes) {
  return AnsiCodePageToText(bytes);
}

}  // namespace sorvane::win
