// A host window holding the list view and list selector as the main window
// does, forwarding their notifications to a MediaListController.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include "framework/win/wintext.h"
#include "medialist/win/media_list_controller.h"

namespace sorvane::win::testing {

inline constexpr int kListId = 1033;
inline constexpr int kSelectorId = 1000;

inline LRESULT CALLBACK ListHostProc(HWND w, UINT m, WPARAM wp, LPARAM lp);

class ListHost {
 public:
  explicit ListHost(ListStorage& s) : storage(s), controller(s) {
    static bool registered = false;
    if (!registered) {
      WNDCLASSW wc{};
      wc.lpfnWndProc = ListHostProc;
      wc.hInstance = GetModuleHandleW(nullptr);
      wc.lpszClassName = L"SorvaneListHost";
      wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
      RegisterClassW(&wc);
      registered = true;
    }
    window = CreateWindowExW(0, L"SorvaneListHost", L"lists", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 720, 420,
                             nullptr, nullptr, GetModuleHandleW(nullptr), this);
    list = CreateWindowExW(0, WC_LISTVIEWW, L"",
                           WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_OWNERDATA | WS_BORDER |
                               WS_TABSTOP,
                           5, 5, 690, 300, window, reinterpret_cast<HMENU>(kListId), nullptr, nullptr);
    selector = CreateWindowExW(0, L"COMBOBOX", L"",
                               WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 5,
                               315, 400, 200, window, reinterpret_cast<HMENU>(kSelectorId), nullptr, nullptr);
    SendMessageW(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    MediaListCallbacks cb;
    cb.playUrl = [this](const Text& path) { played.push_back(path); };
    cb.listLoaded = [this](int index) { loaded.push_back(index); };
    cb.filesDropped = [this](std::vector<Text> paths) {
      if (filesDropped) filesDropped(std::move(paths));
    };
    cb.ask = [this](TextView text, TextView, QuestionIcon) {
      asked.push_back(Text(text));
      if (!answers.empty()) {
        const Answer next = answers.front();
        answers.erase(answers.begin());
        return next;
      }
      return answer;
    };
    controller.Attach(window, list, selector, cb);
  }
  ~ListHost() {
    controller.View().Detach();
    DestroyWindow(window);
  }

  void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  Text ItemText(int row, int column) {
    wchar_t buffer[1024] = {};
    ListView_GetItemText(list, row, column, buffer, 1024);
    return T(buffer);
  }
  RECT RowRect(int row) {
    RECT r{};
    ListView_GetItemRect(list, row, &r, LVIR_BOUNDS);
    return r;
  }
  std::vector<Text> SelectorEntries() {
    std::vector<Text> out;
    const int n = static_cast<int>(SendMessageW(selector, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
      wchar_t buffer[512] = {};
      SendMessageW(selector, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer));
      out.push_back(T(buffer));
    }
    return out;
  }
  void ChooseEntry(int entry) {
    SendMessageW(selector, CB_SETCURSEL, entry, 0);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(kSelectorId, CBN_SELENDOK), reinterpret_cast<LPARAM>(selector));
  }

  ListStorage& storage;
  MediaListController controller;
  HWND window = nullptr, list = nullptr, selector = nullptr;
  std::vector<Text> played, asked;
  std::vector<int> loaded;
  std::function<void(std::vector<Text>)> filesDropped;
  Answer answer = Answer::kYes;
  std::vector<Answer> answers;  // answered first, in order; then answer
};

inline LRESULT CALLBACK ListHostProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m == WM_NCCREATE) SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(
                                                                reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  auto* host = reinterpret_cast<ListHost*>(GetWindowLongPtrW(w, GWLP_USERDATA));
  if (host && m == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->idFrom == kListId) {
    LRESULT result = 0;
    if (host->controller.OnNotify(reinterpret_cast<NMHDR*>(lp), result)) return result;
  }
  if (host && m == WM_COMMAND && LOWORD(wp) == kSelectorId && host->controller.OnSelectorCommand(wp, lp)) return 0;
  return DefWindowProcW(w, m, wp, lp);
}

}  // namespace sorvane::win::testing
