#include "framework/win/wintext.h"

#include <climits>

namespace sorvane::win {

Text WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, buffer.data(), length + 1);
  return T(buffer.c_str(), static_cast<size_t>(got > 0 ? got : 0));
}

Text AnsiCodePageToText(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > static_cast<size_t>(INT_MAX)) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
  return T(out.data(), out.size());
}

}  // namespace sorvane::win
