// Owner of one kernel object handle (file, mutex, event, thread): closed once,
// move-only. Both null and INVALID_HANDLE_VALUE mean "none", since the
// platform answers a failed CreateFile with the one and most others with the other.
#pragma once

#include <windows.h>

#include <utility>

namespace sorvane::win {

class KernelHandle {
 public:
  KernelHandle() = default;
  explicit KernelHandle(HANDLE h) : h_(h) {}
  KernelHandle(KernelHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  KernelHandle& operator=(KernelHandle&& o) noexcept {
    if (this != &o) {
      Close();
      h_ = std::exchange(o.h_, nullptr);
    }
    return *this;
  }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
  ~KernelHandle() { Close(); }

  bool Valid() const { return h_ != nullptr && h_ != INVALID_HANDLE_VALUE; }
  explicit operator bool() const { return Valid(); }
  HANDLE get() const { return h_; }
  // Closes now; false when there was nothing to close or closing failed (a
  // file whose last buffered bytes could not be written reports it here).
  bool Close() {
    const bool ok = Valid() && CloseHandle(h_);
    h_ = nullptr;
    return ok;
  }

 private:
  HANDLE h_ = nullptr;
};

}  // namespace sorvane::win
