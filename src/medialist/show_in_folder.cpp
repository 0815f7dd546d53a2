#include "medialist/show_in_folder.h"

namespace sorvane {

namespace {

bool IsDriveLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

}  // namespace

bool CanNameAFile(TextView path) {
  constexpr TextView kLongPathPrefix = u"\\\\?\\";
  if (path.substr(0, kLongPathPrefix.size()) == kLongPathPrefix) path.remove_prefix(kLongPathPrefix.size());
  if (path.empty()) return false;
  for (size_t i = 0; i < path.size(); ++i) {
    const char16_t c = path[i];
    if (c < 0x20) return false;
    switch (c) {
      case u'"': case u'<': case u'>': case u'|': case u'?': case u'*':
        return false;
      case u':':
        if (i != 1 || !IsDriveLetter(path[0])) return false;
        break;
      default:
        break;
    }
  }
  return true;
}

std::optional<Text> ShowInFolderArguments(TextView path) {
  if (!CanNameAFile(path)) return std::nullopt;
  return u"/select,\"" + Text(path) + u"\"";
}

}  // namespace sorvane
