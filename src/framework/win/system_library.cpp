#include "framework/win/system_library.h"

#include <string>

#include "framework/win/wintext.h"

namespace sorvane::win {

namespace {

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
constexpr DWORD LOAD_LIBRARY_SEARCH_SYSTEM32 = 0x00000800;
#endif

// The longest path the file system takes, in UTF-16 units.
constexpr size_t kLongestPath = 32768;

}  // namespace

void RestrictDllSearchToSystem() {
  // Present since Windows 8 (and on 7 with its loader update): looked up, so
  // that an older system still starts.
  using SetDefaultDirsFn = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto setDefault = kernel ? reinterpret_cast<SetDefaultDirsFn>(
                                 reinterpret_cast<void*>(GetProcAddress(kernel, "SetDefaultDllDirectories")))
                           : nullptr;
  if (setDefault) setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
  // Takes the current directory out of the classic search order as well.
  SetDllDirectoryW(L"");
}

HMODULE LoadSystemLibrary(const wchar_t* name) {
  if (!name || !*name) return nullptr;
  if (HMODULE module = LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
  if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  // A loader that does not know the flag: name the file in System32 fully.
  wchar_t system[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryW(system, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return nullptr;
  std::wstring path(system, n);
  path += L'\\';
  path += name;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

Text ModuleFileName(HMODULE module) {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    // A cut name fills the whole buffer (and some systems answer no error).
    if (n < buffer.size()) return T(buffer.data(), n);
    if (buffer.size() >= kLongestPath) return {};
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace sorvane::win
