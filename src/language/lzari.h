// The dictionary coder of the language archive: a 4,096-byte sliding window
// (matches of 3 to 60 bytes) whose literals, match lengths and match distances
// are written with a 15-bit adaptive arithmetic coder. Encoder and decoder share
// every parameter; the encoder exists for the build-time archive packer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sorvane {

// The coded stream alone (no size header).
std::string LzariEncode(std::string_view data);

// Decodes exactly decodedSize bytes from the stream. Fails (nullopt) when the
// stream ends before that many bytes are produced (more than a few bits of
// read-ahead past its end), or when decodedSize is larger than any stream of
// this length could hold, so a lying size never causes a huge allocation.
std::optional<std::string> LzariDecode(std::string_view coded, size_t decodedSize);

// The largest decoded size accepted for a coded stream of the given length.
size_t LzariMaxDecodedSize(size_t codedSize);

}  // namespace sorvane
