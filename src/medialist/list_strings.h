// The language texts the media lists show. The language store supplies them
// at run time; until one is installed the English texts stand in.
#pragma once

#include <functional>

#include "framework/text.h"

namespace sorvane {

using LangLookup = std::function<Text(int id)>;

// English text of the ids the media lists use; empty for any other id.
Text EnglishListString(int id);

// The installed lookup, or the English texts when none is installed (or when
// the installed one answers with an empty text).
Text ListString(int id);
void InstallListStrings(LangLookup lookup);

namespace list_string {
inline constexpr int kNewPlaylist = 31;
inline constexpr int kMoveTop = 40;        // 40..49: context menu items
inline constexpr int kHeaderTitle = 50;    // 50..53: column headers 0..3
inline constexpr int kQuestionCaption = 140;
inline constexpr int kCopyTitlesQuestion = 141;
inline constexpr int kRemoveAllWarning = 142;
inline constexpr int kRemove = 146;
inline constexpr int kAddNewPlaylist = 147;
inline constexpr int kWarningCaption = 149;
}  // namespace list_string

}  // namespace sorvane
