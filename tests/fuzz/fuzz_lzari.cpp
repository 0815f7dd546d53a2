// The archive decoder on arbitrary bytes: the first four bytes are the size
// the archive claims, the rest the stream. Whatever it is given, the decoder
// must stay within its buffers and return at most the size asked for; a
// stream that decodes must survive the store's section split.
//
// A stream may claim up to about a thousand times its own size, and the
// fuzzer drifts towards inputs that decode that far (each longer decode is
// new coverage of loop counts), which made an execution cost milliseconds,
// most of it the decode. Claims beyond kLongestDecode are still offered to
// the size check, which must refuse the impossible ones, but are not decoded.
// The one path this gives up is the model's rescaling after 32,767 symbols;
// the unit tests decode hostile streams that far.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "language/language_archive.h"
#include "language/language_store.h"
#include "language/lzari.h"

namespace {
constexpr uint32_t kLongestDecode = 8 * 1024;  // twice the window: the ring wraps
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  uint32_t claimed = 0;
  if (size >= 4)
    for (int i = 3; i >= 0; --i) claimed = (claimed << 8) | data[i];
  bool possible = size >= 4 && claimed <= sorvane::LzariMaxDecodedSize(size - 4);
  auto decoded = possible && claimed > kLongestDecode ? std::nullopt : sorvane::DecodeArchive(in);
  if (decoded) {
    if (!possible || decoded->size() != claimed) __builtin_trap();
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
