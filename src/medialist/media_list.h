// The rows of the shown media list with their selection and focus. The list
// view is only a view of this table (owner-data mode), so it must stay cheap
// for 100,000 rows: plain vectors, whole entries moved, no per-row objects
// beyond the texts themselves.
#pragma once

#include <cstdint>
#include <vector>

#include "medialist/entry_prober.h"
#include "medialist/media_entry.h"

namespace sorvane {

class MediaList {
 public:
  int Count() const { return static_cast<int>(rows_.size()); }
  bool IsRow(int row) const { return row >= 0 && row < Count(); }
  const MediaEntry& Entry(int row) const { return rows_[static_cast<size_t>(row)]; }
  void Reserve(size_t rows);
  void Clear();

  // Appends a row (not selected, not focused) and returns its index.
  int Append(MediaEntry entry);

  // The cell's text cut to 1023 characters; empty for a bad row or column.
  Text GetEntryText(int row, int column) const;
  // The whole cell, for storing and playing (paths are never cut there).
  const Text& Cell(int row, int column) const;
  void SetEntryText(int row, int column, Text text);
  void SetImages(int row, int image, int subImage);

  bool IsSelected(int row) const { return IsRow(row) && selected_[static_cast<size_t>(row)] != 0; }
  void SetSelected(int row, bool on);
  void SetAllSelected(bool on);
  int SelectedCount() const { return selectedCount_; }
  int FirstSelected() const;
  std::vector<int> SelectedRows() const;
  int Focus() const { return focus_; }
  void SetFocus(int row) { focus_ = IsRow(row) ? row : -1; }

  // Moves every selected row so that the first lands at target (clamped into
  // [0, Count()]; an index past the rows that remain appends). Afterwards only
  // the moved rows are selected and the last of them has the focus. Returns
  // the clamped target (which may lie past the rows that remain: they were
  // appended), or -1 with no rows or no selection.
  int MoveSelectedEntries(int target);
  // Deletes the selected rows; returns how many. A removed focus is dropped.
  int RemoveSelectedEntries();
  void SelectAllEntries() { SetAllSelected(true); }
  void InvertSelection();

 private:
  std::vector<MediaEntry> rows_;
  std::vector<uint8_t> selected_;
  int selectedCount_ = 0;
  int focus_ = -1;
};

// Appends path as a row. Without a prober the row is unprobed (file name as
// title, no image) and always added. With one, only media files are added,
// with title, duration, file name and audio/video image. Never selects or
// focuses the new row, so adding never starts playback.
bool AddMediaFile(MediaList& list, TextView path, EntryProber* prober);

}  // namespace sorvane
