// The archive decoder on arbitrary bytes: the first four bytes are the size
// the archive claims, the rest the stream. Whatever it is given, the decoder
// must stay within its buffers and return at most the size asked for; a
// stream that decodes must survive the store's section split.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "language/language_archive.h"
#include "language/language_store.h"
#include "language/lzari.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  auto decoded = sorvane::DecodeArchive(in);
  if (decoded) {
    uint32_t claimed = 0;
    for (int i = 3; i >= 0; --i) claimed = (claimed << 8) | data[i];
    if (decoded->size() != claimed) __builtin_trap();
    sorvane::LanguageStore store;
    store.Load(sorvane::Utf16LeToText(*decoded));
  }
  // Round trip of the input itself through the encoder.
  if (size <= 4096) {
    std::string coded = sorvane::LzariEncode(in);
    auto back = sorvane::LzariDecode(coded, size);
    if (!back || *back != in) __builtin_trap();
  }
  return 0;
}
