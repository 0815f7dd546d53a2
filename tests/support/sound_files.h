// Small media files the tests make for themselves, as bytes: PCM sound in the
// containers the player and the probe are expected to handle, and a tiny
// uncompressed AVI. No platform code, so every test level can use them.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

namespace sorvane::testing {

enum class Sound { kWav16, kWav8, kAiff, kAu };

// Mono PCM at the given rate, a quiet square tone of the given length.
inline std::string SoundFileBytes(double seconds, Sound kind = Sound::kWav16, uint32_t rate = 8000) {
  const uint32_t samples = static_cast<uint32_t>(seconds * rate);
  const uint32_t bytesPerSample = kind == Sound::kWav8 ? 1 : 2, dataBytes = samples * bytesPerSample;
  const bool bigEndian = kind == Sound::kAiff || kind == Sound::kAu;
  std::string b;
  auto put = [&](uint32_t v, int size, bool big) {
    for (int i = 0; i < size; ++i) b.push_back(static_cast<char>(v >> (8 * (big ? size - 1 - i : i))));
  };
  switch (kind) {
    case Sound::kWav16:
    case Sound::kWav8:
      b += "RIFF";
      put(36 + dataBytes, 4, false);
      b += "WAVEfmt ";
      put(16, 4, false);
      put(1, 2, false);  // PCM
      put(1, 2, false);  // mono
      put(rate, 4, false);
      put(rate * bytesPerSample, 4, false);
      put(bytesPerSample, 2, false);
      put(bytesPerSample * 8, 2, false);
      b += "data";
      put(dataBytes, 4, false);
      break;
    case Sound::kAiff: {
      b += "FORM";
      put(4 + 26 + 16 + dataBytes, 4, true);
      b += "AIFFCOMM";
      put(18, 4, true);
      put(1, 2, true);
      put(samples, 4, true);
      put(16, 2, true);
      // The rate as an 80-bit float: exponent, then the mantissa with its top bit set.
      int exponent = 0;
      uint64_t mantissa = rate;
      while (!(mantissa & (1ull << 63))) {
        mantissa <<= 1;
        ++exponent;
      }
      put(16383 + 63 - exponent, 2, true);
      put(static_cast<uint32_t>(mantissa >> 32), 4, true);
      put(static_cast<uint32_t>(mantissa), 4, true);
      b += "SSND";
      put(8 + dataBytes, 4, true);
      put(0, 4, true);
      put(0, 4, true);
      break;
    }
    case Sound::kAu:
      b += ".snd";
      put(24, 4, true);
      put(dataBytes, 4, true);
      put(3, 4, true);  // 16-bit linear PCM
      put(rate, 4, true);
      put(1, 4, true);
      break;
  }
  for (uint32_t i = 0; i < samples; ++i) {
    const bool high = (i / 10) % 2 != 0;
    if (bytesPerSample == 1) {
      b.push_back(static_cast<char>(high ? 140 : 116));  // unsigned, around 128
    } else {
      put(static_cast<uint16_t>(high ? 600 : -600), 2, bigEndian);
    }
  }
  return b;
}

// An uncompressed AVI: 32x16 pixels, 24 bit, 10 frames at 5 frames per second (2 s).
inline std::string AviBytes() {
  const uint32_t w = 32, h = 16, frames = 10, frameBytes = w * h * 3;
  auto u32 = [](std::string& s, uint32_t v) { for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(v >> (8 * i))); };
  auto u16 = [](std::string& s, uint16_t v) { s.push_back(static_cast<char>(v)); s.push_back(static_cast<char>(v >> 8)); };
  auto chunk = [&](const char* id, const std::string& body) {
    std::string c(id, 4);
    u32(c, static_cast<uint32_t>(body.size()));
    c += body;
    if (body.size() % 2) c.push_back('\0');
    return c;
  };
  auto list = [&](const char* type, const std::string& body) { return chunk("LIST", std::string(type, 4) + body); };
  std::string avih;
  for (uint32_t v : {200000u, frameBytes * 5, 0u, 0x10u, frames, 0u, 1u, frameBytes, w, h, 0u, 0u, 0u, 0u}) u32(avih, v);
  std::string strh = "vidsDIB ";
  for (uint32_t v : {0u, 0u, 0u, 1u, 5u, 0u, frames, frameBytes, 0xFFFFFFFFu, frameBytes}) u32(strh, v);
  u16(strh, 0); u16(strh, 0); u16(strh, static_cast<uint16_t>(w)); u16(strh, static_cast<uint16_t>(h));
  std::string strf;
  u32(strf, 40); u32(strf, w); u32(strf, h); u16(strf, 1); u16(strf, 24); u32(strf, 0); u32(strf, frameBytes);
  u32(strf, 0); u32(strf, 0); u32(strf, 0); u32(strf, 0);
  std::string hdrl = list("hdrl", chunk("avih", avih) + list("strl", chunk("strh", strh) + chunk("strf", strf)));
  std::string movi, idx;
  uint32_t offset = 4;
  for (uint32_t f = 0; f < frames; ++f) {
    movi += chunk("00db", std::string(frameBytes, static_cast<char>(f * 20)));
    idx += "00db"; u32(idx, 0x10); u32(idx, offset); u32(idx, frameBytes);
    offset += 8 + frameBytes;
  }
  return chunk("RIFF", "AVI " + hdrl + list("movi", movi) + chunk("idx1", idx));
}

}  // namespace sorvane::testing
