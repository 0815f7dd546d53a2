#include "medialist/drop_files.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

using namespace sorvane;
using namespace std::literals;

namespace {

void PutUint32(std::string& block, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) block[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

std::string Header(uint32_t offset, uint32_t wide) {
  std::string block(kDropFilesHeaderSize, '\0');
  PutUint32(block, 0, offset);
  PutUint32(block, 4, 10);  // drop point, ignored
  PutUint32(block, 8, 20);
  PutUint32(block, 16, wide);
  return block;
}

std::string Wide(std::u16string_view units) {
  std::string bytes;
  for (char16_t c : units) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

// Every byte a decoded name came from goes through here, mapped as Latin-1.
Text Latin1(std::string_view bytes) {
  Text t;
  for (unsigned char c : bytes) t += static_cast<char16_t>(c);
  return t;
}

// The parser gets a heap copy of exactly the block's size, so a read past it
// is a sanitizer error rather than a look at a string's terminator.
std::vector<Text> Parse(const std::string& block) {
  std::unique_ptr<char[]> exact(new char[block.size() == 0 ? 1 : block.size()]);
  std::copy(block.begin(), block.end(), exact.get());
  return ParseDropFiles(std::string_view(exact.get(), block.size()), Latin1);
}

struct DropCase {
  const char* what;
  std::string block;
  std::vector<Text> names;
};

}  // namespace

TEST(ParseDropFiles, ReadsWellFormedAndRefusesOrTrimsMalformedBlocks) {
  const std::vector<Text> none;
  const DropCase cases[] = {
      {"wide names", Header(20, 1) + Wide(u"C:\\a.mp3\0D:\\Music\\b c.wav\0\0"sv),
       {u"C:\\a.mp3", u"D:\\Music\\b c.wav"}},
      {"wide name beyond the basic plane", Header(20, 1) + Wide(u"C:\\\U0001F3B5.mp3\0\0"sv),
       {u"C:\\\U0001F3B5.mp3"}},
      {"ANSI names through the decoder", Header(20, 0) + std::string("C:\\caf\xE9.mp3\0E:\\x.ogg\0\0", 22),
       {u"C:\\caf\u00E9.mp3", u"E:\\x.ogg"}},
      {"any non-zero wide flag", Header(20, 0x100) + Wide(u"C:\\a\0\0"sv), {u"C:\\a"}},
      {"list after a longer header", Header(24, 1) + "junk" + Wide(u"C:\\a\0\0"sv), {u"C:\\a"}},
      {"empty wide list", Header(20, 1) + Wide(u"\0"sv), none},
      {"empty ANSI list", Header(20, 0) + std::string(1, '\0'), none},
      {"no list bytes at all", Header(20, 1), none},
      {"final NUL missing, wide", Header(20, 1) + Wide(u"C:\\a\0C:\\b\0"sv), {u"C:\\a", u"C:\\b"}},
      {"final NUL missing, ANSI", Header(20, 0) + std::string("C:\\a\0C:\\b\0", 10), {u"C:\\a", u"C:\\b"}},
      {"last wide name cut short", Header(20, 1) + Wide(u"C:\\a\0C:\\lon"sv), {u"C:\\a"}},
      {"last ANSI name cut short", Header(20, 0) + "C:\\a" + std::string(1, '\0') + "C:\\lon", {u"C:\\a"}},
      {"odd size after the list", Header(20, 1) + Wide(u"C:\\a\0\0"sv) + "x", {u"C:\\a"}},
      {"odd size inside a name", Header(20, 1) + Wide(u"C:\\a\0C:"sv) + "b", {u"C:\\a"}},
      {"names after the end are not read", Header(20, 1) + Wide(u"C:\\a\0\0C:\\b\0\0"sv), {u"C:\\a"}},
      {"offset past the block", Header(40, 1) + Wide(u"C:\\a\0\0"sv), none},
      {"offset far past the block", Header(0xFFFFFFFF, 1) + Wide(u"C:\\a\0\0"sv), none},
      {"offset inside the header", Header(8, 1) + Wide(u"C:\\a\0\0"sv), none},
      {"offset zero", Header(0, 0) + std::string("C:\\a\0\0", 6), none},
      {"block shorter than its header", Header(20, 1).substr(0, 19), none},
      {"empty block", std::string(), none},
  };
  for (const DropCase& c : cases) {
    EXPECT_EQ(Parse(c.block), c.names) << c.what;
  }
}

TEST(ParseDropFiles, LeavesOutAnsiNamesThatDecodeToNothing) {
  const std::string block = Header(20, 0) + std::string("C:\\a\0??\0C:\\b\0\0", 14);
  auto decoder = [](std::string_view bytes) { return bytes == "??" ? Text() : Latin1(bytes); };
  EXPECT_EQ(ParseDropFiles(block, decoder), (std::vector<Text>{u"C:\\a", u"C:\\b"}));
  EXPECT_TRUE(ParseDropFiles(block, nullptr).empty());
}
