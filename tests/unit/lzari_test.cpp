#include "language/lzari.h"

#include <gtest/gtest.h>

#include <random>

#include "language/language_archive.h"
#include "lang_fixture.h"

namespace sorvane {
namespace {

std::string RoundTrip(const std::string& data) {
  std::string coded = LzariEncode(data);
  auto decoded = LzariDecode(coded, data.size());
  EXPECT_TRUE(decoded.has_value());
  return decoded.value_or("<failed>");
}

TEST(Lzari, RoundTripsEdgeInputs) {
  std::string all256;
  for (int i = 0; i < 256; ++i) all256.push_back(static_cast<char>(i));
  std::string allTwice = all256 + all256;
  std::mt19937 rng(7);
  // More literals than the model counts (32,767) before it halves its
  // frequencies, so the round trip goes through that rescaling.
  std::string noise(40000, '\0');
  for (char& c : noise) c = static_cast<char>(rng());
  std::string mixed;
  for (int i = 0; i < 3000; ++i) mixed += "line " + std::to_string(i % 97) + " of text\r\n";
  struct Case { const char* name; std::string data; };
  const Case cases[] = {
      {"empty", ""},
      {"one byte", "A"},
      {"one space", " "},
      {"all 256 byte values", all256},
      {"all 256 values twice", allTwice},
      {"long run of one byte", std::string(200000, 'x')},
      {"long run of spaces (the window's start)", std::string(10000, ' ')},
      {"long run of zeros", std::string(100000, '\0')},
      {"random bytes", noise},
      {"repetitive text beyond the window", mixed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(RoundTrip(c.data), c.data);
  }
}

TEST(Lzari, RoundTripsTheRealLanguageText) {
  std::string bytes = TextToUtf16Le(testing::RealLanguageText());
  ASSERT_GT(bytes.size(), 10000u);
  std::string coded = LzariEncode(bytes);
  EXPECT_LT(coded.size(), bytes.size() / 2) << "the coder should compress text well";
  EXPECT_EQ(LzariDecode(coded, bytes.size()).value_or(""), bytes);
}

TEST(Lzari, StartsWithTheSpaceFilledWindow) {
  // A leading run of spaces matches the initial window, so it costs a few
  // bytes only; a coder with another initial window would not decode it.
  std::string coded = LzariEncode(std::string(60, ' '));
  EXPECT_LE(coded.size(), 4u);
  EXPECT_EQ(LzariDecode(coded, 60).value_or(""), std::string(60, ' '));
}

// An archive whose stream was checked with a separately written decoder that
// follows the coder's parameters literally: it pins the stream format, so a
// change to the model, the coder or the window that keeps encoder and decoder
// symmetric still fails here.
TEST(Lzari, DecodesAPinnedArchive) {
  const std::string archive(
      "\xE6\x00\x00\x00\x2F\x70\xBA\xA8\x15\x96\x80\xF2\xBD\x5B\x05\x68\x74\x51\xE4\xB1\x51\x15\x65\x74"
      "\x6F\xE7\xA1\xD5\x85\x47\x80\xED\x1C\x2A\xFC\x3D\x78\x13\xB2\x76\xF1\xD8\x7B\x50\xF1\x2F\x9E\x66"
      "\x1E\x09\x33\xCE\xC9\x4B\x54\x30\x2D\xDC\xD5\x37\x65\x51\xCE\xD1\x61\x9C\x5E\x93\x25\x05\xCC\xA3"
      "\xD1\xE1\x51\x81\x24\x6C\xFD\x6E\x8B\xB8\x3B\x2F\xFA\xD1\x3A\x1E\xEB\x61\xE5\x4F\x0D\xE8\x00\xA2"
      "\x79\xD0\x82\x80\xA7\xA3\x7F\x87\x85\x6E\x09\x7E\x51\x5D\x64\xAE\x60",
      113);
  const std::u16string expected =
      u"\uFEFF##\r\n19=Sorvane 1.01\r\n##\r\n##\r\n##=German\tDeutsch\r\n50=Titel\r\n"
      u"##=English\tEnglish\r\n50=Title\r\n51=Title Title Title\r\n##\r\n";
  auto decoded = DecodeArchive(archive);
  ASSERT_TRUE(decoded.has_value());
  EXPECT_EQ(Utf16LeToText(*decoded), expected);
}

TEST(Lzari, RejectsBadInputWithoutOverrunning) {
  std::string text = "The quick brown fox jumps over the lazy dog. The quick brown fox again.";
  std::string coded = LzariEncode(text);
  // A size that lies upward: the stream runs dry long before.
  EXPECT_FALSE(LzariDecode(coded, text.size() * 50).has_value());
  // A size far beyond what any stream of this length can hold.
  EXPECT_FALSE(LzariDecode(coded, size_t{1} << 33).has_value());
  // A size that lies downward gives the prefix.
  EXPECT_EQ(LzariDecode(coded, 9).value_or(""), text.substr(0, 9));
  // Truncated streams fail or at worst yield the size asked for, never more.
  for (size_t cut = 0; cut < coded.size(); ++cut) {
    auto out = LzariDecode(coded.substr(0, cut), text.size());
    if (out) EXPECT_EQ(out->size(), text.size());
  }
  EXPECT_FALSE(LzariDecode("", 1000).has_value());
  // A long random stream read as far as it goes: the model rescales on the way.
  std::mt19937 longRng(5);
  std::string longJunk(48 * 1024, '\0');
  for (char& c : longJunk) c = static_cast<char>(longRng());
  auto longOut = LzariDecode(longJunk, 200000);
  if (longOut) EXPECT_EQ(longOut->size(), 200000u);
  // Random streams: any outcome is fine as long as it stays in bounds.
  std::mt19937 rng(11);
  for (int round = 0; round < 200; ++round) {
    std::string junk(rng() % 64, '\0');
    for (char& c : junk) c = static_cast<char>(rng());
    auto out = LzariDecode(junk, rng() % 5000);
    if (out) EXPECT_LE(out->size(), 5000u);
  }
}

TEST(LanguageArchive, FindsTheBytesBetweenTheMarkers) {
  const std::string begin = ArchiveBeginMarker();
  const std::string end = ArchiveEndMarker();
  EXPECT_EQ(begin.size(), 45u);
  EXPECT_EQ(end.size(), 44u);
  EXPECT_EQ(begin, "\n<!- ------SDSGDGSDHREETETBCNMJUKR----------\n");
  EXPECT_EQ(end, "\n-------SDSGDGSDHREETETBCNMJUKR-------- -->\n");

  std::string file = "MZ junk" + begin + "DATA" + end + "tail" + begin + "X" + end;
  EXPECT_EQ(FindArchive(file).value_or("none"), "DATA");
  EXPECT_FALSE(FindArchive("MZ" + begin + "DATA").has_value());
  EXPECT_FALSE(FindArchive("MZ DATA" + end).has_value());
  // An end marker before the first begin marker is damage, not a negative length.
  EXPECT_FALSE(FindArchive(end + "x" + begin + "DATA").has_value());
  // A marker with one byte changed is not found.
  std::string damaged = begin;
  damaged[20] ^= 1;
  EXPECT_FALSE(FindArchive(damaged + "DATA" + end).has_value());
}

TEST(LanguageArchive, PacksWithSizeHeaderAndDecodesBack) {
  std::string decoded = TextToUtf16Le(u"\uFEFF##\r\n19=X\r\n");
  std::string packed = PackArchive(decoded);
  auto archive = FindArchive(packed);
  ASSERT_TRUE(archive);
  ASSERT_GE(archive->size(), 4u);
  EXPECT_EQ(static_cast<unsigned char>((*archive)[0]), decoded.size());
  EXPECT_EQ((*archive)[1], 0);
  EXPECT_EQ(DecodeArchive(*archive).value_or(""), decoded);
  // Padding after the stream is never reached.
  EXPECT_EQ(DecodeArchive(std::string(*archive) + std::string(7532, ' ')).value_or(""), decoded);
  EXPECT_FALSE(DecodeArchive("abc").has_value());
}

}  // namespace
}  // namespace sorvane
