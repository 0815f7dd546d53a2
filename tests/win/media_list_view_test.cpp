// The list view and list selector in a host window of their own, as the main
// window will hold them.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../unit/fake_list_storage.h"
#include "list_host.h"
#include "framework/win/wintext.h"
#include "medialist/list_persistence.h"
#include "medialist/win/media_list_controller.h"

namespace sorvane::win {
namespace {

using sorvane::testing::FakeListStorage;

using testing::ListHost;
using testing::kListId;
using testing::kSelectorId;

// Writes 32-bit top-down pixels as a BMP into the screenshot folder.
void SaveScreenshot(const char* name, const void* bits, int w, int h) {
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
  std::fwrite(bits, size, 1, f);
  std::fclose(f);
}

class MediaListViewTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
  }
  void Store(std::vector<Text> names, std::vector<Text> lists) {
    storage.strings[Text(kListNamesKey)] = JoinListNames(names);
    for (size_t i = 0; i < lists.size(); ++i)
      if (!lists[i].empty()) storage.sections[ListSectionName(static_cast<int>(i))] = lists[i];
  }
  void SetKeys(std::initializer_list<int> down) {
    BYTE keys[256] = {};
    for (int k : down) keys[k] = 0x80;
    SetKeyboardState(keys);
  }
  std::string Order() {
    std::string s;
    for (int r = 0; r < ListView_GetItemCount(host.list); ++r) s += ToUtf8(host.ItemText(r, 0)).substr(0, 1);
    return s;
  }

  FakeListStorage storage;
  ListHost host{storage};
};

TEST_F(MediaListViewTest, ShowsTheSavedListWithItsColumns) {
  Store({u"Rock", u"Jazz"}, {u"C:\\m\\one.mp3\r\nC:\\m\\two.mp3\r\nthree.wav", u"C:\\j\\x.mp3"});
  host.controller.Start();
  EXPECT_EQ(host.loaded, std::vector<int>{0});
  ASSERT_EQ(ListView_GetItemCount(host.list), 3);
  EXPECT_EQ(host.ItemText(0, 0), u"one.mp3");
  EXPECT_EQ(host.ItemText(1, 1), u"C:\\m\\two.mp3");
  EXPECT_EQ(host.ItemText(2, 0), u"three.wav");
  EXPECT_EQ(host.ItemText(2, 3), u"");

  const wchar_t* headers[] = {L"Title", L"Path", L"Duration", L"File Name", L"Error"};
  const int widths[] = {200, 200, 70, 200, 20};
  for (int c = 0; c < 5; ++c) {
    wchar_t text[64] = {};
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
    col.pszText = text;
    col.cchTextMax = 64;
    ASSERT_TRUE(ListView_GetColumn(host.list, c, &col));
    EXPECT_STREQ(text, headers[c]);
    EXPECT_EQ(col.cx, widths[c]);
    EXPECT_EQ((col.fmt & LVCFMT_IMAGE) != 0, c == 2);
  }
  int order[5] = {};
  ASSERT_TRUE(ListView_GetColumnOrderArray(host.list, 5, order));
  EXPECT_EQ(std::vector<int>(order, order + 5), (std::vector<int>{0, 2, 1, 3, 4}));
  const DWORD ex = ListView_GetExtendedListViewStyle(host.list);
  EXPECT_TRUE(ex & LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(ex & LVS_EX_SUBITEMIMAGES);
  EXPECT_EQ(ImageList_GetImageCount(ListView_GetImageList(host.list, LVSIL_SMALL)), 4);

  EXPECT_EQ(host.SelectorEntries(),
            (std::vector<Text>{u"Rock", u"Jazz", u"....   + Add New Playlist", u"    - Remove"}));
  EXPECT_EQ(SendMessageW(host.selector, CB_GETCURSEL, 0, 0), 0);
  EXPECT_TRUE(host.played.empty());  // loading never plays
}

TEST_F(MediaListViewTest, AClickOnARowPlaysItsPath) {
  Store({u"A"}, {u"C:\\m\\one.mp3\r\nC:\\m\\two.mp3"});
  host.controller.Start();
  UpdateWindow(host.window);
  const RECT r = host.RowRect(1);
  const LPARAM at = MAKELPARAM(r.left + 40, (r.top + r.bottom) / 2);
  PostMessageW(host.list, WM_LBUTTONUP, 0, at);
  SendMessageW(host.list, WM_LBUTTONDOWN, MK_LBUTTON, at);
  host.Pump();
  ASSERT_FALSE(host.played.empty());
  EXPECT_EQ(host.played.back(), u"C:\\m\\two.mp3");
  EXPECT_TRUE(host.controller.Rows().IsSelected(1));
  EXPECT_EQ(host.controller.Rows().Focus(), 1);

  // The model follows the control's own selection: a Shift+click range, then
  // a plain click that leaves one row selected.
  auto click = [&](int row, WPARAM keys) {
    const RECT rr = host.RowRect(row);
    const LPARAM p = MAKELPARAM(rr.left + 40, (rr.top + rr.bottom) / 2);
    PostMessageW(host.list, WM_LBUTTONUP, keys & ~MK_LBUTTON, p);
    SendMessageW(host.list, WM_LBUTTONDOWN, keys | MK_LBUTTON, p);
    host.Pump();
  };
  AddMediaFile(host.controller.Rows(), u"C:\\m\\three.mp3", nullptr);
  host.controller.View().RowsAppended();
  click(0, 0);
  click(2, MK_SHIFT);
  EXPECT_EQ(host.controller.Rows().SelectedRows(), (std::vector<int>{0, 1, 2}));
  EXPECT_EQ(ListView_GetSelectedCount(host.list), 3u);
  click(1, 0);
  EXPECT_EQ(host.controller.Rows().SelectedRows(), std::vector<int>{1});
  EXPECT_EQ(host.played.back(), u"C:\\m\\two.mp3");
}

TEST_F(MediaListViewTest, KeysSelectInvertAndRemove) {
  Store({u"A"}, {u"a.mp3\r\nb.mp3\r\nc.mp3\r\nd.mp3"});
  host.controller.Start();
  MediaList& rows = host.controller.Rows();
  SetKeys({VK_CONTROL});
  SendMessageW(host.list, WM_KEYDOWN, 'A', 0);
  EXPECT_EQ(rows.SelectedCount(), 4);
  EXPECT_EQ(ListView_GetSelectedCount(host.list), 4u);

  SetKeys({});
  host.controller.View().SelectAndFocus(1);
  SetKeys({VK_CONTROL});
  SendMessageW(host.list, WM_KEYDOWN, 'I', 0);
  EXPECT_EQ(rows.SelectedRows(), (std::vector<int>{0, 2, 3}));
  EXPECT_EQ(ListView_GetSelectedCount(host.list), 3u);

  SetKeys({VK_SHIFT});
  SendMessageW(host.list, WM_KEYDOWN, VK_DELETE, 0);  // Shift+Delete does nothing
  EXPECT_EQ(ListView_GetItemCount(host.list), 4);
  SetKeys({VK_MENU, VK_CONTROL});
  SendMessageW(host.list, WM_KEYDOWN, 'X', 0);  // nothing with Alt
  EXPECT_EQ(ListView_GetItemCount(host.list), 4);
  SetKeys({});
  SendMessageW(host.list, WM_KEYDOWN, VK_DELETE, 0);
  EXPECT_EQ(Order(), "b");
  EXPECT_EQ(rows.Count(), 1);

  // Ctrl+X removes too, and the removal reaches the store after the delay.
  host.controller.AddMediaFile(u"e.mp3", nullptr);
  EXPECT_EQ(ListView_GetItemCount(host.list), 2);
  host.controller.View().SelectAndFocus(0);
  SetKeys({VK_CONTROL});
  SendMessageW(host.list, WM_KEYDOWN, 'X', 0);
  SetKeys({});
  EXPECT_EQ(Order(), "e");
  EXPECT_EQ(storage.sections[u"MediaList"], u"a.mp3\r\nb.mp3\r\nc.mp3\r\nd.mp3");  // not yet
  // Waits for the save itself; the cap only ends a test that never gets there.
  const ULONGLONG cap = GetTickCount64() + 60000;
  while (GetTickCount64() < cap && storage.sections[u"MediaList"] != u"e.mp3") {
    host.Pump();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
  EXPECT_EQ(storage.sections[u"MediaList"], u"e.mp3");
}

TEST_F(MediaListViewTest, ADropBetweenRowsReordersThemAndPlaysTheMovedRow) {
  Store({u"A"}, {u"A.mp3\r\nB.mp3\r\nC.mp3"});
  host.controller.Start();
  UpdateWindow(host.window);
  MediaListView& view = host.controller.View();
  view.SelectAndFocus(0);
  host.played.clear();

  const RECT b = host.RowRect(1);
  view.BeginInternalDrag(0);
  EXPECT_EQ(view.DragOverAt({b.left + 60, b.top + 2}), static_cast<DWORD>(DROPEFFECT_NONE));  // upper half of B
  EXPECT_FALSE(view.DropAt({b.left + 60, b.top + 2}));
  EXPECT_EQ(Order(), "ABC");

  view.BeginInternalDrag(0);
  EXPECT_EQ(view.DragOverAt({b.left + 60, b.bottom - 2}), static_cast<DWORD>(DROPEFFECT_MOVE));
  EXPECT_TRUE(view.DropAt({b.left + 60, b.bottom - 2}));
  EXPECT_EQ(Order(), "BAC");
  EXPECT_EQ(ListView_GetNextItem(host.list, -1, LVNI_FOCUSED), 1);
  EXPECT_EQ(host.played, std::vector<Text>{u"A.mp3"});

  // Below the last row: the rows go to the end.
  const RECT c = host.RowRect(2);
  view.SelectAndFocus(0);
  view.BeginInternalDrag(0);
  EXPECT_TRUE(view.DropAt({c.left + 60, c.bottom + 30}));
  EXPECT_EQ(Order(), "ACB");
}

// A drag with the mouse itself: button down on row A, moves onto the lower
// half of row B, button up. The input comes from another thread because the
// drag runs a modal loop on this one.
TEST_F(MediaListViewTest, AMouseDragThroughOleReordersRows) {
  Store({u"A"}, {u"A.mp3\r\nB.mp3\r\nC.mp3"});
  host.controller.Start();
  const ListHost::MouseDrag drag = host.DragWithTheMouse(0, 1);
  ASSERT_TRUE(drag.taken) << "the drag's input was not taken";
  EXPECT_EQ(drag.moverExit, 0u) << "an input could not be sent or was not served";
  EXPECT_EQ(Order(), "BAC");
  EXPECT_FALSE(host.controller.View().InternalDrag());
}

TEST_F(MediaListViewTest, RowsAreDrawnInTheirColours) {
  Store({u"A"}, {u"C:\\m\\one.mp3\r\nC:\\m\\two.mp3\r\nC:\\m\\three.mp3"});
  host.controller.Start();
  host.controller.View().SetDarkColors(true);
  EXPECT_EQ(ListView_GetBkColor(host.list), RGB(32, 32, 32));
  EXPECT_EQ(ListView_GetTextColor(host.list), RGB(255, 255, 255));
  host.controller.View().SelectAndFocus(1);
  RedrawWindow(host.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  host.Pump();

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
  // Draw the control into our bitmap so the capture does not depend on the screen.
  SendMessageW(host.list, WM_PRINT, reinterpret_cast<WPARAM>(mem), PRF_CLIENT | PRF_ERASEBKGND | PRF_CHILDREN);
  GdiFlush();
  auto pixel = [&](int x, int y) {
    const auto* p = static_cast<const BYTE*>(bits) + (static_cast<size_t>(y) * w + x) * 4;
    return RGB(p[2], p[1], p[0]);
  };
  auto countColour = [&](const RECT& r, COLORREF c) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < std::min<LONG>(r.right, w); ++x) n += pixel(x, y) == c;
    return n;
  };
  const RECT r0 = host.RowRect(0), r1 = host.RowRect(1), r2 = host.RowRect(2);
  EXPECT_EQ(pixel(r0.right - 30, (r0.top + r0.bottom) / 2), RGB(64, 64, 64));  // even row
  EXPECT_EQ(pixel(r1.right - 30, (r1.top + r1.bottom) / 2), RGB(32, 32, 32));  // odd row
  EXPECT_EQ(pixel(r2.right - 30, (r2.top + r2.bottom) / 2), RGB(64, 64, 64));
  EXPECT_GT(countColour(r1, RGB(255, 255, 0)), 10);   // the selected row's text is yellow
  EXPECT_EQ(countColour(r0, RGB(255, 255, 0)), 0);
  EXPECT_GT(countColour(r0, RGB(255, 255, 255)), 10);  // other rows white

  SaveScreenshot("media_list_rows.bmp", bits, w, h);

  // Keeps the window up so that the display (header included) can be
  // captured from outside, e.g. with an X screenshot tool.
  SetWindowPos(host.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  if (const char* hold = std::getenv("SORVANE_HOLD_MS")) {
    const DWORD until = GetTickCount() + static_cast<DWORD>(std::atoi(hold));
    while (GetTickCount() < until) {
      host.Pump();
      Sleep(20);
    }
  }
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(host.list, screen);
}

TEST_F(MediaListViewTest, ContextMenuCommandsAndTheirEffects) {
  auto menu = BuildListContextMenu();
  ASSERT_TRUE(menu);
  const int expected[] = {1001, 1002, 1003, 1004, 0, 1005, 1006, 0, 1007, 1008, 0, 1009, 1010};
  ASSERT_EQ(GetMenuItemCount(menu.get()), 13);
  for (int i = 0; i < 13; ++i) EXPECT_EQ(static_cast<int>(GetMenuItemID(menu.get(), i)), expected[i]) << i;
  wchar_t text[64] = {};
  GetMenuStringW(menu.get(), 1006, text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"Show in Explorer");
  GetMenuStringW(menu.get(), 1010, text, 64, MF_BYCOMMAND);
  EXPECT_STREQ(text, L"Invert Selection");

  Store({u"A"}, {u"A.mp3\r\nB.mp3\r\nC.mp3"});
  host.controller.Start();
  MediaListView& view = host.controller.View();
  view.SelectAndFocus(1);
  host.played.clear();
  view.RunCommand(1003, 1);  // down: one place
  EXPECT_EQ(Order(), "ACB");
  EXPECT_EQ(host.played, std::vector<Text>{u"B.mp3"});
  view.RunCommand(1003, 2);  // down on the last row: stays last
  EXPECT_EQ(Order(), "ACB");
  view.RunCommand(1001, 2);  // top
  EXPECT_EQ(Order(), "BAC");
  view.RunCommand(1004, 0);  // bottom
  EXPECT_EQ(Order(), "ACB");
  view.RunCommand(1010, 2);  // invert
  EXPECT_EQ(ListView_GetSelectedCount(host.list), 2u);
  view.RunCommand(1005, 0);  // remove
  EXPECT_EQ(Order(), "B");
  view.RunCommand(1007, 0);  // export and import are not wired yet: nothing happens
  view.RunCommand(1008, 0);
  EXPECT_EQ(Order(), "B");
}

TEST_F(MediaListViewTest, TheSelectorSwitchesCreatesRenamesAndDeletesLists) {
  Store({u"L0", u"L1", u"L2"}, {u"p0.mp3", u"p1.mp3", u"p2.mp3"});
  host.controller.Start();
  EXPECT_EQ(host.SelectorEntries().size(), 5u);

  host.ChooseEntry(2);  // switch
  EXPECT_EQ(host.ItemText(0, 1), u"p2.mp3");
  EXPECT_EQ(host.controller.Session().ShownListIndex(), 2);
  EXPECT_EQ(SendMessageW(host.selector, CB_GETCURSEL, 0, 0), 2);

  host.answer = Answer::kYes;
  host.ChooseEntry(3);  // new list, copying the shown one
  ASSERT_EQ(host.asked.size(), 1u);
  const std::vector<Text> entries = host.SelectorEntries();
  ASSERT_EQ(entries.size(), 6u);
  EXPECT_EQ(entries[3].rfind(u"New playlist ", 0), 0u);
  EXPECT_EQ(SendMessageW(host.selector, CB_GETCURSEL, 0, 0), 3);
  EXPECT_EQ(storage.sections[u"MediaList3"], u"p2.mp3");
  EXPECT_EQ(host.ItemText(0, 1), u"p2.mp3");

  // Rename the shown list by typing into the edit field, then leaving it.
  SetFocus(host.selector);
  host.Pump();
  SetWindowTextW(host.selector, L"Fresh");
  SendMessageW(host.window, WM_COMMAND, MAKEWPARAM(kSelectorId, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(host.selector));
  SetFocus(host.list);
  host.Pump();
  EXPECT_EQ(storage.strings[Text(kListNamesKey)], u"L0\tL1\tL2\tFresh");
  EXPECT_EQ(host.SelectorEntries()[3], u"Fresh");

  // The drop-down's delete entry names the shown list; deleting shifts the sections.
  SendMessageW(host.window, WM_COMMAND, MAKEWPARAM(kSelectorId, CBN_DROPDOWN), reinterpret_cast<LPARAM>(host.selector));
  EXPECT_EQ(host.SelectorEntries().back(), u"... Remove: Fresh");
  host.ChooseEntry(1);
  host.ChooseEntry(5);  // delete L1
  EXPECT_EQ(storage.strings[Text(kListNamesKey)], u"L0\tL2\tFresh");
  EXPECT_EQ(storage.sections[u"MediaList1"], u"p2.mp3");
  EXPECT_EQ(storage.sections[u"MediaList2"], u"p2.mp3");
  EXPECT_EQ(storage.sections.count(u"MediaList3"), 0u);
  EXPECT_EQ(SendMessageW(host.selector, CB_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(host.ItemText(0, 1), u"p0.mp3");
  EXPECT_EQ(host.SelectorEntries().size(), 5u);
}


// What the view asks of the control when rows change: alone, a row on screen
// is drawn again at once; in a batch (a probe result), the rows on screen
// among those changed are drawn once at the batch's end, with one question
// for the rows on screen however many changes the batch held.
LRESULT CALLBACK CountingListProc(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
  auto* seen = reinterpret_cast<std::vector<std::string>*>(data);
  if (m == LVM_GETTOPINDEX) seen->push_back("top");
  if (m == LVM_REDRAWITEMS) seen->push_back("redraw " + std::to_string(wp) + "-" + std::to_string(lp));
  return DefSubclassProc(w, m, wp, lp);
}

TEST_F(MediaListViewTest, ChangedRowsOfABatchAreDrawnOnceAtItsEnd) {
  Text list;
  for (int i = 0; i < 300; ++i) list += (i ? u"\r\n" : u"") + Text(u"C:\\m\\") + FromUtf8(std::to_string(i)) + u".mp3";
  Store({u"Big"}, {list});
  host.controller.Start();
  MediaListView& view = host.controller.View();
  const int perPage = ListView_GetCountPerPage(host.list);
  ASSERT_GT(perPage, 6);
  ASSERT_LT(perPage, 250);
  std::vector<std::string> seen;
  ASSERT_TRUE(SetWindowSubclass(host.list, CountingListProc, 1, reinterpret_cast<DWORD_PTR>(&seen)));

  view.RowChanged(4);
  view.RowChanged(280);  // off screen
  EXPECT_EQ(seen, (std::vector<std::string>{"top", "redraw 4-4", "top"}));

  seen.clear();
  {
    MediaListView::RowChangeBatch batch(view);
    for (int change = 0; change < 4; ++change)
      for (int row : {5, 2, 290, 3}) view.RowChanged(row);
    {
      MediaListView::RowChangeBatch inner(view);
      view.RowChanged(1);
    }
    EXPECT_TRUE(seen.empty());  // nothing asked or drawn while the batch runs
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"top", "redraw 1-" + std::to_string(std::min(290, perPage))}));

  seen.clear();
  {
    MediaListView::RowChangeBatch batch(view);
    view.RowChanged(260);
    view.RowChanged(299);
  }
  EXPECT_EQ(seen, (std::vector<std::string>{"top"}));  // none on screen: nothing drawn

  seen.clear();
  { MediaListView::RowChangeBatch batch(view); }
  EXPECT_TRUE(seen.empty());  // an empty batch asks nothing
  RemoveWindowSubclass(host.list, CountingListProc, 1);
}

}  // namespace
}  // namespace sorvane::win
