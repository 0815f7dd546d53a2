// Typing in the list selects the next row whose title starts with what was
// typed, as in any list view.
#pragma once

#include "framework/text.h"
#include "medialist/media_list.h"

namespace sorvane {

struct TitleSearch {
  Text text;            // what was typed
  int start = 0;        // the first row looked at
  bool prefix = true;   // the title starts with text (else equals it)
  bool wrap = true;     // go on from the first row after the last one
};

// The first row from search.start on (wrapping when asked) whose title
// matches, ignoring case; -1 when none does or text is empty.
int FindTitleRow(const MediaList& rows, const TitleSearch& search);

}  // namespace sorvane
