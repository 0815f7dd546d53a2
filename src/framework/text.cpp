#include "framework/text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace sorvane {

void AppendCodePoint(Text& out, char32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
  } else {
    out.push_back(static_cast<char16_t>(cp));
  }
}

Text FromUtf8(std::string_view s) {
  Text out;
  out.reserve(s.size());
  size_t i = 0;
  const size_t n = s.size();
  auto cont = [&](size_t k) { return k < n && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80; };
  while (i < n) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    char32_t cp = 0xFFFD;
    size_t len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c & 0xE0) == 0xC0 && cont(i + 1)) {
      cp = ((c & 0x1Fu) << 6) | (s[i + 1] & 0x3Fu);
      len = 2;
      if (cp < 0x80) cp = 0xFFFD;
    } else if ((c & 0xF0) == 0xE0 && cont(i + 1) && cont(i + 2)) {
      cp = ((c & 0x0Fu) << 12) | ((s[i + 1] & 0x3Fu) << 6) | (s[i + 2] & 0x3Fu);
      len = 3;
      if (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    } else if ((c & 0xF8) == 0xF0 && cont(i + 1) && cont(i + 2) && cont(i + 3)) {
      cp = ((c & 0x07u) << 18) | ((s[i + 1] & 0x3Fu) << 12) | ((s[i + 2] & 0x3Fu) << 6) | (s[i + 3] & 0x3Fu);
      len = 4;
      if (cp < 0x10000 || cp > 0x10FFFF) cp = 0xFFFD;
    }
    AppendCodePoint(out, cp);
    i += len;
  }
  return out;
}

std::string ToUtf8(TextView t) {
  std::string out;
  out.reserve(t.size());
  for (size_t i = 0; i < t.size(); ++i) {
    char32_t cp = t[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < t.size() && t[i + 1] >= 0xDC00 && t[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (t[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;  // a lone surrogate has no UTF-8 form
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

char16_t ToLowerChar(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
  // Latin-1 capitals, except the multiplication sign.
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 32);
  // Latin Extended-A and the start of Extended-B pair capitals with the next code unit.
  if (c >= 0x100 && c <= 0x137 && (c % 2) == 0) return static_cast<char16_t>(c + 1);
  if (c >= 0x139 && c <= 0x148 && (c % 2) == 1) return static_cast<char16_t>(c + 1);
  if (c >= 0x14A && c <= 0x177 && (c % 2) == 0) return static_cast<char16_t>(c + 1);
  if (c == 0x178) return 0xFF;
  if (c == 0x179 || c == 0x17B || c == 0x17D) return static_cast<char16_t>(c + 1);
  // Greek.
  if (c == 0x386) return 0x3AC;
  if (c >= 0x388 && c <= 0x38A) return static_cast<char16_t>(c + 37);
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return static_cast<char16_t>(c + 63);
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return static_cast<char16_t>(c + 32);
  // Cyrillic.
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 80);
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 32);
  // Full-width Latin.
  if (c >= 0xFF21 && c <= 0xFF3A) return static_cast<char16_t>(c + 32);
  return c;
}

Text ToLower(TextView text) {
  Text out(text);
  for (auto& c : out) c = ToLowerChar(c);
  return out;
}

bool EqualsIgnoreCase(TextView a, TextView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (ToLowerChar(a[i]) != ToLowerChar(b[i])) return false;
  return true;
}

static bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

int ParseInt(TextView t) {
  size_t i = 0;
  while (i < t.size() && IsBlank(t[i])) ++i;
  bool negative = false;
  if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) negative = t[i++] == u'-';
  long long v = 0;
  for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) {
    v = v * 10 + (t[i] - u'0');
    if (v > 0x80000000LL) v = 0x80000000LL;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<int>::max()) v = std::numeric_limits<int>::max();
  return static_cast<int>(v);
}

double ParseDouble(TextView t) {
  std::string ascii;
  for (char16_t c : t) {
    if (c > 0x7F) break;
    ascii.push_back(static_cast<char>(c));
  }
  const char* begin = ascii.c_str();
  char* end = nullptr;
  const double v = std::strtod(begin, &end);
  if (end == begin || !std::isfinite(v)) return 0.0;
  return v;
}

void ReplaceAll(Text& text, TextView from, TextView to) {
  if (from.empty()) return;
  Text out;
  out.reserve(text.size());
  size_t pos = 0;
  for (;;) {
    const size_t hit = text.find(from, pos);
    if (hit == Text::npos) break;
    out.append(text, pos, hit - pos);
    out.append(to);
    pos = hit + from.size();
  }
  if (pos == 0) return;
  out.append(text, pos, Text::npos);
  text.swap(out);
}

TextView Trim(TextView t) {
  while (!t.empty() && IsBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && IsBlank(t.back())) t.remove_suffix(1);
  return t;
}

static void AppendAscii(Text& out, const char* s) {
  while (*s) out.push_back(static_cast<char16_t>(*s++));
}

Text Format(TextView format, std::initializer_list<FormatArg> args) {
  Text out;
  auto next = args.begin();
  char buf[64];
  for (size_t i = 0; i < format.size(); ++i) {
    const char16_t c = format[i];
    if (c != u'%' || i + 1 >= format.size()) {
      out.push_back(c);
      continue;
    }
    TextView rest = format.substr(i + 1);
    auto take = [&]() -> const FormatArg* { return next != args.end() ? &*next++ : nullptr; };
    if (rest.starts_with(u"%")) {
      out.push_back(u'%');
      i += 1;
    } else if (rest.starts_with(u"d") || rest.starts_with(u"02d")) {
      const bool padded = rest[0] == u'0';
      if (const FormatArg* a = take()) {
        long long v = 0;
        if (auto p = std::get_if<int>(a)) v = *p;
        else if (auto d = std::get_if<double>(a)) v = static_cast<long long>(*d);
        std::snprintf(buf, sizeof buf, padded ? "%02lld" : "%lld", v);
        AppendAscii(out, buf);
      }
      i += padded ? 3 : 1;
    } else if (rest.starts_with(u"f")) {
      if (const FormatArg* a = take()) {
        double v = 0;
        if (auto d = std::get_if<double>(a)) v = *d;
        else if (auto p = std::get_if<int>(a)) v = *p;
        std::snprintf(buf, sizeof buf, "%f", v);
        AppendAscii(out, buf);
      }
      i += 1;
    } else if (rest.starts_with(u"s")) {
      if (const FormatArg* a = take())
        if (auto s = std::get_if<TextView>(a)) out.append(*s);
      i += 1;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace sorvane
