#include "app/win/save_failure_notice.h"

#include <windows.h>

#include "settings/settings_store.h"
#include "framework/win/wintext.h"

namespace sorvane::win {

namespace {

constexpr TextView kSaveFailureText =
    u"The settings could not be saved to\n%s\n\n%s\n\nThe file keeps its earlier content. "
    u"Changes made from now on may be lost when the program ends.";

int g_quiet = 0;
bool g_showing = false;

std::function<void(const Text&)>& TestBox() {
  static std::function<void(const Text&)> show;
  return show;
}

Text SystemReason(uint32_t code) {
  if (code == 0) return u"The reason is not known.";
  wchar_t* buffer = nullptr;
  const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                 nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  Text text = n && buffer ? T(buffer, n) : Text();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ')) text.pop_back();
  if (text.empty()) text = Format(u"Error %d.", {static_cast<int>(code)});
  return text;
}

}  // namespace

Text SaveFailureMessage(const Text& path, uint32_t systemError) {
  return Format(kSaveFailureText, {TextView(path), TextView(SystemReason(systemError))});
}

bool TellSaveFailure(const Text& path, uint32_t systemError) {
  if (g_quiet > 0 || g_showing) return false;
  g_showing = true;
  const Text text = SaveFailureMessage(path, systemError);
  if (TestBox()) {
    TestBox()(text);
  } else {
    MessageBoxW(GetActiveWindow(), W(text), W(Text(kAppName)), MB_OK | MB_ICONWARNING);
  }
  g_showing = false;
  return true;
}

QuietSaveFailures::QuietSaveFailures() { ++g_quiet; }
QuietSaveFailures::~QuietSaveFailures() { --g_quiet; }

void SetSaveFailureBoxForTest(std::function<void(const Text& text)> show) { TestBox() = std::move(show); }

}  // namespace sorvane::win
