#include "medialist/win/media_list_part.h"

#include "language/language_store.h"
#include "language/win/language_win.h"
#include "medialist/list_strings.h"
#include "resource_ids.h"

namespace sorvane::win {

MediaListPart::MediaListPart(MediaListCallbacks callbacks)
    : callbacks_(std::move(callbacks)),
      rows_(controller_.Rows(), MediaListRows::Hooks{[this](int row) { controller_.RowChanged(row); },
                                                     [this](int row) { controller_.View().SelectAndFocus(row); }}) {}

void MediaListPart::OnInitDialog(PartHost& window) {
  InstallListStrings([](int id) -> std::optional<Text> {
    const std::optional<TextView> text = Languages().GetLangString(id);
    if (!text) return std::nullopt;
    return Text(*text);
  });
  HWND w = window.Window();
  controller_.Attach(w, GetDlgItem(w, IDC_LIST_VIEW), GetDlgItem(w, IDC_LIST_SELECTOR), callbacks_);
  // The media list keeps its dark look whatever the theme.
  controller_.View().SetDarkColors(true);
}

void MediaListPart::LoadSettings(PartHost&) { controller_.Start(); }

bool MediaListPart::OnMessage(PartHost&, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    return header && header->idFrom == static_cast<UINT_PTR>(IDC_LIST_VIEW) && controller_.OnNotify(header, result);
  }
  if (message == WM_COMMAND && LOWORD(wParam) == IDC_LIST_SELECTOR && lParam != 0) {
    result = 0;
    return controller_.OnSelectorCommand(wParam, lParam);
  }
  // The list commands as the menus and shortcuts send them: they act on the
  // selection, Move Up and Move Down around the focused row.
  if (message == WM_COMMAND && lParam == 0 && LOWORD(wParam) >= kCmdMoveTop && LOWORD(wParam) <= kCmdInvert) {
    controller_.View().RunCommand(LOWORD(wParam), controller_.Rows().Focus());
    result = 0;
    return true;
  }
  if (message == RetranslateMessage() && message != 0) {
    controller_.ApplyLanguage();
    return false;  // the other parts set their texts too
  }
  return false;
}

void MediaListPart::SaveSettings(PartHost&) { controller_.SaveAtExit(); }

}  // namespace sorvane::win
