// The language texts the media lists show. The language store supplies them
// at run time; until one is installed, and for an id it does not have, the
// English texts stand in. A text the language gives as empty stays empty.
#pragma once

#include <functional>
#include <optional>

#include "framework/text.h"

namespace sorvane {

// The text of id; nullopt when no language has the id.
using LangLookup = std::function<std::optional<Text>(int id)>;

// English text of the ids the media lists use; empty for any other id.
Text EnglishListString(int id);

// The installed lookup's text of id; english when none is installed or it
// has no such id.
Text ListStringOr(int id, const Text& english);
// ListStringOr with EnglishListString(id).
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
