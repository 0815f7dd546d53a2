#include "medialist/list_persistence.h"

namespace sorvane {
namespace {

// iswspace of the C locale: the CR before each LF goes, other text stays.
bool IsBlank(char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); }

TextView TrimBlanks(TextView t) {
  size_t b = 0, e = t.size();
  while (b < e && IsBlank(t[b])) ++b;
  while (e > b && IsBlank(t[e - 1])) --e;
  return t.substr(b, e - b);
}

}  // namespace

Text ListSectionName(int index) {
  return index == 0 ? Text(u"MediaList") : Format(u"MediaList%d", {index});
}

Text SaveMediaList(const MediaList& rows, ListStorage& storage, int index) {
  size_t total = 0;
  for (int r = 0; r < rows.Count(); ++r) total += rows.Cell(r, kColumnPath).size() + 2;
  Text text;
  text.reserve(total);
  for (int r = 0; r < rows.Count(); ++r) {
    if (r > 0) text += u"\r\n";
    text += rows.Cell(r, kColumnPath);
  }
  storage.WriteLongValue(ListSectionName(index), text);
  return text;
}

void FillFromStoredText(MediaList& rows, TextView text) {
  rows.Clear();
  size_t lines = 1;
  for (char16_t c : text) lines += c == u'\n';
  rows.Reserve(lines);
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(u'\n', start);
    if (end == TextView::npos) end = text.size();
    const TextView piece = TrimBlanks(text.substr(start, end - start));
    if (!piece.empty()) AddMediaFile(rows, piece, nullptr);
    start = end + 1;
  }
}

Text LoadMediaList(MediaList& rows, ListStorage& storage, int index) {
  Text text = storage.ReadLongValue(ListSectionName(index));
  FillFromStoredText(rows, text);
  return text;
}

Text JoinListNames(const std::vector<Text>& names) {
  Text out;
  for (size_t i = 0; i < names.size(); ++i) {
    if (i > 0) out += u'\t';
    Text name = names[i];
    for (char16_t& c : name)
      if (c == u'\t') c = u' ';
    out += name;
  }
  return out;
}

std::vector<Text> SplitListNames(TextView stored) {
  std::vector<Text> names;
  size_t start = 0;
  while (start < stored.size()) {
    size_t end = stored.find(u'\t', start);
    if (end == TextView::npos) end = stored.size();
    names.emplace_back(stored.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

}  // namespace sorvane
