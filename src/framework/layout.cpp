#include "framework/layout.h"

namespace sorvane {

namespace {

void Follow1D(Follow rule, int delta, int& low, int& high) {
  switch (rule) {
    case Follow::kFixed:
      break;
    case Follow::kGrows:
      high += delta;
      break;
    case Follow::kMoves:
      low += delta;
      high += delta;
      break;
    case Follow::kCentred:
      low += delta / 2;
      high += delta / 2;
      break;
  }
}

}  // namespace

void Layout::SetReferenceSize(int width, int height) {
  refWidth_ = width;
  refHeight_ = height;
}

void Layout::Add(int id, Follow horizontal, Follow vertical, LayoutRect initial) {
  items_.push_back({id, horizontal, vertical, initial});
}

LayoutRect Layout::Place(const Item& item, int width, int height) const {
  LayoutRect r = item.initial;
  Follow1D(item.horizontal, width - refWidth_, r.left, r.right);
  Follow1D(item.vertical, height - refHeight_, r.top, r.bottom);
  // A window shrunk below its recorded size must not turn a control inside out.
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}

}  // namespace sorvane
