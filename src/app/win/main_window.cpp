#include "app/win/main_window.h"

#include <windowsx.h>

#include "app/command_line.h"
#include "app/process_values.h"
#include "settings/settings_keys.h"
#include "settings/settings_store.h"
#include "app/win/admin_rights.h"
#include "app/win/save_failure_notice.h"
#include "app/win/single_instance.h"
#include "app/win/window_placement.h"
#include "language/language_start.h"
#include "framework/win/wintext.h"
#include "resource_ids.h"

namespace sorvane::win {

namespace {

StringSetting& WindowRectSetting() {
  static StringSetting setting(keys::kWindowRect, keys::kWindowRectDefault);
  return setting;
}

LayoutRect ChildRect(HWND parent, HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

}  // namespace

MainWindow::MainWindow() = default;

MainWindow::~MainWindow() {
  if (CurrentLoop()) CurrentLoop()->RemoveMessageFilter(this);
  // Destroy while the parts still exist: destruction sends messages they may handle.
  if (Window()) DestroyWindow(Window());
}

void MainWindow::AddPart(std::unique_ptr<MainWindowPart> part) { parts_.push_back(std::move(part)); }

HWND MainWindow::Create(HINSTANCE instance) {
  return DialogWindow<MainWindow>::Create(instance, IDD_MAIN_WINDOW);
}

void MainWindow::AddLayoutRule(int id, Follow horizontal, Follow vertical) {
  HWND child = Item(id);
  if (!child) return;
  if (started_) {
    // Against the current size: a control added later follows from where it is now.
    RECT client{};
    GetClientRect(Window(), &client);
    Layout rebased;
    rebased.SetReferenceSize(client.right, client.bottom);
    for (const Layout::Item& item : layout_.Items())
      rebased.Add(item.id, item.horizontal, item.vertical, layout_.Place(item, client.right, client.bottom));
    layout_ = rebased;
  }
  layout_.Add(id, horizontal, vertical, ChildRect(Window(), child));
}

void MainWindow::RecordLayout() {
  RECT client{};
  GetClientRect(Window(), &client);
  layout_.SetReferenceSize(client.right, client.bottom);
  AddLayoutRule(IDC_LIST_VIEW, Follow::kFixed, Follow::kGrows);
  AddLayoutRule(IDC_PLAYER_PANEL, Follow::kGrows, Follow::kGrows);
  AddLayoutRule(IDC_LIST_SELECTOR, Follow::kFixed, Follow::kMoves);
  AddLayoutRule(IDC_STATUS_TEXT, Follow::kGrows, Follow::kMoves);
  AddLayoutRule(IDC_TOP_LINE, Follow::kGrows, Follow::kFixed);
  AddLayoutRule(IDC_BOTTOM_LINE, Follow::kGrows, Follow::kMoves);
}

void MainWindow::ApplyLayout() {
  if (compact_ || flyOut_ || layout_.Empty()) return;
  RECT client{};
  GetClientRect(Window(), &client);
  HDWP batch = BeginDeferWindowPos(static_cast<int>(layout_.Items().size()));
  for (const Layout::Item& item : layout_.Items()) {
    HWND child = Item(item.id);
    if (!child) continue;
    const LayoutRect r = layout_.Place(item, client.right, client.bottom);
    if (batch)
      batch = DeferWindowPos(batch, child, nullptr, r.left, r.top, r.Width(), r.Height(),
                             SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (batch) EndDeferWindowPos(batch);
  RedrawWindow(Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MainWindow::PlaceOnNearestMonitor() {
  MONITORINFO info{};
  info.cbSize = sizeof(info);
  if (!GetMonitorInfoW(MonitorFromWindow(Window(), MONITOR_DEFAULTTONEAREST), &info)) return;
  const SizeLimits limits = CurrentSizeLimits();
  const LayoutRect r = CentredHalfOf({info.rcWork.left, info.rcWork.top, info.rcWork.right, info.rcWork.bottom},
                                     limits.minWidth, limits.minHeight);
  SetWindowPos(Window(), nullptr, r.left, r.top, r.Width(), r.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::LoadWindowRect() {
  ApplyWindowRect(Window(), WindowRectSetting().Load(Settings()));
}

void MainWindow::UpdateTitle() {
  SetWindowTextW(Window(), W(MainWindowTitle(ProgramNameAndVersion(), ProcessHasAdminRights(),
                                             Settings().PortableMode())));
}

void MainWindow::SetStatusText(const Text& text) { SetDlgItemTextW(Window(), IDC_STATUS_TEXT, W(text)); }

INT_PTR MainWindow::OnInitDialog() {
  for (auto& part : parts_) part->OnInitDialog(*this);
  RecordLayout();
  PlaceOnNearestMonitor();
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  largeIcon_.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0)));
  smallIcon_.reset(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  if (largeIcon_) SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon_.get()));
  if (smallIcon_) SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));
  UpdateTitle();
  // The selector's edit field starts without a selected text, so the first key does not replace the name.
  SendDlgItemMessageW(Window(), IDC_LIST_SELECTOR, CB_SETEDITSEL, 0, MAKELPARAM(-1, 0));

  LoadWindowRect();
  for (auto& part : parts_) part->LoadSettings(*this);

  if (CurrentLoop()) CurrentLoop()->AddMessageFilter(this);
  const LONG_PTR ex = GetWindowLongPtrW(Window(), GWL_EXSTYLE);
  if (ex & WS_EX_DLGMODALFRAME) {
    SetWindowLongPtrW(Window(), GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_DLGMODALFRAME));
    SetWindowPos(Window(), nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  started_ = true;
  ApplyLayout();
  for (auto& part : parts_) part->OnStarted(*this);
  return FALSE;  // the focus stays where the system put it
}

void MainWindow::SaveSettings() {
  // Everything written here (rectangle, lists, volume, selection, position)
  // reaches the file as one rewrite: with a large list each rewrite costs,
  // and at the end of the session Windows does not wait long.
  SettingsBatch batch(Settings());
  RECT r{};
  if (RestoredWindowRect(Window(), r))
    WindowRectSetting().Set(Settings(), Format(u"%d,%d,%d,%d", {int(r.left), int(r.top), int(r.right),
                                                                int(r.bottom)}));
  for (auto& part : parts_) part->SaveSettings(*this);
}

void MainWindow::Close() {
  SaveSettings();
  for (auto& part : parts_) part->OnClose(*this);
  if (CurrentLoop()) CurrentLoop()->RemoveMessageFilter(this);
  DestroyWindow(Window());
  PostQuitMessage(kExitNormal);
}

void MainWindow::BringToFront() {
  if (IsIconic(Window())) ShowWindow(Window(), SW_RESTORE);
  ShowWindow(Window(), SW_SHOW);
  SetForegroundWindow(Window());
}

bool MainWindow::PreTranslateMessage(MSG& message) {
  if (!Window()) return false;
  if (message.hwnd != Window() && !IsChild(Window(), message.hwnd)) return false;
  if (accelerators_ && TranslateAcceleratorW(Window(), accelerators_, &message)) return true;
  return IsDialogMessageW(Window(), &message) != FALSE;
}

INT_PTR MainWindow::OnCommand(UINT id) {
  switch (id) {
    case kCommandClose:
    case IDCANCEL:  // Esc and the close box; the tray part takes these over once it exists
      Close();
      return TRUE;
    case kCommandBringToFront:
      BringToFront();
      return TRUE;
    default:
      return FALSE;
  }
}

SizeLimits MainWindow::CurrentSizeLimits() const {
  RECT list{};
  const int listWidth = GetWindowRect(Item(IDC_LIST_VIEW), &list) ? list.right - list.left : 0;
  return MainWindowSizeLimits(listWidth, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
}

INT_PTR MainWindow::OnGetMinMaxInfo(MINMAXINFO* info) {
  const SizeLimits limits = CurrentSizeLimits();
  info->ptMinTrackSize = {limits.minWidth, limits.minHeight};
  info->ptMaxTrackSize = {limits.maxWidth, limits.maxHeight};
  return FALSE;  // passed on, with the limits in place
}

INT_PTR MainWindow::OnHitTest(LPARAM lParam) {
  const LRESULT hit = DefWindowProcW(Window(), WM_NCHITTEST, 0, lParam);
  if (hit != HTCLIENT) return Answer(hit);
  POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
  ScreenToClient(Window(), &pt);
  HWND child = ChildWindowFromPoint(Window(), pt);
  if (child && child != Window()) {
    char className[16] = {};
    GetClassNameA(child, className, sizeof(className));
    if (lstrcmpiA(className, "Edit") == 0) return Answer(HTCLIENT);
  }
  return Answer(HTCAPTION);
}

INT_PTR MainWindow::OnCopyData(const COPYDATASTRUCT* data) {
  // The text is copied out of the sender's record and the answer given at
  // once; the parts only queue it (a second start must not wait for questions).
  Text commandLine;
  if (ReadForwardedCommandLine(data, commandLine)) {
    SetCommandLineText(commandLine);
    SetStatusText(commandLine);
    for (auto& part : parts_) part->OnForwardedCommandLine(*this, commandLine);
    // The sender allowed this process the foreground just before it sent the
    // line; the front request posted by its probe may have run before that.
    PostMessageW(Window(), WM_COMMAND, kCommandBringToFront, 0);
  }
  return Answer(kForwardCommandLineTag);
}

INT_PTR MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) return OnInitDialog();
  for (auto& part : parts_) {
    LRESULT result = 0;
    if (part->OnMessage(*this, message, wParam, lParam, result)) return Answer(message, result);
  }
  if (message == InstanceMessage() && message != 0) return Answer(AnswerInstanceMessage(Window(), wParam, lParam));
  switch (message) {
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam));
    case WM_GETMINMAXINFO:
      return compact_ || flyOut_ ? FALSE : OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(lParam));
    case WM_COPYDATA:
      return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case WM_NCHITTEST:
      return flyOut_ ? FALSE : OnHitTest(lParam);
    case WM_SIZE:
      ApplyLayout();
      return FALSE;
    case WM_QUERYENDSESSION: {
      QuietSaveFailures quiet;
      SaveSettings();
      return Answer(TRUE);
    }
    case WM_ENDSESSION: {
      QuietSaveFailures quiet;
      SaveSettings();
      return Answer(0);
    }
    default:
      return FALSE;
  }
}

}  // namespace sorvane::win
