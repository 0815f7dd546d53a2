#include "medialist/type_ahead.h"

#include <algorithm>

namespace sorvane {

namespace {

bool Matches(TextView title, const TitleSearch& search) {
  if (search.prefix) {
    return title.size() >= search.text.size() && EqualsIgnoreCase(title.substr(0, search.text.size()), search.text);
  }
  return EqualsIgnoreCase(title, search.text);
}

}  // namespace

int FindTitleRow(const MediaList& rows, const TitleSearch& search) {
  const int count = rows.Count();
  if (search.text.empty() || count == 0) return -1;
  // A start past the end (after the last row) begins again at the top, when wrapping.
  if (search.start >= count && !search.wrap) return -1;
  const int start = search.start >= 0 && search.start < count ? search.start : 0;
  const int steps = search.wrap ? count : count - start;
  for (int i = 0; i < steps; ++i) {
    const int row = (start + i) % count;
    if (Matches(rows.Cell(row, kColumnTitle), search)) return row;
  }
  return -1;
}

}  // namespace sorvane
