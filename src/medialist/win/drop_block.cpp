#include "medialist/win/drop_block.h"

#include <string_view>

#include "framework/win/wintext.h"
#include "medialist/drop_files.h"

namespace sorvane::win {

std::vector<Text> ReadDropBlock(HGLOBAL block) {
  if (!block) return {};
  const SIZE_T size = GlobalSize(block);
  const void* bytes = GlobalLock(block);
  if (!bytes) return {};
  struct Unlock {
    HGLOBAL block;
    ~Unlock() { GlobalUnlock(block); }
  } unlock{block};
  return ParseDropFiles(std::string_view(static_cast<const char*>(bytes), size), AnsiCodePageToText);
}

}  // namespace sorvane::win
