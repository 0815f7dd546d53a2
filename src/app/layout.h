// Geometry of the main window: how its controls follow a resize, its size
// limits, its first placement and its title. Pure arithmetic, in pixels.
#pragma once

#include <vector>

#include "framework/text.h"

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

struct SizeLimits {
  int minWidth, minHeight, maxWidth, maxHeight;
};
// Not narrower than 2.5 list-view widths nor lower than 400 pixels, not larger
// than 80 % of the screen (all truncated).
SizeLimits MainWindowSizeLimits(int listViewWidth, int screenWidth, int screenHeight);

// Half the work area in each direction (but not below the window's minimum
// size), centred in it.
LayoutRect CentredHalfOf(const LayoutRect& workArea, int minWidth = 0, int minHeight = 0);

// "<name and version> " then "Admin" and "- Portable" as they apply.
Text MainWindowTitle(TextView nameAndVersion, bool admin, bool portable);

}  // namespace sorvane
