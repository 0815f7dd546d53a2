#include "playback/win/player_panel.h"

#include <commctrl.h>

#include "framework/win/wintext.h"
#include "playback/panel_layout.h"
#include "playback/panel_texts.h"
#include "playback/volume_setting.h"
#include "playback/win/control_host.h"
#include "playback/win/symbol_font.h"
#include "playback/win/wmp_player.h"
#include "resource_ids.h"

namespace sorvane::win {
namespace {

constexpr int kButtonIds[8] = {kCmdPlay, kCmdPause, kCmdStop, kCmdMute, kCmdPlayerMenu, kCmdShuffleMenu,
                               kCmdPrevious, kCmdNext};
constexpr TextView kStartGlyphs[8] = {u"\u25B6", u"\u23F8", u"\u23F9", u"\U0001F507",
                                      u"\u2699", u"\U0001F500", u"\u23EA", u"\u23E9"};
constexpr TextView kMutedGlyph = u"\U0001F508";
constexpr TextView kShuffleOnGlyph = u"\U0001F500";
constexpr TextView kShuffleOffGlyph = u"\U0001F501";

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

void Move(HWND window, const PanelRect& r) {
  if (window) SetWindowPos(window, nullptr, r.x, r.y, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

PlayerPanel::~PlayerPanel() {
  // Destroyed here, not by the base, so WM_DESTROY still reaches the panel and stops the player.
  if (Window()) DestroyWindow(Window());
}

bool PlayerPanel::Create(HWND parent) {
  if (Window()) return true;
  // Without the host class the template's video control cannot be created
  // and the whole dialog would fail.
  RegisterControlHostClass();
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  return DialogWindow::Create(ThisModule(), IDD_PLAYER_PANEL, parent) != nullptr;
}

bool PlayerPanel::CreateInPlaceOf(HWND mainWindow, int placeholderId) {
  HWND placeholder = GetDlgItem(mainWindow, placeholderId);
  RECT rc{};
  if (placeholder) {
    GetWindowRect(placeholder, &rc);
    MapWindowPoints(nullptr, mainWindow, reinterpret_cast<POINT*>(&rc), 2);
  }
  if (!Create(mainWindow)) return false;
  if (placeholder) DestroyWindow(placeholder);
  SetWindowLongPtrW(Window(), GWLP_ID, placeholderId);
  SetWindowPos(Window(), HWND_TOP, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, SWP_NOACTIVATE);
  ShowWindow(Window(), SW_SHOW);
  return true;
}

INT_PTR PlayerPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit();
      return FALSE;  // the focus stays where the main window has it
    case WM_COMMAND:
      OnCommand(wParam, lParam);
      return TRUE;
    case WM_SIZE:
      if (!videoOnly_) Layout();
      return TRUE;
    case WM_HSCROLL:
      OnScroll(reinterpret_cast<HWND>(lParam));
      return TRUE;
    case WM_TIMER:
      OnTimer(wParam);
      return TRUE;
    case WM_DESTROY:
      KillTimer(Window(), kTickTimer);
      KillTimer(Window(), kSeekTimer);
      // Stop before the control goes away with its host window: Wine's player
      // left running crashes the process at exit. The references go with the
      // window, so none outlives the thread's OLE.
      control_.Stop();
      control_.Attach(nullptr);
      return FALSE;
    default:
      return FALSE;
  }
}

void PlayerPanel::OnInit() {
  for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i].Subclass(child(kButtonIds[i]));

  HFONT font = SymbolFont(child(kCmdMute) ? child(kCmdMute) : Window());
  for (size_t i = 0; i < buttons_.size(); ++i) {
    if (HWND b = child(kButtonIds[i])) SendMessageW(b, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SetGlyph(kButtonIds[i], kStartGlyphs[i]);
  }

  HINSTANCE module = ThisModule();
  bigIcon_.reset(static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                               GetSystemMetrics(SM_CYICON), 0)));
  smallIcon_.reset(static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  if (bigIcon_) SendMessageW(Window(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon_.get()));
  if (smallIcon_) SendMessageW(Window(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon_.get()));

  // Attach: events first, so that no state change after the control is reached is lost.
  HWND video = child(IDC_VIDEO);
  HWND parent = GetParent(Window());
  control_.SetEndOfMediaSink([parent] {
    if (parent) PostMessageW(parent, WM_COMMAND, kEndOfMediaCommand, kEndOfMediaCommand);
  });
  ConnectControlEvents(video, [this](DISPID id, const DISPPARAMS& params) {
    constexpr DISPID kPlayStateChange = 5101;
    if (id != kPlayStateChange || params.cArgs != 1) return;
    VARIANT state;
    VariantInit(&state);
    if (SUCCEEDED(VariantChangeType(&state, &params.rgvarg[0], 0, VT_I4))) control_.OnPlayStateChange(state.lVal);
  });
  control_.Attach(CreateControlPlayer(GetHostedControl(video).Get()));
  UpdateVolumeText();  // the control's own volume until the panel sets it

  if (HWND volume = child(IDC_VOLUME_SLIDER)) {
    SendMessageW(volume, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    SendMessageW(volume, TBM_SETPOS, TRUE, 50);
  }
  if (control_.HasPlayer()) control_.SetVolume(50);
  UpdateVolumeText();  // the label shows the volume now in effect, not the control's former one
  if (HWND position = child(IDC_POSITION_SLIDER)) {
    SendMessageW(position, TBM_SETRANGEMIN, FALSE, 0);
    SendMessageW(position, TBM_SETRANGEMAX, FALSE, 1000);
    SendMessageW(position, TBM_SETPOS, TRUE, 0);
  }
  SetTimer(Window(), kTickTimer, kTickMs, nullptr);
}

void PlayerPanel::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  HWND parent = GetParent(Window());
  switch (id) {
    case kCmdPlay:
      if (control_.CurrentUrl().empty()) {
        if (parent) PostMessageW(parent, WM_COMMAND, kEndOfMediaCommand, kEndOfMediaCommand);
      } else {
        control_.Play();
      }
      return;
    case kCmdPause:
      control_.Pause();
      return;
    case kCmdStop:
      Stop();
      return;
    case kCmdMute:
      ToggleMute();
      return;
    case kCmdPlayerMenu:
      ShowPanelMenu(PlayerMenuItems(), kCmdPlayerMenu);
      return;
    case kCmdShuffleMenu:
      ShowPanelMenu(ShuffleMenuItems(), kCmdShuffleMenu);
      return;
    case kCmdRandomOn:
    case kCmdRandomOff:
      SetShuffleGlyph(id == kCmdRandomOn);
      break;
    case kCmdPrevious:
    case kCmdNext:
    case 1301: case 1302: case 1303: case 1304: case 1305: case 1306:
    case 1308: case 1311: case 1312:
      break;
    default:
      return;
  }
  if (parent) SendMessageW(parent, WM_COMMAND, wParam, lParam);
}

void PlayerPanel::Stop() {
  if (!control_.HasPlayer()) return;
  control_.Stop();
  if (HWND position = child(IDC_POSITION_SLIDER)) SendMessageW(position, TBM_SETPOS, TRUE, 0);
  if (HWND time = child(IDC_TIME_TEXT)) SetWindowTextW(time, W(Text(kStoppedTimeText)));
}

void PlayerPanel::ToggleMute() {
  if (!control_.HasSettings()) return;
  SetGlyph(kCmdMute, control_.ToggleMute() ? kMutedGlyph : kStartGlyphs[3]);
}

void PlayerPanel::SetVolume(int volume) {
  control_.SetVolume(volume);
  if (HWND slider = child(IDC_VOLUME_SLIDER)) SendMessageW(slider, TBM_SETPOS, TRUE, volume);
  UpdateVolumeText();
}

void PlayerPanel::LoadVolume(SettingsStore& store) { SetVolume(LoadVolumeSetting(store)); }

bool PlayerPanel::SaveVolume(SettingsStore& store) {
  if (!control_.HasSettings()) return false;
  return SaveVolumeSetting(store, control_.GetVolume());
}

void PlayerPanel::UpdateVolumeText() {
  if (!control_.HasSettings()) return;
  if (HWND text = child(IDC_VOLUME_TEXT)) SetWindowTextW(text, W(VolumeText(control_.GetVolume())));
}

void PlayerPanel::UpdateTimeText(double position) {
  if (HWND text = child(IDC_TIME_TEXT)) SetWindowTextW(text, W(TimeText(position, control_.DurationSeconds())));
}

void PlayerPanel::SetShuffleGlyph(bool on) { SetGlyph(kCmdShuffleMenu, on ? kShuffleOnGlyph : kShuffleOffGlyph); }

void PlayerPanel::SetGlyph(int buttonId, TextView glyph) {
  HWND button = child(buttonId);
  if (!button) return;
  SetWindowTextW(button, ToWide(glyph).c_str());
  InvalidateRect(button, nullptr, TRUE);
}

void PlayerPanel::OnScroll(HWND slider) {
  if (!slider || !control_.HasPlayer()) return;
  if (slider == child(IDC_VOLUME_SLIDER)) {
    control_.SetVolume(static_cast<int>(SendMessageW(slider, TBM_GETPOS, 0, 0)));
    UpdateVolumeText();
  } else if (slider == child(IDC_POSITION_SLIDER) && control_.IsPlaying()) {
    // Seek once the user has stopped moving; meanwhile the tick must not move the slider.
    KillTimer(Window(), kTickTimer);
    SetTimer(Window(), kSeekTimer, kSeekDelayMs, nullptr);
  }
}

void PlayerPanel::OnTimer(UINT_PTR id) {
  if (!control_.HasPlayer() || !control_.IsPlaying()) return;
  if (id == kTickTimer) {
    const auto poll = control_.Poll();
    if (auto permille = PositionPermille(poll.position, poll.durationSeconds)) {
      if (HWND position = child(IDC_POSITION_SLIDER)) SendMessageW(position, TBM_SETPOS, TRUE, *permille);
    }
    UpdateTimeText(poll.position);
  } else if (id == kSeekTimer) {
    KillTimer(Window(), kSeekTimer);
    HWND position = child(IDC_POSITION_SLIDER);
    control_.SeekPermille(position ? static_cast<int>(SendMessageW(position, TBM_GETPOS, 0, 0)) : 0);
    SetTimer(Window(), kTickTimer, kTickMs, nullptr);
  }
}

void PlayerPanel::Layout() {
  RECT c{};
  GetClientRect(Window(), &c);
  const PanelLayout l = LayoutPanel(c.left, c.top, c.right, c.bottom, GetSystemMetrics(SM_CXICON));
  if (l.video) Move(child(IDC_VIDEO), *l.video);
  Move(child(kCmdPlay), l.play);
  Move(child(kCmdPause), l.pause);
  Move(child(kCmdStop), l.stop);
  Move(child(kCmdMute), l.mute);
  Move(child(IDC_VOLUME_SLIDER), l.volumeSlider);
  Move(child(IDC_VOLUME_TEXT), l.volumeText);
  Move(child(kCmdPlayerMenu), l.playerMenu);
  Move(child(kCmdShuffleMenu), l.shuffleMenu);
  Move(child(kCmdPrevious), l.previous);
  Move(child(kCmdNext), l.next);
  if (l.positionSlider) Move(child(IDC_POSITION_SLIDER), *l.positionSlider);
  Move(child(IDC_TIME_TEXT), l.timeText);
}

void PlayerPanel::ShowPanelMenu(std::span<const PanelMenuItem> items, int buttonId) {
  HWND button = child(buttonId);
  if (!button) return;
  RECT rc{};
  GetWindowRect(button, &rc);
  UniqueMenu menu(CreatePopupMenu());
  if (!menu) return;
  for (const auto& item : items) {
    if (item.command == 0) {
      AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      AppendMenuW(menu.get(), MF_STRING, item.command, W(PanelMenuItemText(item, labels_)));
    }
  }
  TrackPopupMenu(menu.get(), TPM_LEFTALIGN, rc.left, rc.bottom, 0, Window(), nullptr);
}

bool PlayerPanel::PreTranslateMessage(MSG* message) {
  if (!Window() || !message || message->message != WM_KEYDOWN || message->wParam != VK_RETURN) return false;
  // The transport buttons are drawn by the panel, so the dialog manager does
  // not take them for push buttons and would turn Enter into the main
  // window's default command. Enter presses the focused one as a click does;
  // every other key (Tab across the panel's edge) is left to the main window.
  HWND focus = GetFocus();
  if (!focus || message->hwnd != focus || GetParent(focus) != Window() || !IsWindowEnabled(focus)) return false;
  wchar_t className[16] = {};
  GetClassNameW(focus, className, 16);
  if (lstrcmpiW(className, L"Button") != 0) return false;
  SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(focus), BN_CLICKED), reinterpret_cast<LPARAM>(focus));
  return true;
}

}  // namespace sorvane::win
