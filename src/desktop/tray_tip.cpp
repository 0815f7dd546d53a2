#include "desktop/tray_tip.h"

#include "settings/settings_store.h"

namespace sorvane {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

}  // namespace

Text TrayTipText(TextView playingTitle) {
  Text tip(Trim(playingTitle));
  if (tip.empty()) return Text(kAppName);
  for (char16_t& c : tip) {
    if (c < 0x20 || c == 0x7F) c = u' ';
  }
  if (tip.size() > kTrayTipMaxUnits) {
    size_t cut = kTrayTipMaxUnits;
    if (IsHighSurrogate(tip[cut - 1])) --cut;
    tip.resize(cut);
  }
  return tip;
}

}  // namespace sorvane
