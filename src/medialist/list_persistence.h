// The stored form of the media lists: one long value per list (its paths
// joined by CR LF) and the list names joined by TAB.
#pragma once

#include <vector>

#include "medialist/list_storage.h"
#include "medialist/media_list.h"
#include "settings/settings_keys.h"

namespace sorvane {

// The keys the lists own, under the names the list code uses (one table of key names).
inline constexpr TextView kListNamesKey = keys::kPlayList;
inline constexpr TextView kDefaultListNames = keys::kPlayListDefault;
inline constexpr TextView kLastListKey = keys::kLastSel;
inline constexpr TextView kLastRowKey = keys::kSel;

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
