// Where a drag of rows inside the list would land, and whether it may.
#pragma once

#include "medialist/media_list.h"

namespace sorvane {

enum class DropEffect { kNone, kMove, kLink };

struct DropPoint {
  int hitRow = -1;          // row under the cursor, -1 over no row
  bool upperHalf = false;   // the cursor lies above the middle of hitRow
  bool belowLastRow = false;  // over no row, below the bottom of the last row
};

struct DropGap {
  DropEffect effect = DropEffect::kLink;
  int gap = -1;         // rows land before this index; -1 when nothing lands
  int markRow = -1;     // the row whose edge shows the insertion mark, -1 for none
  bool markAtTop = false;
};

// The gap under the cursor while dragging rows of list, started on row source.
DropGap ComputeDropGap(const MediaList& list, int source, const DropPoint& at);

// The MoveSelectedEntries target that puts the selected rows into gap.
int DropTargetForGap(const MediaList& list, int gap);

}  // namespace sorvane
