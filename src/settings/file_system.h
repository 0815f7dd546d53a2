// The file-system and environment seam of the core. The Win32 layer implements
// it with the platform's functions; tests use an in-memory fake.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "framework/text.h"

namespace sorvane {

// What tells one version of a file from another without reading it: its size,
// last-write time and identity (volume and file number). Two equal stamps of
// the same path mean the same bytes as far as the platform can tell.
struct FileStamp {
  uint64_t size = 0;
  uint64_t lastWrite = 0;
  uint64_t volume = 0;
  uint64_t fileIdHigh = 0;
  uint64_t fileIdLow = 0;
  bool operator==(const FileStamp&) const = default;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Whole file as bytes; false when it does not exist or cannot be read.
  virtual bool ReadFile(const Text& path, std::string& bytes) = 0;
  // Replaces the file's content in one step (a temporary file in the same folder,
  // then a rename over the old one), so a crash never leaves a torn file.
  virtual bool WriteFileAtomic(const Text& path, std::string_view bytes) = 0;
  // The file's current stamp; false when it is missing or the platform cannot
  // tell, and then nothing read from it is kept.
  virtual bool Stamp(const Text&, FileStamp&) { return false; }
  // WriteFileAtomic that also reports the stamp of the file it left behind.
  // Platforms that can take it from the written file itself override this, so
  // that a change by another process right after the rename is never mistaken
  // for the bytes just written.
  virtual bool WriteFileAtomicStamped(const Text& path, std::string_view bytes, FileStamp& written, bool& stamped) {
    if (!WriteFileAtomic(path, bytes)) return false;
    stamped = Stamp(path, written);
    return true;
  }
  // Whether WriteFileAtomic could replace the file now, found without changing
  // it: its folder takes a new file, it is not read-only and nobody holds it
  // against being replaced. False when the platform cannot tell; callers then
  // write to find out.
  virtual bool CanReplace(const Text&) { return false; }
  // The absolute form of a path, resolved against the current directory; the
  // path as given when it cannot be resolved.
  virtual Text FullPath(const Text& path) { return path; }
  // 1: an existing file; 2: an existing directory; 0: not found; -1: any other error.
  virtual int PathKind(const Text& path) = 0;
  // Creates one folder; an existing folder or a failure is not an error to the caller.
  virtual bool CreateFolder(const Text& path) = 0;

  // The system temporary folder, the program file's full path and the user's
  // roaming application-data folder, as the platform reports them.
  virtual Text TempFolder() = 0;
  virtual Text ProgramFilePath() = 0;
  virtual Text AppDataFolder() = 0;

  // Text of a file without byte-order mark, in the system ANSI code page.
  virtual Text AnsiToText(std::string_view bytes) = 0;

  // The platform's error code of the last ReadFile or WriteFileAtomic that
  // failed on this thread (0 when it cannot tell), for telling the user why.
  virtual uint32_t LastFailure() { return 0; }
};

}  // namespace sorvane
