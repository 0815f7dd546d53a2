#include "playback/win/wmp_player.h"

#include <oleauto.h>
#include <wmp.h>
#include <wrl/client.h>

#include "framework/win/bstr.h"

using Microsoft::WRL::ComPtr;

namespace sorvane::win {
namespace {

class ControlPlayer final : public MediaPlayer {
 public:
  ControlPlayer(ComPtr<IWMPPlayer4> player, ComPtr<IWMPSettings> settings, ComPtr<IWMPControls> controls,
                ComPtr<IWMPCore> core)
      : player_(std::move(player)),
        settings_(std::move(settings)),
        controls_(std::move(controls)),
        core_(std::move(core)) {}

  bool SetUrl(TextView path) override {
    const Bstr url(path);
    return url && SUCCEEDED(core_->put_URL(url.get()));
  }
  void Play() override {
    if (controls_) controls_->play();
  }
  void Pause() override {
    if (controls_) controls_->pause();
  }
  void Stop() override {
    if (controls_) controls_->stop();
  }

  bool HasSettings() const override { return settings_ != nullptr; }
  void SetMute(bool muted) override {
    if (settings_) settings_->put_mute(muted ? VARIANT_TRUE : VARIANT_FALSE);
  }
  void SetVolume(int volume) override {
    if (settings_) settings_->put_volume(volume);
  }
  std::optional<int> GetVolume() override {
    long volume = 0;
    if (!settings_ || FAILED(settings_->get_volume(&volume))) return std::nullopt;
    return static_cast<int>(volume);
  }

  bool HasCurrentMedia() override { return CurrentMedia() != nullptr; }
  std::optional<double> CurrentMediaDuration() override {
    ComPtr<IWMPMedia> media = CurrentMedia();
    if (!media) return std::nullopt;
    double duration = 0.0;
    media->get_duration(&duration);
    return duration;
  }
  double CurrentPosition() override {
    double position = 0.0;
    if (controls_) controls_->get_currentPosition(&position);
    return position;
  }
  void SetCurrentPosition(double seconds) override {
    if (controls_) controls_->put_currentPosition(seconds);
  }
  int VideoWidth() override {
    ComPtr<IWMPMedia> media = CurrentMedia();
    long width = 0;
    if (!media || FAILED(media->get_imageSourceWidth(&width))) return 0;
    return width > 0 ? static_cast<int>(width) : 0;
  }

 private:
  ComPtr<IWMPMedia> CurrentMedia() {
    ComPtr<IWMPMedia> media;
    if (FAILED(core_->get_currentMedia(&media))) media.Reset();
    return media;
  }

  ComPtr<IWMPPlayer4> player_;
  ComPtr<IWMPSettings> settings_;
  ComPtr<IWMPControls> controls_;
  ComPtr<IWMPCore> core_;
};

}  // namespace

std::unique_ptr<MediaPlayer> CreateControlPlayer(IUnknown* control) {
  ComPtr<IWMPPlayer4> player;
  if (!control || FAILED(control->QueryInterface(IID_PPV_ARGS(&player))) || !player) return nullptr;
  if (const Bstr none(u"none"); none) player->put_uiMode(none.get());

  ComPtr<IWMPSettings> settings;
  ComPtr<IWMPControls> controls;
  ComPtr<IWMPCore> core;
  player.As(&settings);
  player.As(&controls);
  player.As(&core);
  if (!core) return nullptr;  // every IWMPPlayer4 is an IWMPCore; a control without it is unusable
  // Some implementations hand out these objects only through the properties.
  if (!settings) core->get_settings(&settings);
  if (!controls) core->get_controls(&controls);
  player->put_stretchToFit(VARIANT_TRUE);
  player->put_enableContextMenu(VARIANT_FALSE);
  if (settings) settings->put_enableErrorDialogs(VARIANT_FALSE);
  return std::make_unique<ControlPlayer>(std::move(player), std::move(settings), std::move(controls),
                                         std::move(core));
}

}  // namespace sorvane::win
