// How the controls of a window follow a resize: each control's rectangle is
// recorded once and placed again from the change of the client size. Pure
// arithmetic, in pixels.
#pragma once

#include <vector>

namespace sorvane {

struct LayoutRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool operator==(const LayoutRect&) const = default;
};

// How one edge pair follows the window: kFixed keeps it, kGrows moves only the
// far edge by the window's change, kMoves shifts both edges, kCentred shifts
// both by half the change (a centred control stays centred).
enum class Follow { kFixed, kGrows, kMoves, kCentred };

class Layout {
 public:
  struct Item {
    int id;
    Follow horizontal;
    Follow vertical;
    LayoutRect initial;  // in the parent's client coordinates at recording time
  };

  // The client size the recorded rectangles belong to.
  void SetReferenceSize(int width, int height);
  void Add(int id, Follow horizontal, Follow vertical, LayoutRect initial);
  bool Empty() const { return items_.empty(); }
  const std::vector<Item>& Items() const { return items_; }

  // Each control's rectangle for a client area of this size.
  LayoutRect Place(const Item& item, int width, int height) const;

 private:
  int refWidth_ = 0, refHeight_ = 0;
  std::vector<Item> items_;
};

}  // namespace sorvane
