#include "desktop/win/tray_icon.h"

#include <atomic>
#include <cwchar>

#include "desktop/tray_events.h"
#include "desktop/tray_hide.h"
#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {

std::atomic<ShellNotifyFunction> g_notify{nullptr};

BOOL Notify(DWORD request, NOTIFYICONDATAW* data) {
  const ShellNotifyFunction f = g_notify.load();
  return f ? f(request, data) : Shell_NotifyIconW(request, data);
}

HICON LoadTrayIcon(HINSTANCE instance) {
  return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kTrayIconResource), IMAGE_ICON,
                                       GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
}

std::optional<uint32_t> ReadDword(HKEY root, TextView path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, ToWide(path).c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
  DWORD value = 0, type = 0, size = sizeof(value);
  const LSTATUS status = RegQueryValueExW(key, ToWide(kAnimationDurationValue).c_str(), nullptr, &type,
                                          reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof(value)) return std::nullopt;
  return value;
}

std::optional<ScreenRect> RectOf(HWND window) {
  RECT r{};
  if (!window || !GetWindowRect(window, &r)) return std::nullopt;
  return ScreenRect{r.left, r.top, r.right, r.bottom};
}

ScreenRect TrayTarget() {
  TrayGeometry geometry;
  const HWND tray = FindWindowExW(nullptr, nullptr, L"Shell_TrayWnd", nullptr);
  if (tray) {
    geometry.notifyArea = RectOf(FindWindowExW(tray, nullptr, L"TrayNotifyWnd", nullptr));
    geometry.trayWindow = RectOf(tray);
  }
  APPBARDATA bar{};
  bar.cbSize = sizeof(bar);
  if (SHAppBarMessage(ABM_GETTASKBARPOS, &bar)) {
    if (auto edge = TaskbarEdgeFromAppBar(bar.uEdge))
      geometry.taskbar = TaskbarPosition{*edge, {bar.rc.left, bar.rc.top, bar.rc.right, bar.rc.bottom}};
  }
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  geometry.workArea = {work.left, work.top, work.right, work.bottom};
  return TrayTargetRect(geometry);
}

}  // namespace

void SetShellNotifyFunction(ShellNotifyFunction function) { g_notify.store(function); }

// A window that ends without its close (a failed start) must not leave a dead icon behind.
TrayIcon::~TrayIcon() { Remove(); }

NOTIFYICONDATAW TrayIcon::Record(UINT flags) const {
  NOTIFYICONDATAW data{};
  // The form with the 128-character tip, which every shell since 2000 reads.
  data.cbSize = NOTIFYICONDATAW_V2_SIZE;
  std::lock_guard lock(mutex_);
  data.hWnd = owner_;
  data.uID = kTrayIconId;
  data.uFlags = flags;
  data.uCallbackMessage = kTrayMessage;
  wcsncpy(data.szTip, tip_, std::size(data.szTip) - 1);
  return data;
}

void TrayIcon::Create(HWND owner, HINSTANCE instance, DWORD keeperPeriodMs) {
  StopKeeper();
  {
    std::lock_guard lock(mutex_);
    owner_ = owner;
    instance_ = instance;
    periodMs_ = keeperPeriodMs;
    wcsncpy(tip_, L"Sorvane", std::size(tip_) - 1);
  }
  Update();
  stop_ = KernelHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (stop_) keeper_ = KernelHandle(CreateThread(nullptr, 0, &TrayIcon::KeeperMain, this, 0, nullptr));
}

bool TrayIcon::Update() {
  std::lock_guard serial(updateMutex_);
  HINSTANCE instance;
  {
    std::lock_guard lock(mutex_);
    if (!owner_) return false;
    instance = instance_;
  }
  NOTIFYICONDATAW probe = Record(NIF_MESSAGE);
  const bool exists = Notify(NIM_MODIFY, &probe) != FALSE;
  NOTIFYICONDATAW data = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  data.hIcon = LoadTrayIcon(instance);
  const bool ok = Notify(exists ? NIM_MODIFY : NIM_ADD, &data) != FALSE;
  if (data.hIcon) DestroyIcon(data.hIcon);
  std::lock_guard lock(mutex_);
  shown_ = ok;
  return ok;
}

void TrayIcon::SetTip(TextView tip) {
  {
    std::lock_guard lock(mutex_);
    if (!owner_) return;
    const std::wstring text = ToWide(tip);
    wcsncpy(tip_, text.c_str(), std::size(tip_) - 1);
    tip_[std::size(tip_) - 1] = L'\0';
  }
  NOTIFYICONDATAW data = Record(NIF_TIP);
  Notify(NIM_MODIFY, &data);
}

Text TrayIcon::Tip() const {
  std::lock_guard lock(mutex_);
  return T(tip_);
}

void TrayIcon::Remove() {
  StopKeeper();
  {
    std::lock_guard lock(mutex_);
    if (!owner_) return;
  }
  NOTIFYICONDATAW data = Record(NIF_MESSAGE | NIF_ICON | NIF_TIP);
  Notify(NIM_DELETE, &data);
  std::lock_guard lock(mutex_);
  owner_ = nullptr;
  shown_ = false;
}

void TrayIcon::StopKeeper() {
  if (keeper_) {
    SetEvent(stop_.get());
    WaitForSingleObject(keeper_.get(), INFINITE);
    GetExitCodeThread(keeper_.get(), &keeperExit_);
    keeper_.Close();
  }
  stop_.Close();
}

// The task bar forgets every icon when it restarts. Shells that broadcast
// "TaskbarCreated" get the icon back at once through the window; for the
// others this thread probes every period and adds the icon again. It waits on
// the stop event, so that ending it never interrupts a call into the shell.
DWORD WINAPI TrayIcon::KeeperMain(void* param) {
  auto* self = static_cast<TrayIcon*>(param);
  DWORD period;
  HANDLE stop;
  {
    std::lock_guard lock(self->mutex_);
    period = self->periodMs_;
  }
  stop = self->stop_.get();
  while (WaitForSingleObject(stop, period) == WAIT_TIMEOUT) {
    NOTIFYICONDATAW probe = self->Record(NIF_MESSAGE);
    if (!Notify(NIM_MODIFY, &probe)) self->Update();
  }
  return 0;
}

DWORD HideAnimationDurationMs() {
  return HideAnimationMs(ReadDword(HKEY_CURRENT_USER, kAnimationDurationKeyUser),
                         ReadDword(HKEY_USERS, kAnimationDurationKeyDefaultUser));
}

void HideToTray(HWND window) {
  ANIMATIONINFO animation{};
  animation.cbSize = sizeof(animation);
  if (IsWindowVisible(window) && SystemParametersInfoW(SPI_GETANIMATION, sizeof(animation), &animation, 0) &&
      animation.iMinAnimate) {
    RECT from{};
    GetWindowRect(window, &from);
    const ScreenRect target = TrayTarget();
    const RECT to{target.left, target.top, target.right, target.bottom};
    DrawAnimatedRects(window, IDANI_CAPTION, &from, &to);
  }
  Sleep(HideAnimationDurationMs());
  ShowWindow(window, SW_HIDE);
}

}  // namespace sorvane::win
