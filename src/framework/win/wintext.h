// The boundary between the core's UTF-16 text and the Win32 wide strings.
// On Windows wchar_t is 16 bits, so both views share their code units.
#pragma once

#include <windows.h>

#include <string_view>

#include <string>

#include "framework/text.h"

namespace sorvane::win {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide strings are UTF-16");

inline const wchar_t* W(const Text& t) { return reinterpret_cast<const wchar_t*>(t.c_str()); }
inline Text T(const wchar_t* s) { return s ? Text(reinterpret_cast<const char16_t*>(s)) : Text(); }
inline Text T(const wchar_t* s, size_t n) { return Text(reinterpret_cast<const char16_t*>(s), n); }
inline std::wstring ToWide(TextView t) { return std::wstring(reinterpret_cast<const wchar_t*>(t.data()), t.size()); }

// The text of a window (a control's caption), whole.
Text WindowText(HWND window);
// Bytes in the system ANSI code page as text; empty when they cannot be converted.
Text AnsiCodePageToText(std::string_view bytes);

}  // namespace sorvane::win
