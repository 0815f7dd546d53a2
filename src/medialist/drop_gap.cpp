#include "medialist/drop_gap.h"

namespace sorvane {

DropGap ComputeDropGap(const MediaList& list, int source, const DropPoint& at) {
  DropGap g;
  if (list.IsRow(at.hitRow)) {
    const int t = at.hitRow;
    const bool before = at.upperHalf;
    g.gap = before ? t : t + 1;
    g.markRow = t;
    g.markAtTop = before;
    g.effect = DropEffect::kMove;
    // Dropping a row right next to itself would change nothing.
    if ((!before && source == t + 1) || (before && source == t - 1 && list.SelectedCount() == 1)) {
      g.effect = DropEffect::kNone;
      g.gap = -1;
      g.markRow = -1;
    }
    return g;
  }
  if (list.Count() > 0 && at.belowLastRow) {
    g.effect = DropEffect::kMove;
    g.gap = list.Count();
    g.markRow = list.Count() - 1;
    g.markAtTop = false;
  }
  return g;
}

int DropTargetForGap(const MediaList& list, int gap) {
  int above = 0;
  const int end = gap < list.Count() ? gap : list.Count();
  for (int i = 0; i < end; ++i)
    if (list.IsSelected(i)) ++above;
  return gap - above;
}

}  // namespace sorvane
