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
  // Drags with the mouse itself from the middle of row `from` to the bottom of
  // row `to`. The input comes from another thread because the drag runs a
  // modal loop on this one; each input waits until this thread has come to
  // take messages twice since it was sent (the first round trip may overtake
  // the input, the second cannot), also inside the drag's modal loops, so no
  // move is coalesced away. taken: the mover ended; moverExit 0: every input
  // was sent and served.
  struct MouseDrag {
    bool taken = false;
    DWORD moverExit = 1;
  };
  MouseDrag DragWithTheMouse(int fromRow, int toRow) {
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    SetForegroundWindow(window);
    UpdateWindow(window);
    Pump();
    const RECT a = RowRect(fromRow), b = RowRect(toRow);
    POINT from{a.left + 60, (a.top + a.bottom) / 2}, to{b.left + 60, b.bottom - 2};
    ClientToScreen(list, &from);
    ClientToScreen(list, &to);
    struct Path {
      POINT from, to;
      HWND list;
    } path{from, to, list};
    MouseDrag result;
    HANDLE mover = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
          const Path& path = *static_cast<Path*>(p);
          const int cx = GetSystemMetrics(SM_CXSCREEN) - 1, cy = GetSystemMetrics(SM_CYSCREEN) - 1;
          auto served = [&] {
            DWORD_PTR answer = 0;
            for (int i = 0; i < 2; ++i)
              if (!SendMessageTimeoutW(path.list, WM_NULL, 0, 0, SMTO_BLOCK, 60000, &answer)) return false;
            return true;
          };
          auto send = [&](POINT at, DWORD flags) {
            INPUT in{};
            in.type = INPUT_MOUSE;
            in.mi.dx = at.x * 65535 / cx;
            in.mi.dy = at.y * 65535 / cy;
            in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | flags;
            return SendInput(1, &in, sizeof in) == 1 && served();
          };
          bool ok = served();
          ok = ok && send(path.from, 0);
          ok = ok && send(path.from, MOUSEEVENTF_LEFTDOWN);
          for (int i = 1; ok && i <= 12; ++i)
            ok = send({path.from.x, path.from.y + (path.to.y - path.from.y) * i / 12}, 0);
          ok = ok && send(path.to, 0);
          ok = ok && send(path.to, MOUSEEVENTF_LEFTUP);
          return ok ? 0 : 1;
        },
        &path, 0, nullptr);
    if (!mover) return result;
    // Serve this thread's messages until the mover has sent everything; the
    // cap only ends a drag that never finishes.
    const ULONGLONG cap = GetTickCount64() + 120000;
    DWORD waited = WAIT_TIMEOUT;
    while (GetTickCount64() < cap &&
           (waited = MsgWaitForMultipleObjects(1, &mover, FALSE, 50, QS_ALLINPUT)) != WAIT_OBJECT_0)
      Pump();
    result.taken = waited == WAIT_OBJECT_0 && GetExitCodeThread(mover, &result.moverExit);
    if (!result.taken) {
      // Release the button so that no drag outlives the test, and let the thread end.
      INPUT up{};
      up.type = INPUT_MOUSE;
      up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
      SendInput(1, &up, sizeof up);
      while (MsgWaitForMultipleObjects(1, &mover, FALSE, 50, QS_ALLINPUT) != WAIT_OBJECT_0) Pump();
    }
    CloseHandle(mover);
    Pump();
    return result;
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
