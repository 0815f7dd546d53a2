#include "medialist/folder_scan.h"

namespace sorvane {

Text WithTrailingBackslash(const Text& folder) {
  if (!folder.empty() && folder.back() == u'\\') return folder;
  return folder + u'\\';
}

bool ScanFolder(const Text& folder, DirectoryLister& lister, const ScanCallbacks& callbacks) {
  const Text base = WithTrailingBackslash(folder);
  const Text pattern = base + u"*.*";
  if (pattern.size() >= kMaxScanPatternChars) return true;
  std::unique_ptr<DirectorySearch> search = lister.Find(pattern);
  if (!search) return true;
  DirectoryEntry entry;
  while (search->Next(entry)) {
    if (entry.name == u"." || entry.name == u"..") continue;
    if (entry.isDirectory) {
      if (!ScanFolder(base + entry.name, lister, callbacks)) return false;
      continue;
    }
    if (callbacks.addMediaFile) callbacks.addMediaFile(base + entry.name);
    if (callbacks.pumpMessages && !callbacks.pumpMessages()) return false;
  }
  return true;
}

}  // namespace sorvane
