#include "medialist/media_list.h"

#include <algorithm>

namespace sorvane {

TextView FileNameOfPath(TextView path) {
  const size_t slash = path.rfind(u'\\');
  return slash == TextView::npos ? path : path.substr(slash + 1);
}

void MediaList::Reserve(size_t rows) {
  rows_.reserve(rows);
  selected_.reserve(rows);
}

void MediaList::Clear() {
  rows_.clear();
  selected_.clear();
  selectedCount_ = 0;
  focus_ = -1;
}

int MediaList::Append(MediaEntry entry) {
  rows_.push_back(std::move(entry));
  selected_.push_back(0);
  return Count() - 1;
}

Text MediaList::GetEntryText(int row, int column) const {
  if (!IsRow(row) || column < 0 || column >= kColumnCount) return {};
  const Text& t = Cell(row, column);
  return t.size() > kCellTextLimit ? t.substr(0, kCellTextLimit) : t;
}

const Text& MediaList::Cell(int row, int column) const {
  return rows_[static_cast<size_t>(row)].text[static_cast<size_t>(column)];
}

void MediaList::SetEntryText(int row, int column, Text text) {
  if (!IsRow(row) || column < 0 || column >= kColumnCount) return;
  rows_[static_cast<size_t>(row)].text[static_cast<size_t>(column)] = std::move(text);
}

void MediaList::SetImages(int row, int image, int subImage) {
  if (!IsRow(row)) return;
  rows_[static_cast<size_t>(row)].image = image;
  rows_[static_cast<size_t>(row)].subImage = subImage;
}

void MediaList::SetSelected(int row, bool on) {
  if (!IsRow(row)) return;
  uint8_t& s = selected_[static_cast<size_t>(row)];
  if ((s != 0) == on) return;
  s = on ? 1 : 0;
  selectedCount_ += on ? 1 : -1;
}

void MediaList::SetAllSelected(bool on) {
  std::fill(selected_.begin(), selected_.end(), on ? 1 : 0);
  selectedCount_ = on ? Count() : 0;
}

int MediaList::FirstSelected() const {
  if (selectedCount_ == 0) return -1;
  auto it = std::find(selected_.begin(), selected_.end(), 1);
  return it == selected_.end() ? -1 : static_cast<int>(it - selected_.begin());
}

std::vector<int> MediaList::SelectedRows() const {
  std::vector<int> out;
  out.reserve(static_cast<size_t>(selectedCount_));
  for (size_t i = 0; i < selected_.size(); ++i)
    if (selected_[i]) out.push_back(static_cast<int>(i));
  return out;
}

int MediaList::MoveSelectedEntries(int target) {
  const int count = Count();
  if (count < 1) return -1;
  target = std::clamp(target, 0, count);
  if (selectedCount_ == 0) return -1;

  // One stable pass: the moved rows keep their order, the others theirs.
  std::vector<MediaEntry> moved;
  std::vector<MediaEntry> rest;
  moved.reserve(static_cast<size_t>(selectedCount_));
  rest.reserve(rows_.size() - static_cast<size_t>(selectedCount_));
  for (size_t i = 0; i < rows_.size(); ++i) (selected_[i] ? moved : rest).push_back(std::move(rows_[i]));

  const size_t at = std::min(static_cast<size_t>(target), rest.size());
  rows_.clear();
  rows_.insert(rows_.end(), std::make_move_iterator(rest.begin()), std::make_move_iterator(rest.begin() + static_cast<std::ptrdiff_t>(at)));
  rows_.insert(rows_.end(), std::make_move_iterator(moved.begin()), std::make_move_iterator(moved.end()));
  rows_.insert(rows_.end(), std::make_move_iterator(rest.begin() + static_cast<std::ptrdiff_t>(at)), std::make_move_iterator(rest.end()));

  std::fill(selected_.begin(), selected_.end(), 0);
  std::fill(selected_.begin() + static_cast<std::ptrdiff_t>(at),
            selected_.begin() + static_cast<std::ptrdiff_t>(at + moved.size()), 1);
  focus_ = static_cast<int>(at + moved.size()) - 1;
  return target;
}

int MediaList::RemoveSelectedEntries() {
  if (selectedCount_ == 0) return 0;
  size_t out = 0;
  int newFocus = -1;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (selected_[i]) continue;
    if (static_cast<int>(i) == focus_) newFocus = static_cast<int>(out);
    if (out != i) rows_[out] = std::move(rows_[i]);
    ++out;
  }
  const int removed = selectedCount_;
  rows_.resize(out);
  selected_.assign(out, 0);
  selectedCount_ = 0;
  focus_ = newFocus;
  return removed;
}

void MediaList::InvertSelection() {
  for (uint8_t& s : selected_) s = s ? 0 : 1;
  selectedCount_ = Count() - selectedCount_;
}

bool AddMediaFile(MediaList& list, TextView path, EntryProber* prober) {
  const TextView name = FileNameOfPath(path);
  MediaEntry e;
  e.text[kColumnPath] = Text(path);
  if (!prober) {
    e.text[kColumnTitle] = Text(name);
    list.Append(std::move(e));
    return true;
  }
  ProbedFile probed;
  if (!prober->Probe(e.text[kColumnPath], probed) || !probed.isMedia) return false;
  e.text[kColumnTitle] = probed.title.empty() ? Text(name) : std::move(probed.title);
  e.text[kColumnFileName] = Text(name);
  e.text[kColumnDuration] = std::move(probed.duration);
  e.image = probed.isVideo ? kImageVideo : kImageAudio;
  list.Append(std::move(e));
  return true;
}

}  // namespace sorvane
