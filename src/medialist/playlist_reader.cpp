#include "medialist/playlist_reader.h"

#include <algorithm>
#include <utility>

#include "medialist/playlist_xml.h"

namespace sorvane {
namespace {

bool EndsWithIgnoreCase(TextView text, TextView suffix) {
  return text.size() >= suffix.size() && EqualsIgnoreCase(text.substr(text.size() - suffix.size()), suffix);
}

Text DecodeUtf16(std::string_view bytes, bool bigEndian) {
  Text out;
  out.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    out.push_back(static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a));
  }
  // A lone surrogate has no form in the UTF-8 files the program writes.
  for (size_t i = 0; i < out.size(); ++i) {
    const char16_t c = out[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < out.size() && out[i + 1] >= 0xDC00 && out[i + 1] <= 0xDFFF) {
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      out[i] = 0xFFFD;
    }
  }
  return out;
}

// Calls `line` for each line; CR LF, LF and CR all end a line.
template <typename F>
void ForEachLine(TextView text, F&& line) {
  size_t start = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    line(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  if (start < n) line(text.substr(start));
}

TextView FirstLine(TextView text) {
  TextView first;
  ForEachLine(text, [&](TextView l) {
    if (first.empty() && !Trim(l).empty()) first = Trim(l);
  });
  return first;
}

}  // namespace

bool IsValidUtf8(std::string_view s) {
  size_t i = 0;
  const size_t n = s.size();
  while (i < n) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t len = 0;
    char32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    }
    if ((c & 0xE0) == 0xC0) {
      len = 2;
      cp = c & 0x1Fu;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3;
      cp = c & 0x0Fu;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4;
      cp = c & 0x07u;
    } else {
      return false;
    }
    if (i + len > n) return false;
    for (size_t k = 1; k < len; ++k) {
      const auto d = static_cast<unsigned char>(s[i + k]);
      if ((d & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (d & 0x3F);
    }
    static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += len;
  }
  return true;
}

Text DecodePlaylistText(std::string_view bytes, const AnsiDecoder& ansi, bool utf8Only) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return FromUtf8(bytes.substr(3));
  if (bytes.starts_with("\xFF\xFE")) return DecodeUtf16(bytes.substr(2), false);
  if (bytes.starts_with("\xFE\xFF")) return DecodeUtf16(bytes.substr(2), true);
  if (utf8Only || !ansi || IsValidUtf8(bytes)) return FromUtf8(bytes);
  return ansi(bytes);
}

PlaylistKind DetectPlaylistKind(TextView text, TextView fileName) {
  // Only the start of the file decides; a huge file is not searched through.
  const TextView head = text.substr(0, 4096);
  const TextView first = FirstLine(head);
  if (EqualsIgnoreCase(first, u"[playlist]")) return PlaylistKind::kPls;
  if (first.starts_with(u"<")) {
    const Text lower = ToLower(head);
    if (lower.find(u"<?wpl") != Text::npos || lower.find(u"<smil") != Text::npos) return PlaylistKind::kWpl;
    if (lower.find(u"xspf.org/ns") != Text::npos || lower.find(u"<playlist") != Text::npos) return PlaylistKind::kXspf;
    // XML of neither signature: trust the extension; no M3U starts with "<".
    return EndsWithIgnoreCase(fileName, u".xspf") ? PlaylistKind::kXspf : PlaylistKind::kWpl;
  }
  // PLS without its section header still numbers its entries "FileN=".
  if (first.size() > 5 && EqualsIgnoreCase(first.substr(0, 4), u"file") && first[4] >= u'0' && first[4] <= u'9' &&
      first.find(u'=') != TextView::npos) {
    return PlaylistKind::kPls;
  }
  return PlaylistKind::kM3u;
}

std::vector<Text> ReadM3uItems(TextView text) {
  std::vector<Text> items;
  ForEachLine(text, [&](TextView line) {
    const TextView t = Trim(line);
    if (!t.empty() && t[0] != u'#') items.emplace_back(t);
  });
  return items;
}

std::vector<Text> ReadPlsItems(TextView text) {
  // Keys of the [playlist] section (or of a file without any section header);
  // entries are ordered by their number, equal numbers by their place.
  std::vector<std::pair<unsigned, Text>> numbered;
  bool inPlaylist = true;
  ForEachLine(text, [&](TextView line) {
    const TextView t = Trim(line);
    if (t.starts_with(u"[")) {
      inPlaylist = EqualsIgnoreCase(t, u"[playlist]");
      return;
    }
    if (!inPlaylist) return;
    const size_t eq = t.find(u'=');
    if (eq == TextView::npos) return;
    const TextView key = Trim(t.substr(0, eq));
    if (key.size() < 5 || !EqualsIgnoreCase(key.substr(0, 4), u"file")) return;
    unsigned number = 0;
    for (char16_t c : key.substr(4)) {
      if (c < u'0' || c > u'9') return;
      number = number > 100000000u ? number : number * 10 + (c - u'0');
    }
    numbered.emplace_back(number, Text(Trim(t.substr(eq + 1))));
  });
  std::stable_sort(numbered.begin(), numbered.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Text> items;
  items.reserve(numbered.size());
  for (auto& [number, value] : numbered) items.push_back(std::move(value));
  return items;
}

std::vector<Text> ReadPlaylistItems(TextView text, PlaylistKind kind) {
  switch (kind) {
    case PlaylistKind::kPls: return ReadPlsItems(text);
    case PlaylistKind::kWpl: return ScanWplSources(text);
    case PlaylistKind::kXspf: return ScanXspfLocations(text);
    case PlaylistKind::kM3u: break;
  }
  return ReadM3uItems(text);
}

std::vector<PlaylistEntry> ResolvePlaylistItems(const std::vector<Text>& items, PlaylistKind kind,
                                                TextView folder) {
  std::vector<PlaylistEntry> entries;
  entries.reserve(items.size());
  for (const Text& item : items) {
    // An XSPF location is a URI reference: a relative one is percent-encoded too.
    const TextView t = Trim(item);
    const Text text = kind == PlaylistKind::kXspf && !HasUrlScheme(t) ? PercentDecodeUtf8(t) : Text(t);
    PlaylistEntry e = ResolvePlaylistItem(text, folder);
    if (!e.path.empty()) entries.push_back(std::move(e));
  }
  return entries;
}

std::vector<PlaylistEntry> ReadPlaylist(std::string_view bytes, TextView playlistPath, const AnsiDecoder& ansi) {
  const Text text = DecodePlaylistText(bytes, ansi, EndsWithIgnoreCase(playlistPath, u".m3u8"));
  const PlaylistKind kind = DetectPlaylistKind(text, playlistPath);
  return ResolvePlaylistItems(ReadPlaylistItems(text, kind), kind, PlaylistFolder(playlistPath));
}

}  // namespace sorvane
