// A row of menu buttons along the top edge of a window: one button per popup
// menu, plus buttons that send a command. It behaves like a menu bar: a click
// opens the button's popup below it, moving the mouse onto another button or
// pressing Left/Right while a popup is open switches to the neighbour's popup,
// and the keyboard reaches the row with F10 or Alt (the owner calls
// EnterKeyboardMode on SC_KEYMENU), moves with the arrow keys and opens with
// Enter or Down. Chosen commands are posted to the parent as WM_COMMAND.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "framework/text.h"

namespace sorvane::win {

struct MenuRowEntry {
  Text text;             // may carry a "&" mnemonic
  HMENU popup = nullptr;  // not owned; lives until the next SetEntries
  UINT command = 0;      // for a button without popup
};

class MenuRow {
 public:
  MenuRow() = default;
  ~MenuRow();
  MenuRow(const MenuRow&) = delete;
  MenuRow& operator=(const MenuRow&) = delete;

  // The row as child id of parent, spanning width pixels from (left, top); its
  // height fits the parent's font.
  HWND Create(HWND parent, int id, int left, int top, int width);
  HWND Window() const { return window_; }
  // The row object of a row window, or null.
  static MenuRow* From(HWND window);
  int Height() const { return height_; }

  void SetEntries(std::vector<MenuRowEntry> entries);
  const std::vector<MenuRowEntry>& Entries() const { return entries_; }
  // A button's rectangle in the row's client coordinates (empty when out of range).
  RECT ButtonRect(int index) const;
  int HitTest(POINT client) const;

  // Runs before a popup opens (check marks of the items).
  void SetBeforePopup(std::function<void(int index, HMENU popup)> hook) { beforePopup_ = std::move(hook); }
  // Runs once the popup is shown, inside its tracking (tests close it from here).
  void SetPopupShown(std::function<void(int index, HMENU popup)> hook) { popupShown_ = std::move(hook); }

  // F10 or Alt: highlights the first button and takes the keyboard; again, leaves.
  void EnterKeyboardMode();
  void LeaveKeyboardMode();
  bool KeyboardMode() const { return keyboard_; }
  int HotIndex() const { return hot_; }
  int OpenIndex() const { return open_; }
  // The button whose text has "&c" (case-insensitive), or -1.
  int FindMnemonic(wchar_t c) const;

  // Opens the popup of button index, or posts its command.
  void Activate(int index);

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  static LRESULT CALLBACK MenuHook(int code, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  bool OnMenuMessage(const MSG& message);
  int NeighbourPopup(int from, int step) const;
  void Layout();
  void Paint(HDC dc);
  void SetHot(int index);
  void OnKey(WPARAM key);

  HWND window_ = nullptr;
  HWND parent_ = nullptr;
  HWND focusBefore_ = nullptr;
  HFONT font_ = nullptr;  // the parent's, not owned
  int height_ = 0;
  std::vector<MenuRowEntry> entries_;
  std::vector<RECT> rects_;
  std::function<void(int, HMENU)> beforePopup_;
  std::function<void(int, HMENU)> popupShown_;
  bool keyboard_ = false;
  bool mouseInside_ = false;
  int hot_ = -1;
  int open_ = -1;
  // While a popup is tracked.
  HMENU topPopup_ = nullptr;
  HMENU selectedMenu_ = nullptr;
  bool selectedIsPopup_ = false;
  int switchTo_ = -1;
  bool closeByClick_ = false;
};

}  // namespace sorvane::win
