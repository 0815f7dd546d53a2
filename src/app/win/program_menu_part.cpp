#include "app/win/program_menu_part.h"

#include <algorithm>

#include "language/language_store.h"
#include "language/win/language_win.h"
#include "resource_ids.h"

namespace sorvane::win {
namespace {

constexpr int kRowGap = 2;  // between the row and the controls below it

// Controls that sit in the row's band: their top edge moves below the row.
constexpr int kBelowRow[] = {IDC_LIST_VIEW, IDC_PLAYER_PANEL};

RECT ChildRect(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace

void ProgramMenuPart::OnInitDialog(PartHost& window) {
  RECT client{};
  GetClientRect(window.Window(), &client);
  if (!row_.Create(window.Window(), kMenuRowId, 0, 0, client.right)) return;
  row_.SetBeforePopup([this](int, HMENU popup) {
    if (hooks_.checkValues) ApplyMenuChecks(popup, MenuChecks(hooks_.checkValues()));
  });
  MakeRoom(window);
  window.AddLayoutRule(kMenuRowId, Follow::kGrows, Follow::kFixed);
  Rebuild();
}

// The row takes the top band; whatever reaches into it starts below it and
// keeps its bottom edge.
void ProgramMenuPart::MakeRoom(PartHost& window) {
  const int top = row_.Height() + kRowGap;
  for (int id : kBelowRow) {
    HWND child = window.Item(id);
    if (!child) continue;
    const RECT r = ChildRect(window.Window(), child);
    if (r.top >= top) continue;
    SetWindowPos(child, nullptr, r.left, top, r.right - r.left, std::max<int>(r.bottom - top, 0),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void ProgramMenuPart::Rebuild() {
  const bool showIndex = GetFileAttributesA("BaseMain.h") != INVALID_FILE_ATTRIBUTES;
  const MenuText text = StoreMenuText(Languages());
  built_ = BuildMenu(text, LanguageMenuItems(BuildLanguageMenu(Languages(), showIndex)));

  std::vector<UniqueMenu> popups;
  for (const MenuItem& item : built_.bar.children) popups.push_back(item.popup ? MakePopupMenu(item) : UniqueMenu());
  std::vector<MenuRowEntry> entries;
  for (const MenuRowButton& b : MenuRowButtons(built_.bar, text)) {
    MenuRowEntry e;
    e.text = b.text;
    e.command = static_cast<UINT>(b.command);
    if (b.popupIndex >= 0 && static_cast<size_t>(b.popupIndex) < popups.size())
      e.popup = popups[static_cast<size_t>(b.popupIndex)].get();
    entries.push_back(std::move(e));
  }
  // The row lets go of the old popups before they are destroyed.
  row_.SetEntries(std::move(entries));
  popups_ = std::move(popups);

  UniqueAcceleratorTable table = MakeAcceleratorTable(built_.accelerators);
  if (hooks_.setAccelerators) hooks_.setAccelerators(table.get());
  accelerators_ = std::move(table);
}

bool ProgramMenuPart::OnMessage(PartHost&, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == RetranslateMessage() && message != 0) {
    Rebuild();
    return false;  // the other parts set their texts too
  }
  switch (message) {
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) != SC_KEYMENU || !row_.Window()) return false;
      if (lParam == 0) {  // F10 or Alt alone
        row_.EnterKeyboardMode();
        result = 0;
        return true;
      }
      if (const int i = row_.FindMnemonic(static_cast<wchar_t>(lParam)); i >= 0 && row_.Entries()[static_cast<size_t>(i)].popup) {
        row_.Activate(i);
        result = 0;
        return true;
      }
      return false;  // Alt+Space and the rest: the system menu
    case WM_DESTROY:
      // The table dies with the window: the loop must not use it afterwards.
      if (hooks_.setAccelerators) hooks_.setAccelerators(nullptr);
      accelerators_.reset();
      return false;
    default:
      return false;
  }
}

}  // namespace sorvane::win
