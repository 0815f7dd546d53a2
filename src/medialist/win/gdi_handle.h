// Owning wrappers for the few GDI and user objects the list view keeps.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <type_traits>

namespace sorvane::win {

struct FontDeleter {
  void operator()(HFONT f) const { if (f) DeleteObject(f); }
};
struct ImageListDeleter {
  void operator()(HIMAGELIST l) const { if (l) ImageList_Destroy(l); }
};
struct MenuDeleter {
  void operator()(HMENU m) const { if (m) DestroyMenu(m); }
};
struct PenDeleter {
  void operator()(HPEN p) const { if (p) DeleteObject(p); }
};

using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;
using UniqueImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;
using UniqueMenu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;
using UniquePen = std::unique_ptr<std::remove_pointer_t<HPEN>, PenDeleter>;

// A window DC released on scope exit.
class WindowDc {
 public:
  explicit WindowDc(HWND w) : w_(w), dc_(GetDC(w)) {}
  ~WindowDc() { if (dc_) ReleaseDC(w_, dc_); }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND w_;
  HDC dc_;
};

// Restores the object a SelectObject replaced.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
  ~SelectGuard() { SelectObject(dc_, old_); }
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

}  // namespace sorvane::win
