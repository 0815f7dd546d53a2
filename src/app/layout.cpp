#include "app/layout.h"

#include <algorithm>

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

SizeLimits MainWindowSizeLimits(int listViewWidth, int screenWidth, int screenHeight) {
  return {static_cast<int>(listViewWidth * 2.5), 400, static_cast<int>(screenWidth * 0.8),
          static_cast<int>(screenHeight * 0.8)};
}

LayoutRect CentredHalfOf(const LayoutRect& work, int minWidth, int minHeight) {
  // The system enforces the minimum size anyway; centring the enlarged size
  // keeps the window in the middle instead of pushing it to the right.
  const int w = std::max(work.Width() / 2, minWidth);
  const int h = std::max(work.Height() / 2, minHeight);
  const int left = work.left + (work.Width() - w) / 2;
  const int top = work.top + (work.Height() - h) / 2;
  return {left, top, left + w, top + h};
}

Text MainWindowTitle(TextView nameAndVersion, bool admin, bool portable) {
  Text title(nameAndVersion);
  title += u' ';
  if (admin) title += u"Admin";
  if (portable) title += u"- Portable";
  return title;
}

}  // namespace sorvane
