#include "medialist/media_probe.h"

#include <cmath>
#include <limits>

namespace sorvane {

double MediaProbe::DurationSeconds() const {
  if (!p_.opened || !p_.hasDuration) return 0.0;
  return static_cast<double>(p_.duration100ns) * 0.0000001;
}

Text MediaProbe::FormatDuration(double seconds) {
  // Truncate toward zero; a NaN or an absurd value must not reach the int conversion.
  double whole = std::trunc(seconds);
  int s = 0;
  if (whole >= static_cast<double>(std::numeric_limits<int>::max())) {
    s = std::numeric_limits<int>::max();
  } else if (whole > 0.0) {
    s = static_cast<int>(whole);
  }
  if (s <= 0) s = 1;
  return Format(u"%02d:%02d", {s / 60, s % 60});
}

bool MediaProbe::ContentTypeStartsWith(TextView prefix) const {
  Text ct = ToLower(p_.contentType);
  return TextView(ct).substr(0, prefix.size()) == prefix;
}

bool MediaProbe::IsVideo() const {
  if (!p_.opened) return false;
  return ContentTypeStartsWith(u"video/") || (p_.hasFrameWidth && p_.frameWidth != 0);
}

bool MediaProbe::IsAudio() const {
  if (!p_.opened) return false;
  return ContentTypeStartsWith(u"audio/") || (p_.hasDuration && p_.duration100ns != 0);
}

bool MediaProbe::IsMedia() const {
  if (!p_.opened) return false;
  return ContentTypeStartsWith(u"video/") || ContentTypeStartsWith(u"audio/") || IsVideo() || IsAudio();
}

}  // namespace sorvane
