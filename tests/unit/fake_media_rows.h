// An in-memory list of rows for the probe and sequencer tests.
#pragma once

#include <array>
#include <map>
#include <vector>

#include "medialist/media_probe.h"
#include "medialist/media_rows.h"

namespace sorvane::testing {

struct FakeRow {
  std::array<Text, 5> texts;
  int itemImage = -1;
  std::array<int, 5> columnImages{-1, -1, -1, -1, -1};
  bool selected = false;
  bool focused = false;
};

class FakeRows : public MediaRows {
 public:
  // Rows whose title and file name are the path's last part, as an unprobed list shows them.
  explicit FakeRows(std::vector<Text> paths = {}) {
    for (auto& p : paths) Add(p);
  }
  void Add(const Text& path, TextView duration = {}) {
    FakeRow r;
    Text name = path.substr(path.find_last_of(u'\\') == Text::npos ? 0 : path.find_last_of(u'\\') + 1);
    r.texts = {name, path, Text(duration), name, Text()};
    rows.push_back(r);
  }
  int Count() const override { return static_cast<int>(rows.size()); }
  Text GetText(int row, int column) const override { return rows.at(row).texts.at(column); }
  void SetText(int row, int column, TextView text) override { rows.at(row).texts.at(column) = Text(text); }
  void SetItemImage(int row, int image) override { rows.at(row).itemImage = image; }
  void SetColumnImage(int row, int column, int image) override { rows.at(row).columnImages.at(column) = image; }
  int FirstSelected() const override {
    for (size_t i = 0; i < rows.size(); ++i)
      if (rows[i].selected) return static_cast<int>(i);
    return -1;
  }
  void SelectAndFocus(int row) override {
    ++selectCalls;
    if (row < 0 || row >= Count()) return;
    for (auto& r : rows) r.selected = r.focused = false;
    rows[row].selected = rows[row].focused = true;
  }
  std::vector<FakeRow> rows;
  int selectCalls = 0;
};

// Answers from a table of paths; unknown paths do not open. Counts the opens.
class FakeBackend : public MediaProbeBackend {
 public:
  MediaProperties Open(const Text& path) override {
    ++opens;
    opened.push_back(path);
    auto it = files.find(path);
    return it == files.end() ? MediaProperties{} : it->second;
  }
  static MediaProperties Audio(double seconds, TextView title = {}) {
    MediaProperties p;
    p.opened = true;
    p.title = Text(title);
    p.hasDuration = true;
    p.duration100ns = static_cast<uint64_t>(seconds * 10000000.0 + 0.5);
    p.contentType = u"audio/mpeg";
    return p;
  }
  std::map<Text, MediaProperties> files;
  std::vector<Text> opened;
  int opens = 0;
};

}  // namespace sorvane::testing
