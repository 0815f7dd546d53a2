#include "medialist/playlist_paths.h"

#include <string>
#include <vector>

namespace sorvane {
namespace {

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool HasDrive(TextView p) { return p.size() >= 2 && IsAsciiLetter(p[0]) && p[1] == u':'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The root of an absolute path: "C:\", "\\server\share\", "\" alone; empty for
// a relative path. `rest` receives what follows. A share path without a server
// or share name is no path at all: `valid` turns false.
Text SplitRoot(TextView p, TextView& rest, bool& valid) {
  valid = true;
  if (p.size() >= 2 && p[0] == u'\\' && p[1] == u'\\') {
    TextView tail = p.substr(2);
    const size_t s1 = tail.find(u'\\');
    const TextView server = Trim(tail.substr(0, s1));
    const TextView afterServer = s1 == TextView::npos ? TextView() : tail.substr(s1 + 1);
    const size_t s2 = afterServer.find(u'\\');
    const TextView share = Trim(afterServer.substr(0, s2));
    if (server.empty() || share.empty()) {
      valid = false;
      return Text();
    }
    rest = s2 == TextView::npos ? TextView() : afterServer.substr(s2);
    return u"\\\\" + Text(server) + u"\\" + Text(share) + u"\\";
  }
  if (HasDrive(p) && p.size() >= 3 && p[2] == u'\\') {
    rest = p.substr(3);
    return Text(p.substr(0, 2)) + u"\\";
  }
  if (!p.empty() && p[0] == u'\\') {
    rest = p.substr(1);
    return u"\\";
  }
  rest = p;
  return Text();
}

// Root plus the segments of rest with "." and ".." applied; ".." never climbs
// above the root. Trailing dots and blanks of the last segment are dropped, as
// the platform drops them when it opens the file.
Text Normalize(const Text& root, TextView rest) {
  std::vector<TextView> segs;
  size_t pos = 0;
  while (pos <= rest.size()) {
    size_t next = rest.find(u'\\', pos);
    if (next == TextView::npos) next = rest.size();
    const TextView seg = rest.substr(pos, next - pos);
    if (seg == u"..") {
      if (!segs.empty()) segs.pop_back();
    } else if (!seg.empty() && seg != u".") {
      segs.push_back(seg);
    }
    pos = next + 1;
  }
  while (!segs.empty()) {
    TextView& last = segs.back();
    while (!last.empty() && (last.back() == u'.' || last.back() == u' ')) last.remove_suffix(1);
    if (!last.empty()) break;
    segs.pop_back();
  }
  Text out = root;
  for (size_t i = 0; i < segs.size(); ++i) {
    if (i) out += u'\\';
    out += segs[i];
  }
  // "\\server\share\" loses its separator unless it is all there is of a drive root.
  if (segs.empty() && out.size() > 3 && out.back() == u'\\') out.pop_back();
  return out;
}

bool HasControlChar(TextView text) {
  for (char16_t c : text) {
    if (c < 0x20 || c == 0x7F) return true;
  }
  return false;
}

// A resolved path the list can hold: nothing no file name can contain, and no
// blanks around it (a line reader would drop them on the next read). Control
// characters are refused before trimming: a decoded "%09" at the end, trimmed
// away, left a trailing separator that the next read of the path removed.
Text CleanPath(const Text& path) {
  if (HasControlChar(path)) return Text();
  const TextView t = Trim(path);
  if (t.empty()) return Text();
  return Text(t);
}

}  // namespace

Text PlaylistFolder(TextView playlistPath) {
  const size_t slash = playlistPath.find_last_of(u"\\/");
  if (slash == TextView::npos) return Text();
  Text folder(playlistPath.substr(0, slash));
  if (folder.size() == 2 && HasDrive(folder)) folder += u'\\';  // "C:\list.m3u" -> "C:\"
  if (folder.empty()) folder = u"\\";
  return folder;
}

bool HasUrlScheme(TextView text) {
  const size_t colon = text.find(u':');
  if (colon == TextView::npos || colon < 2 || !IsAsciiLetter(text[0])) return false;
  for (size_t i = 1; i < colon; ++i) {
    const char16_t c = text[i];
    if (!IsAsciiLetter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.') return false;
  }
  return true;
}

Text PercentDecodeUtf8(TextView text) {
  const std::string in = ToUtf8(text);
  std::string out;
  out.reserve(in.size());
  for (size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '%' && i + 2 < in.size() && HexValue(in[i + 1]) >= 0 && HexValue(in[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexValue(in[i + 1]) * 16 + HexValue(in[i + 2])));
      i += 2;
    } else {
      out.push_back(in[i]);
    }
  }
  return FromUtf8(out);
}

Text FileUrlToPath(TextView url) {
  TextView rest = url.substr(5);  // after "file:"
  Text decoded = PercentDecodeUtf8(rest);
  for (char16_t& c : decoded) {
    if (c == u'/') c = u'\\';
  }
  TextView p = decoded;
  if (p.size() >= 2 && p[0] == u'\\' && p[1] == u'\\') {
    p.remove_prefix(2);  // the authority follows
    const size_t end = p.find(u'\\');
    const TextView host = p.substr(0, end == TextView::npos ? p.size() : end);
    p.remove_prefix(host.size());
    if (!host.empty() && !EqualsIgnoreCase(host, u"localhost")) {
      return u"\\\\" + Text(host) + Text(p);  // a UNC share
    }
    if (p.size() >= 2 && p[0] == u'\\' && p[1] == u'\\') {  // file:////server/share
      while (p.size() >= 3 && p[2] == u'\\') p.remove_prefix(1);
      return Text(p);
    }
  }
  // "\C:\x" or "\C|\x" -> "C:\x"
  if (p.size() >= 3 && p[0] == u'\\' && IsAsciiLetter(p[1]) && (p[2] == u':' || p[2] == u'|')) p.remove_prefix(1);
  Text out(p);
  if (out.size() >= 2 && IsAsciiLetter(out[0]) && out[1] == u'|') out[1] = u':';
  if (out.size() == 2 && HasDrive(out)) out += u'\\';
  return out;
}

Text ResolveWindowsPath(TextView item, TextView folder) {
  Text p(item);
  if (p.rfind(u"\\\\?\\", 0) == 0) return p;
  Text base(folder);
  for (Text* t : {&p, &base}) {
    for (char16_t& c : *t) {
      if (c == u'/') c = u'\\';
    }
  }
  bool valid = true;
  TextView rest;
  Text root = SplitRoot(p, rest, valid);
  if (!valid) return Text();
  bool baseValid = true;
  TextView baseRest;
  const Text baseRoot = SplitRoot(base, baseRest, baseValid);
  if (!baseValid) return Normalize(root, rest);  // a broken folder adds nothing
  if (root == u"\\") {
    // Rooted: the root of the playlist's drive or share.
    if (!baseRoot.empty()) root = baseRoot;
    return Normalize(root, rest);
  }
  if (!root.empty()) return Normalize(root, rest);
  if (HasDrive(p)) {
    // "D:x": relative to the folder when it is on that drive, else to the drive's root.
    rest = TextView(p).substr(2);
    if (HasDrive(baseRoot) && ToLowerChar(baseRoot[0]) == ToLowerChar(p[0])) {
      return Normalize(baseRoot, Text(baseRest) + u"\\" + Text(rest));
    }
    return Normalize(p.substr(0, 2) + u"\\", rest);
  }
  if (base.empty()) return Normalize(Text(), rest);
  return Normalize(baseRoot, Text(baseRest) + u"\\" + Text(rest));
}

PlaylistEntry ResolvePlaylistItem(TextView item, TextView folder) {
  const TextView text = Trim(item);
  if (text.empty() || HasControlChar(text)) return {};
  if (!HasUrlScheme(text)) return {CleanPath(ResolveWindowsPath(text, folder)), false};
  if (text.size() >= 5 && EqualsIgnoreCase(text.substr(0, 5), u"file:")) {
    const Text path = FileUrlToPath(text);
    if (Trim(path).empty()) return {};  // "file://" names no file, not the playlist's folder
    return {CleanPath(ResolveWindowsPath(path, folder)), false};
  }
  return {Text(text), true};
}

}  // namespace sorvane
