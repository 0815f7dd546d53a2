#include "medialist/playlist_import.h"

#include "medialist/adding_strings.h"

namespace sorvane {

bool HasPlaylistExtension(TextView path) {
  const size_t dot = path.find_last_of(u'.');
  if (dot == TextView::npos) return false;
  const TextView ext = path.substr(dot);
  if (ext.find_first_of(u"\\/") != TextView::npos) return false;
  for (TextView known : {u".m3u", u".m3u8", u".pls", u".wpl", u".xspf"})
    if (EqualsIgnoreCase(ext, known)) return true;
  return false;
}

Text PlaylistListPrefix(TextView playlistPath) {
  const size_t slash = playlistPath.find_last_of(u"\\/");
  TextView name = slash == TextView::npos ? playlistPath : playlistPath.substr(slash + 1);
  const size_t dot = name.find_last_of(u'.');
  if (dot != TextView::npos && dot > 0) name = name.substr(0, dot);
  // The list names are stored tab-separated; a tab cannot be in a file name,
  // but a prefix must never split a name.
  Text prefix(name);
  for (char16_t& c : prefix)
    if (c < 0x20) c = u' ';
  return prefix;
}

std::optional<PlaylistImportCounts> ImportPlaylistEntries(const std::vector<PlaylistEntry>& entries,
                                                          TextView playlistPath, bool askWhere,
                                                          PlaylistImportHost& host) {
  if (askWhere) {
    const Answer a = host.Ask(AddingString(adding_string::kNewListQuestion),
                              AddingString(adding_string::kQuestionCaption));
    if (a == Answer::kCancel) return std::nullopt;
    if (a == Answer::kYes) {
      // The shown list is written before the view is emptied, so edits not yet
      // saved are kept.
      host.SaveShownList();
      const int index = host.NewMediaList(PlaylistListPrefix(playlistPath));
      host.SaveListNames();
      host.ShowEmptyList(index);
    }
  }

  PlaylistImportCounts counts;
  for (const PlaylistEntry& entry : entries) {
    if (entry.path.empty()) continue;
    const int before = host.RowCount();
    if (entry.isUrl)
      host.AddUrl(entry.path);
    else if (host.PathExists(entry.path))
      host.AddPath(entry.path);
    // A folder scan dispatches messages: the user may switch lists meanwhile,
    // so a shrinking count means nothing was added here.
    const int grown = host.RowCount() - before;
    if (grown > 0)
      counts.added += grown;
    else
      ++counts.skipped;
  }
  host.SaveShownList();
  return counts;
}

Text PlaylistImportSummary(const PlaylistImportCounts& counts) {
  return Format(u"%d added, %d skipped (missing, or not audio or video).", {counts.added, counts.skipped});
}

}  // namespace sorvane
