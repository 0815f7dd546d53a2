// The folder listing of the scan through FindFirstFileW and FindNextFileW.
#pragma once

#include "medialist/folder_scan.h"

namespace sorvane::win {

class Win32DirectoryLister final : public DirectoryLister {
 public:
  std::unique_ptr<DirectorySearch> Find(const Text& pattern) override;
};

}  // namespace sorvane::win
