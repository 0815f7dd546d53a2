// Owner of one BSTR: freed once, move-only.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string_view>
#include <utility>

namespace sorvane::win {

class Bstr {
 public:
  Bstr() = default;
  // A copy of the text (which may hold NULs); empty on allocation failure.
  explicit Bstr(std::u16string_view text)
      : b_(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.data()), static_cast<UINT>(text.size()))) {}
  Bstr(Bstr&& o) noexcept : b_(std::exchange(o.b_, nullptr)) {}
  Bstr& operator=(Bstr&& o) noexcept {
    if (this != &o) {
      SysFreeString(b_);
      b_ = std::exchange(o.b_, nullptr);
    }
    return *this;
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { SysFreeString(b_); }

  BSTR get() const { return b_; }
  explicit operator bool() const { return b_ != nullptr; }

 private:
  BSTR b_ = nullptr;
};

}  // namespace sorvane::win
