// The selection a user makes with the mouse and the keyboard in the list
// view: each case is a run of clicks and keys with modifiers, and what it
// leaves: the selected rows, the focused row, the anchor of Shift ranges, and
// which rows played on the way (every row that gets the focus plays, and the
// focused row plays again when only its selection changes). Checked through
// the model and through the control's own answers. A row made the only
// selected one plays again even when it was selected and focused already.
#include <windows.h>
#include <windowsx.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../unit/fake_list_storage.h"
#include "list_host.h"
#include "framework/win/wintext.h"
#include "medialist/list_persistence.h"

namespace sorvane::win {
namespace {

using sorvane::testing::FakeListStorage;
using testing::ListHost;

constexpr int kRows = 8;
constexpr const char16_t* kTitles[kRows] = {u"Alpha", u"Bravo", u"Charlie", u"Delta",
                                            u"Echo",  u"Foxtrot", u"Golf", u"Hotel"};
constexpr int kNoRow = -1;  // a point below the rows

enum class Act { kClick, kRightClick, kKey, kType, kFrame };

struct Gesture {
  Act act;
  int row = 0;      // clicks: the row (kNoRow: below the rows)
  UINT key = 0;     // keys: the virtual key; typing: the character
  bool ctrl = false;
  bool shift = false;
};

Gesture Click(int row) { return {Act::kClick, row}; }
Gesture CtrlClick(int row) { return {Act::kClick, row, 0, true, false}; }
Gesture ShiftClick(int row) { return {Act::kClick, row, 0, false, true}; }
Gesture CtrlShiftClick(int row) { return {Act::kClick, row, 0, true, true}; }
Gesture RightClick(int row) { return {Act::kRightClick, row}; }
Gesture CtrlRightClick(int row) { return {Act::kRightClick, row, 0, true, false}; }
Gesture Key(UINT key) { return {Act::kKey, 0, key}; }
Gesture ShiftKey(UINT key) { return {Act::kKey, 0, key, false, true}; }
Gesture CtrlKey(UINT key) { return {Act::kKey, 0, key, true, false}; }
// A press below the rows, dragged up to row with the button held: a frame.
Gesture Frame(int row) { return {Act::kFrame, row}; }
Gesture CtrlFrame(int row) { return {Act::kFrame, row, 0, true, false}; }
Gesture Type(wchar_t c) { return {Act::kType, 0, static_cast<UINT>(c)}; }
Gesture ShiftType(wchar_t c) { return {Act::kType, 0, static_cast<UINT>(c), false, true}; }

struct Case {
  const char* name;
  std::vector<Gesture> gestures;
  std::vector<int> selected;
  int focus;
  int anchor;
  std::vector<int> played;
  int menus = 0;  // context menus asked for
};

// Context menus would wait for a choice: they are counted and not shown.
LRESULT CALLBACK CountMenus(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  if (message == WM_CONTEXTMENU) {
    ++*reinterpret_cast<int*>(data);
    return 0;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

class ListSelectionWin : public ::testing::TestWithParam<Case> {
 protected:
  static void SetUpTestSuite() {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
  }
  void SetUp() override {
    Text list;
    for (int i = 0; i < kRows; ++i) {
      if (i) list += u"\r\n";
      list += u"C:\\m\\" + Text(kTitles[i]) + u".mp3";
    }
    storage.strings[Text(kListNamesKey)] = JoinListNames({u"A"});
    storage.sections[ListSectionName(0)] = list;
    host.controller.Start();
    UpdateWindow(host.window);
    SetFocus(host.list);
    SetWindowSubclass(host.list, CountMenus, 0x7E57, reinterpret_cast<DWORD_PTR>(&menus));
    host.Pump();
    host.played.clear();
  }
  void TearDown() override {
    RemoveWindowSubclass(host.list, CountMenus, 0x7E57);
    SetKeys(false, false);
  }
  static void SetKeys(bool ctrl, bool shift) {
    BYTE keys[256] = {};
    if (ctrl) keys[VK_CONTROL] = keys[VK_LCONTROL] = 0x80;
    if (shift) keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
    SetKeyboardState(keys);
  }
  LPARAM PointOf(int row) {
    if (row == kNoRow) {
      const RECT last = host.RowRect(kRows - 1);
      return MAKELPARAM(last.left + 40, last.bottom + 20);
    }
    const RECT r = host.RowRect(row);
    return MAKELPARAM(r.left + 40, (r.top + r.bottom) / 2);
  }
  void Do(const Gesture& g) {
    SetKeys(g.ctrl, g.shift);
    const WPARAM mods = (g.ctrl ? MK_CONTROL : 0) | (g.shift ? MK_SHIFT : 0);
    switch (g.act) {
      case Act::kClick:
        PostMessageW(host.list, WM_LBUTTONUP, mods, PointOf(g.row));
        SendMessageW(host.list, WM_LBUTTONDOWN, mods | MK_LBUTTON, PointOf(g.row));
        break;
      case Act::kRightClick:
        PostMessageW(host.list, WM_RBUTTONUP, mods, PointOf(g.row));
        SendMessageW(host.list, WM_RBUTTONDOWN, mods | MK_RBUTTON, PointOf(g.row));
        break;
      case Act::kKey:
        SendMessageW(host.list, WM_KEYDOWN, g.key, 1);
        break;
      case Act::kType:
        SendMessageW(host.list, WM_CHAR, g.key, 1);
        break;
      case Act::kFrame: {
        const LPARAM from = PointOf(kNoRow);
        const LPARAM to = MAKELPARAM(GET_X_LPARAM(PointOf(g.row)) + 30, GET_Y_LPARAM(PointOf(g.row)));
        SendMessageW(host.list, WM_LBUTTONDOWN, mods | MK_LBUTTON, from);
        SendMessageW(host.list, WM_MOUSEMOVE, mods | MK_LBUTTON, to);  // the frame begins
        SendMessageW(host.list, WM_MOUSEMOVE, mods | MK_LBUTTON, to);  // and takes in the rows
        SendMessageW(host.list, WM_LBUTTONUP, mods, to);
        break;
      }
    }
    host.Pump();
    SetKeys(false, false);
  }
  std::vector<int> PlayedRows() {
    std::vector<int> out;
    for (const Text& path : host.played)
      for (int i = 0; i < kRows; ++i)
        if (path == u"C:\\m\\" + Text(kTitles[i]) + u".mp3") out.push_back(i);
    return out;
  }
  std::vector<int> ControlSelection() {
    std::vector<int> out;
    for (int r = ListView_GetNextItem(host.list, -1, LVNI_SELECTED); r >= 0 && out.size() <= kRows;
         r = ListView_GetNextItem(host.list, r, LVNI_SELECTED))
      out.push_back(r);
    return out;
  }
  std::vector<int> StateSelection() {
    std::vector<int> out;
    for (int r = 0; r < kRows; ++r)
      if (ListView_GetItemState(host.list, r, LVIS_SELECTED) & LVIS_SELECTED) out.push_back(r);
    return out;
  }

  FakeListStorage storage;
  ListHost host{storage};
  int menus = 0;
};

TEST_P(ListSelectionWin, LeavesTheRowsTheFocusAndTheAnchor) {
  const Case& c = GetParam();
  for (const Gesture& g : c.gestures) Do(g);
  EXPECT_EQ(host.controller.Rows().SelectedRows(), c.selected) << "the model";
  EXPECT_EQ(StateSelection(), c.selected) << "the control's item states";
  EXPECT_EQ(ControlSelection(), c.selected) << "the control's selected rows";
  EXPECT_EQ(static_cast<int>(ListView_GetSelectedCount(host.list)), static_cast<int>(c.selected.size()));
  EXPECT_EQ(ListView_GetNextItem(host.list, -1, LVNI_FOCUSED), c.focus) << "focus";
  EXPECT_EQ(ListView_GetSelectionMark(host.list), c.anchor) << "anchor";
  EXPECT_EQ(PlayedRows(), c.played) << "played";
  EXPECT_EQ(menus, c.menus);
}

const Case kCases[] = {
    {"Click", {Click(2)}, {2}, 2, 2, {2}},
    {"ClickAnotherRow", {Click(2), Click(5)}, {5}, 5, 5, {2, 5}},
    {"CtrlClicksAdd", {Click(1), CtrlClick(3), CtrlClick(5)}, {1, 3, 5}, 5, 5, {1, 3, 5}},
    {"CtrlClickOnTheFocusedRowDeselectsItAndPlaysItAgain", {Click(1), CtrlClick(3), CtrlClick(3)}, {1}, 3, 3, {1, 3, 3}},
    {"ShiftClickSelectsFromTheAnchor", {Click(2), ShiftClick(5)}, {2, 3, 4, 5}, 5, 2, {2, 5}},
    {"ShiftClickUpwardsKeepsTheAnchor", {Click(2), ShiftClick(5), ShiftClick(0)}, {0, 1, 2}, 0, 2, {2, 5, 0}},
    {"ShiftClickWithoutAnAnchorSelectsOneRow", {ShiftClick(4)}, {4}, 4, 4, {4}},
    {"ShiftClickOnTheAnchorLeavesOnlyIt", {Click(1), CtrlClick(3), ShiftClick(3)}, {3}, 3, 3, {1, 3}},
    {"CtrlShiftClickAddsARange", {Click(1), CtrlClick(3), CtrlShiftClick(5)}, {1, 3, 4, 5}, 5, 5, {1, 3, 5}},
    {"CtrlShiftClickAfterACtrlClickThatDeselectedAddsOneRow",
     {Click(1), CtrlClick(3), CtrlClick(3), CtrlShiftClick(5)}, {1, 5}, 5, 5, {1, 3, 3, 5}},
    {"ClickOnASelectedRowLeavesOnlyIt", {Click(1), ShiftClick(3), Click(2)}, {2}, 2, 2, {1, 3, 2, 2}},
    {"ClickOnTheFocusedSelectedRow", {Click(1), ShiftClick(3), Click(3)}, {3}, 3, 3, {1, 3, 3}},
    {"ClickBelowTheRowsClearsTheSelection", {Click(1), ShiftClick(3), Click(kNoRow)}, {}, 3, 1, {1, 3}},
    {"CtrlClickBelowTheRowsKeepsIt", {Click(1), ShiftClick(3), {Act::kClick, kNoRow, 0, true, false}},
     {1, 2, 3}, 3, 1, {1, 3}},
    {"AFrameFromBelowTheRowsSelectsTheRowsItMeets", {Click(1), Frame(5)}, {5, 6, 7}, 1, 1, {1}},
    {"ACtrlFrameSwitchesTheRowsItMeets", {Click(1), CtrlClick(6), CtrlFrame(5)}, {1, 5, 7}, 6, 6, {1, 6, 6}},
    {"RightClickOnAnUnselectedRowSelectsItAndPlaysItTwice", {Click(1), ShiftClick(3), RightClick(5)}, {5}, 5, 5,
     {1, 3, 5, 5}, 1},
    {"RightClickOnASelectedRowKeepsTheSelection", {Click(1), ShiftClick(3), RightClick(2)}, {1, 2, 3}, 2, 1,
     {1, 3, 2}, 1},
    {"CtrlRightClickMovesOnlyTheFocus", {Click(1), ShiftClick(3), CtrlRightClick(5)}, {1, 2, 3}, 5, 1, {1, 3, 5}, 1},
    {"RightClickBelowTheRowsClearsTheSelection", {Click(1), ShiftClick(3), RightClick(kNoRow)}, {}, 3, 1, {1, 3}, 1},
    {"DownSelectsTheNextRow", {Click(2), Key(VK_DOWN)}, {3}, 3, 3, {2, 3}},
    {"ShiftDownExtendsFromTheAnchor", {Click(2), ShiftKey(VK_DOWN), ShiftKey(VK_DOWN), ShiftKey(VK_UP)}, {2, 3}, 3, 2,
     {2, 3, 4, 3}},
    {"CtrlDownMovesOnlyTheFocus", {Click(2), CtrlKey(VK_DOWN), CtrlKey(VK_DOWN)}, {2}, 4, 2, {2, 3, 4}},
    {"CtrlSpaceSwitchesTheFocusedRow", {Click(2), CtrlKey(VK_DOWN), CtrlKey(VK_SPACE)}, {2, 3}, 3, 3, {2, 3, 3}},
    {"CtrlSpaceTwiceLeavesItUnselected", {Click(2), CtrlKey(VK_DOWN), CtrlKey(VK_SPACE), CtrlKey(VK_SPACE)}, {2}, 3, 3,
     {2, 3, 3, 3}},
    {"SpaceSelectsOnlyTheFocusedRow", {Click(2), CtrlKey(VK_DOWN), Key(VK_SPACE)}, {3}, 3, 3, {2, 3, 3}},
    {"SpaceOnTheSelectedFocusedRowPlaysItAgain", {Click(2), Key(VK_SPACE)}, {2}, 2, 2, {2, 2}},
    {"HomeAndShiftEnd", {Click(4), Key(VK_HOME), ShiftKey(VK_END)}, {0, 1, 2, 3, 4, 5, 6, 7}, 7, 0, {4, 0, 7}},
    {"EndOnTheLastRowKeepsTheSelection", {Click(4), Key(VK_HOME), ShiftKey(VK_END), Key(VK_END)},
     {0, 1, 2, 3, 4, 5, 6, 7}, 7, 0, {4, 0, 7}},
    {"UpOnTheFirstRowDoesNothing", {Click(3), Key(VK_HOME), CtrlClick(2), CtrlKey(VK_HOME), Key(VK_UP)}, {0, 2}, 0, 2,
     {3, 0, 2, 0}},
    {"PageDownGoesToTheLastRowOfThePage", {Click(2), Key(VK_NEXT)}, {7}, 7, 7, {2, 7}},
    {"PageUpGoesToTheTopRow", {Click(5), Key(VK_PRIOR)}, {0}, 0, 0, {5, 0}},
    {"ShiftPageUpSelectsUpToTheTop", {Click(5), ShiftKey(VK_PRIOR)}, {0, 1, 2, 3, 4, 5}, 0, 5, {5, 0}},
    {"TypingSelectsTheFoundRow", {Click(1), ShiftClick(3), Type(L'f')}, {5}, 5, 5, {1, 3, 5}},
    {"TypingTheFocusedRowsTitle", {Click(1), ShiftClick(3), Type(L'd')}, {3}, 3, 3, {1, 3, 3}},
    {"ShiftTypingSelectsFromTheAnchor", {Click(1), ShiftType(L'F')}, {1, 2, 3, 4, 5}, 5, 1, {1, 5}},
};

INSTANTIATE_TEST_SUITE_P(Gestures, ListSelectionWin, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// Other code may set the selection through the control's messages: it lands in
// the model, and the control's answers come from the model.
TEST_F(ListSelectionWin, SelectionSetThroughTheControlReachesTheModel) {
  MediaList& rows = host.controller.Rows();
  ListView_SetItemState(host.list, 2, LVIS_SELECTED, LVIS_SELECTED);
  ListView_SetItemState(host.list, 6, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(rows.SelectedRows(), (std::vector<int>{2, 6}));
  EXPECT_EQ(ControlSelection(), (std::vector<int>{2, 6}));
  EXPECT_TRUE(host.played.empty()) << "selecting alone plays nothing";

  ListView_SetItemState(host.list, -1, LVIS_SELECTED, LVIS_SELECTED);
  EXPECT_EQ(rows.SelectedCount(), kRows);
  EXPECT_EQ(static_cast<int>(ListView_GetSelectedCount(host.list)), kRows);
  ListView_SetItemState(host.list, -1, 0, LVIS_SELECTED);
  EXPECT_EQ(rows.SelectedCount(), 0);
  EXPECT_EQ(ListView_GetNextItem(host.list, -1, LVNI_SELECTED), -1);

  // Focus and selection in one call: the row plays once; a later change of
  // only its selection reports it (and plays it) again.
  ListView_SetItemState(host.list, 4, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(PlayedRows(), std::vector<int>{4});
  ListView_SetItemState(host.list, 4, 0, LVIS_SELECTED);
  EXPECT_EQ(PlayedRows(), (std::vector<int>{4, 4}));
  EXPECT_EQ(rows.SelectedCount(), 0);
  EXPECT_EQ(ListView_GetNextItem(host.list, -1, LVNI_FOCUSED), 4);
  EXPECT_FALSE(ListView_SetItemState(host.list, -1, LVIS_FOCUSED, LVIS_FOCUSED)) << "no row set has the focus";
}

// Writes 32-bit top-down pixels as a BMP into the screenshot folder.
void SaveScreenshot(const char* name, const std::vector<DWORD>& pixels, int w, int h) {
  const char* dir = std::getenv("SORVANE_SCREENSHOT_DIR");
  if (!dir) return;
  std::string path = dir;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  path += std::string("/") + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  BITMAPINFOHEADER ih{sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const DWORD size = static_cast<DWORD>(w * h * 4);
  BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof ih + size), 0, 0,
                      sizeof(BITMAPFILEHEADER) + sizeof ih};
  std::fwrite(&fh, sizeof fh, 1, f);
  std::fwrite(&ih, sizeof ih, 1, f);
  std::fwrite(pixels.data(), size, 1, f);
  std::fclose(f);
}

// The list view drawn into a bitmap of its own (so the capture does not
// depend on the screen); the rows whose text is drawn in the selection colour.
std::vector<int> DrawnSelection(ListHost& host, const char* screenshot) {
  RECT client{};
  GetClientRect(host.list, &client);
  const int w = client.right, h = client.bottom;
  HDC screen = GetDC(host.list);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  SendMessageW(host.list, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
  GdiFlush();
  std::vector<DWORD> pixels(static_cast<const DWORD*>(bits), static_cast<const DWORD*>(bits) + w * h);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(host.list, screen);
  SaveScreenshot(screenshot, pixels, w, h);
  std::vector<int> rows;
  for (int r = 0; r < kRows; ++r) {
    const RECT box = host.RowRect(r);
    int yellow = 0;
    for (int y = std::max<LONG>(box.top, 0); y < std::min<LONG>(box.bottom, h); ++y)
      for (int x = std::max<LONG>(box.left, 0); x < std::min<LONG>(box.right, w); ++x)
        yellow += (pixels[static_cast<size_t>(y) * w + x] & 0xFFFFFF) == 0xFFFF00;
    if (yellow > 10) rows.push_back(r);
  }
  return rows;
}

TEST_F(ListSelectionWin, TheDrawnSelectionFollowsTheGesturesAndTheInversion) {
  host.controller.View().SetDarkColors(true);
  Do(Click(1));
  Do(ShiftClick(3));
  Do(CtrlClick(5));
  RedrawWindow(host.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  host.Pump();
  EXPECT_EQ(DrawnSelection(host, "list_selection_gestures.bmp"), (std::vector<int>{1, 2, 3, 5}));
  SetKeys(true, false);
  SendMessageW(host.list, WM_KEYDOWN, 'I', 1);
  SetKeys(false, false);
  host.Pump();
  EXPECT_EQ(DrawnSelection(host, "list_selection_inverted.bmp"), (std::vector<int>{0, 4, 6, 7}));
}

// A drag with the mouse itself that starts on one of two selected rows takes
// both along: rows Alpha and Charlie selected, Charlie pressed and dragged
// below Delta. The input comes from another thread because the drag runs a
// modal loop on this one; each input waits until this thread has taken
// messages twice since it was sent, also inside the drag's loop.
TEST_F(ListSelectionWin, ADragFromASelectedRowMovesTheWholeSelection) {
  Do(Click(0));
  Do(CtrlClick(2));
  ASSERT_EQ(host.controller.Rows().SelectedRows(), (std::vector<int>{0, 2}));
  const ListHost::MouseDrag drag = host.DragWithTheMouse(2, 3);
  ASSERT_TRUE(drag.taken) << "the drag's input was not taken";
  EXPECT_EQ(drag.moverExit, 0u);
  std::string order;
  for (int r = 0; r < kRows; ++r) order += ToUtf8(host.ItemText(r, 0)).substr(0, 1);
  EXPECT_EQ(order, "BDACEFGH");
  EXPECT_EQ(host.controller.Rows().SelectedRows(), (std::vector<int>{2, 3})) << "the moved rows stay selected";
  EXPECT_EQ(ListView_GetNextItem(host.list, -1, LVNI_FOCUSED), 3);
}

}  // namespace
}  // namespace sorvane::win
