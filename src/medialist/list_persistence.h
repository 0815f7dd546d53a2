// The stored form of the media lists: one long value per list (its paths
// joined by CR LF) and the list names joined by TAB.
#pragma once

#include <vector>

#include "medialist/list_storage.h"
#include "medialist/media_list.h"

namespace sorvane {

inline constexpr TextView kListNamesKey = u"m_PlayList";
inline constexpr TextView kDefaultListNames = u"Default PlayList";
inline constexpr TextView kLastListKey = u"m_LastSel";
inline constexpr TextView kLastRowKey = u"m_Sel";

// "MediaList" for list 0, "MediaList%d" otherwise.
Text ListSectionName(int index);

// Writes the paths of all rows (whole, never cut) to the list's section and
// returns the joined text.
Text SaveMediaList(const MediaList& rows, ListStorage& storage, int index);

// Replaces the rows by the stored list: one unprobed row per non-blank line,
// blanks trimmed from both ends. Returns the stored text.
Text LoadMediaList(MediaList& rows, ListStorage& storage, int index);
// The same from a text already read.
void FillFromStoredText(MediaList& rows, TextView text);

// Names joined by TAB, a TAB inside a name stored as a space.
Text JoinListNames(const std::vector<Text>& names);
// Cut at every TAB; an empty piece after a final TAB is dropped, an empty
// text gives no name.
std::vector<Text> SplitListNames(TextView stored);

}  // namespace sorvane
