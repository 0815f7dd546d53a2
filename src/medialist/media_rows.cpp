#include "medialist/media_rows.h"

namespace sorvane {

void MarkFailed(MediaRows& rows, int row) {
  rows.SetItemImage(row, kImageFailed);
  rows.SetText(row, kColumnDuration, kFailedMark);
  rows.SetText(row, kColumnError, kFailedMark);
  rows.SetColumnImage(row, kColumnDuration, kImageFailed);
}

bool IsMarkedFailed(const MediaRows& rows, int row) { return rows.GetText(row, kColumnDuration) == kFailedMark; }

}  // namespace sorvane
