#include "medialist/playlist_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "medialist/playlist_writer.h"

namespace sorvane {
namespace {

// Stands in for the system's ANSI code page: Windows-1252 for the two bytes the
// tests use from its 0x80 row, Latin-1 elsewhere.
Text FakeAnsi(std::string_view bytes) {
  Text out;
  for (char ch : bytes) {
    const auto b = static_cast<unsigned char>(ch);
    out.push_back(b == 0x80 ? u'\u20AC' : b == 0x99 ? u'\u2122' : static_cast<char16_t>(b));
  }
  return out;
}

PlaylistEntry F(const char16_t* p) { return {p, false}; }
PlaylistEntry U(const char16_t* p) { return {p, true}; }

std::string Dump(const std::vector<PlaylistEntry>& entries) {
  std::string s;
  for (const auto& e : entries) s += (e.isUrl ? "url " : "file ") + ToUtf8(e.path) + "\n";
  return s;
}

struct FileCase {
  const char* name;
  const char16_t* playlist;
  std::string bytes;
  std::vector<PlaylistEntry> expected;
};

void ExpectReads(const std::vector<FileCase>& cases) {
  for (const auto& c : cases) {
    const auto got = ReadPlaylist(c.bytes, c.playlist, FakeAnsi);
    EXPECT_EQ(Dump(got), Dump(c.expected)) << c.name;
  }
}

TEST(PlaylistReader, M3uLinesEncodingsAndLineEnds) {
  ExpectReads({
      {"extended m3u, CR LF, relative and absolute", u"C:\\Music\\Lists\\mix.m3u",
       "#EXTM3U\r\n#EXTINF:123,Artist - Title\r\nsub\\a.mp3\r\n\r\n# a comment\r\n..\\b.mp3\r\n"
       "/fwd/c.mp3\r\nD:\\x.mp3\r\n\\\\srv\\share\\y.mp3\r\nhttp://radio.example/stream\r\n",
       {F(u"C:\\Music\\Lists\\sub\\a.mp3"), F(u"C:\\Music\\b.mp3"), F(u"C:\\fwd\\c.mp3"), F(u"D:\\x.mp3"),
        F(u"\\\\srv\\share\\y.mp3"), U(u"http://radio.example/stream")}},
      {"CR only", u"C:\\L\\a.m3u", "#EXTM3U\ra.mp3\r#EXTINF:1,x\rb.mp3", {F(u"C:\\L\\a.mp3"), F(u"C:\\L\\b.mp3")}},
      {"LF only, blanks around", u"C:\\L\\a.m3u", "  a.mp3 \n\tb.mp3\n", {F(u"C:\\L\\a.mp3"), F(u"C:\\L\\b.mp3")}},
      {"UTF-8 with BOM", u"C:\\L\\a.m3u", "\xEF\xBB\xBF" "C:\\M\xC3\xBCsik\\\xE6\x9B\xB2.mp3\r\n",
       {F(u"C:\\Müsik\\曲.mp3")}},
      {"UTF-8 without BOM", u"C:\\L\\a.m3u", "C:\\M\xC3\xBCsik\\x.mp3\n", {F(u"C:\\Müsik\\x.mp3")}},
      {"ANSI without BOM", u"C:\\L\\a.m3u", "C:\\Caf\xE9 \x80\x99.mp3\r\n", {F(u"C:\\Café €™.mp3")}},
      {"m3u8 is UTF-8 even when broken", u"C:\\L\\a.m3u8", "C:\\Caf\xE9.mp3\r\n", {F(u"C:\\Caf\uFFFD.mp3")}},
      {"UTF-16LE with BOM", u"C:\\L\\a.m3u", std::string("\xFF\xFE" "a\0.\0m\0p\0" "3\0\r\0\n\0", 16),
       {F(u"C:\\L\\a.mp3")}},
      {"only comments", u"C:\\L\\a.m3u", "#EXTM3U\r\n#EXTINF:-1,x\r\n", {}},
      {"empty file", u"C:\\L\\a.m3u", "", {}},
  });
}

// The choice between UTF-8 and the ANSI code page rests on this test alone.
TEST(PlaylistReader, Utf8ValidityDecidesTheAnsiFallback) {
  for (const std::string ok : {"", "abc", "\xC3\xA9", "\xE6\x9B\xB2", "\xF0\x9F\x8E\xB5", "\xF4\x8F\xBF\xBF"}) {
    EXPECT_TRUE(IsValidUtf8(ok)) << ok;
  }
  for (const std::string bad : {"\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE6\x9B",
                                "\x80", "Caf\xE9s", "\xF8\x88\x80\x80\x80"}) {
    EXPECT_FALSE(IsValidUtf8(bad)) << bad;
  }
}

TEST(PlaylistReader, PlsInNumberOrderAndOnlyItsSection) {
  ExpectReads({
      {"numbered out of order", u"C:\\L\\a.pls",
       "[playlist]\r\nNumberOfEntries=3\r\nFile10=c.mp3\r\nFile2=b.mp3\r\nTitle2=Bee\r\nfile1=http://s.example/x\r\n"
       "Length1=-1\r\n[other]\r\nFile0=no.mp3\r\n[Playlist]\r\nFile3 = d.mp3\r\nVersion=2\r\n",
       {U(u"http://s.example/x"), F(u"C:\\L\\b.mp3"), F(u"C:\\L\\d.mp3"), F(u"C:\\L\\c.mp3")}},
      {"bad keys ignored", u"C:\\L\\a.pls", "[playlist]\nFile=a.mp3\nFileX=b.mp3\nFile99999999999999=z.mp3\nFile1=\n",
       {F(u"C:\\L\\z.mp3")}},
  });
}

TEST(PlaylistReader, WplOursAndOtherPrograms) {
  CPlayList2026 ours;
  ours.Add(u"C:\\Rock & Roll\\Don't <Stop>.mp3");
  ours.Add(u"..\\Other\\b.wma");
  ExpectReads({
      {"our own export", u"C:\\Lists\\x.wpl", PlaylistFileBytes(ours.ToWpl(), false),
       {F(u"C:\\Rock & Roll\\Don't <Stop>.mp3"), F(u"C:\\Other\\b.wma")}},
      {"single quotes, other attributes, references, comment", u"C:\\Lists\\x.wpl",
       "<?wpl version=\"1.0\"?>\n<smil><head><title>T</title></head><body><seq>\n"
       "<!-- <media src=\"C:\\no.mp3\"/> -->\n"
       "<media tid=\"{1}\" src='..\\Music\\a&amp;b.mp3' cid=\"x>y\"/>\n"
       "<media src=\"C:\\Caf&#233;&#xE9;&#x1F3B5;.mp3\"></media>\n"
       "<media src = \"C:\\&nbsp;&#xD800;&#;.mp3\"/>\n"
       "<media tid=\"no src\"/>\n"
       "</seq></body></smil>\n",
       {F(u"C:\\Music\\a&b.mp3"), F(u"C:\\Caféé\U0001F3B5.mp3"), F(u"C:\\&nbsp;&#xD800;&#;.mp3")}},
      {"truncated inside the second media", u"C:\\Lists\\x.wpl",
       "<?wpl version=\"1.0\"?>\r\n<smil><body><seq>\r\n<media src=\"a.mp3\"/>\r\n<media src=\"b.m",
       {F(u"C:\\Lists\\a.mp3")}},
  });
}

TEST(PlaylistReader, XspfLocationsAsUrls) {
  ExpectReads({
      {"file URLs, escapes, streams, relative", u"C:\\Lists\\x.xspf",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
       "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\">\n"
       "<location>http://example.com/this-list.xspf</location>\n<trackList>\n"
       "<track><title>t</title><location>file:///C:/a%20b.mp3</location></track>\n"
       "<track><location>file:///C:/M%C3%BCsik/%E6%9B%B2.mp3</location></track>\n"
       "<track><location>file://server/share/x%26y.mp3</location></track>\n"
       "<track><location>https://s.example/a%20b</location></track>\n"
       "<track><location>sub/c%20d.ogg</location></track>\n"
       "<track><location><![CDATA[file:///D:/R&B.mp3]]></location></track>\n"
       "<track><location>file:///D:/R&amp;B%202.mp3</location></track>\n"
       "</trackList></playlist>\n",
       {F(u"C:\\a b.mp3"), F(u"C:\\Müsik\\曲.mp3"), F(u"\\\\server\\share\\x&y.mp3"),
        U(u"https://s.example/a%20b"), F(u"C:\\Lists\\sub\\c d.ogg"), F(u"D:\\R&B.mp3"), F(u"D:\\R&B 2.mp3")}},
      {"truncated inside a location", u"C:\\Lists\\x.xspf",
       "<playlist xmlns=\"http://xspf.org/ns/0/\"><trackList><track><location>file:///C:/a.mp3</location></track>"
       "<track><location>file:///C:/b",
       {F(u"C:\\a.mp3")}},
  });
}

TEST(PlaylistReader, FormatFromContentWhereTheExtensionLies) {
  CPlayList2026 list;
  list.Add(u"C:\\a.mp3");
  ExpectReads({
      {"m3u named wpl", u"C:\\L\\x.wpl", "#EXTM3U\r\nC:\\a.mp3\r\n", {F(u"C:\\a.mp3")}},
      {"plain lines named xspf", u"C:\\L\\x.xspf", "C:\\a.mp3\r\n", {F(u"C:\\a.mp3")}},
      {"wpl named m3u", u"C:\\L\\x.m3u", PlaylistFileBytes(list.ToWpl(), false), {F(u"C:\\a.mp3")}},
      {"wpl without extension", u"C:\\L\\x", PlaylistFileBytes(list.ToWpl(), false), {F(u"C:\\a.mp3")}},
      {"pls named m3u", u"C:\\L\\x.m3u", "\r\n[playlist]\r\nFile1=C:\\a.mp3\r\n", {F(u"C:\\a.mp3")}},
      {"pls without header", u"C:\\L\\x.txt", "File1=C:\\a.mp3\r\n", {F(u"C:\\a.mp3")}},
      {"xspf named m3u", u"C:\\L\\x.m3u",
       "<playlist><trackList><track><location>file:///C:/a.mp3</location></track></trackList></playlist>",
       {F(u"C:\\a.mp3")}},
  });
}

TEST(PlaylistReader, EntryResolutionByWindowsRules) {
  struct Case {
    const char16_t* folder;
    const char16_t* item;
    PlaylistEntry expected;
  } cases[] = {
      {u"C:\\Music\\Lists", u"C:\\x.mp3", F(u"C:\\x.mp3")},
      {u"C:\\Music\\Lists", u"\\\\server\\share\\x.mp3", F(u"\\\\server\\share\\x.mp3")},
      {u"C:\\Music\\Lists", u"\\rooted\\x.mp3", F(u"C:\\rooted\\x.mp3")},
      {u"C:\\Music\\Lists", u"sub\\a.mp3", F(u"C:\\Music\\Lists\\sub\\a.mp3")},
      {u"C:\\Music\\Lists", u"..\\a.mp3", F(u"C:\\Music\\a.mp3")},
      {u"C:\\Music\\Lists", u"../../../../a.mp3", F(u"C:\\a.mp3")},
      {u"C:\\Music\\Lists", u"sub/./b.mp3", F(u"C:\\Music\\Lists\\sub\\b.mp3")},
      {u"C:\\Music\\Lists", u"sub\\\\b.mp3...", F(u"C:\\Music\\Lists\\sub\\b.mp3")},
      {u"C:\\Music\\Lists", u"D:rel.mp3", F(u"D:\\rel.mp3")},
      {u"C:\\Music\\Lists", u"c:rel.mp3", F(u"C:\\Music\\Lists\\rel.mp3")},
      {u"C:\\", u"a.mp3", F(u"C:\\a.mp3")},
      {u"\\\\srv\\share\\lists", u"\\x.mp3", F(u"\\\\srv\\share\\x.mp3")},
      {u"\\\\srv\\share\\lists", u"..\\..\\y.mp3", F(u"\\\\srv\\share\\y.mp3")},
      {u"C:\\L", u"file:///C:/a%20b.mp3", F(u"C:\\a b.mp3")},
      {u"C:\\L", u"file://server/share/x", F(u"\\\\server\\share\\x")},
      {u"C:\\L", u"file:////server/share/x", F(u"\\\\server\\share\\x")},
      {u"C:\\L", u"file://localhost/C:/x.mp3", F(u"C:\\x.mp3")},
      {u"C:\\L", u"FILE:///c|/x.mp3", F(u"c:\\x.mp3")},
      {u"C:\\L", u"file:///C:/a%2", F(u"C:\\a%2")},
      {u"C:\\L", u"http://h/s?a=1", U(u"http://h/s?a=1")},
      {u"C:\\L", u"HTTPS://h", U(u"HTTPS://h")},
      {u"C:\\L", u"rtsp://h/x", U(u"rtsp://h/x")},
      {u"C:\\L", u"mms://h/x", U(u"mms://h/x")},
      {u"C:\\L", u"\\\\?\\C:\\very\\..\\x", F(u"\\\\?\\C:\\very\\..\\x")},
      // Nothing a file or stream could be: left out.
      {u"C:\\L", u"a\tb.mp3", F(u"")},
      {u"C:\\L", u"file:///C:/a%0Ab", F(u"")},
      {u"C:\\L", u"file:///C:/dir/%09", F(u"")},
      {u"C:\\L", u"file:%09a.mp3", F(u"")},
      {u"C:\\L", u"\\\\server", F(u"")},
      {u"C:\\L", u"file://", F(u"")},
      {u"C:\\L", u"   ", F(u"")},
  };
  for (const auto& c : cases) {
    const PlaylistEntry got = ResolvePlaylistItem(c.item, c.folder);
    EXPECT_EQ(got.path, c.expected.path) << ToUtf8(c.item);
    EXPECT_EQ(got.isUrl, c.expected.isUrl) << ToUtf8(c.item);
  }
  EXPECT_EQ(PlaylistFolder(u"C:\\Music\\x.m3u"), u"C:\\Music");
  EXPECT_EQ(PlaylistFolder(u"C:\\x.m3u"), u"C:\\");
  EXPECT_EQ(PlaylistFolder(u"x.m3u"), u"");
}

// What Export writes, Import reads back: the same paths in the same order.
TEST(PlaylistReader, ExportThenImportGivesTheSamePaths) {
  const std::vector<Text> rows = {u"C:\\Rock & Roll\\Don't Stop.mp3", u"D:\\音楽\\曲.flac",
                                  u"C:\\\U0001F3B5\\mix #1.mp3", u"\\\\nas\\share\\a;b=c.wma",
                                  u"C:\\x\\<odd> \"name\".mp3", u"http://radio.example/live?x=1&y=2"};
  CPlayList2026 list;
  for (const Text& r : rows) list.Add(r);
  for (const PlaylistFormat format : {PlaylistFormat::kM3u, PlaylistFormat::kWpl}) {
    const Text path = format == PlaylistFormat::kWpl ? u"E:\\Lists\\out.wpl" : u"E:\\Lists\\out.m3u";
    const auto entries = ReadPlaylist(PlaylistFileBytes(list.ToText(format), false), path, FakeAnsi);
    ASSERT_EQ(entries.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(entries[i].path, rows[i]) << i;
      EXPECT_EQ(entries[i].isUrl, i == rows.size() - 1) << i;
    }
  }
}

// Hostile shapes end with what could be read: deep nesting, a sea of "&",
// an attribute quote that never closes, a comment that never ends.
TEST(PlaylistReader, MalformedFilesGiveWhatCouldBeRead) {
  std::string deep = "<smil>";
  for (int i = 0; i < 100000; ++i) deep += "<seq>";
  deep += "<media src=\"C:\\a.mp3\"/>";
  EXPECT_EQ(ReadPlaylist(deep, u"C:\\x.wpl", FakeAnsi).size(), 1u);

  const std::string amps = "<smil><media src=\"C:\\" + std::string(200000, '&') + "\"/>";
  const auto a = ReadPlaylist(amps, u"C:\\x.wpl", FakeAnsi);
  ASSERT_EQ(a.size(), 1u);
  EXPECT_EQ(a[0].path.size(), 200003u);

  EXPECT_EQ(ReadPlaylist("<smil><media src=\"C:\\a.mp3\"/><media src=\"C:\\b.mp3/>", u"C:\\x.wpl", FakeAnsi).size(), 1u);
  EXPECT_EQ(ReadPlaylist("<smil><media src=\"C:\\a.mp3\"/><!-- <media src=\"C:\\b.mp3\"/>", u"C:\\x.wpl", FakeAnsi).size(), 1u);
  EXPECT_EQ(ReadPlaylist(std::string("\xFF\xFE\x00", 3), u"C:\\x.m3u", FakeAnsi).size(), 0u);
}

}  // namespace
}  // namespace sorvane
