#include "medialist/playlist_writer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sorvane {
namespace {

std::string M3uBytes(const std::vector<Text>& rows) {
  CPlayList2026 list;
  for (const Text& r : rows) list.Add(r);
  return PlaylistFileBytes(list.ToM3u(), false);
}

std::string WplBytes(const std::vector<Text>& rows) {
  CPlayList2026 list;
  for (const Text& r : rows) list.Add(r);
  return PlaylistFileBytes(list.ToWpl(), false);
}

std::string WplDocument(int count, const std::string& media) {
  return std::string("<?wpl version=\"1.0\"?>\r\n<smil>\r\n    <head>\r\n") +
         "        <meta name=\"Generator\" content=\"CPlayList2026\"/>\r\n" +
         "        <meta name=\"ItemCount\" content=\"" + std::to_string(count) + "\"/>\r\n" +
         "        <title>My Playlist</title>\r\n    </head>\r\n    <body>\r\n        <seq>\r\n" + media +
         "        </seq>\r\n    </body>\r\n</smil>\r\n";
}

std::string Media(const std::string& escapedUtf8) {
  return "            <media src=\"" + escapedUtf8 + "\"/>\r\n";
}

// Both formats, byte for byte, for the paths users have: plain, XML-special,
// CJK and outside the BMP; rows without a path are neither written nor counted.
TEST(PlaylistWriter, ExactBytesOfBothFormats) {
  struct Case {
    const char* name;
    std::vector<Text> rows;
    std::string m3u;
    std::string wpl;
  } cases[] = {
      {"ascii", {u"C:\\Music\\a.mp3", u"\\\\nas\\share\\b.wma"},
       "#EXTM3U\r\nC:\\Music\\a.mp3\r\n\\\\nas\\share\\b.wma\r\n",
       WplDocument(2, Media("C:\\Music\\a.mp3") + Media("\\\\nas\\share\\b.wma"))},
      {"amp and apostrophe", {u"C:\\Rock & Roll\\Don't Stop.mp3"},
       "#EXTM3U\r\nC:\\Rock & Roll\\Don't Stop.mp3\r\n",
       WplDocument(1, Media("C:\\Rock &amp; Roll\\Don&apos;t Stop.mp3"))},
      {"cjk", {u"D:\\音楽\\曲.flac"},
       "#EXTM3U\r\nD:\\\xE9\x9F\xB3\xE6\xA5\xBD\\\xE6\x9B\xB2.flac\r\n",
       WplDocument(1, Media("D:\\\xE9\x9F\xB3\xE6\xA5\xBD\\\xE6\x9B\xB2.flac"))},
      {"emoji", {u"C:\\\U0001F3B5 mix.mp3"},
       "#EXTM3U\r\nC:\\\xF0\x9F\x8E\xB5 mix.mp3\r\n",
       WplDocument(1, Media("C:\\\xF0\x9F\x8E\xB5 mix.mp3"))},
      {"empty row skipped", {u"C:\\a.mp3", u"", u"C:\\b.mp3"},
       "#EXTM3U\r\nC:\\a.mp3\r\nC:\\b.mp3\r\n",
       WplDocument(2, Media("C:\\a.mp3") + Media("C:\\b.mp3"))},
      {"empty list", {}, "#EXTM3U\r\n", WplDocument(0, "")},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(M3uBytes(c.rows), c.m3u) << c.name;
    EXPECT_EQ(WplBytes(c.rows), c.wpl) << c.name;
  }
}

TEST(PlaylistWriter, AddRefusesEmptyAndMissingPaths) {
  CPlayList2026 list;
  EXPECT_EQ(list.Add(u"C:\\a.mp3"), 0);
  EXPECT_EQ(list.Add(u""), -1);
  EXPECT_EQ(list.Add(static_cast<const char16_t*>(nullptr)), -1);
  EXPECT_EQ(list.Add(Text(u"C:\\b.mp3")), 1);
  EXPECT_EQ(list.Paths().size(), 2u);
  list.Clear();
  EXPECT_TRUE(list.Paths().empty());
  EXPECT_EQ(list.ToM3u(), u"#EXTM3U\r\n");
}

TEST(PlaylistWriter, EscapingReplacesAmpersandFirstAndEveryOccurrence) {
  EXPECT_EQ(CPlayList2026::EscapeXmlAttribute(u"&<>\"'&lt;"), u"&amp;&lt;&gt;&quot;&apos;&amp;lt;");
  EXPECT_EQ(CPlayList2026::EscapeXmlAttribute(u"a&&b''"), u"a&amp;&amp;b&apos;&apos;");
}

TEST(PlaylistWriter, ByteOrderMarkOnlyWhenAsked) {
  EXPECT_EQ(PlaylistFileBytes(u"\u00e9", false), "\xC3\xA9");
  EXPECT_EQ(PlaylistFileBytes(u"\u00e9", true), "\xEF\xBB\xBF\xC3\xA9");
}

TEST(PlaylistWriter, ExtensionAndFormatRules) {
  struct Case {
    const char16_t* chosen;
    int filter;
    const char16_t* path;
    PlaylistFormat format;
  } cases[] = {
      {u"C:\\Lists\\Mix", 2, u"C:\\Lists\\Mix.wpl", PlaylistFormat::kWpl},
      {u"C:\\Lists\\Mix", 1, u"C:\\Lists\\Mix.m3u", PlaylistFormat::kM3u},
      {u"C:\\Lists\\Mix", 3, u"C:\\Lists\\Mix.m3u", PlaylistFormat::kM3u},
      {u"C:\\My.Lists\\Mix", 2, u"C:\\My.Lists\\Mix.wpl", PlaylistFormat::kWpl},  // dot in a folder only
      {u"C:/My.Lists/Mix", 2, u"C:/My.Lists/Mix.wpl", PlaylistFormat::kWpl},
      {u"C:\\Lists\\Mix.txt", 3, u"C:\\Lists\\Mix.txt", PlaylistFormat::kM3u},
      {u"C:\\Lists\\Mix.WPL", 1, u"C:\\Lists\\Mix.WPL", PlaylistFormat::kWpl},
      {u"C:\\Lists\\Mix.wpl", 1, u"C:\\Lists\\Mix.wpl", PlaylistFormat::kWpl},
      {u"C:\\Lists\\Mix.wpl.m3u", 2, u"C:\\Lists\\Mix.wpl.m3u", PlaylistFormat::kM3u},
      {u"C:\\Lists\\Mix.", 2, u"C:\\Lists\\Mix.", PlaylistFormat::kM3u},
  };
  for (const auto& c : cases) {
    const Text path = ApplyExportExtension(c.chosen, c.filter);
    EXPECT_EQ(path, c.path) << ToUtf8(c.chosen);
    EXPECT_EQ(ExportFormatForPath(path), c.format) << ToUtf8(c.chosen);
  }
  EXPECT_EQ(ExportFormatForPath(u"wpl"), PlaylistFormat::kM3u);
}

}  // namespace
}  // namespace sorvane
