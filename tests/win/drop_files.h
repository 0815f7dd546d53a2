// A dropped-file list as the shell hands it to WM_DROPFILES: a DROPFILES
// header followed by wide paths, each ended by a NUL, then one more NUL.
#pragma once

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/win/wintext.h"

namespace sorvane::win {

inline HDROP MakeDrop(const std::vector<Text>& paths) {
  std::wstring list;
  for (const Text& p : paths) list += ToWide(p) + L'\0';
  list += L'\0';
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = sizeof(DROPFILES);
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

}  // namespace sorvane::win
