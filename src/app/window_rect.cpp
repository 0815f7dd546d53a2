#include "app/window_rect.h"

#include <algorithm>
#include <climits>

namespace sorvane {

namespace {

// One "%d" conversion: blanks, optional sign, digits. Large numbers saturate.
bool ScanInt(TextView text, size_t& pos, long long& out) {
  while (pos < text.size() && (text[pos] == u' ' || text[pos] == u'\t' || text[pos] == u'\r' ||
                               text[pos] == u'\n' || text[pos] == u'\v' || text[pos] == u'\f'))
    ++pos;
  bool negative = false;
  size_t p = pos;
  if (p < text.size() && (text[p] == u'+' || text[p] == u'-')) negative = text[p++] == u'-';
  const size_t digits = p;
  long long v = 0;
  for (; p < text.size() && text[p] >= u'0' && text[p] <= u'9'; ++p) v = std::min(v * 10 + (text[p] - u'0'), 1LL << 32);
  if (p == digits) return false;
  pos = p;
  out = negative ? -v : v;
  return true;
}

int ToInt(long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); }

}  // namespace

std::optional<WindowRect> FitWindowRect(TextView text, int screenWidth, int screenHeight) {
  long long n[4];
  size_t pos = 0;
  for (int i = 0; i < 4; ++i) {
    if (i > 0) {
      if (pos >= text.size() || text[pos] != u',') return std::nullopt;
      ++pos;
    }
    if (!ScanInt(text, pos, n[i])) return std::nullopt;
  }
  long long left = n[0], top = n[1], right = n[2], bottom = n[3];
  const long long maxWidth = static_cast<long long>(screenWidth * 0.8);
  const long long maxHeight = static_cast<long long>(screenHeight * 0.8);

  const long long width = right - left;
  if (width < 600) right = left + 600;
  else if (width > maxWidth) right = left + maxWidth;
  const long long height = bottom - top;
  if (height < 400) bottom = top + 400;
  else if (height > maxHeight) bottom = top + maxHeight;

  // Moved, never cut: a rectangle left of or above the screen keeps its size,
  // so the window never gets a negative one. A size larger than the screen
  // (only the least size can be) keeps the top-left corner on the screen.
  const auto shiftInto = [](long long& low, long long& high, long long limit) {
    if (high > limit) {
      low -= high - limit;
      high = limit;
    }
    if (low < 0) {
      high -= low;
      low = 0;
    }
  };
  shiftInto(left, right, screenWidth);
  shiftInto(top, bottom, screenHeight);
  return WindowRect{ToInt(left), ToInt(top), ToInt(right), ToInt(bottom)};
}

std::optional<WindowRect> StoredWindowRect(TextView text, int screenWidth, int screenHeight) {
  if (text.size() <= kShortestIgnoredRectText) return std::nullopt;
  return FitWindowRect(text, screenWidth, screenHeight);
}

}  // namespace sorvane
