// The settings store's file system and environment on Win32.
#pragma once

#include "settings/file_system.h"

namespace sorvane::win {

class WinFileSystem final : public FileSystem {
 public:
  bool ReadFile(const Text& path, std::string& bytes) override;
  bool WriteFileAtomic(const Text& path, std::string_view bytes) override;
  bool WriteFileAtomicStamped(const Text& path, std::string_view bytes, FileStamp& written, bool& stamped) override;
  bool Stamp(const Text& path, FileStamp& stamp) override;
  Text FullPath(const Text& path) override;
  bool CanReplace(const Text& path) override;
  int PathKind(const Text& path) override;
  bool CreateFolder(const Text& path) override;
  Text TempFolder() override;
  Text ProgramFilePath() override;
  Text AppDataFolder() override;
  Text AnsiToText(std::string_view bytes) override;
  uint32_t LastFailure() override;
};

}  // namespace sorvane::win
