// One row of a media list: five texts by column creation index and two image
// indexes. The path (column 1) is the entry's identity.
#pragma once

#include <array>

#include "framework/text.h"

namespace sorvane {

enum MediaColumn : int {
  kColumnTitle = 0,
  kColumnPath = 1,
  kColumnDuration = 2,
  kColumnFileName = 3,
  kColumnError = 4,
  kColumnCount = 5,
};

// Image indexes of a row.
inline constexpr int kImageNone = -1;
inline constexpr int kImageAudio = 0;
inline constexpr int kImageVideo = 1;
inline constexpr int kImageFailed = 2;

inline constexpr TextView kFailedMark = u"X";

// Cells handed out by GetEntryText are at most this long (a 1024-unit buffer).
inline constexpr size_t kCellTextLimit = 1023;

struct MediaEntry {
  std::array<Text, kColumnCount> text;
  int image = kImageNone;     // item image, shown in column 0
  int subImage = kImageNone;  // image of column 2
};

// The part of a path after its last backslash; the whole path when it has none.
TextView FileNameOfPath(TextView path);

}  // namespace sorvane
