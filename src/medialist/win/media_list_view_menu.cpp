// The list view's row context menu and the commands it runs.
#include "medialist/win/media_list_view.h"

#include <shellapi.h>

#include "framework/win/shell_run.h"
#include "framework/win/wintext.h"
#include "medialist/list_strings.h"
#include "medialist/show_in_folder.h"

namespace sorvane::win {

UniqueMenu BuildListContextMenu() {
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return menu;
  auto add = [&](int id) {
    // The texts are language strings 40 to 49, in command order.
    AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(id),
                W(ListString(list_string::kMoveTop + (id - kCmdMoveTop))));
  };
  for (int id = kCmdMoveTop; id <= kCmdMoveBottom; ++id) add(id);
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  add(kCmdRemove);
  add(kCmdShowInFolder);
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  add(kCmdExport);
  add(kCmdImport);
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  add(kCmdSelectAll);
  add(kCmdInvert);
  return menu;
}

void MediaListView::ShowInFolder(int row) {
  if (!rows_ || !rows_->IsRow(row)) return;
  // A path that cannot name a file came from a hand-edited list: nothing to show.
  const std::optional<Text> arguments = ShowInFolderArguments(rows_->Cell(row, kColumnPath));
  if (!arguments) return;
  if (explorer_) {
    explorer_(*arguments);
    return;
  }
  // Owned by the main window, so anything the shell shows stays with it.
  ShellOpen(list_ ? GetAncestor(list_, GA_ROOT) : nullptr, u"explorer.exe", *arguments);
}

void MediaListView::RunCommand(int command, int row) {
  switch (command) {
    case kCmdMoveTop: MoveSelectedEntries(0); break;
    case kCmdMoveUp: MoveSelectedEntries(row - 1); break;
    case kCmdMoveDown: MoveSelectedEntries(row + 1); break;
    case kCmdMoveBottom: MoveSelectedEntries(rows_ ? rows_->Count() : 0); break;
    case kCmdRemove: RemoveSelectedEntries(); break;
    case kCmdShowInFolder: ShowInFolder(row); break;
    case kCmdExport: if (handlers_.exportPlaylist) handlers_.exportPlaylist(); break;
    case kCmdImport: if (handlers_.importPlaylist) handlers_.importPlaylist(); break;
    case kCmdSelectAll: SelectAllEntries(); break;
    case kCmdInvert: InvertSelection(); break;
    default: break;
  }
}

void MediaListView::OnContextMenu(POINT screen) {
  if (handlers_.contextMenuBlocked && handlers_.contextMenuBlocked()) return;
  POINT client = screen;
  if (screen.x == -1 && screen.y == -1) {
    // From the keyboard: the focused row stands in for the mouse.
    RECT r{};
    if (!ListView_GetItemRect(list_, rows_->Focus(), &r, LVIR_BOUNDS)) return;
    client = {r.left + 8, (r.top + r.bottom) / 2};
    screen = client;
    ClientToScreen(list_, &screen);
  } else {
    ScreenToClient(list_, &client);
  }
  LVHITTESTINFO hit{};
  hit.pt = client;
  const int row = ListView_HitTest(list_, &hit);
  if (!rows_->IsRow(row)) return;

  UniqueMenu menu = BuildListContextMenu();
  if (!menu) return;
  const int command = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, screen.x, screen.y, 0, list_, nullptr);
  if (command) RunCommand(command, row);
}

}  // namespace sorvane::win
