#include "desktop/win/edge_dock.h"

#include <windowsx.h>

#include <array>
#include <string>

#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {

using dock::Edge;

constexpr UINT kMoveFlags = SWP_NOZORDER | SWP_NOACTIVATE;
constexpr UINT kCaptionTextFlags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;

dock::Size SizeOf(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

HFONT WindowFont(HWND window) { return reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)); }

// Writes a style only when it changes: every write makes the window recompute its frame.
bool WriteStyle(HWND window, int index, LONG_PTR value) {
  if (GetWindowLongPtrW(window, index) == value) return false;
  SetWindowLongPtrW(window, index, value);
  return true;
}

void FillColour(HDC dc, const dock::Rect& r, COLORREF colour) {
  const RECT rc{r.left, r.top, r.right, r.bottom};
  SetBkColor(dc, colour);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

// GetDpiForWindow exists from Windows 10 1607 on; older systems keep 96.
UINT DpiOf(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  return getDpi ? getDpi(window) : 0;
}

}  // namespace

EdgeDock::EdgeDock() {
  metrics_.tabThickness = dock::TabThicknessForSmallIcon(GetSystemMetrics(SM_CYSMICON));
  metrics_.frameWidth = dock::FrameWidthForLargeIcon(GetSystemMetrics(SM_CYICON));
  tabLength_ = dock::InitialTabLength(metrics_.tabThickness);
}

EdgeDock::~EdgeDock() {
  Detach();
  if (captionBitmap_) DeleteObject(captionBitmap_);
}

void EdgeDock::Detach() {
  if (Running()) Stop();
  window_ = nullptr;
}

dock::Rect EdgeDock::MonitorRect() const {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (window_ && GetMonitorInfoW(MonitorFromWindow(window_, MONITOR_DEFAULTTONEAREST), &info))
    return {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
  return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

dock::Metrics EdgeDock::MetricsForWindow() const {
  // With per-monitor DPI the tab and frame follow the monitor the window is on;
  // otherwise the system's icon sizes (which follow the system DPI) decide.
  if (const UINT dpi = DpiOf(window_); dpi != 0) return dock::MetricsForDpi(static_cast<int>(dpi));
  return dock::MetricsFromIconHeights(GetSystemMetrics(SM_CYSMICON), GetSystemMetrics(SM_CYICON));
}

void EdgeDock::Start() {
  if (!window_ || Running()) return;
  HWND w = window_;
  metrics_ = MetricsForWindow();

  GetWindowRect(w, &savedWindowRect_);
  GetClientRect(w, &savedClientRect_);
  children_.clear();
  for (HWND child = GetWindow(w, GW_CHILD); child && children_.size() < kMaxChildren;
       child = GetWindow(child, GW_HWNDNEXT)) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, w, reinterpret_cast<POINT*>(&r), 2);
    children_.push_back({child, r});
  }

  savedStyle_ = GetWindowLongPtrW(w, GWL_STYLE);
  savedExStyle_ = GetWindowLongPtrW(w, GWL_EXSTYLE);
  const LONG_PTR style = savedStyle_ & ~static_cast<LONG_PTR>(WS_CAPTION | WS_THICKFRAME);
  const LONG_PTR exStyle =
      (savedExStyle_ & ~static_cast<LONG_PTR>(WS_EX_APPWINDOW | WS_EX_DLGMODALFRAME)) | WS_EX_TOOLWINDOW;
  const bool visible = IsWindowVisible(w) != FALSE;
  // The taskbar takes note of WS_EX_APPWINDOW/WS_EX_TOOLWINDOW only when the window is shown.
  const bool taskbarChanges = visible && exStyle != savedExStyle_;
  if (taskbarChanges) ShowWindow(w, SW_HIDE);
  bool changed = WriteStyle(w, GWL_STYLE, style);
  changed = WriteStyle(w, GWL_EXSTYLE, exStyle) || changed;

  // The window, frame gone, takes the size of its former client area.
  const dock::Size client = SizeOf(savedClientRect_);
  SetWindowPos(w, nullptr, 0, 0, client.width, client.height,
               SWP_NOMOVE | kMoveFlags | (changed ? SWP_FRAMECHANGED : 0));

  MeasureCaption();
  BuildCaptionBitmap();
  Apply(state_.Start(client, MonitorRect(), metrics_.tabThickness, autoHide_));
  ApplyTopmost(topmost_);
  if (taskbarChanges) ShowWindow(w, SW_SHOWNA);
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void EdgeDock::Stop() {
  if (!Running()) return;
  HWND w = window_;
  Apply(state_.Stop());
  KillTimer(w, kTabTimerId);

  // Topmost as it was before: fly-out forced it on, the user's choice decides afterwards.
  ApplyTopmost((savedExStyle_ & WS_EX_TOPMOST) != 0);
  SetWindowRgn(w, nullptr, FALSE);
  if (hitShape_) {
    DeleteObject(hitShape_);
    hitShape_ = nullptr;
  }

  const bool visible = IsWindowVisible(w) != FALSE;
  const LONG_PTR exStyle = savedExStyle_ & ~static_cast<LONG_PTR>(WS_EX_TOPMOST);
  const LONG_PTR presentEx = GetWindowLongPtrW(w, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_TOPMOST);
  const bool taskbarChanges = visible && exStyle != presentEx;
  if (taskbarChanges) ShowWindow(w, SW_HIDE);
  WriteStyle(w, GWL_STYLE, savedStyle_);
  WriteStyle(w, GWL_EXSTYLE, exStyle | (GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST));

  // The frame first, so that the children's client coordinates mean what they meant.
  const RECT& r = savedWindowRect_;
  SetWindowPos(w, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, kMoveFlags | SWP_FRAMECHANGED);
  for (const Child& c : children_) {
    if (!IsWindow(c.window) || GetParent(c.window) != w) continue;
    SetWindowPos(c.window, nullptr, c.rect.left, c.rect.top, c.rect.right - c.rect.left,
                 c.rect.bottom - c.rect.top, kMoveFlags);
  }
  children_.clear();
  ShowWindow(w, taskbarChanges ? SW_SHOWNA : SW_SHOW);
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void EdgeDock::SlideOutFor(int ms) { Apply(state_.SlideOutFor(ms)); }
void EdgeDock::Collapse() { Apply(state_.Collapse()); }
void EdgeDock::Expand() { Apply(state_.Expand()); }

void EdgeDock::RebuildCaption() {
  if (!window_) return;
  const bool running = Running();
  if (running) MeasureCaption();
  BuildCaptionBitmap();
  if (running) {
    Reshape();  // the tab's length may have changed with the caption
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  }
}

void EdgeDock::Apply(const dock::DockActions& a) {
  if (!window_) return;
  if (a.reshape) Reshape();
  if (a.place) {
    const dock::Rect& r = *a.place;
    SetWindowPos(window_, nullptr, r.left, r.top, r.Width(), r.Height(), kMoveFlags);
  }
  if (a.timer == dock::TimerCommand::kStop) KillTimer(window_, kTabTimerId);
  if (a.timer == dock::TimerCommand::kStart)
    SetTimer(window_, kTabTimerId, static_cast<UINT>(a.timerPeriodMs), nullptr);
  if (a.captureMouse) SetCapture(window_);
  if (a.releaseMouse && GetCapture() == window_) ReleaseCapture();
}

void EdgeDock::MeasureCaption() {
  const dock::Size client = state_.Running() ? state_.ClientSize() : SizeOf(savedClientRect_);
  WindowDc dc(window_);
  SIZE extent{};
  {
    SelectScope font(dc.get(), WindowFont(window_));
    GetTextExtentPoint32W(dc.get(), W(caption_), static_cast<int>(caption_.size()), &extent);
  }
  tabLength_ = dock::TabLength(extent.cx, client, metrics_.bevel, /*closeBox=*/false);
}

void EdgeDock::BuildCaptionBitmap() {
  if (captionBitmap_) {
    DeleteObject(captionBitmap_);
    captionBitmap_ = nullptr;
  }
  captionSize_ = dock::CaptionBitmapSize(tabLength_, metrics_.tabThickness, metrics_.bevel, false);
  if (captionSize_.width <= 0 || captionSize_.height <= 0) return;
  WindowDc screen(window_);
  captionBitmap_ = CreateCompatibleBitmap(screen.get(), captionSize_.width, captionSize_.height);
  if (!captionBitmap_) return;
  HDC dc = CreateCompatibleDC(screen.get());
  {
    SelectScope bitmap(dc, captionBitmap_);
    SelectScope font(dc, WindowFont(window_));
    FillColour(dc, {0, 0, captionSize_.width, captionSize_.height}, colour_);
    const dock::Rgb text = dock::CaptionTextColour(dock::RgbFromColorRef(colour_));
    SetTextColor(dc, RGB(text.red, text.green, text.blue));
    SetBkMode(dc, TRANSPARENT);
    textColour_ = RGB(text.red, text.green, text.blue);
    // Room for the ellipsis that DT_MODIFYSTRING may write.
    std::wstring shown(W(caption_), caption_.size());
    shown.resize(caption_.size() + 4, L'\0');
    RECT r{0, 0, captionSize_.width, captionSize_.height};
    DrawTextW(dc, shown.data(), static_cast<int>(caption_.size()), &r, kCaptionTextFlags | DT_MODIFYSTRING);
    shownCaption_ = T(shown.c_str());
  }
  DeleteDC(dc);

  LOGFONTW font{};
  HFONT windowFont = WindowFont(window_);
  if (!windowFont || !GetObjectW(windowFont, sizeof(font), &font))
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  font.lfEscapement = font.lfOrientation = 900;
  turnedFont_.reset(CreateFontIndirectW(&font));
}

void EdgeDock::Reshape() {
  const Edge edge = state_.CurrentEdge();
  const dock::Size size = state_.WindowSize();
  const dock::ShapePolygon polygon =
      dock::DockShape(edge, size, metrics_.tabThickness, metrics_.bevel, tabLength_);
  std::array<POINT, std::tuple_size_v<dock::ShapePolygon>> points{};
  for (size_t i = 0; i < polygon.size(); ++i) points[i] = {polygon[i].x, polygon[i].y};

  // The docked size first, so the children's new places are inside the window.
  RECT now{};
  GetWindowRect(window_, &now);
  SetWindowPos(window_, nullptr, now.left, now.top, size.width, size.height, kMoveFlags);

  HRGN shape = CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING);
  if (hitShape_) DeleteObject(hitShape_);
  hitShape_ = CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING);
  // The window owns the region from here on.
  if (shape && !SetWindowRgn(window_, shape, TRUE)) DeleteObject(shape);

  tabOrigin_ = dock::TabOrigin(edge, size, metrics_.tabThickness);
  PlaceChildren();
}

void EdgeDock::PlaceChildren() {
  const int clientWidth = savedClientRect_.right - savedClientRect_.left;
  for (const Child& c : children_) {
    if (!IsWindow(c.window) || GetParent(c.window) != window_) continue;
    const dock::Rect r = dock::DockedChildRect(state_.CurrentEdge(), {c.rect.left, c.rect.top, c.rect.right,
                                                                      c.rect.bottom},
                                               clientWidth, metrics_.tabThickness, metrics_.frameWidth);
    SetWindowPos(c.window, nullptr, r.left, r.top, r.Width(), r.Height(), kMoveFlags);
  }
}

void EdgeDock::ApplyTopmost(bool on) {
  SetWindowPos(window_, on ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

bool EdgeDock::HitShapeContains(POINT p) const { return hitShape_ && PtInRegion(hitShape_, p.x, p.y); }

void EdgeDock::OnTick() {
  POINT cursor{};
  GetCursorPos(&cursor);
  RECT r{};
  GetWindowRect(window_, &r);
  const POINT inWindow{cursor.x - r.left, cursor.y - r.top};
  // The timer is stopped before the check so that a slow move cannot stack ticks.
  KillTimer(window_, kTabTimerId);
  Apply(state_.Tick(HitShapeContains(inWindow)));
}

void EdgeDock::Paint(HDC dc) {
  const Edge edge = state_.CurrentEdge();
  RECT client{};
  GetClientRect(window_, &client);
  const dock::Size size = SizeOf(client);
  const dock::Rect content = dock::ContentRect(edge, size, metrics_.tabThickness);

  // The contents' own background where the children leave it free.
  HBRUSH background = reinterpret_cast<HBRUSH>(
      SendMessageW(window_, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(window_)));
  const RECT inner{content.left, content.top, content.right, content.bottom};
  ::FillRect(dc, &inner, background ? background : GetSysColorBrush(COLOR_3DFACE));
  for (const dock::Rect& strip : dock::FrameStrips(content, metrics_.frameWidth)) FillColour(dc, strip, colour_);

  if (dock::CaptionIsRotated(edge)) {
    PaintTurnedCaption(dc);
    return;
  }
  if (!captionBitmap_) return;
  HDC source = CreateCompatibleDC(dc);
  {
    SelectScope bitmap(source, captionBitmap_);
    BitBlt(dc, tabOrigin_.x, tabOrigin_.y, captionSize_.width, captionSize_.height, source, 0, 0, SRCCOPY);
  }
  DeleteDC(source);
}

// The caption bitmap's picture turned by 90 degrees: its top-left corner at the
// tab origin, its width running up and its height to the right.
void EdgeDock::PaintTurnedCaption(HDC dc) {
  const dock::Rect area = dock::RotatedCaptionRect(tabOrigin_, captionSize_);
  FillColour(dc, area, colour_);
  if (!turnedFont_) return;
  SelectScope font(dc, turnedFont_.get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  // Where the bitmap is read from: a shift of the picture along both of its axes.
  const dock::Point from = dock::CaptionSourceOrigin(state_.CurrentEdge(), metrics_.frameWidth);
  // The text's top faces left; it is centred across the bitmap's height as DT_VCENTER centres it.
  const int x = tabOrigin_.x + (captionSize_.height - metrics.tmHeight) / 2 - from.y;
  const int y = tabOrigin_.y + from.x;
  const UINT oldAlign = SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColour = SetTextColor(dc, textColour_);
  const RECT clip{area.left, area.top, area.right, area.bottom};
  ExtTextOutW(dc, x, y, ETO_CLIPPED, &clip, W(shownCaption_), static_cast<UINT>(shownCaption_.size()), nullptr);
  SetTextColor(dc, oldColour);
  SetBkMode(dc, oldMode);
  SetTextAlign(dc, oldAlign);
}

bool EdgeDock::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (!window_ || !Running()) return false;
  switch (message) {
    case WM_TIMER:
      if (wParam != kTabTimerId) return false;
      OnTick();
      result = 0;
      return true;
    case WM_LBUTTONDOWN: {
      POINT cursor{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(window_, &cursor);
      RECT r{};
      GetWindowRect(window_, &r);
      Apply(state_.ButtonDown({cursor.x, cursor.y}, {r.left, r.top}, MonitorRect()));
      result = 0;
      return true;
    }
    case WM_MOUSEMOVE: {
      if (!state_.Dragging()) return false;
      POINT cursor{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ClientToScreen(window_, &cursor);
      Apply(state_.MouseMove({cursor.x, cursor.y}));
      result = 0;
      return true;
    }
    case WM_LBUTTONUP:
      if (!state_.Dragging()) return false;
      Apply(state_.ButtonUp());
      result = 0;
      return true;
    case WM_CAPTURECHANGED:
      // Another window took the mouse (a menu, a dialog): the drag ends there.
      if (state_.Dragging() && reinterpret_cast<HWND>(lParam) != window_) Apply(state_.ButtonUp());
      return false;
    case WM_ERASEBKGND:
      Paint(reinterpret_cast<HDC>(wParam));
      result = 1;
      return true;
    default:
      return false;
  }
}

}  // namespace sorvane::win
