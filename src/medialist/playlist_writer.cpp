#include "medialist/playlist_writer.h"

namespace sorvane {

int CPlayList2026::Add(TextView path) {
  if (path.empty()) return -1;
  paths_.emplace_back(path);
  return static_cast<int>(paths_.size() - 1);
}

int CPlayList2026::Add(const char16_t* path) {
  if (path == nullptr) return -1;
  return Add(TextView(path));
}

Text CPlayList2026::ToM3u() const {
  Text out = u"#EXTM3U\r\n";
  for (const Text& p : paths_) {
    out += p;
    out += u"\r\n";
  }
  return out;
}

Text CPlayList2026::ToWpl() const {
  Text out =
      u"<?wpl version=\"1.0\"?>\r\n"
      u"<smil>\r\n"
      u"    <head>\r\n"
      u"        <meta name=\"Generator\" content=\"CPlayList2026\"/>\r\n";
  out += Format(u"        <meta name=\"ItemCount\" content=\"%d\"/>\r\n", {static_cast<int>(paths_.size())});
  out +=
      u"        <title>My Playlist</title>\r\n"
      u"    </head>\r\n"
      u"    <body>\r\n"
      u"        <seq>\r\n";
  for (const Text& p : paths_) {
    out += u"            <media src=\"";
    out += EscapeXmlAttribute(p);
    out += u"\"/>\r\n";
  }
  out +=
      u"        </seq>\r\n"
      u"    </body>\r\n"
      u"</smil>\r\n";
  return out;
}

Text CPlayList2026::EscapeXmlAttribute(TextView text) {
  Text out(text);
  ReplaceAll(out, u"&", u"&amp;");
  ReplaceAll(out, u"<", u"&lt;");
  ReplaceAll(out, u">", u"&gt;");
  ReplaceAll(out, u"\"", u"&quot;");
  ReplaceAll(out, u"'", u"&apos;");
  return out;
}

std::string PlaylistFileBytes(TextView text, bool withBom) {
  std::string bytes = withBom ? std::string("\xEF\xBB\xBF") : std::string();
  bytes += ToUtf8(text);
  return bytes;
}

Text ApplyExportExtension(TextView path, int filterIndex) {
  const size_t slash = path.find_last_of(u"\\/");
  const TextView name = slash == TextView::npos ? path : path.substr(slash + 1);
  Text out(path);
  if (name.find(u'.') == TextView::npos) out += filterIndex == 2 ? u".wpl" : u".m3u";
  return out;
}

PlaylistFormat ExportFormatForPath(TextView path) {
  if (path.size() < 4) return PlaylistFormat::kM3u;
  return ToLower(path.substr(path.size() - 4)) == u".wpl" ? PlaylistFormat::kWpl : PlaylistFormat::kM3u;
}

}  // namespace sorvane
