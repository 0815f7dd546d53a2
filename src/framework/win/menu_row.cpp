#include "framework/win/menu_row.h"

#include <windowsx.h>

#include <algorithm>
#include <cwctype>

#include "framework/win/boundary.h"
#include "framework/win/gdi.h"
#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {

constexpr wchar_t kClassName[] = L"SorvaneMenuRow";
constexpr int kPadding = 8;  // on each side of a button's text
constexpr int kGap = 2;

// The row whose popup is being tracked: the menu's message hook finds it here.
MenuRow* g_tracking = nullptr;
HHOOK g_hook = nullptr;

void RegisterRowClass(HINSTANCE instance, WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(instance, kClassName, &wc)) return;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);
}

}  // namespace

MenuRow* MenuRow::From(HWND window) {
  wchar_t name[32] = {};
  if (!window || !GetClassNameW(window, name, 32) || lstrcmpW(name, kClassName) != 0) return nullptr;
  return reinterpret_cast<MenuRow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

MenuRow::~MenuRow() {
  if (g_tracking == this) g_tracking = nullptr;
  if (window_) {
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
  }
}

HWND MenuRow::Create(HWND parent, int id, int left, int top, int width) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  RegisterRowClass(instance, &MenuRow::Proc);
  parent_ = parent;
  font_ = reinterpret_cast<HFONT>(SendMessageW(parent, WM_GETFONT, 0, 0));
  {
    WindowDc dc(parent);
    SelectScope select(dc.get(), font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    height_ = tm.tmHeight + 8;
  }
  window_ = CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, left, top, width, height_,
                            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  return window_;
}

void MenuRow::SetEntries(std::vector<MenuRowEntry> entries) {
  entries_ = std::move(entries);
  hot_ = keyboard_ && !entries_.empty() ? 0 : -1;
  Layout();
  if (window_) InvalidateRect(window_, nullptr, TRUE);
}

RECT MenuRow::ButtonRect(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= rects_.size()) return {};
  return rects_[static_cast<size_t>(index)];
}

int MenuRow::HitTest(POINT client) const {
  for (size_t i = 0; i < rects_.size(); ++i)
    if (PtInRect(&rects_[i], client)) return static_cast<int>(i);
  return -1;
}

int MenuRow::FindMnemonic(wchar_t c) const {
  const wchar_t wanted = static_cast<wchar_t>(std::towupper(c));
  for (size_t i = 0; i < entries_.size(); ++i) {
    const Text& t = entries_[i].text;
    for (size_t k = 0; k + 1 < t.size(); ++k) {
      if (t[k] != u'&') continue;
      if (t[k + 1] == u'&') {
        ++k;  // a doubled "&" shows itself
        continue;
      }
      if (static_cast<wchar_t>(std::towupper(static_cast<wchar_t>(t[k + 1]))) == wanted) return static_cast<int>(i);
      break;
    }
  }
  return -1;
}

// Popup buttons stand left to right; command buttons keep to the right end.
void MenuRow::Layout() {
  rects_.assign(entries_.size(), RECT{});
  if (!window_) return;
  RECT client{};
  GetClientRect(window_, &client);
  WindowDc dc(window_);
  SelectScope select(dc.get(), font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
  std::vector<int> widths(entries_.size());
  for (size_t i = 0; i < entries_.size(); ++i) {
    RECT r{0, 0, 0, 0};
    DrawTextW(dc.get(), W(entries_[i].text), -1, &r, DT_SINGLELINE | DT_CALCRECT);
    widths[i] = r.right - r.left + 2 * kPadding;
  }
  int x = kGap;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (!entries_[i].popup) continue;
    rects_[i] = {x, 0, x + widths[i], height_};
    x += widths[i] + kGap;
  }
  int right = client.right - kGap;
  for (size_t i = entries_.size(); i-- > 0;) {
    if (entries_[i].popup) continue;
    const int left = std::max(x, right - widths[i]);
    rects_[i] = {left, 0, left + widths[i], height_};
    right = left - kGap;
  }
}

void MenuRow::Paint(HDC dc) {
  RECT client{};
  GetClientRect(window_, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  SelectScope select(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  for (size_t i = 0; i < entries_.size(); ++i) {
    RECT r = rects_[i];
    const bool hot = static_cast<int>(i) == hot_ || static_cast<int>(i) == open_;
    if (hot) FillRect(dc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    DrawTextW(dc, W(entries_[i].text), -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  }
}

void MenuRow::SetHot(int index) {
  if (index == hot_) return;
  hot_ = index;
  if (window_) InvalidateRect(window_, nullptr, FALSE);
}

void MenuRow::EnterKeyboardMode() {
  if (!window_ || entries_.empty()) return;
  if (keyboard_) {
    LeaveKeyboardMode();
    return;
  }
  focusBefore_ = GetFocus();
  keyboard_ = true;
  SetHot(0);
  SetFocus(window_);
}

void MenuRow::LeaveKeyboardMode() {
  if (!keyboard_) return;
  keyboard_ = false;
  SetHot(-1);
  HWND back = focusBefore_;
  focusBefore_ = nullptr;
  if (GetFocus() == window_) SetFocus(back && IsWindow(back) ? back : parent_);
}

int MenuRow::NeighbourPopup(int from, int step) const {
  const int n = static_cast<int>(entries_.size());
  for (int k = 1; k <= n; ++k) {
    const int i = ((from + step * k) % n + n) % n;
    if (entries_[static_cast<size_t>(i)].popup) return i;
  }
  return from;
}

void MenuRow::Activate(int index) {
  int next = index;
  while (next >= 0 && static_cast<size_t>(next) < entries_.size() && window_) {
    const int i = next;
    next = -1;
    const MenuRowEntry entry = entries_[static_cast<size_t>(i)];
    if (!entry.popup) {
      LeaveKeyboardMode();
      PostMessageW(parent_, WM_COMMAND, MAKEWPARAM(entry.command, 0), 0);
      return;
    }
    if (beforePopup_) beforePopup_(i, entry.popup);
    open_ = i;
    hot_ = i;
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);

    RECT button = ButtonRect(i);
    MapWindowPoints(window_, nullptr, reinterpret_cast<POINT*>(&button), 2);
    TPMPARAMS params{};
    params.cbSize = sizeof(params);
    params.rcExclude = button;
    topPopup_ = entry.popup;
    selectedMenu_ = entry.popup;
    selectedIsPopup_ = false;
    switchTo_ = -1;
    closeByClick_ = false;
    MenuRow* const outer = g_tracking;
    g_tracking = this;
    g_hook = SetWindowsHookExW(WH_MSGFILTER, &MenuRow::MenuHook, nullptr, GetCurrentThreadId());
    const UINT command = static_cast<UINT>(TrackPopupMenuEx(entry.popup, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD |
                                                                             TPM_LEFTBUTTON | TPM_VERTICAL,
                                                            button.left, button.bottom, window_, &params));
    if (g_hook) UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
    g_tracking = outer;
    topPopup_ = nullptr;
    if (!window_) return;
    open_ = -1;
    if (command != 0) {
      LeaveKeyboardMode();
      SetHot(-1);
      PostMessageW(parent_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
      return;
    }
    next = switchTo_;
  }
  if (window_) {
    if (!keyboard_) {
      POINT p{};
      GetCursorPos(&p);
      ScreenToClient(window_, &p);
      hot_ = mouseInside_ ? HitTest(p) : -1;
    }
    InvalidateRect(window_, nullptr, FALSE);
  }
}

// Messages of the menu's own loop: the keys and mouse moves that take the user
// to the neighbouring popup, as in a menu bar.
bool MenuRow::OnMenuMessage(const MSG& m) {
  if (m.message == WM_KEYDOWN) {
    if (m.wParam == VK_LEFT && selectedMenu_ == topPopup_) {
      switchTo_ = NeighbourPopup(open_, -1);
      EndMenu();
      return true;
    }
    if (m.wParam == VK_RIGHT && !selectedIsPopup_) {
      switchTo_ = NeighbourPopup(open_, +1);
      EndMenu();
      return true;
    }
    return false;
  }
  if (m.message == WM_MOUSEMOVE || m.message == WM_LBUTTONDOWN) {
    POINT p = m.pt;
    ScreenToClient(window_, &p);
    const int i = HitTest(p);
    if (i < 0) return false;
    if (m.message == WM_LBUTTONDOWN && i == open_) {
      EndMenu();  // a click on the open button closes its popup
      return true;
    }
    if (i != open_ && entries_[static_cast<size_t>(i)].popup) {
      switchTo_ = i;
      EndMenu();
      return true;
    }
  }
  return false;
}

LRESULT CALLBACK MenuRow::MenuHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == MSGF_MENU && g_tracking && lParam) {
    const bool taken = Guarded<bool>("menu row hook", false,
                                     [&] { return g_tracking->OnMenuMessage(*reinterpret_cast<MSG*>(lParam)); });
    if (taken) return 1;
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

void MenuRow::OnKey(WPARAM key) {
  const int n = static_cast<int>(entries_.size());
  if (n == 0) return;
  switch (key) {
    case VK_LEFT:
      SetHot(hot_ <= 0 ? n - 1 : hot_ - 1);
      break;
    case VK_RIGHT:
      SetHot(hot_ + 1 >= n ? 0 : hot_ + 1);
      break;
    case VK_DOWN:
    case VK_RETURN:
    case VK_SPACE:
      if (hot_ >= 0) Activate(hot_);
      break;
    case VK_ESCAPE:
    case VK_F10:
      LeaveKeyboardMode();
      break;
    default:
      break;
  }
}

LRESULT MenuRow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PaintScope paint(window_);
      Paint(paint.dc());
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETDLGCODE:
      return keyboard_ ? DLGC_WANTALLKEYS : 0;
    case WM_KEYDOWN:
      if (keyboard_) OnKey(wParam);
      return 0;
    case WM_CHAR:
      if (keyboard_) {
        const int i = FindMnemonic(static_cast<wchar_t>(wParam));
        if (i >= 0) Activate(i);
      }
      return 0;
    case WM_KILLFOCUS:
      if (keyboard_ && open_ < 0) {
        keyboard_ = false;
        focusBefore_ = nullptr;
        SetHot(-1);
      }
      return 0;
    case WM_MOUSEMOVE: {
      if (!mouseInside_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, window_, 0};
        TrackMouseEvent(&track);
        mouseInside_ = true;
      }
      if (!keyboard_) SetHot(HitTest({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
      return 0;
    }
    case WM_MOUSELEAVE:
      mouseInside_ = false;
      if (!keyboard_ && open_ < 0) SetHot(-1);
      return 0;
    case WM_LBUTTONDOWN: {
      const int i = HitTest({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      if (i >= 0) Activate(i);
      return 0;
    }
    case WM_MENUSELECT:
      // Which menu holds the highlighted item, and whether that item opens a
      // submenu: Left and Right then belong to the menu, not to the row.
      if (HIWORD(wParam) == 0xFFFF && lParam == 0) return 0;
      selectedMenu_ = reinterpret_cast<HMENU>(lParam);
      selectedIsPopup_ = (HIWORD(wParam) & MF_POPUP) != 0;
      return 0;
    case WM_ENTERIDLE:
      if (wParam == MSGF_MENU && popupShown_ && open_ >= 0) {
        auto shown = popupShown_;
        shown(open_, topPopup_);
      }
      return 0;
    default:
      return DefWindowProcW(window_, message, wParam, lParam);
  }
}

LRESULT CALLBACK MenuRow::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MenuRow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
  }
  auto* self = reinterpret_cast<MenuRow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->window_ = nullptr;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return Guarded<LRESULT>("menu row", 0, [&] { return self->HandleMessage(message, wParam, lParam); });
}

}  // namespace sorvane::win
