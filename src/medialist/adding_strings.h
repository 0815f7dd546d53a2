// The language texts of adding media. The installed language lookup of the
// media lists supplies them; the English texts stand in for missing ones.
#pragma once

#include "framework/text.h"

namespace sorvane {

namespace adding_string {
inline constexpr int kFilterAudioVideo = 132;
inline constexpr int kFilterAudio = 133;
inline constexpr int kFilterVideo = 134;
inline constexpr int kFilterAllFiles = 135;
inline constexpr int kQuestionCaption = 140;
inline constexpr int kNewListQuestion = 143;
inline constexpr int kSkipDuplicatesQuestion = 144;
inline constexpr int kBusyFirst = 170;      // shown when the busy dialog opens
inline constexpr int kBusyRotation = 171;   // 171..176 rotate while it runs
inline constexpr int kBusyRotationCount = 6;
inline constexpr int kCommandLineListPrefix = 180;
}  // namespace adding_string

// English text of the ids above; empty for any other id.
Text EnglishAddingString(int id);

// The text in the current language, or the English one when the language has none.
Text AddingString(int id);

}  // namespace sorvane
