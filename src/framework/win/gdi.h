// Small owners for GDI and user objects and for paired calls (one family for
// every window of the program: copy deleted, move allowed).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <utility>

namespace sorvane::win {

// Owns one GDI object (font, pen, brush) or icon; move-only. Each kind keeps
// a count of the handles its owners hold, which leak checks read: menus, icons
// and accelerator tables cannot be counted from outside the process.
template <class Handle, BOOL(WINAPI* Free)(Handle)>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {
    if (h_) live_.fetch_add(1, std::memory_order_relaxed);
  }
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) {
      reset();
      h_ = std::exchange(o.h_, nullptr);  // counted already, by its first owner
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { reset(); }
  void reset(Handle h = nullptr) {
    if (h == h_) return;
    if (h_) {
      Free(h_);
      live_.fetch_sub(1, std::memory_order_relaxed);
    }
    h_ = h;
    if (h_) live_.fetch_add(1, std::memory_order_relaxed);
  }
  Handle get() const { return h_; }
  // Gives up ownership (a menu handed to its parent menu or window, which frees it).
  Handle release() {
    if (h_) live_.fetch_sub(1, std::memory_order_relaxed);
    return std::exchange(h_, nullptr);
  }
  explicit operator bool() const { return h_ != nullptr; }
  // Handles of this kind held by owners right now, in the whole process.
  static long Live() { return live_.load(std::memory_order_relaxed); }

 private:
  static inline std::atomic<long> live_{0};
  Handle h_ = nullptr;
};

template <class T>
inline BOOL WINAPI DeleteTyped(T h) { return DeleteObject(h); }
using UniqueFont = UniqueHandle<HFONT, DeleteTyped<HFONT>>;
using UniquePen = UniqueHandle<HPEN, DeleteTyped<HPEN>>;
using UniqueBrush = UniqueHandle<HBRUSH, DeleteTyped<HBRUSH>>;
using UniqueIcon = UniqueHandle<HICON, DestroyIcon>;
using UniqueMenu = UniqueHandle<HMENU, DestroyMenu>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageList_Destroy>;

// BeginPaint / EndPaint.
class PaintScope {
 public:
  explicit PaintScope(HWND w) : w_(w) { dc_ = BeginPaint(w_, &ps_); }
  ~PaintScope() { EndPaint(w_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }

 private:
  HWND w_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// SelectObject and back.
class SelectScope {
 public:
  SelectScope(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectScope() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// GetDC / ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND w) : w_(w), dc_(GetDC(w)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(w_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND w_;
  HDC dc_;
};

}  // namespace sorvane::win
