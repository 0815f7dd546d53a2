// The recursive folder scan behind Import from Folder and folder drops.
#pragma once

#include <functional>
#include <memory>

#include "framework/text.h"

namespace sorvane {

struct DirectoryEntry {
  Text name;
  bool isDirectory = false;
};

// One running search of a folder; the search closes when this is destroyed.
class DirectorySearch {
 public:
  virtual ~DirectorySearch() = default;
  // The next entry in the order the file system returns them; false at the end.
  virtual bool Next(DirectoryEntry& entry) = 0;
};

class DirectoryLister {
 public:
  virtual ~DirectoryLister() = default;
  // Starts a search of pattern (a folder with "\*.*"); null when it cannot start.
  virtual std::unique_ptr<DirectorySearch> Find(const Text& pattern) = 0;
};

// A pattern of this many characters or more is not searched (the platform's path limit).
inline constexpr size_t kMaxScanPatternChars = 260;

struct ScanCallbacks {
  std::function<void(const Text& path)> addMediaFile;  // adds with probing
  // Runs after each file so the window stays alive; false ends the whole scan
  // (the program is quitting).
  std::function<bool()> pumpMessages;
};

// Depth first: a subfolder is scanned completely when its entry comes up.
// "." and ".." are skipped; any other name, "..x" too, is a file or folder.
// Returns false when the scan was ended by pumpMessages.
bool ScanFolder(const Text& folder, DirectoryLister& lister, const ScanCallbacks& callbacks);

// The folder with a backslash at its end (unchanged when it has one).
Text WithTrailingBackslash(const Text& folder);

}  // namespace sorvane
