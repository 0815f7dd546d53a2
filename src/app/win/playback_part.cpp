#include "app/win/playback_part.h"

#include <commctrl.h>

#include "app/settings_store.h"
#include "app/win/main_window.h"
#include "framework/language_store.h"
#include "framework/win/language_win.h"
#include "medialist/list_strings.h"

namespace sorvane::win {
namespace {

constexpr UINT_PTR kMouseHookId = 0x5350;

Text LangOr(int id, TextView english) {
  const TextView text = Languages().Str(id);
  return text.empty() ? Text(english) : Text(text);
}

ProbeTexts CurrentProbeTexts() {
  return {LangOr(125, u"Tip: Add Files via Drag and Drop"), LangOr(177, u"Checking media..."),
          LangOr(178, u"Media checked. Errors:")};
}

bool IsSequencerCommand(int id) {
  return id == kPlayCmdNext || id == kPlayCmdPrevious || (id >= kPlayCmdPlay && id <= kPlayCmdRepeatOff) ||
         id == kPlayCmdPlayLast;
}

}  // namespace

PlaybackPart::PlaybackPart() {
  MediaListCallbacks callbacks;
  callbacks.playUrl = [this](const Text& path) { panel_.Control().PlayUrl(path); };
  callbacks.listLoaded = [this](int) { StartProbe(); };
  callbacks.filesDropped = [this](std::vector<Text> paths) {
    if (filesDropped_) filesDropped_(std::move(paths));
  };
  lists_ = std::make_unique<MediaListPart>(std::move(callbacks));
  MediaListRows::Hooks hooks;
  hooks.rowChanged = [this](int row) { Lists().RowChanged(row); };
  hooks.selectAndFocus = [this](int row) { Lists().View().SelectAndFocus(row); };
  rows_ = std::make_unique<MediaListRows>(Lists().Rows(), std::move(hooks));
}

PlaybackPart::~PlaybackPart() {
  // The worker posts to the window and reads nothing of ours, but it must not outlive the part.
  if (probe_) probe_->StopProbe();
  for (HWND w : hooked_)
    if (IsWindow(w)) RemoveWindowSubclass(w, MouseHook, kMouseHookId);
}

void PlaybackPart::OnInitDialog(MainWindow& window) {
  main_ = window.Window();
  InstallListStrings([](int id) { return Text(Languages().Str(id)); });
  panel_.SetLabelLookup([](int id) { return Text(Languages().Str(id)); });

  // List view and selector first, so the panel's creation cannot reach a list that is not attached.
  lists_->OnInitDialog(window);
  // The media list keeps its dark look whatever the theme.
  Lists().View().SetDarkColors(true);
  probe_ = std::make_unique<ProbeHost>(main_);

  panel_.CreateInPlaceOf(main_, kPlayerPanelId);
  panel_.Control().SetPlayStateSink([main = main_](int32_t state) {
    // Posted: the seek that may follow must not run inside the control's own event.
    if (state == kPlayStatePlaying) PostMessageW(main, kNowPlayingMessage, 0, 0);
  });
  HookMouse(panel_.VideoWindow());
  HookMouse(panel_.Window());

  player_ = std::make_unique<ControlSequencerPlayer>(panel_.Control());
  panelSeam_ = std::make_unique<PanelSequencerPanel>(panel_);
  settings_ = std::make_unique<StoreSequencerSettings>(Settings());
  sequencer_ = std::make_unique<Sequencer>(*rows_, *player_, *panelSeam_, probeBackend_, *settings_);
}

void PlaybackPart::LoadSettings(MainWindow& window) {
  sequencer_->LoadModes();        // "random_play", "m_Repeat" and the shuffle glyph
  lists_->LoadSettings(window);   // the list set and the shown list (probed from here on)
  panel_.LoadVolume(Settings());  // "Volume"
  sequencer_->LoadResume();       // "m_PlayLast", "m_Sel", the restart and its position
}

void PlaybackPart::StartProbe() {
  if (!probe_) return;
  probe_->StartProbe(MakeProbeJob(Lists().Rows(), CurrentProbeTexts()));
}

bool PlaybackPart::OnMessage(MainWindow& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (message == kProbeResultMessage) {
    // Always taken: the batch is freed here even when no rows are left to change.
    if (probe_) {
      probe_->OnProbeResult(lParam, *rows_, [&window](TextView text) { window.SetStatusText(Text(text)); });
    } else {
      TakeProbeBatch(lParam);
    }
    result = 0;
    return true;
  }
  if (message == kNowPlayingMessage) {
    if (sequencer_) sequencer_->OnPlaying(panel_.Control().CurrentUrl());
    result = 0;
    return true;
  }
  if (message == RetranslateMessage() && message != 0) {
    ApplyLanguage();
    // An empty list's status is the tip: probing it again costs nothing, shows the
    // tip in the new language and drops a result of the old language still on its way.
    // A probed list keeps its counts until its next probe.
    if (Lists().Rows().Count() == 0) StartProbe();
    return false;  // the other parts set their texts too
  }
  if (message == WM_COMMAND && sequencer_ && IsSequencerCommand(LOWORD(wParam))) {
    // End of media carries its id in both parameters; a click on Next carries the button.
    if (sequencer_->OnCommand(LOWORD(wParam), IsEndOfMedia(wParam, lParam))) {
      result = 0;
      return true;
    }
  }
  return lists_->OnMessage(window, message, wParam, lParam, result);
}

void PlaybackPart::SaveSettings(MainWindow& window) {
  lists_->SaveSettings(window);  // "m_LastSel", the shown list, "m_Sel"
  panel_.SaveVolume(Settings());
  if (sequencer_) sequencer_->SaveResume();  // "m_Sel", "m_Position"
}

void PlaybackPart::OnClose(MainWindow&) {
  if (probe_) probe_->StopProbe();
}

void PlaybackPart::ApplyLanguage() {
  Lists().ApplyLanguage();
}

void PlaybackPart::HookMouse(HWND window) {
  if (!window) return;
  if (SetWindowSubclass(window, MouseHook, kMouseHookId, reinterpret_cast<DWORD_PTR>(this)))
    hooked_.push_back(window);
}

// Left button on the video or the panel's free area moves the main window as
// its caption would; the right button is kept for compact mode.
LRESULT CALLBACK PlaybackPart::MouseHook(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                         DWORD_PTR data) {
  auto* self = reinterpret_cast<PlaybackPart*>(data);
  switch (message) {
    case WM_LBUTTONDOWN:
      ReleaseCapture();
      SendMessageW(self->main_, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(GetMessagePos()));
      return 0;
    case WM_RBUTTONDOWN:
      return 0;
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, MouseHook, kMouseHookId);
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, wParam, lParam);
}

}  // namespace sorvane::win
