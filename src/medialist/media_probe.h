// What the platform's media-metadata facility says about one file, and the
// rules that turn it into the list's duration text and the media tests.
#pragma once

#include <cstdint>

#include "framework/text.h"

namespace sorvane {

// The four properties a backend reads. Absent properties keep their empty
// value; opened is false when the file could not be opened at all.
struct MediaProperties {
  bool opened = false;
  Text title;
  bool hasDuration = false;
  uint64_t duration100ns = 0;  // units of 100 nanoseconds
  Text contentType;            // e.g. "audio/mpeg", any case
  bool hasFrameWidth = false;
  uint32_t frameWidth = 0;
};

// The platform side of a probe. One backend instance belongs to one thread.
class MediaProbeBackend {
 public:
  virtual ~MediaProbeBackend() = default;
  virtual MediaProperties Open(const Text& path) = 0;
};

// One probed file: the rules over what the backend reported. Every query gives
// its empty value (empty text, 0.0, false) when the file was not opened.
class MediaProbe {
 public:
  MediaProbe() = default;
  explicit MediaProbe(MediaProperties props) : p_(std::move(props)) {}
  static MediaProbe Open(MediaProbeBackend& backend, const Text& path) { return MediaProbe(backend.Open(path)); }

  bool Opened() const { return p_.opened; }
  Text Title() const { return p_.opened ? p_.title : Text(); }
  double DurationSeconds() const;
  Text DurationText() const { return FormatDuration(DurationSeconds()); }
  Text ContentType() const { return p_.opened ? p_.contentType : Text(); }
  bool IsVideo() const;
  bool IsAudio() const;
  bool IsMedia() const;

  // Whole seconds, at least 1, as minutes:seconds with no hour field (7500 s -> "125:00").
  static Text FormatDuration(double seconds);

 private:
  bool ContentTypeStartsWith(TextView prefix) const;
  MediaProperties p_;
};

}  // namespace sorvane
