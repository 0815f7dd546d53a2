// What adding a file with probing needs to know about it. The media-probing
// code provides the real implementation; tests provide fakes.
#pragma once

#include "framework/text.h"

namespace sorvane {

struct ProbedFile {
  bool isMedia = false;  // the file could be opened and is audio or video
  bool isVideo = false;
  Text title;            // empty when the file has none
  Text duration;         // "%02d:%02d"
};

class EntryProber {
 public:
  virtual ~EntryProber() = default;
  // False when the file cannot be opened as media; out is then unspecified.
  virtual bool Probe(const Text& path, ProbedFile& out) = 0;
};

}  // namespace sorvane
