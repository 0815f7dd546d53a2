#include "framework/win/wintext.h"

namespace sorvane::win {

Text WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, buffer.data(), length + 1);
  return T(buffer.c_str(), static_cast<size_t>(got > 0 ? got : 0));
}

}  // namespace sorvane::win
