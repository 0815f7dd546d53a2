#include "app/win/admin_rights.h"

#include <windows.h>

namespace sorvane::win {

namespace {

bool TestWriteToMachineKey() {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0, KEY_WRITE, &key) !=
      ERROR_SUCCESS)
    return false;
  const wchar_t* name = L"_________ADMIN_TEST_Velatrix";
  const DWORD value = 11111;
  const bool written = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                      sizeof(value)) == ERROR_SUCCESS;
  if (written) RegDeleteValueW(key, name);
  RegCloseKey(key);
  return written;
}

}  // namespace

bool ProcessHasAdminRights() {
  static const bool admin = TestWriteToMachineKey();
  return admin;
}

}  // namespace sorvane::win
