#include "settings/ini_document.h"

#include <bit>
#include <cstring>

namespace sorvane {

bool IsIniBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' || c == 0x1A;
}

TextView TrimIni(TextView t) {
  while (!t.empty() && IsIniBlank(t.front())) t.remove_prefix(1);
  while (!t.empty() && IsIniBlank(t.back())) t.remove_suffix(1);
  return t;
}

static TextView TrimLeading(TextView t) {
  while (!t.empty() && IsIniBlank(t.front())) t.remove_prefix(1);
  return t;
}

// One pass over what may be a long value: a break ends the scan, a NUL is not a break.
static bool HasLineBreak(TextView t) {
  for (const char16_t c : t)
    if (c == u'\r' || c == u'\n') return true;
  return false;
}

// The platform hands the text over as a C string: it ends at the first NUL.
static TextView UpToNul(TextView t) {
  for (size_t i = 0; i < t.size(); ++i)
    if (t[i] == u'\0') return t.substr(0, i);
  return t;
}

bool IniDocument::HasUtf16Bom(std::string_view bytes) {
  return bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
         static_cast<unsigned char>(bytes[1]) == 0xFE;
}

Text IniDocument::DecodeUtf16(std::string_view bytes) {
  Text out;
  out.resize(bytes.size() / 2);
  if constexpr (std::endian::native == std::endian::little) {
    if (!out.empty()) std::memcpy(out.data(), bytes.data(), out.size() * 2);
    return out;
  }
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                   (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return out;
}

IniDocument IniDocument::Parse(TextView text) {
  IniDocument doc;
  IniSection* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = pos;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    TextView line = TrimIni(UpToNul(text.substr(pos, end - pos)));
    pos = end + 1;
    if (line.empty()) continue;

    if (line.front() == u'[') {
      const size_t close = line.rfind(u']');
      if (close != TextView::npos && close > 0) {
        IniSection& s = doc.sections_.emplace_back();
        s.name = Text(TrimIni(line.substr(1, close - 1)));
        current = &s;
        continue;
      }
      // "[" without "]" is an ordinary line of the current section.
    }
    if (!current) {
      IniSection& s = doc.sections_.emplace_back();
      s.hasHeader = false;
      current = &s;
    }
    IniEntry& e = current->entries.emplace_back();
    const size_t eq = line.find(u'=');
    if (eq == TextView::npos) {
      e.name = Text(line);
    } else {
      e.name = Text(TrimIni(line.substr(0, eq)));
      e.value = Text(TrimIni(line.substr(eq + 1)));
      e.hasValue = true;
    }
  }
  return doc;
}

static void AppendUtf16(std::string& out, TextView t) {
  const size_t at = out.size();
  out.resize(at + t.size() * 2);
  char* p = out.data() + at;
  if constexpr (std::endian::native == std::endian::little) {
    if (!t.empty()) std::memcpy(p, t.data(), t.size() * 2);
    return;
  }
  for (char16_t c : t) {
    *p++ = static_cast<char>(c & 0xFF);
    *p++ = static_cast<char>(c >> 8);
  }
}

std::string IniDocument::Serialize() const {
  size_t size = 2;
  for (const auto& s : sections_) {
    size += (s.name.size() + 4) * 2;
    for (const auto& e : s.entries) size += (e.name.size() + e.value.size() + 3) * 2;
  }
  std::string out;
  out.reserve(size);
  out.append("\xFF\xFE", 2);
  for (const auto& s : sections_) {
    if (s.hasHeader) {
      AppendUtf16(out, u"[");
      AppendUtf16(out, s.name);
      AppendUtf16(out, u"]\r\n");
    }
    for (const auto& e : s.entries) {
      AppendUtf16(out, e.name);
      if (e.hasValue) {
        AppendUtf16(out, u"=");
        AppendUtf16(out, e.value);
      }
      AppendUtf16(out, u"\r\n");
    }
  }
  return out;
}

// Names are compared trimmed: the last write's names may still carry trailing blanks.
IniSection* IniDocument::FindSection(TextView name) {
  if (name.empty()) return nullptr;
  for (auto& s : sections_)
    if (s.hasHeader && EqualsIgnoreCase(TrimIni(s.name), name)) return &s;
  return nullptr;
}

const Text* IniDocument::Find(TextView section, TextView key) const {
  IniSection* s = const_cast<IniDocument*>(this)->FindSection(TrimIni(section));
  key = TrimIni(key);
  if (!s || key.empty()) return nullptr;
  for (const auto& e : s->entries)
    if (EqualsIgnoreCase(TrimIni(e.name), key)) return e.hasValue ? &e.value : nullptr;
  return nullptr;
}

void IniDocument::Normalize() {
  const auto trim = [](Text& t) {
    const TextView trimmed = TrimIni(t);
    if (trimmed.size() != t.size()) t = Text(trimmed);
  };
  for (auto& s : sections_) {
    if (s.hasHeader) trim(s.name);
    for (auto& e : s.entries) {
      trim(e.name);
      if (e.hasValue) trim(e.value);
    }
  }
  raw_ = false;
}

TextView IniDocument::Unquote(TextView v) {
  if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

bool IniDocument::Set(TextView section, TextView key, TextView value) { return SetOwned(section, key, Text(value)); }

bool IniDocument::SetOwned(TextView section, TextView key, Text&& value) {
  section = UpToNul(section);
  key = UpToNul(key);
  value.resize(UpToNul(value).size());
  if (TrimIni(section).empty() || TrimIni(key).empty()) return false;
  if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
  // A key with "=" or one that looks like a section header would not read back as the same key.
  if (key.find(u'=') != TextView::npos || TrimIni(key).front() == u'[') return false;

  // The platform reads the file again before each write, which trims what the
  // previous write left untrimmed; a document kept between writes does the same.
  if (raw_) Normalize();
  IniSection* s = FindSection(TrimIni(section));
  if (!s) {
    s = &sections_.emplace_back();
    s->name = Text(TrimLeading(section));  // the platform keeps trailing blanks of a new name
  }
  // Stored values lose their leading blanks on write and their trailing ones on the next read.
  const size_t leading = value.size() - TrimLeading(value).size();
  if (leading > 0) value.erase(0, leading);
  const TextView trimmedKey = TrimIni(key);
  raw_ = true;
  for (auto& e : s->entries) {
    if (EqualsIgnoreCase(e.name, trimmedKey)) {
      e.value = std::move(value);
      e.hasValue = true;
      return true;
    }
  }
  IniEntry& e = s->entries.emplace_back();
  e.name = Text(TrimLeading(key));
  e.value = std::move(value);
  e.hasValue = true;
  return true;
}

bool IniDocument::DeleteSection(TextView section) {
  section = TrimIni(section);
  if (section.empty()) return false;
  if (raw_) Normalize();
  const size_t before = sections_.size();
  std::erase_if(sections_, [&](const IniSection& s) { return s.hasHeader && EqualsIgnoreCase(s.name, section); });
  return sections_.size() != before;
}

}  // namespace sorvane
