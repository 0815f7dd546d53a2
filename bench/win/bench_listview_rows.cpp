// Where one row's state change costs its time under the list view: a bare
// owner-data list view in a parent that answers nothing, 50,000 single-row
// selection changes sent as messages, then called straight into the
// control's window procedure, then with the selection kept by the parent
// (callback mask), and the "all rows" call for comparison.
//
//   bench_listview_rows.exe [rows]
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

namespace {

double Ms(LARGE_INTEGER a, LARGE_INTEGER b) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(b.QuadPart - a.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

template <class F>
double Time(F&& f) {
  LARGE_INTEGER a, b;
  QueryPerformanceCounter(&a);
  f();
  QueryPerformanceCounter(&b);
  return Ms(a, b);
}

int g_notifies = 0;
bool g_selectedByParent = false;

LRESULT CALLBACK ParentProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NOTIFY) {
    ++g_notifies;
    auto* h = reinterpret_cast<NMHDR*>(lp);
    if (h->code == LVN_GETDISPINFOW) {
      auto* info = reinterpret_cast<NMLVDISPINFOW*>(lp);
      if ((info->item.mask & LVIF_TEXT) && info->item.pszText && info->item.cchTextMax > 0) info->item.pszText[0] = 0;
      if (info->item.mask & LVIF_STATE) info->item.state = g_selectedByParent ? LVIS_SELECTED : 0;
    }
    return 0;
  }
  return DefWindowProcW(w, m, wp, lp);
}

LRESULT CALLBACK PassOn(HWND w, UINT m, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  return DefSubclassProc(w, m, wp, lp);
}

struct Bare {
  HWND parent = nullptr, list = nullptr;
  explicit Bare(int rows) {
    parent = CreateWindowExW(0, L"BareParent", L"bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 720, 420, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
    list = CreateWindowExW(0, WC_LISTVIEWW, L"", WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA,
                           5, 5, 690, 300, parent, reinterpret_cast<HMENU>(1033), nullptr, nullptr);
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH;
    col.cx = 200;
    col.pszText = const_cast<wchar_t*>(L"Title");
    ListView_InsertColumn(list, 0, &col);
    ListView_SetItemCountEx(list, rows, LVSICF_NOSCROLL);
  }
  ~Bare() { DestroyWindow(parent); }
};

void Run(int rows) {
  const int half = rows / 2;
  LVITEMW on{};
  on.stateMask = LVIS_SELECTED;
  on.state = LVIS_SELECTED;
  {
    Bare b(rows);
    SendMessageW(b.list, WM_SETREDRAW, FALSE, 0);
    g_notifies = 0;
    const double sent = Time([&] {
      for (int r = 0; r < half; ++r) SendMessageW(b.list, LVM_SETITEMSTATE, r, reinterpret_cast<LPARAM>(&on));
    });
    const int sentNotifies = g_notifies;
    ListView_SetItemState(b.list, -1, 0, LVIS_SELECTED);
    const WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(b.list, GWLP_WNDPROC));
    g_notifies = 0;
    const double direct = Time([&] {
      for (int r = 0; r < half; ++r) CallWindowProcW(proc, b.list, LVM_SETITEMSTATE, r, reinterpret_cast<LPARAM>(&on));
    });
    const int directNotifies = g_notifies;
    const double clearAll = Time([&] { ListView_SetItemState(b.list, -1, 0, LVIS_SELECTED); });
    const double selectAll = Time([&] { ListView_SetItemState(b.list, -1, LVIS_SELECTED, LVIS_SELECTED); });
    g_notifies = 0;
    const double notifyOnly = Time([&] {
      NMLISTVIEW nm{};
      nm.hdr.hwndFrom = b.list;
      nm.hdr.idFrom = 1033;
      nm.hdr.code = LVN_ITEMCHANGED;
      nm.uChanged = LVIF_STATE;
      for (int r = 0; r < half; ++r) {
        nm.iItem = r;
        SendMessageW(b.parent, WM_NOTIFY, 1033, reinterpret_cast<LPARAM>(&nm));
      }
    });
    const double isWindow = Time([&] {
      for (int r = 0; r < half; ++r) IsWindow(b.list);
    });
    printf("%7d rows, %d single-row selects, bare control, parent answers nothing:\n", rows, half);
    printf("  sent as messages       %8.1f ms (%.2f us/row, %d notifications)\n", sent, sent * 1000 / half, sentNotifies);
    printf("  called into the proc   %8.1f ms (%.2f us/row, %d notifications)\n", direct, direct * 1000 / half,
           directNotifies);
    printf("  a WM_NOTIFY alone      %8.1f ms (%.2f us/row)\n", notifyOnly, notifyOnly * 1000 / half);
    printf("  IsWindow alone         %8.1f ms (%.2f us/row)\n", isWindow, isWindow * 1000 / half);
    printf("  all rows: clear %.1f ms, select %.1f ms\n", clearAll, selectAll);
  }
  {
    Bare b(rows);
    SetWindowSubclass(b.list, PassOn, 1, 0);
    SendMessageW(b.list, WM_SETREDRAW, FALSE, 0);
    g_notifies = 0;
    const double sent = Time([&] {
      for (int r = 0; r < half; ++r) SendMessageW(b.list, LVM_SETITEMSTATE, r, reinterpret_cast<LPARAM>(&on));
    });
    const double props = Time([&] {
      for (int r = 0; r < half; ++r) GetPropW(b.list, L"CC32SubclassInfo");
    });
    printf("  with a pass-on subclass %7.1f ms (%.2f us/row); GetPropW alone %.1f ms (%.2f us/call)\n", sent,
           sent * 1000 / half, props, props * 1000 / half);
    RemoveWindowSubclass(b.list, PassOn, 1);
  }
  {
    Bare b(rows);
    ListView_SetCallbackMask(b.list, LVIS_SELECTED);
    SendMessageW(b.list, WM_SETREDRAW, FALSE, 0);
    g_notifies = 0;
    const double sent = Time([&] {
      for (int r = 0; r < half; ++r) SendMessageW(b.list, LVM_SETITEMSTATE, r, reinterpret_cast<LPARAM>(&on));
    });
    const int n = g_notifies;
    g_selectedByParent = true;
    g_notifies = 0;
    const double count = Time([&] { ListView_GetSelectedCount(b.list); });
    const int countNotifies = g_notifies;
    g_selectedByParent = false;
    printf("  selection kept by the parent (callback mask): %d selects %.1f ms (%d notifications); "
           "selected count %.1f ms (%d notifications)\n",
           half, sent, n, count, countNotifies);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
  WNDCLASSW wc{};
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"BareParent";
  RegisterClassW(&wc);
  const int rows = argc > 1 ? _wtoi(argv[1]) : 100000;
  Run(1000);
  Run(rows);
  return 0;
}
