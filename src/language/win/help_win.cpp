#include "language/win/help_win.h"

#include "language/help_page.h"
#include "language/language_store.h"
#include "language/win/language_win.h"
#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {

StringLookup CurrentLanguage() {
  return [](int id) { return Languages().GetLangString(id); };
}

}  // namespace

HMENU BuildInfoSubmenu(bool helpEnabled) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return nullptr;
  LanguageStore& s = Languages();
  AppendMenuW(menu, MF_STRING, kInfoCommand, W(Text(s.Str(24))));
  if (helpEnabled) AppendMenuW(menu, MF_STRING, kHelpCommand, W(Text(s.Str(23))));
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kFaqCommand, W(Text(s.Str(244)) + u"\t(# ?)"));
  AppendMenuW(menu, MF_STRING, kHomepageCommand, W(Text(s.Str(246))));
  AppendMenuW(menu, MF_STRING, kHistoryCommand, W(Text(s.Str(245))));
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, kDonateCommand, W(Text(s.Str(78))));
  return menu;
}

Text WriteHelpPage() {
  Text path = TempFolder() + Text(kHelpPageFileName);
  WriteUtf16File(path, BuildHelpPage(CurrentLanguage()));
  return path;
}

Text WebBaseAddress() {
  const LanguageStore& s = Languages();
  return Text(s.GetInfoString(s.Current() == kGermanIndex ? 23 : 24));
}

bool HandleInfoCommand(HWND owner, int commandId) {
  switch (commandId) {
    case kInfoCommand: {
      Text text = BuildInformationText(CurrentLanguage());
      Text title(Languages().Str(90));
      MessageBoxW(owner, W(text), W(title), MB_OK);
      return true;
    }
    case kHelpCommand:
      OpenWithShell(WriteHelpPage());  // also when the write failed
      return true;
    case kFaqCommand:
    case kHomepageCommand:
    case kHistoryCommand:
    case kDonateCommand:
      OpenWithShell(WebItemAddress(commandId, WebBaseAddress()));
      return true;
    default:
      return false;
  }
}

}  // namespace sorvane::win
