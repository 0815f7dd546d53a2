#include "language/lzari.h"

#include <array>
#include <vector>

namespace sorvane {
namespace {

constexpr int kWindow = 4096;          // ring buffer size
constexpr int kLongest = 60;           // longest match
constexpr int kThreshold = 2;          // a match must be longer than this
constexpr int kSymbols = 256 - kThreshold + kLongest;  // 314
constexpr uint32_t kQuarter = 1u << 15;
constexpr uint32_t kHalf = 2 * kQuarter;
constexpr uint32_t kThreeQuarters = 3 * kQuarter;
constexpr uint32_t kTop = 4 * kQuarter;
constexpr uint32_t kMaxCum = kQuarter - 1;
constexpr int kStartBits = 17;         // bits read before the first symbol
// A valid stream is never read further than this past its last byte.
constexpr size_t kMaxOverreadBits = 32;

// The fixed position model: near distances are a little more likely.
struct PositionModel {
  std::array<uint32_t, kWindow + 1> cum{};
  PositionModel() {
    cum[kWindow] = 0;
    for (int i = kWindow; i >= 1; --i) cum[i - 1] = cum[i] + 10000 / (i + 200);
  }
};
const PositionModel& Positions() {
  static const PositionModel model;
  return model;
}

// The adaptive character model. Symbols are ranked by frequency; cum[] is
// descending so symbol s owns [cum[s], cum[s-1]) of cum[0].
struct CharModel {
  std::array<int, kSymbols> charToSym{};
  std::array<int, kSymbols + 1> symToChar{};
  std::array<uint32_t, kSymbols + 1> freq{};
  std::array<uint32_t, kSymbols + 1> cum{};

  CharModel() {
    cum[kSymbols] = 0;
    for (int sym = kSymbols; sym >= 1; --sym) {
      int ch = sym - 1;
      charToSym[ch] = sym;
      symToChar[sym] = ch;
      freq[sym] = 1;
      cum[sym - 1] = cum[sym] + freq[sym];
    }
    freq[0] = 0;  // sentinel: stops the search for equal frequencies at rank 1
  }

  void Update(int sym) {
    if (cum[0] >= kMaxCum) {
      uint32_t c = 0;
      for (int i = kSymbols; i > 0; --i) {
        cum[i] = c;
        freq[i] = (freq[i] + 1) >> 1;
        c += freq[i];
      }
      cum[0] = c;
    }
    int i = sym;
    while (freq[i] == freq[i - 1]) --i;
    if (i < sym) {
      int chI = symToChar[i];
      int chSym = symToChar[sym];
      symToChar[i] = chSym;
      symToChar[sym] = chI;
      charToSym[chI] = sym;
      charToSym[chSym] = i;
    }
    ++freq[i];
    while (--i >= 0) ++cum[i];
  }
};

class BitWriter {
 public:
  void Put(bool bit) {
    if (bit) buffer_ |= mask_;
    mask_ >>= 1;
    if (mask_ == 0) Flush();
  }
  std::string Finish() {
    if (mask_ != 0x80) Flush();
    return std::move(out_);
  }

 private:
  void Flush() {
    out_.push_back(static_cast<char>(buffer_));
    buffer_ = 0;
    mask_ = 0x80;
  }
  std::string out_;
  unsigned buffer_ = 0;
  unsigned mask_ = 0x80;
};

class Encoder {
 public:
  void EncodeChar(CharModel& model, int ch) {
    int sym = model.charToSym[ch];
    Narrow(model.cum[sym - 1], model.cum[sym], model.cum[0]);
    model.Update(sym);
  }
  void EncodePosition(int pos) {
    const auto& c = Positions().cum;
    Narrow(c[pos], c[pos + 1], c[0]);
  }
  std::string Finish() {
    ++pending_;
    Output(low_ >= kQuarter);
    return bits_.Finish();
  }

 private:
  void Output(bool bit) {
    bits_.Put(bit);
    for (; pending_ > 0; --pending_) bits_.Put(!bit);
  }
  void Narrow(uint64_t hiCum, uint64_t loCum, uint64_t total) {
    uint64_t range = high_ - low_;
    high_ = low_ + static_cast<uint32_t>(range * hiCum / total);
    low_ += static_cast<uint32_t>(range * loCum / total);
    for (;;) {
      if (high_ <= kHalf) {
        Output(false);
      } else if (low_ >= kHalf) {
        Output(true);
        low_ -= kHalf;
        high_ -= kHalf;
      } else if (low_ >= kQuarter && high_ <= kThreeQuarters) {
        ++pending_;
        low_ -= kQuarter;
        high_ -= kQuarter;
      } else {
        break;
      }
      low_ += low_;
      high_ += high_;
    }
  }
  BitWriter bits_;
  uint32_t low_ = 0;
  uint32_t high_ = kTop;
  int pending_ = 0;
};

class Decoder {
 public:
  explicit Decoder(std::string_view in) : in_(in) {
    for (int i = 0; i < kStartBits; ++i) value_ = 2 * value_ + Bit();
  }
  bool Overrun() const { return bitPos_ > in_.size() * 8 + kMaxOverreadBits; }

  int DecodeChar(CharModel& model) {
    uint64_t range = high_ - low_;
    uint64_t target = ((static_cast<uint64_t>(value_ - low_) + 1) * model.cum[0] - 1) / range;
    // Ranks are ordered by descending cum: find the first with cum[k] <= target.
    int i = 1, j = kSymbols;
    while (i < j) {
      int k = (i + j) / 2;
      if (model.cum[k] > target) i = k + 1; else j = k;
    }
    int sym = i;
    Narrow(model.cum[sym - 1], model.cum[sym], model.cum[0]);
    int ch = model.symToChar[sym];
    model.Update(sym);
    return ch;
  }

  int DecodePosition() {
    const auto& c = Positions().cum;
    uint64_t range = high_ - low_;
    uint64_t target = ((static_cast<uint64_t>(value_ - low_) + 1) * c[0] - 1) / range;
    int i = 1, j = kWindow;
    while (i < j) {
      int k = (i + j) / 2;
      if (c[k] > target) i = k + 1; else j = k;
    }
    int pos = i - 1;
    Narrow(c[pos], c[pos + 1], c[0]);
    return pos;
  }

 private:
  // Past the end of the stream the coder reads zero bits; a stream that needs
  // many of them is truncated, which Overrun() reports.
  uint32_t Bit() {
    size_t byte = bitPos_ >> 3;
    uint32_t bit = 0;
    if (byte < in_.size()) bit = (static_cast<unsigned char>(in_[byte]) >> (7 - (bitPos_ & 7))) & 1u;
    ++bitPos_;
    return bit;
  }
  void Narrow(uint64_t hiCum, uint64_t loCum, uint64_t total) {
    uint64_t range = high_ - low_;
    high_ = low_ + static_cast<uint32_t>(range * hiCum / total);
    low_ += static_cast<uint32_t>(range * loCum / total);
    for (;;) {
      if (low_ >= kHalf) {
        value_ -= kHalf;
        low_ -= kHalf;
        high_ -= kHalf;
      } else if (low_ >= kQuarter && high_ <= kThreeQuarters) {
        value_ -= kQuarter;
        low_ -= kQuarter;
        high_ -= kQuarter;
      } else if (high_ > kHalf) {
        break;
      }
      low_ += low_;
      high_ += high_;
      value_ = 2 * value_ + Bit();
    }
  }
  std::string_view in_;
  size_t bitPos_ = 0;
  uint32_t low_ = 0;
  uint32_t high_ = kTop;
  uint32_t value_ = 0;
};

// Greedy match finder over the input as if preceded by the spaces the ring
// buffer starts with; hash chains of three-byte prefixes.
class MatchFinder {
 public:
  explicit MatchFinder(std::string_view data) {
    text_.assign(kWindow - kLongest, ' ');
    start_ = text_.size();
    text_.append(data);
    head_.assign(1 << kHashBits, -1);
    prev_.assign(kWindow, -1);
  }
  size_t Start() const { return start_; }
  size_t End() const { return text_.size(); }
  unsigned char At(size_t p) const { return static_cast<unsigned char>(text_[p]); }

  void Insert(size_t p) {
    if (p + 3 > text_.size()) return;
    int h = Hash(p);
    prev_[p & (kWindow - 1)] = head_[h];
    head_[h] = static_cast<long>(p);
  }

  // Longest earlier match for position p: {length, distance}.
  std::pair<int, int> Find(size_t p) const {
    int limit = static_cast<int>(std::min<size_t>(kLongest, text_.size() - p));
    if (limit <= kThreshold) return {0, 0};
    int bestLen = 0, bestDist = 0;
    long q = head_[Hash(p)];
    for (int chain = 0; q >= 0 && chain < kMaxChain; ++chain) {
      size_t dist = p - static_cast<size_t>(q);
      if (dist == 0 || dist > static_cast<size_t>(kWindow - kLongest)) break;
      int len = 0;
      while (len < limit && text_[q + len] == text_[p + len]) ++len;
      if (len > bestLen) {
        bestLen = len;
        bestDist = static_cast<int>(dist);
        if (len == limit) break;
      }
      long next = prev_[static_cast<size_t>(q) & (kWindow - 1)];
      if (next >= q) break;  // slot reused by a newer position: chain ends
      q = next;
    }
    return {bestLen, bestDist};
  }

 private:
  static constexpr int kHashBits = 14;
  static constexpr int kMaxChain = 512;
  int Hash(size_t p) const {
    uint32_t v = (At(p) << 16) | (At(p + 1) << 8) | At(p + 2);
    return static_cast<int>((v * 2654435761u) >> (32 - kHashBits));
  }
  std::string text_;
  size_t start_ = 0;
  std::vector<long> head_;
  std::vector<long> prev_;
};

}  // namespace

std::string LzariEncode(std::string_view data) {
  CharModel model;
  Encoder enc;
  MatchFinder finder(data);
  // The spaces right before the first input byte are what the original
  // window offers; earlier spaces are identical, so these suffice.
  for (size_t p = finder.Start() - kLongest; p < finder.Start(); ++p) finder.Insert(p);
  size_t p = finder.Start();
  while (p < finder.End()) {
    auto [len, dist] = finder.Find(p);
    if (len > kThreshold) {
      enc.EncodeChar(model, 255 - kThreshold + len);
      enc.EncodePosition(dist - 1);
    } else {
      len = 1;
      enc.EncodeChar(model, finder.At(p));
    }
    for (int k = 0; k < len; ++k) finder.Insert(p + k);
    p += len;
  }
  return enc.Finish();
}

size_t LzariMaxDecodedSize(size_t codedSize) {
  // A symbol never costs less than about 1/70 bit, a match never less than
  // 9 bits, so no stream expands by more than ~600 times; leave headroom.
  return codedSize * 1024 + 1024;
}

std::optional<std::string> LzariDecode(std::string_view coded, size_t decodedSize) {
  if (decodedSize > LzariMaxDecodedSize(coded.size())) return std::nullopt;
  std::string out;
  out.reserve(decodedSize);
  std::array<unsigned char, kWindow> ring{};
  for (int i = 0; i < kWindow - kLongest; ++i) ring[i] = ' ';
  int r = kWindow - kLongest;
  CharModel model;
  Decoder dec(coded);
  while (out.size() < decodedSize) {
    int c = dec.DecodeChar(model);
    if (c < 256) {
      out.push_back(static_cast<char>(c));
      ring[r] = static_cast<unsigned char>(c);
      r = (r + 1) & (kWindow - 1);
    } else {
      int from = (r - dec.DecodePosition() - 1) & (kWindow - 1);
      int len = c - 255 + kThreshold;
      for (int k = 0; k < len && out.size() < decodedSize; ++k) {
        unsigned char b = ring[(from + k) & (kWindow - 1)];
        out.push_back(static_cast<char>(b));
        ring[r] = b;
        r = (r + 1) & (kWindow - 1);
      }
    }
    if (dec.Overrun()) return std::nullopt;
  }
  return out;
}

}  // namespace sorvane
