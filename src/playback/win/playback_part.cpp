#include "playback/win/playback_part.h"

#include <commctrl.h>
#include <windowsx.h>

#include "framework/win/boundary.h"
#include "language/language_store.h"
#include "resource_ids.h"
#include "settings/settings_store.h"

namespace sorvane::win {
namespace {

constexpr UINT_PTR kMouseHookId = 0x5350;

bool IsSequencerCommand(int id) {
  return id == kPlayCmdNext || id == kPlayCmdPrevious || (id >= kPlayCmdPlay && id <= kPlayCmdRepeatOff) ||
         id == kPlayCmdPlayLast;
}

}  // namespace

PlaybackPart::~PlaybackPart() {
  if (CurrentLoop()) CurrentLoop()->RemoveMessageFilter(this);
  for (HWND w : hooked_)
    if (IsWindow(w)) RemoveWindowSubclass(w, MouseHook, kMouseHookId);
}

void PlaybackPart::OnInitDialog(PartHost& window) {
  main_ = window.Window();
  panel_.SetLabelLookup([](int id) { return Text(Languages().Str(id)); });
  panel_.CreateInPlaceOf(main_, IDC_PLAYER_PANEL);
  panel_.Control().SetPlayStateSink([main = main_](int32_t state) {
    // Posted: the seek that may follow must not run inside the control's own event.
    if (state == kPlayStatePlaying) PostMessageW(main, kNowPlayingMessage, 0, 0);
    PostMessageW(main, kPlayStateChangedMessage, static_cast<WPARAM>(state), 0);
  });
  HookMouse(panel_.VideoWindow());
  HookMouse(panel_.Window());

  player_ = std::make_unique<ControlSequencerPlayer>(panel_.Control());
  panelSeam_ = std::make_unique<PanelSequencerPanel>(panel_);
  settings_ = std::make_unique<StoreSequencerSettings>(Settings());
  sequencer_ = std::make_unique<Sequencer>(rows_, *player_, *panelSeam_, probe_, *settings_);
}

// Runs after the lists loaded: the resume needs the shown list's rows.
void PlaybackPart::LoadSettings(PartHost&) {
  sequencer_->LoadModes();        // "random_play", "m_Repeat" and the shuffle glyph
  panel_.LoadVolume(Settings());  // "Volume"
  sequencer_->LoadResume();       // "m_PlayLast", "m_Sel", the restart and its position
}

bool PlaybackPart::OnMessage(PartHost&, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == kNowPlayingMessage) {
    if (sequencer_) sequencer_->OnPlaying(panel_.Control().CurrentUrl());
    result = 0;
    return true;
  }
  if (message == WM_COMMAND && sequencer_ && IsSequencerCommand(LOWORD(wParam))) {
    // End of media carries its id in both parameters; a click on Next carries the button.
    if (sequencer_->OnCommand(LOWORD(wParam), IsEndOfMedia(wParam, lParam))) {
      result = 0;
      return true;
    }
  }
  return false;
}

// After the main window added its own filter: the loop asks the latest first.
void PlaybackPart::OnStarted(PartHost&) {
  if (!CurrentLoop()) return;
  CurrentLoop()->RemoveMessageFilter(this);
  CurrentLoop()->AddMessageFilter(this);
}

void PlaybackPart::OnClose(PartHost&) {
  if (CurrentLoop()) CurrentLoop()->RemoveMessageFilter(this);
}

void PlaybackPart::SaveSettings(PartHost&) {
  panel_.SaveVolume(Settings());
  if (sequencer_) sequencer_->SaveResume();  // "m_Sel", "m_Position"
}

void PlaybackPart::HookMouse(HWND window) {
  if (!window) return;
  if (SetWindowSubclass(window, MouseHook, kMouseHookId, reinterpret_cast<DWORD_PTR>(this)))
    hooked_.push_back(window);
}

// Left button on the video or the panel's free area moves the main window as
// its caption would (in fly-out mode it goes to the window as a plain press);
// the right button switches compact mode.
LRESULT CALLBACK PlaybackPart::MouseHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
  auto* self = reinterpret_cast<PlaybackPart*>(data);
  auto byDefault = [&] { return DefSubclassProc(window, message, wParam, lParam); };
  return GuardedOrDefault(
      "mouse hook",
      [&]() -> LRESULT {
        switch (message) {
          case WM_LBUTTONDOWN:
            if (self->passLeftButton_ && self->passLeftButton_()) {
              POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
              MapWindowPoints(window, self->main_, &p, 1);
              SendMessageW(self->main_, WM_LBUTTONDOWN, wParam, MAKELPARAM(p.x, p.y));
              return 0;
            }
            ReleaseCapture();
            SendMessageW(self->main_, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(GetMessagePos()));
            return 0;
          case WM_RBUTTONDOWN:
            // Copied first: the handler may re-parent this very window.
            if (auto handler = self->rightButton_) handler();
            return 0;
          case WM_NCDESTROY:
            RemoveWindowSubclass(window, MouseHook, kMouseHookId);
            break;
          default:
            break;
        }
        return byDefault();
      },
      byDefault);
}

}  // namespace sorvane::win
