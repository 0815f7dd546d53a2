// The list view at its edges: a close that arrives in the middle of a drop,
// the icons at exit, failures inside its window procedure and drop target,
// Show in Explorer with a path no file can have, scrolling upward during a
// row drag, and typing to find a row.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <vector>

#include "../unit/fake_list_storage.h"
#include "drop_files.h"
#include "framework/win/com_object.h"
#include "framework/win/wintext.h"
#include "list_host.h"
#include "medialist/list_persistence.h"
#include "medialist/win/busy_dialog.h"
#include "medialist/win/media_adder.h"
#include "medialist/win/media_list_controller.h"
#include "playback/win/control_host.h"

namespace sorvane::win {
namespace {

using Microsoft::WRL::ComPtr;
using sorvane::testing::FakeListStorage;
using testing::ListHost;
using Texts = std::vector<Text>;

// A data object carrying a CF_HDROP of paths, as the shell hands one over.
class FileListData final : public SingleInterfaceObject<FileListData, IDataObject, IID_IDataObject> {
 public:
  explicit FileListData(Texts paths) : paths_(std::move(paths)) {}
  HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
    if (QueryGetData(format) != S_OK) return DV_E_FORMATETC;
    medium->tymed = TYMED_HGLOBAL;
    medium->hGlobal = MakeDrop(paths_);
    medium->pUnkForRelease = nullptr;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
    return format && format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
  }
  HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
    return OLE_E_ADVISENOTSUPPORTED;
  }
  HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
  HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

 private:
  Texts paths_;
};

Text TempFolderPath() {
  wchar_t temp[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, temp);
  return T(temp) + u"sorvane_edges_" + Format(u"%d", {static_cast<int>(GetCurrentProcessId())});
}

void WriteFile(const Text& path) {
  HANDLE h = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  CloseHandle(h);
}

void RemoveTree(const Text& folder) {
  std::wstring from = ToWide(folder);
  from.push_back(L'\0');
  SHFILEOPSTRUCTW op{};
  op.wFunc = FO_DELETE;
  op.pFrom = from.c_str();
  op.fFlags = FOF_NO_UI;
  SHFileOperationW(&op);
}

bool DropQuitWaiting() {
  MSG msg;
  return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

class MediaListViewEdges : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
  }
  void Store(const Text& rows) {
    storage.strings[Text(kListNamesKey)] = JoinListNames({u"A"});
    storage.sections[ListSectionName(0)] = rows;
    host.controller.Start();
    UpdateWindow(host.window);
  }
  int Focused() { return ListView_GetNextItem(host.list, -1, LVNI_FOCUSED); }

  FakeListStorage storage;
  ListHost host{storage};
};

// Media are the files named *.mp3; the first probe closes the window from
// outside as a shutdown or another program would, while the folder's scan
// runs (the main window posts its quit when it is destroyed).
class ClosingProber : public EntryProber {
 public:
  explicit ClosingProber(HWND window) : window_(window) {}
  bool Probe(const Text& path, ProbedFile& out) override {
    probed.push_back(path);
    if (probed.size() == 1) {
      PostMessageW(window_, WM_CLOSE, 0, 0);
      PostQuitMessage(0);
    }
    out.isMedia = true;
    out.title = path;
    return true;
  }
  HWND window_;
  Texts probed;
};

TEST_F(MediaListViewEdges, ACloseDuringADroppedFoldersScanEndsTheDropAndAddsNothingMore) {
  const Text folder = TempFolderPath();
  CreateDirectoryW(W(folder), nullptr);
  WriteFile(folder + u"\\a.mp3");
  WriteFile(folder + u"\\b.mp3");
  const Text loose = folder + u".mp3";
  WriteFile(loose);
  Store(u"");

  ClosingProber prober(host.window);
  MediaAdder adder(GetModuleHandleW(nullptr), host.window, host.controller, &prober);
  host.filesDropped = [&](Texts paths) { adder.OnListViewDrop(paths); };
  ComPtr<IDropTarget> target(host.controller.View().DropTarget());
  ASSERT_NE(target, nullptr) << "the list view takes drops";

  ComPtr<IDataObject> data = Adopt<IDataObject>(new FileListData({folder, loose}));
  DWORD effect = DROPEFFECT_COPY;
  const HRESULT entered = target->DragEnter(data.Get(), MK_LBUTTON, {10, 10}, &effect);
  EXPECT_EQ(entered, S_OK);
  effect = DROPEFFECT_COPY;
  const HRESULT dropped = target->Drop(data.Get(), 0, {10, 10}, &effect);

  EXPECT_EQ(dropped, S_OK);
  EXPECT_FALSE(IsWindow(host.window)) << "the close was handled during the scan";
  EXPECT_EQ(host.controller.View().Window(), nullptr) << "the list view went with it";
  EXPECT_EQ(host.controller.View().DropTarget(), nullptr);
  EXPECT_EQ(prober.probed.size(), 1u) << "neither the folder's other file nor the later dropped path was added";
  EXPECT_TRUE(adder.Quitting());
  EXPECT_TRUE(DropQuitWaiting()) << "the quit is left for the main loop";
  host.window = nullptr;

  // The busy dialog that went with the window no longer counts as open: the
  // next one gives its owner back.
  HWND owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
  {
    BusyDialog busy(GetModuleHandleW(nullptr), owner);
    ASSERT_TRUE(busy.Open());
    EXPECT_FALSE(IsWindowEnabled(owner));
    busy.Close();
  }
  EXPECT_TRUE(IsWindowEnabled(owner));
  DestroyWindow(owner);
  RemoveTree(folder);
  DeleteFileW(W(loose));
}

TEST_F(MediaListViewEdges, TheIconsBelongToTheViewAndOutliveTheControl) {
  Store(u"C:\\m\\one.mp3");
  EXPECT_TRUE(GetWindowLongPtrW(host.list, GWL_STYLE) & LVS_SHAREIMAGELISTS)
      << "the control must not destroy the view's image list";
  HIMAGELIST icons = ListView_GetImageList(host.list, LVSIL_SMALL);
  ASSERT_NE(icons, nullptr);
  const int count = ImageList_GetImageCount(icons);
  EXPECT_EQ(count, 4);
  // The control goes first at exit, as when the main window is destroyed.
  DestroyWindow(host.list);
  EXPECT_EQ(ImageList_GetImageCount(icons), count) << "still alive until the view lets it go";
  host.controller.View().Detach();
}

TEST_F(MediaListViewEdges, AThrowingHandlerIsAnsweredWithASoundDefault) {
  // A view of its own whose handlers throw.
  HWND list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_OWNERDATA, 0, 0, 300,
                              200, host.window, nullptr, nullptr, nullptr);
  ASSERT_NE(list, nullptr);
  MediaList rows;
  MediaListView view;
  MediaListViewHandlers handlers;
  int throws = 0;
  handlers.timer = [&] {
    ++throws;
    throw std::runtime_error("timer failed");
  };
  handlers.filesDropped = [&](Texts) {
    ++throws;
    throw std::bad_alloc();
  };
  ASSERT_TRUE(view.Attach(list, rows, handlers));

  // Inside the window procedure.
  EXPECT_EQ(SendMessageW(list, WM_TIMER, kSaveTimerId, 0), 0);
  EXPECT_EQ(throws, 1);
  EXPECT_TRUE(IsWindow(list));
  EXPECT_EQ(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0), 0) << "the control still answers";

  // Inside a COM method.
  ComPtr<IDropTarget> target(view.DropTarget());
  ASSERT_NE(target, nullptr);
  ComPtr<IDataObject> data = Adopt<IDataObject>(new FileListData({u"C:\\x.mp3"}));
  DWORD effect = DROPEFFECT_COPY;
  target->DragEnter(data.Get(), MK_LBUTTON, {5, 5}, &effect);
  effect = DROPEFFECT_COPY;
  EXPECT_EQ(target->Drop(data.Get(), 0, {5, 5}, &effect), S_OK);
  EXPECT_EQ(throws, 2);

  // Inside the player control's event sink.
  ComPtr<IDispatch> sink = MakeControlEventSink(IID_IDispatch, [&](DISPID, const DISPPARAMS&) {
    ++throws;
    throw std::runtime_error("event failed");
  });
  DISPPARAMS none{};
  EXPECT_EQ(sink->Invoke(5101, IID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr), S_OK);
  EXPECT_EQ(throws, 3);

  view.Detach();
  DestroyWindow(list);
}

TEST_F(MediaListViewEdges, ShowInExplorerPassesOnlyPathsAFileCanHave) {
  Store(u"C:\\m\\one.mp3\r\nC:\\m\\a\".mp3\" /root,C:\\Windows\r\nC:\\m\\two|.mp3\r\nC:\\m\\x.mp3:s");
  Texts launched;
  host.controller.View().SetExplorerLauncher([&](const Text& arguments) { launched.push_back(arguments); });
  for (int row = 0; row < 4; ++row) host.controller.View().RunCommand(kCmdShowInFolder, row);
  EXPECT_EQ(launched, Texts{u"/select,\"C:\\m\\one.mp3\""});
}

TEST_F(MediaListViewEdges, UpwardAutoScrollStartsAtTheFirstRowUnderTheHeader) {
  Text many;
  for (int i = 0; i < 60; ++i) many += Format(u"C:\\m\\%d.mp3\r\n", {i});
  Store(many);
  MediaListView& view = host.controller.View();
  view.SelectAndFocus(41);  // the dragged row, scrolled into view near the bottom
  const int top = ListView_GetTopIndex(host.list);
  ASSERT_GT(top, 0);
  const RECT first = host.RowRect(top);
  ASSERT_GT(first.top, 10) << "the header covers the client top";

  view.BeginInternalDrag(41);
  // Just under the header, inside the first row: scrolls up one row.
  EXPECT_EQ(view.DragOverAt({first.left + 60, first.top + 2}), static_cast<DWORD>(DROPEFFECT_SCROLL));
  EXPECT_EQ(ListView_GetTopIndex(host.list), top - 1);
  // Below the band: a gap is shown, no scrolling.
  const int nowTop = ListView_GetTopIndex(host.list);
  const RECT again = host.RowRect(nowTop);
  EXPECT_NE(view.DragOverAt({again.left + 60, again.top + 12}), static_cast<DWORD>(DROPEFFECT_SCROLL));
  EXPECT_EQ(ListView_GetTopIndex(host.list), nowTop);
  view.EndDrag();

  // At the very top nothing is left to scroll: the first row takes the drop.
  view.SelectAndFocus(5);
  ListView_EnsureVisible(host.list, 0, FALSE);
  ASSERT_EQ(ListView_GetTopIndex(host.list), 0);
  const RECT row0 = host.RowRect(0);
  view.BeginInternalDrag(5);
  EXPECT_EQ(view.DragOverAt({row0.left + 60, row0.top + 2}), static_cast<DWORD>(DROPEFFECT_MOVE));
  view.EndDrag();
}

TEST_F(MediaListViewEdges, TypingSelectsTheNextRowWhoseTitleStartsWithTheKeys) {
  Store(u"C:\\m\\Alpha.mp3\r\nC:\\m\\beta.mp3\r\nC:\\m\\Bravo.mp3\r\nC:\\m\\Charlie.mp3");
  SetFocus(host.list);
  host.controller.View().SelectAndFocus(0);
  host.played.clear();

  // The control's own question, as it asks it when a key is typed.
  NMLVFINDITEMW find{};
  find.hdr = {host.list, static_cast<UINT_PTR>(testing::kListId), LVN_ODFINDITEMW};
  find.iStart = 1;
  find.lvfi.flags = LVFI_PARTIAL | LVFI_WRAP | LVFI_STRING;
  find.lvfi.psz = L"BR";
  EXPECT_EQ(SendMessageW(host.window, WM_NOTIFY, testing::kListId, reinterpret_cast<LPARAM>(&find)), 2);
  find.iStart = 3;
  find.lvfi.psz = L"a";
  EXPECT_EQ(SendMessageW(host.window, WM_NOTIFY, testing::kListId, reinterpret_cast<LPARAM>(&find)), 0)
      << "wraps to the top";
  find.lvfi.psz = L"x";
  EXPECT_EQ(SendMessageW(host.window, WM_NOTIFY, testing::kListId, reinterpret_cast<LPARAM>(&find)), -1);

  // Typed for real: the control moves the focus (and with it the player) there.
  SendMessageW(host.list, WM_CHAR, L'c', 1);
  host.Pump();
  EXPECT_EQ(Focused(), 3);
  EXPECT_EQ(host.played, Texts{u"C:\\m\\Charlie.mp3"});
}

}  // namespace
}  // namespace sorvane::win
