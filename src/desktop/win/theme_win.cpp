#include "desktop/win/theme_win.h"

#include "framework/win/system_library.h"

#include <commctrl.h>
#include <shellapi.h>

#include <array>
#include <optional>

#include "desktop/theme_classes.h"
#include "desktop/theme_menu.h"
#include "desktop/tray_events.h"
#include "framework/win/wintext.h"
#include "language/language_store.h"
#include "resource_ids.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"

namespace sorvane::win {
namespace {

// Everything here belongs to the user-interface thread and is set before the
// first window exists.
int g_theme = 0;
ThemePalette g_palette{};
HHOOK g_hook = nullptr;
HBRUSH g_dialogBrush = nullptr;   // one brush for every dialog
WNDPROC g_comboPrevious = nullptr;  // all combo boxes share one class, hence one slot
bool g_darkModeSet = false;         // the process asked the system for dark menus

constexpr UINT_PTR kDialogColoursId = 0x5441;
constexpr UINT_PTR kAfterCreateId = 0x5442;
constexpr UINT_PTR kToolbarParentId = 0x5443;
constexpr UINT_PTR kListViewId = 0x5444;
constexpr wchar_t kComboHotProp[] = L"SorvaneComboHot";

COLORREF Ref(Rgb c) { return RGB(c.r, c.g, c.b); }

template <typename F>
F SystemExport(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadSystemLibrary(library);
  return module ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

void SetTheme(HWND window, const wchar_t* app, const wchar_t* list) {
  using Fn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
  static const Fn fn = SystemExport<Fn>(L"uxtheme.dll", "SetWindowTheme");
  if (fn) fn(window, app, list);
}

// --- Dialogs: the palette for themselves and their children -----------------

LRESULT CALLBACK DialogColours(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (DialogAnswersColourMessage(message) && g_dialogBrush) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    SetTextColor(dc, Ref(g_palette.text));
    SetBkColor(dc, Ref(g_palette.background));
    return reinterpret_cast<LRESULT>(g_dialogBrush);
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, DialogColours, kDialogColoursId);
  return DefSubclassProc(window, message, wParam, lParam);
}

// --- Toolbars: their parent draws the button texts --------------------------

bool IsToolbar(HWND window) {
  wchar_t name[32] = {};
  GetClassNameW(window, name, 32);
  return lstrcmpiW(name, TOOLBARCLASSNAMEW) == 0;
}

LRESULT CALLBACK ToolbarParent(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->code == NM_CUSTOMDRAW && IsToolbar(header->hwndFrom)) {
      auto* draw = reinterpret_cast<NMTBCUSTOMDRAW*>(lParam);
      if (draw->nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
      if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT) {
        draw->clrText = Ref(g_palette.text);
        draw->clrTextHighlight = Ref(g_palette.text);
        draw->clrHighlightHotTrack = Ref(kToolbarHotTextBackground);
        return TBCDRF_HILITEHOTTRACK;
      }
    }
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, ToolbarParent, kToolbarParentId);
  return DefSubclassProc(window, message, wParam, lParam);
}

// --- Combo boxes: painted over in the fixed dark palette --------------------

ComboState StateOf(HWND box) {
  ComboState state;
  state.disabled = !IsWindowEnabled(box);
  state.hot = GetPropW(box, kComboHotProp) != nullptr;
  const HWND focus = GetFocus();
  state.focused = focus && (focus == box || IsChild(box, focus));
  return state;
}

void PaintCombo(HWND box) {
  COMBOBOXINFO info{};
  info.cbSize = sizeof(info);
  if (!GetComboBoxInfo(box, &info)) return;
  const ComboState state = StateOf(box);
  const LONG_PTR style = GetWindowLongPtrW(box, GWL_STYLE);
  HDC dc = GetDC(box);
  if (!dc) return;
  RECT client{};
  GetClientRect(box, &client);
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  SetBkColor(dc, Ref(combo_colours::kField));

  if (ComboPaintsItemArea(static_cast<uint32_t>(style))) {
    RECT item = info.rcItem;
    if (IsRectEmpty(&item)) {
      item = client;
      InflateRect(&item, -1, -1);
      item.right = info.rcButton.left;
    }
    HBRUSH field = CreateSolidBrush(Ref(combo_colours::kField));
    FillRect(dc, &item, field);
    DeleteObject(field);
    const LRESULT selected = SendMessageW(box, CB_GETCURSEL, 0, 0);
    if (selected != CB_ERR) {
      const LRESULT length = SendMessageW(box, CB_GETLBTEXTLEN, selected, 0);
      if (length > 0) {
        std::wstring text(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(box, CB_GETLBTEXT, selected, reinterpret_cast<LPARAM>(text.data()));
        text.resize(wcslen(text.c_str()));
        SetTextColor(dc, Ref(ComboTextColour(state)));
        RECT textRect = item;
        InflateRect(&textRect, -combo_colours::kTextInset, 0);
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
                  DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
      }
    }
    if (state.focused && !SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0)) DrawFocusRect(dc, &item);
  }

  RECT button = info.rcButton;
  HBRUSH arrowField = CreateSolidBrush(Ref(ComboArrowFieldColour(state)));
  FillRect(dc, &button, arrowField);
  DeleteObject(arrowField);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Ref(ComboArrowColour(state)));
  const wchar_t arrow[2] = {static_cast<wchar_t>(combo_colours::kArrowGlyph), 0};
  DrawTextW(dc, arrow, 1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

  HPEN pen = CreatePen(PS_SOLID, 1, Ref(ComboBorderPen(state)));
  HGDIOBJ oldPen = SelectObject(dc, pen);
  MoveToEx(dc, button.left, button.top, nullptr);
  LineTo(dc, button.left, button.bottom);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
  RoundRect(dc, client.left, client.top, client.right, client.bottom, combo_colours::kCornerRadius,
            combo_colours::kCornerRadius);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
  if (oldFont) SelectObject(dc, oldFont);
  ReleaseDC(box, dc);
}

void PaintComboFrame(HWND box) {
  HDC dc = GetWindowDC(box);
  if (!dc) return;
  RECT r{};
  GetWindowRect(box, &r);
  OffsetRect(&r, -r.left, -r.top);
  HBRUSH frame = CreateSolidBrush(Ref(combo_colours::kOuterFrame));
  FrameRect(dc, &r, frame);
  DeleteObject(frame);
  ReleaseDC(box, dc);
}

LRESULT CALLBACK ComboPainter(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  const WNDPROC previous = g_comboPrevious;
  if (message == WM_NCDESTROY) {
    RemovePropW(box, kComboHotProp);
    SetWindowLongPtrW(box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    return CallWindowProcW(previous, box, message, wParam, lParam);
  }
  const LRESULT result = CallWindowProcW(previous, box, message, wParam, lParam);
  switch (message) {
    case WM_MOUSEMOVE:
      if (!GetPropW(box, kComboHotProp)) {
        SetPropW(box, kComboHotProp, reinterpret_cast<HANDLE>(1));
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, box, 0};
        TrackMouseEvent(&track);
        InvalidateRect(box, nullptr, FALSE);
      }
      break;
    case WM_MOUSELEAVE:
      RemovePropW(box, kComboHotProp);
      InvalidateRect(box, nullptr, FALSE);
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      InvalidateRect(box, nullptr, FALSE);
      break;
    case WM_PAINT:
      PaintCombo(box);
      break;
    case WM_NCPAINT:
      PaintComboFrame(box);
      break;
    default:
      break;
  }
  return result;
}

// --- Group boxes: frame and caption in the palette text colour ---------------

constexpr UINT_PTR kGroupBoxId = 0x5445;

LRESULT CALLBACK GroupBoxPainter(HWND box, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  if (message == WM_PAINT) {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(box, &ps);
    RECT client{};
    GetClientRect(box, &client);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    const Text caption = WindowText(box);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT frame = client;
    frame.top += metrics.tmHeight / 2;
    HPEN pen = CreatePen(PS_SOLID, 1, Ref(g_palette.text));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    if (!caption.empty()) {
      RECT text{client.left + 8, client.top, client.right - 8, client.top + metrics.tmHeight};
      SetTextColor(dc, Ref(g_palette.text));
      SetBkColor(dc, Ref(g_palette.background));
      SetBkMode(dc, OPAQUE);
      DrawTextW(dc, W(caption), static_cast<int>(caption.size()), &text, DT_SINGLELINE | DT_LEFT | DT_TOP);
    }
    if (oldFont) SelectObject(dc, oldFont);
    EndPaint(box, &ps);
    return 0;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(box, GroupBoxPainter, kGroupBoxId);
  return DefSubclassProc(box, message, wParam, lParam);
}

// --- Treatments that need the window created first --------------------------

enum AfterCreate : DWORD_PTR { kTrackbar = 1, kButton = 2, kTabControl = 3 };

void ApplyAfterCreate(HWND window, DWORD_PTR what) {
  switch (what) {
    case kTrackbar:
      SetTheme(window, ToWide(kTrackbarThemeName).c_str(), nullptr);
      break;
    case kButton:
      switch (ButtonTreatmentForStyle(static_cast<uint32_t>(GetWindowLongPtrW(window, GWL_STYLE)))) {
        case ButtonTreatment::kGroupBoxPainted:
          SetTheme(window, L"", L"");
          SetWindowSubclass(window, GroupBoxPainter, kGroupBoxId, 0);
          break;
        case ButtonTreatment::kVisualStylesOff:
          SetTheme(window, L"", L"");
          break;
        case ButtonTreatment::kExplorerTheme:
          SetTheme(window, ToWide(kButtonThemeName).c_str(), nullptr);
          break;
      }
      break;
    case kTabControl:
      SetTheme(window, L"", L"");
      break;
    default:
      break;
  }
}

LRESULT CALLBACK AfterCreateProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR what) {
  if (message == WM_CREATE) {
    const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
    RemoveWindowSubclass(window, AfterCreateProc, kAfterCreateId);
    if (result != -1) ApplyAfterCreate(window, what);
    return result;
  }
  if (message == WM_NCDESTROY) RemoveWindowSubclass(window, AfterCreateProc, kAfterCreateId);
  return DefSubclassProc(window, message, wParam, lParam);
}

void Treat(HWND window, const CREATESTRUCTW* create) {
  wchar_t name[kHookClassNameChars + 1] = {};
  const int length = GetClassNameW(window, name, static_cast<int>(std::size(name)));
  if (length <= 0) return;
  switch (TreatmentForClass(T(name, static_cast<size_t>(length)))) {
    case ClassTreatment::kDialogColours:
      SetWindowSubclass(window, DialogColours, kDialogColoursId, 0);
      break;
    case ClassTreatment::kTrackbarDarkTheme:
      SetWindowSubclass(window, AfterCreateProc, kAfterCreateId, kTrackbar);
      break;
    case ClassTreatment::kButtonByType:
      SetWindowSubclass(window, AfterCreateProc, kAfterCreateId, kButton);
      break;
    case ClassTreatment::kTabControl:
      SetWindowSubclass(window, AfterCreateProc, kAfterCreateId, kTabControl);
      break;
    case ClassTreatment::kComboBoxPainter: {
      const auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
      if (current == ComboPainter) break;
      if (!g_comboPrevious) g_comboPrevious = current;
      if (current == g_comboPrevious)
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ComboPainter));
      break;
    }
    case ClassTreatment::kToolbarCustomDraw:
      if (create && create->hwndParent)
        SetWindowSubclass(create->hwndParent, ToolbarParent, kToolbarParentId, 0);
      break;
    case ClassTreatment::kScrollBarPainter:  // keeps the system's painting
    case ClassTreatment::kNone:
      break;
  }
}

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    const auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
    Treat(reinterpret_cast<HWND>(wParam), create ? create->lpcs : nullptr);
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

// --- The media list view -----------------------------------------------------

void PaintHeaderItem(NMCUSTOMDRAW& draw) {
  HDC dc = draw.hdc;
  RECT r = draw.rc;
  const HeaderColours& c = kHeaderColours;
  HBRUSH back = CreateSolidBrush(Ref(c.background));
  FillRect(dc, &r, back);
  DeleteObject(back);
  HBRUSH divider = CreateSolidBrush(Ref(c.divider));
  RECT line{r.right - 1, r.top + 3, r.right, r.bottom - 3};
  FillRect(dc, &line, divider);
  DeleteObject(divider);
  wchar_t text[260] = {};
  HDITEMW item{};
  item.mask = HDI_TEXT | HDI_FORMAT;
  item.pszText = text;
  item.cchTextMax = static_cast<int>(std::size(text));
  if (!SendMessageW(draw.hdr.hwndFrom, HDM_GETITEMW, draw.dwItemSpec, reinterpret_cast<LPARAM>(&item))) return;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Ref((draw.uItemState & CDIS_HOT) ? c.hotText : c.text));
  RECT textRect = r;
  InflateRect(&textRect, -6, 0);
  UINT align = DT_LEFT;
  if ((item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT) align = DT_RIGHT;
  if ((item.fmt & HDF_JUSTIFYMASK) == HDF_CENTER) align = DT_CENTER;
  DrawTextW(dc, text, -1, &textRect, align | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
  if (item.fmt & (HDF_SORTUP | HDF_SORTDOWN)) {
    HBRUSH accent = CreateSolidBrush(Ref(c.accent));
    RECT mark{r.left, r.top, r.right, r.top + 2};
    FillRect(dc, &mark, accent);
    DeleteObject(accent);
  }
}

void PaintListFrame(HWND list) {
  HDC dc = GetWindowDC(list);
  if (!dc) return;
  RECT r{};
  GetWindowRect(list, &r);
  OffsetRect(&r, -r.left, -r.top);
  HBRUSH frame = CreateSolidBrush(Ref(list_view_colours::kOuterFrame));
  FrameRect(dc, &r, frame);
  DeleteObject(frame);
  ReleaseDC(list, dc);
}

LRESULT CALLBACK DarkListView(HWND list, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR) {
  switch (message) {
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (header->code == NM_CUSTOMDRAW && header->hwndFrom == ListView_GetHeader(list)) {
        auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(lParam);
        if (draw->dwDrawStage == CDDS_PREPAINT) {
          RECT all{};
          GetClientRect(header->hwndFrom, &all);
          HBRUSH back = CreateSolidBrush(Ref(kHeaderColours.background));
          FillRect(draw->hdc, &all, back);
          DeleteObject(back);
          HBRUSH frame = CreateSolidBrush(Ref(kHeaderColours.divider));
          FrameRect(draw->hdc, &all, frame);
          DeleteObject(frame);
          return CDRF_NOTIFYITEMDRAW;
        }
        if (draw->dwDrawStage == CDDS_ITEMPREPAINT) {
          PaintHeaderItem(*draw);
          return CDRF_SKIPDEFAULT;
        }
      }
      break;
    }
    case WM_NCPAINT: {
      const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
      PaintListFrame(list);
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, DarkListView, kListViewId);
      break;
    default:
      break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

void InstallTheme(int theme) {
  g_theme = theme;
  const std::optional<ThemePalette> palette = PaletteForTheme(theme);
  if (!palette || g_hook) return;
  g_palette = *palette;
  if (!g_dialogBrush) g_dialogBrush = CreateSolidBrush(Ref(g_palette.background));
  g_hook = SetWindowsHookExW(WH_CBT, CreationHook, nullptr, GetCurrentThreadId());
}

int CurrentTheme() { return g_theme; }
bool ThemeHookInstalled() { return g_hook != nullptr; }

void UninstallThemeForTests() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  if (g_dialogBrush) DeleteObject(g_dialogBrush);
  g_dialogBrush = nullptr;
  g_theme = 0;
}

void ApplyDarkTitleBar(HWND window) {
  if (!ThemeWantsDarkTitleBar(g_theme) || !window) return;
  using Fn = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);
  static const Fn fn = SystemExport<Fn>(L"dwmapi.dll", "DwmSetWindowAttribute");
  if (!fn) return;
  const DWORD value = kDarkTitleBarValue;
  fn(window, kDarkTitleBarAttribute, &value, sizeof(value));
}

void ApplyThemeMenuBackground(HMENU menu) {
  const std::optional<Rgb> colour = MenuBackgroundForTheme(g_theme);
  if (!colour || !menu) return;
  // A black background under the system's black menu texts would leave the
  // menu unreadable: it is set only where the system draws dark menus itself.
  if (colour->r < 128 && !g_darkModeSet) return;
  static HBRUSH brushes[2] = {};
  HBRUSH& brush = brushes[colour->r < 128 ? 0 : 1];
  if (!brush) brush = CreateSolidBrush(Ref(*colour));
  MENUINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
  info.hbrBack = brush;
  SetMenuInfo(menu, &info);
}

void ApplyDarkListView(HWND list) {
  if (!list) return;
  ListView_SetBkColor(list, Ref(list_view_colours::kBackground));
  ListView_SetTextBkColor(list, Ref(list_view_colours::kBackground));
  ListView_SetTextColor(list, Ref(list_view_colours::kText));

  using VersionFn = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
  const auto version = SystemExport<VersionFn>(L"ntdll.dll", "RtlGetNtVersionNumbers");
  DWORD major = 0, minor = 0, build = 0;
  if (version) version(&major, &minor, &build);
  if (SystemHasDarkListView(major)) {
    HMODULE uxtheme = LoadSystemLibrary(L"uxtheme.dll");
    using AllowFn = BOOL(WINAPI*)(HWND, BOOL);
    using PreferFn = int(WINAPI*)(int);
    const auto allow =
        uxtheme ? reinterpret_cast<AllowFn>(reinterpret_cast<void*>(GetProcAddress(uxtheme, MAKEINTRESOURCEA(133))))
                : nullptr;
    const auto prefer =
        uxtheme ? reinterpret_cast<PreferFn>(reinterpret_cast<void*>(GetProcAddress(uxtheme, MAKEINTRESOURCEA(135))))
                : nullptr;
    // Both exports or none: they are undocumented and absent on older systems.
    if (allow && prefer) {
      allow(list, TRUE);
      SetTheme(list, L"ItemsView", nullptr);
      SetTheme(list, L"Explorer", nullptr);
      prefer(PreferredDarkMode(BuildNumberWithoutFlags(build)));
      g_darkModeSet = true;
    }
  }
  SetWindowSubclass(list, DarkListView, kListViewId, 0);
  SetWindowPos(list, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

bool RestartProgram() {
  wchar_t path[MAX_PATH * 4] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
  if (length == 0 || length >= std::size(path)) return false;
  const std::wstring parameter = ToWide(kRestartParameter);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_NOASYNC;
  info.lpVerb = L"open";
  info.lpFile = path;
  info.lpParameters = parameter.c_str();
  info.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&info) != FALSE;
}

ThemePart::ThemePart() {
  hooks_.track = [](HWND window, HMENU menu, POINT at) {
    return static_cast<int>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr));
  };
  hooks_.restart = RestartProgram;
}

void ThemePart::OnInitDialog(PartHost& window) {
  ApplyDarkTitleBar(window.Window());
  ApplyDarkListView(window.Item(IDC_LIST_VIEW));
}

bool ThemePart::OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message != WM_COMMAND || LOWORD(wParam) != kCmdThemeMenu) return false;
  POINT at{};
  GetCursorPos(&at);
  RunThemeMenu(window.Window(), at);
  result = 0;
  return true;
}

bool ThemePart::RunThemeMenu(HWND window, POINT at) {
  HMENU menu = CreatePopupMenu();
  if (!menu) return false;
  const int checked = ThemeMenuCheckedId(g_theme);
  for (const ThemeMenuItem& item : ThemeMenuItems()) {
    if (item.stringId == 0) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    TextView looked = Languages().Str(item.stringId);
    Text text(looked.empty() ? item.english : looked);
    if (item.heading) text += u":";
    UINT flags = MF_STRING;
    if (item.heading) flags |= MF_GRAYED;
    if (item.id != 0 && item.id == checked) flags |= MF_CHECKED;
    AppendMenuW(menu, flags, static_cast<UINT_PTR>(item.id), W(text));
  }
  ApplyThemeMenuBackground(menu);
  const int chosen = hooks_.track ? hooks_.track(window, menu, at) : 0;
  DestroyMenu(menu);
  const ThemeMenuDecision decision = DecideThemeMenuChoice(chosen, g_theme);
  if (decision.writeSetting) Settings().WriteInt(kProductSection, keys::kTheme, decision.newTheme);
  if (!decision.restart || !hooks_.restart || !hooks_.restart()) return false;
  // The new copy runs: this one saves and ends as Exit would.
  PostMessageW(window, WM_COMMAND, MAKEWPARAM(kCmdExit, 0), 0);
  return true;
}

}  // namespace sorvane::win
