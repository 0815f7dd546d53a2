#include "desktop/win/taskbar_buttons.h"

#include <algorithm>
#include <cwchar>

#include "desktop/media_keys.h"
#include "language/language_store.h"
#include "playback/sequencer.h"
#include "playback/win/playback_part.h"

namespace sorvane::win {
namespace {

enum Glyph { kPrevious, kPlay, kPause, kNext };

// A white glyph on a clear ground, drawn at the small icon size.
HICON MakeGlyphIcon(Glyph glyph) {
  const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP colour = CreateCompatibleBitmap(screen, cx, cy);
  HBITMAP mask = CreateBitmap(cx, cy, 1, 1, nullptr);
  ReleaseDC(nullptr, screen);
  HICON icon = nullptr;
  if (dc && colour && mask) {
    const auto draw = [&](HBITMAP target, COLORREF ground, COLORREF ink) {
      HGDIOBJ old = SelectObject(dc, target);
      RECT all{0, 0, cx, cy};
      HBRUSH groundBrush = CreateSolidBrush(ground);
      FillRect(dc, &all, groundBrush);
      DeleteObject(groundBrush);
      HBRUSH inkBrush = CreateSolidBrush(ink);
      HPEN inkPen = CreatePen(PS_SOLID, 1, ink);
      HGDIOBJ oldBrush = SelectObject(dc, inkBrush), oldPen = SelectObject(dc, inkPen);
      const int m = cx / 5, midY = cy / 2, w = cx - 2 * m, h = cy - 2 * m;
      switch (glyph) {
        case kPlay: {
          const POINT p[3] = {{m + w / 6, m}, {m + w / 6, m + h}, {cx - m, midY}};
          Polygon(dc, p, 3);
          break;
        }
        case kPause: {
          const RECT a{m + w / 8, m, m + w / 8 + w / 3, m + h}, b{cx - m - w / 8 - w / 3, m, cx - m - w / 8, m + h};
          FillRect(dc, &a, inkBrush);
          FillRect(dc, &b, inkBrush);
          break;
        }
        case kNext: {
          const POINT p[3] = {{m, m}, {m, m + h}, {cx - m - 2, midY}};
          Polygon(dc, p, 3);
          const RECT bar{cx - m - 2, m, cx - m, m + h};
          FillRect(dc, &bar, inkBrush);
          break;
        }
        case kPrevious: {
          const POINT p[3] = {{cx - m, m}, {cx - m, m + h}, {m + 2, midY}};
          Polygon(dc, p, 3);
          const RECT bar{m, m, m + 2, m + h};
          FillRect(dc, &bar, inkBrush);
          break;
        }
      }
      SelectObject(dc, oldBrush);
      SelectObject(dc, oldPen);
      DeleteObject(inkBrush);
      DeleteObject(inkPen);
      SelectObject(dc, old);
    };
    draw(colour, RGB(0, 0, 0), RGB(255, 255, 255));
    draw(mask, RGB(255, 255, 255), RGB(0, 0, 0));  // the mask: black where the glyph is
    ICONINFO info{TRUE, 0, 0, mask, colour};
    icon = CreateIconIndirect(&info);
  }
  if (colour) DeleteObject(colour);
  if (mask) DeleteObject(mask);
  if (dc) DeleteDC(dc);
  return icon;
}

void CopyTip(wchar_t (&tip)[260], TextView text) {
  const size_t n = std::min<size_t>(text.size(), 259);
  for (size_t i = 0; i < n; ++i) tip[i] = static_cast<wchar_t>(text[i]);
  tip[n] = L'\0';
}

}  // namespace

TaskbarButtonsPart::~TaskbarButtonsPart() {
  for (HICON icon : icons_)
    if (icon) DestroyIcon(icon);
}

void TaskbarButtonsPart::OnInitDialog(PartHost& window) {
  buttonCreated_ = RegisterWindowMessageW(L"TaskbarButtonCreated");
  ChangeWindowMessageFilterEx(window.Window(), buttonCreated_, MSGFLT_ALLOW, nullptr);
}

THUMBBUTTON TaskbarButtonsPart::Button(int index) const {
  THUMBBUTTON b{};
  b.dwMask = THB_ICON | THB_TOOLTIP | THB_FLAGS;
  b.dwFlags = THBF_ENABLED;
  switch (index) {
    case 0:
      b.iId = kPlayCmdMenuPrevious;
      b.hIcon = icons_[kPrevious];
      CopyTip(b.szTip, u"Previous");
      break;
    case 1:
      b.iId = kPlayCmdPlay;
      b.hIcon = icons_[showsPause_ ? kPause : kPlay];
      CopyTip(b.szTip, showsPause_ ? u"Pause" : u"Play");
      break;
    default:
      b.iId = kPlayCmdMenuNext;
      b.hIcon = icons_[kNext];
      CopyTip(b.szTip, u"Next");
      break;
  }
  return b;
}

void TaskbarButtonsPart::AddButtons(HWND window) {
  if (!taskbar_) {
    Microsoft::WRL::ComPtr<ITaskbarList3> list;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&list))) ||
        FAILED(list->HrInit()))
      return;
    taskbar_ = list;
    for (int g = kPrevious; g <= kNext; ++g) icons_[g] = MakeGlyphIcon(static_cast<Glyph>(g));
  }
  showsPause_ = isPlaying_ && isPlaying_();
  THUMBBUTTON buttons[3] = {Button(0), Button(1), Button(2)};
  // A restarted shell announces the button again; the buttons then exist already.
  if (added_) {
    taskbar_->ThumbBarUpdateButtons(window, 3, buttons);
    return;
  }
  added_ = SUCCEEDED(taskbar_->ThumbBarAddButtons(window, 3, buttons));
}

void TaskbarButtonsPart::UpdatePlayButton(HWND window) {
  if (!added_ || !taskbar_) return;
  const bool pause = isPlaying_ && isPlaying_();
  if (pause == showsPause_) return;
  showsPause_ = pause;
  THUMBBUTTON b = Button(1);
  taskbar_->ThumbBarUpdateButtons(window, 1, &b);
}

bool TaskbarButtonsPart::OnMessage(PartHost& window, UINT message, WPARAM, LPARAM, LRESULT& result) {
  if (message == buttonCreated_ && buttonCreated_ != 0) {
    AddButtons(window.Window());
    result = 0;
    return true;
  }
  if (message == kPlayStateChangedMessage) UpdatePlayButton(window.Window());
  return false;  // the buttons' clicks arrive as the player's commands
}

}  // namespace sorvane::win
