// Owner of one kernel object handle (file, mutex, event, thread): closed once,
// move-only. Both null and INVALID_HANDLE_VALUE mean "none", since the
// platform answers a failed CreateFile with the one and most others with the other.
// The handles all owners hold are counted, for leak checks.
#pragma once

#include <windows.h>

#include <atomic>
#include <utility>

namespace sorvane::win {

class KernelHandle {
 public:
  KernelHandle() = default;
  explicit KernelHandle(HANDLE h) : h_(h) {
    if (Valid()) live_.fetch_add(1, std::memory_order_relaxed);
  }
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
    const bool valid = Valid();
    const bool ok = valid && CloseHandle(h_);
    if (valid) live_.fetch_sub(1, std::memory_order_relaxed);
    h_ = nullptr;
    return ok;
  }
  // Handles held by owners right now, in the whole process.
  static long Live() { return live_.load(std::memory_order_relaxed); }

 private:
  static inline std::atomic<long> live_{0};
  HANDLE h_ = nullptr;
};

}  // namespace sorvane::win
