#include "medialist/win/win_directory_lister.h"

#include <windows.h>

#include "framework/win/wintext.h"

namespace sorvane::win {
namespace {

class Win32Search final : public DirectorySearch {
 public:
  Win32Search(HANDLE handle, const WIN32_FIND_DATAW& first) : handle_(handle), data_(first), hasCurrent_(true) {}
  ~Win32Search() override { FindClose(handle_); }
  Win32Search(const Win32Search&) = delete;
  Win32Search& operator=(const Win32Search&) = delete;

  bool Next(DirectoryEntry& entry) override {
    if (!hasCurrent_) return false;
    entry.name = T(data_.cFileName);
    entry.isDirectory = (data_.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    hasCurrent_ = FindNextFileW(handle_, &data_) != FALSE;
    return true;
  }

 private:
  HANDLE handle_;
  WIN32_FIND_DATAW data_;
  bool hasCurrent_;
};

}  // namespace

std::unique_ptr<DirectorySearch> Win32DirectoryLister::Find(const Text& pattern) {
  WIN32_FIND_DATAW data{};
  HANDLE handle = FindFirstFileW(W(pattern), &data);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32Search>(handle, data);
}

}  // namespace sorvane::win
