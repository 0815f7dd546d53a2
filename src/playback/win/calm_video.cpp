#include "playback/win/calm_video.h"

#include <commctrl.h>

#include "framework/win/gdi.h"
#include "framework/win/wintext.h"
#include "playback/win/playback_part.h"
#include "playback/win/player_panel.h"

namespace sorvane::win {
namespace {

constexpr wchar_t kSurfaceClass[] = L"SorvaneCalmVideo";
constexpr UINT_PTR kFollowId = 0x5343;
// While a medium plays without a known picture size the size is asked again:
// the player learns it a moment after it starts.
constexpr UINT_PTR kRecheckTimer = 0x5356;
constexpr UINT kRecheckMs = 500;
constexpr int kRechecks = 10;
constexpr COLORREF kSurfaceColour = RGB(18, 18, 20);
constexpr COLORREF kTitleColour = RGB(200, 200, 200);

bool RegisterSurfaceClass(WNDPROC proc) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kSurfaceClass, &wc)) return true;
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kSurfaceClass;
  return RegisterClassExW(&wc) != 0;
}

}  // namespace

Text MediaTitleFromPath(TextView path) {
  size_t end = path.size();
  while (end > 0 && (path[end - 1] == u'/' || path[end - 1] == u'\\')) --end;
  TextView rest = path.substr(0, end);
  const size_t slash = rest.find_last_of(u"/\\");
  TextView name = slash == TextView::npos ? rest : rest.substr(slash + 1);
  const size_t dot = name.find_last_of(u'.');
  if (dot != TextView::npos && dot > 0) name = name.substr(0, dot);
  return Text(name);
}

CalmVideoSurface::~CalmVideoSurface() {
  if (video_ && IsWindow(video_)) RemoveWindowSubclass(video_, FollowVideo, kFollowId);
  if (surface_ && IsWindow(surface_)) DestroyWindow(surface_);
}

bool CalmVideoSurface::Attach(HWND video) {
  if (!video || surface_ || !RegisterSurfaceClass(SurfaceProc)) return false;
  video_ = video;
  // The control must not paint over its sibling lying on top of it.
  SetWindowLongPtrW(video, GWL_STYLE, GetWindowLongPtrW(video, GWL_STYLE) | WS_CLIPSIBLINGS);
  surface_ = CreateWindowExW(0, kSurfaceClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, GetParent(video),
                             nullptr, GetModuleHandleW(nullptr), this);
  if (!surface_) return false;
  SetWindowSubclass(video, FollowVideo, kFollowId, reinterpret_cast<DWORD_PTR>(this));
  Follow();
  return true;
}

void CalmVideoSurface::Show(bool calm, TextView title) {
  if (!surface_) return;
  if (title_ != title) {
    title_ = Text(title);
    InvalidateRect(surface_, nullptr, TRUE);
  }
  if (calm) {
    Follow();
    // The window's own flag: before the main window is shown its children count as invisible.
    ShowWindow(surface_, (GetWindowLongPtrW(video_, GWL_STYLE) & WS_VISIBLE) ? SW_SHOWNA : SW_HIDE);
  } else {
    ShowWindow(surface_, SW_HIDE);
  }
}

// Same place as the video, above it; hidden with it.
void CalmVideoSurface::Follow() {
  if (!surface_ || !video_) return;
  if (GetParent(surface_) != GetParent(video_)) SetParent(surface_, GetParent(video_));
  RECT r{};
  GetWindowRect(video_, &r);
  MapWindowPoints(nullptr, GetParent(video_), reinterpret_cast<POINT*>(&r), 2);
  SetWindowPos(surface_, HWND_TOP, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOACTIVATE);
}

LRESULT CALLBACK CalmVideoSurface::FollowVideo(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                               DWORD_PTR data) {
  auto* self = reinterpret_cast<CalmVideoSurface*>(data);
  if (message == WM_WINDOWPOSCHANGED) {
    const LRESULT r = DefSubclassProc(window, message, wParam, lParam);
    const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
    if (pos->flags & SWP_HIDEWINDOW) ShowWindow(self->surface_, SW_HIDE);
    else if (GetWindowLongPtrW(self->surface_, GWL_STYLE) & WS_VISIBLE) self->Follow();
    return r;
  }
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, FollowVideo, kFollowId);
    self->video_ = nullptr;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

void CalmVideoSurface::Paint() {
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(surface_, &ps);
  RECT client{};
  GetClientRect(surface_, &client);
  HBRUSH brush = CreateSolidBrush(kSurfaceColour);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  if (!title_.empty()) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(GetParent(surface_), WM_GETFONT, 0, 0));
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTitleColour);
    RECT text = client;
    InflateRect(&text, -8, -8);
    DrawTextW(dc, W(title_), static_cast<int>(title_.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (old) SelectObject(dc, old);
  }
  EndPaint(surface_, &ps);
}

LRESULT CALLBACK CalmVideoSurface::SurfaceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<CalmVideoSurface*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // the video window below takes the mouse (drag, compact mode)
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (self) {
        self->surface_ = window;
        self->Paint();
        return 0;
      }
      break;
    case WM_SIZE:
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_NCDESTROY:
      if (self && self->surface_ == window) self->surface_ = nullptr;
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

void CalmVideoPart::OnStarted(PartHost& window) {
  surface_.Attach(panel_.VideoWindow());
  Update(window.Window());
}

bool CalmVideoPart::OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (message == kPlayStateChangedMessage) {
    checksLeft_ = kRechecks;
    Update(window.Window());
    return false;  // others watch it too
  }
  if (message == WM_TIMER && wParam == kRecheckTimer) {
    Update(window.Window());
    result = 0;
    return true;
  }
  return false;
}

void CalmVideoPart::Update(HWND window) {
  PlayerControl& control = panel_.Control();
  const int32_t state = control.LastPlayState();
  const bool loaded = state == kPlayStatePlaying || state == kPlayStatePaused;
  MediaPlayer* player = control.Player();
  const bool picture = loaded && player && player->VideoWidth() > 0;
  surface_.Show(!picture, loaded ? MediaTitleFromPath(control.CurrentUrl()) : Text());
  if (!picture && state == kPlayStatePlaying && checksLeft_ > 0) {
    --checksLeft_;
    SetTimer(window, kRecheckTimer, kRecheckMs, nullptr);
  } else {
    KillTimer(window, kRecheckTimer);
  }
}

}  // namespace sorvane::win
