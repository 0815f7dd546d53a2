#include "language/language_archive.h"

#include <algorithm>
#include <cstdint>

#include "language/lzari.h"
#include "framework/text.h"

namespace sorvane {
namespace {

// Stored reversed and read through a volatile pointer, so neither the literal
// nor a constant-folded copy of the marker exists in the program image.
std::string Unreverse(const volatile char* reversed, size_t n) {
  std::string s(n, '\0');
  for (size_t i = 0; i < n; ++i) s[n - 1 - i] = reversed[i];
  return s;
}

constexpr char kBeginReversed[] = "\n----------RKUJMNCBTETEERHDSGDGSDS------ -!<\n";
constexpr char kEndReversed[] = "\n>-- --------RKUJMNCBTETEERHDSGDGSDS-------\n";

}  // namespace

std::string ArchiveBeginMarker() { return Unreverse(kBeginReversed, sizeof(kBeginReversed) - 1); }
std::string ArchiveEndMarker() { return Unreverse(kEndReversed, sizeof(kEndReversed) - 1); }

std::optional<std::string_view> FindArchive(std::string_view fileBytes) {
  const std::string begin = ArchiveBeginMarker();
  const std::string end = ArchiveEndMarker();
  size_t b = fileBytes.find(begin);
  size_t e = fileBytes.find(end);
  if (b == std::string_view::npos || e == std::string_view::npos) return std::nullopt;
  size_t from = b + begin.size();
  if (e < from) return std::nullopt;  // a stray end marker before the archive
  return fileBytes.substr(from, e - from);
}

std::optional<std::string> DecodeArchive(std::string_view archive) {
  if (archive.size() < 4) return std::nullopt;
  uint32_t size = 0;
  for (int i = 3; i >= 0; --i) size = (size << 8) | static_cast<unsigned char>(archive[i]);
  return LzariDecode(archive.substr(4), size);
}

std::string PackArchive(std::string_view decoded) {
  std::string out = ArchiveBeginMarker();
  uint32_t size = static_cast<uint32_t>(decoded.size());
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((size >> (8 * i)) & 0xFF));
  out += LzariEncode(decoded);
  out += ArchiveEndMarker();
  return out;
}

std::u16string AssembleLanguageText(const std::vector<std::string>& sourcesUtf8, size_t* badSource) {
  std::u16string text = u"\uFEFF";
  for (size_t k = 0; k < sourcesUtf8.size(); ++k) {
    std::string_view body = sourcesUtf8[k];
    if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
    if (body.substr(0, 2) != "##") {
      if (badSource) *badSource = k;
      return {};
    }
    std::u16string in = FromUtf8(body);
    for (char16_t c : in) {
      if (c == u'\r') continue;
      if (c == u'\n') text += u"\r\n";
      else text += c;
    }
    if (text.back() != u'\n') text += u"\r\n";
  }
  text += u"##\r\n";  // closes the last language
  return text;
}

std::u16string Utf16LeToText(std::string_view bytes) {
  std::u16string t(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < t.size(); ++i) {
    t[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }
  return t;
}

std::string TextToUtf16Le(std::u16string_view text) {
  std::string out(text.size() * 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    out[2 * i] = static_cast<char>(text[i] & 0xFF);
    out[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  return out;
}

}  // namespace sorvane
