#include "desktop/win/media_keys_part.h"

#include "desktop/media_keys.h"

namespace sorvane::win {
namespace {

// Hot key ids of this window: the base plus the virtual key.
constexpr int kHotKeyBase = 0x5300;

}  // namespace

MediaKeysPart::~MediaKeysPart() { Unregister(); }

void MediaKeysPart::OnInitDialog(PartHost& window) {
  window_ = window.Window();
  for (const uint32_t key : MediaVirtualKeys()) {
    // Fails when another program registered the key first; it keeps it.
    if (RegisterHotKey(window_, kHotKeyBase + static_cast<int>(key), MOD_NOREPEAT, key))
      registered_.push_back(key);
  }
}

void MediaKeysPart::Unregister() {
  for (const UINT key : registered_) UnregisterHotKey(window_, kHotKeyBase + static_cast<int>(key));
  registered_.clear();
}

void MediaKeysPart::OnClose(PartHost&) { Unregister(); }

bool MediaKeysPart::OnMessage(PartHost& window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  std::optional<MediaKey> key;
  if (message == WM_APPCOMMAND) {
    key = MediaKeyFromAppCommand(AppCommandFromLParam(lParam));
  } else if (message == WM_HOTKEY && static_cast<int>(wParam) >= kHotKeyBase) {
    key = MediaKeyFromVirtualKey(HIWORD(lParam));
  } else {
    return false;
  }
  if (!key) return false;  // other application commands go on to the system
  const bool playing = isPlaying_ && isPlaying_();
  if (const std::optional<int> command = PlayerCommandForMediaKey(*key, playing))
    SendMessageW(window.Window(), WM_COMMAND, MAKEWPARAM(*command, 0), 0);
  result = TRUE;  // WM_APPCOMMAND: handled
  return true;
}

}  // namespace sorvane::win
