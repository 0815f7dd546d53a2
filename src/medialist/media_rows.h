// The rows of the shown media list as the probe and the sequencer see them:
// five text columns (0 title, 1 path, 2 duration or "X", 3 file name, 4 error
// mark), an item image and per-column images, selection and focus. The list
// model implements it; tests use a small fake.
#pragma once

#include "framework/text.h"
#include "medialist/media_entry.h"  // column and image indexes, the failed mark

namespace sorvane {

class MediaRows {
 public:
  virtual ~MediaRows() = default;
  virtual int Count() const = 0;
  virtual Text GetText(int row, int column) const = 0;
  virtual void SetText(int row, int column, TextView text) = 0;
  virtual void SetItemImage(int row, int image) = 0;
  // -1 removes the column's image.
  virtual void SetColumnImage(int row, int column, int image) = 0;
  // First selected row, -1 when none.
  virtual int FirstSelected() const = 0;
  // Clears selection and focus of every row, then selects and focuses row and
  // scrolls it fully into view. A row outside the list is ignored.
  virtual void SelectAndFocus(int row) = 0;
};

// The mark of a row that could not be opened as media.
void MarkFailed(MediaRows& rows, int row);
bool IsMarkedFailed(const MediaRows& rows, int row);

}  // namespace sorvane
