// System DLLs come from System32 only: a file with a system DLL's name next
// to the program (a downloads folder) is never opened.
#include "framework/win/system_library.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {

Text FolderOf(const Text& path) { return path.substr(0, path.find_last_of(u'\\')); }

bool SameFolder(const Text& a, const Text& b) {
  return CompareStringOrdinal(W(a), static_cast<int>(a.size()), W(b), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

Text SystemFolder() {
  wchar_t system[MAX_PATH] = {};
  const UINT n = GetSystemDirectoryW(system, MAX_PATH);
  return T(system, n);
}

TEST(SystemLibrary, SystemDllsComeFromSystem32AndAPlantedOneIsNeverOpened) {
  HMODULE shell = LoadSystemLibrary(L"shell32.dll");
  ASSERT_NE(shell, nullptr);
  EXPECT_TRUE(SameFolder(FolderOf(ModuleFileName(shell)), SystemFolder())) << ToUtf8(ModuleFileName(shell));
  FreeLibrary(shell);

  // A "DLL" beside the program that is not a DLL at all: a search that
  // reaches it fails with a bad-format error instead of "not found".
  const Text planted = FolderOf(ModuleFileName()) + u"\\sorvane_planted_test.dll";
  HANDLE file = CreateFileW(W(planted), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  WriteFile(file, "not a module", 12, &written, nullptr);
  CloseHandle(file);

  SetLastError(0);
  EXPECT_EQ(LoadLibraryExW(L"sorvane_planted_test.dll", nullptr, 0), nullptr);
  EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND)) << "the plain search finds the planted file";

  SetLastError(0);
  EXPECT_EQ(LoadSystemLibrary(L"sorvane_planted_test.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND)) << "only System32 was searched";
  DeleteFileW(W(planted));
}

TEST(SystemLibrary, ModuleFileNameIsTheWholePath) {
  std::wstring big(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, big.data(), static_cast<DWORD>(big.size()));
  ASSERT_GT(n, 0u);
  EXPECT_EQ(ModuleFileName(), T(big.data(), n));
  EXPECT_EQ(ModuleFileName(GetModuleHandleW(L"kernel32.dll")).empty(), false);
}

}  // namespace
}  // namespace sorvane::win
