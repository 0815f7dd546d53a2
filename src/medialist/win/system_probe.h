// The platform's media metadata behind MediaProbeBackend: the shell property
// system first, Media Foundation's source resolver where the property store
// cannot be had (the function is missing or not implemented).
#pragma once

#include "medialist/media_probe.h"

namespace sorvane::win {

enum class ShellOpenResult {
  kOpened,       // a property store was obtained and read
  kFailed,       // the property system answered, but not with a store
  kUnavailable,  // no SHGetPropertyStoreFromParsingName, or it is not implemented
};

// The four properties through SHGetPropertyStoreFromParsingName. shell32.dll is
// loaded by name once per process and kept; the function is looked up at every open.
ShellOpenResult ReadShellProperties(const Text& path, MediaProperties& out);

// The same four properties through a Media Foundation media source: duration
// from the presentation descriptor, "audio/..." or "video/..." from the
// streams' major types, the frame width of the first video stream, the title
// where the source offers metadata. Media Foundation is loaded and started on
// first use and shut down with the backend, on the thread that used it.
class MediaFoundationBackend : public MediaProbeBackend {
 public:
  MediaFoundationBackend() = default;
  ~MediaFoundationBackend() override;
  MediaFoundationBackend(const MediaFoundationBackend&) = delete;
  MediaFoundationBackend& operator=(const MediaFoundationBackend&) = delete;
  MediaProperties Open(const Text& path) override;

 private:
  bool started_ = false;
};

class SystemProbeBackend : public MediaProbeBackend {
 public:
  // initThread: the backend lives on a thread of its own and initialises COM
  // (multithreaded) there; it must then be destroyed on that thread.
  explicit SystemProbeBackend(bool initThread = false) : com_(initThread) {}

  MediaProperties Open(const Text& path) override;

 private:
  // Declared first so that COM is released after Media Foundation has shut down.
  class ComThreadScope {
   public:
    explicit ComThreadScope(bool init);
    ~ComThreadScope();
    ComThreadScope(const ComThreadScope&) = delete;
    ComThreadScope& operator=(const ComThreadScope&) = delete;

   private:
    bool initialised_ = false;
  };
  ComThreadScope com_;
  MediaFoundationBackend fallback_;
};

}  // namespace sorvane::win
