// The file-system and environment seam of the core. The Win32 layer implements
// it with the platform's functions; tests use an in-memory fake.
#pragma once

#include <string>
#include <string_view>

#include "framework/text.h"

namespace sorvane {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Whole file as bytes; false when it does not exist or cannot be read.
  virtual bool ReadFile(const Text& path, std::string& bytes) = 0;
  // Replaces the file's content in one step (a temporary file in the same folder,
  // then a rename over the old one), so a crash never leaves a torn file.
  virtual bool WriteFileAtomic(const Text& path, std::string_view bytes) = 0;
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
};

}  // namespace sorvane
