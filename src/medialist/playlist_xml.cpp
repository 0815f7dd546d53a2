#include "medialist/playlist_xml.h"

#include <functional>

namespace sorvane {
namespace {

bool IsXmlSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }
bool IsNameEnd(char16_t c) { return IsXmlSpace(c) || c == u'/' || c == u'>'; }

// A numeric reference's value, or 0 when it is not one a document may hold.
char32_t NumericReference(TextView body) {
  bool hex = false;
  if (!body.empty() && (body[0] == u'x' || body[0] == u'X')) {
    hex = true;
    body.remove_prefix(1);
  }
  if (body.empty() || body.size() > 8) return 0;
  char32_t cp = 0;
  for (char16_t c : body) {
    int d = -1;
    if (c >= u'0' && c <= u'9') d = c - u'0';
    else if (hex && c >= u'a' && c <= u'f') d = c - u'a' + 10;
    else if (hex && c >= u'A' && c <= u'F') d = c - u'A' + 10;
    if (d < 0) return 0;
    cp = cp * (hex ? 16 : 10) + static_cast<char32_t>(d);
  }
  if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return cp;
}

// One tag as the scanner sees it.
struct Tag {
  TextView name;
  TextView attributes;  // between the name and the closing "/>" or ">"
  bool closing = false;
};

// Walks the document: text runs (entity-decoded), CDATA (as is) and tags; skips
// comments, processing instructions and declarations. A construct cut off by
// the end of the file is dropped.
void Scan(TextView xml, const std::function<void(const Tag&)>& onTag,
          const std::function<void(TextView text, bool raw)>& onText) {
  size_t i = 0;
  const size_t n = xml.size();
  while (i < n) {
    const size_t lt = xml.find(u'<', i);
    if (lt == TextView::npos) return;  // trailing text outside any tag is cut off
    if (lt > i) onText(xml.substr(i, lt - i), false);
    const TextView at = xml.substr(lt);
    auto skipPast = [&](TextView end) {
      const size_t e = xml.find(end, lt);
      return e == TextView::npos ? n : e + end.size();
    };
    if (at.starts_with(u"<!--")) {
      const size_t e = xml.find(u"-->", lt + 4);
      i = e == TextView::npos ? n : e + 3;
    } else if (at.starts_with(u"<![CDATA[")) {
      const size_t e = xml.find(u"]]>", lt + 9);
      if (e == TextView::npos) return;
      onText(xml.substr(lt + 9, e - lt - 9), true);
      i = e + 3;
    } else if (at.starts_with(u"<?")) {
      i = skipPast(u"?>");
    } else if (at.starts_with(u"<!")) {
      i = skipPast(u">");
    } else {
      // A tag ends at the first ">" outside a quoted attribute value.
      size_t e = lt + 1;
      char16_t quote = 0;
      for (; e < n; ++e) {
        const char16_t c = xml[e];
        if (quote) {
          if (c == quote) quote = 0;
        } else if (c == u'"' || c == u'\'') {
          quote = c;
        } else if (c == u'>') {
          break;
        }
      }
      if (e >= n) return;
      TextView body = xml.substr(lt + 1, e - lt - 1);
      Tag tag;
      if (!body.empty() && body[0] == u'/') {
        tag.closing = true;
        body.remove_prefix(1);
      }
      size_t k = 0;
      while (k < body.size() && !IsNameEnd(body[k])) ++k;
      tag.name = body.substr(0, k);
      tag.attributes = body.substr(k);
      onTag(tag);
      i = e + 1;
    }
  }
}

// The raw value of attribute `name` in a tag's attribute text; false when absent.
bool FindAttribute(TextView attrs, TextView name, TextView& value) {
  size_t i = 0;
  const size_t n = attrs.size();
  while (i < n) {
    while (i < n && (IsXmlSpace(attrs[i]) || attrs[i] == u'/')) ++i;
    const size_t nameStart = i;
    while (i < n && attrs[i] != u'=' && !IsXmlSpace(attrs[i]) && attrs[i] != u'/') ++i;
    const TextView attrName = attrs.substr(nameStart, i - nameStart);
    while (i < n && IsXmlSpace(attrs[i])) ++i;
    if (i >= n || attrs[i] != u'=') {
      if (i == nameStart) ++i;  // a stray character: step over it
      continue;
    }
    ++i;
    while (i < n && IsXmlSpace(attrs[i])) ++i;
    TextView v;
    if (i < n && (attrs[i] == u'"' || attrs[i] == u'\'')) {
      const char16_t q = attrs[i];
      const size_t end = attrs.find(q, i + 1);
      if (end == TextView::npos) return false;
      v = attrs.substr(i + 1, end - i - 1);
      i = end + 1;
    } else {
      const size_t start = i;
      while (i < n && !IsXmlSpace(attrs[i])) ++i;
      v = attrs.substr(start, i - start);
    }
    if (EqualsIgnoreCase(attrName, name)) {
      value = v;
      return true;
    }
  }
  return false;
}

}  // namespace

Text DecodeXmlText(TextView text) {
  Text out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c != u'&') {
      out.push_back(c);
      ++i;
      continue;
    }
    // A reference is short; looking no further than 12 characters keeps a file
    // full of "&" linear.
    const size_t semi = text.substr(i, 12).find(u';');
    if (semi == TextView::npos) {
      out.push_back(c);
      ++i;
      continue;
    }
    const TextView body = text.substr(i + 1, semi - 1);
    char32_t cp = 0;
    if (body == u"amp") cp = u'&';
    else if (body == u"lt") cp = u'<';
    else if (body == u"gt") cp = u'>';
    else if (body == u"quot") cp = u'"';
    else if (body == u"apos") cp = u'\'';
    else if (!body.empty() && body[0] == u'#') cp = NumericReference(body.substr(1));
    if (cp == 0) {
      out.push_back(c);
      ++i;
      continue;
    }
    AppendCodePoint(out, cp);
    i += semi + 1;
  }
  return out;
}

std::vector<Text> ScanWplSources(TextView xml) {
  std::vector<Text> out;
  Scan(
      xml,
      [&](const Tag& tag) {
        TextView src;
        if (!tag.closing && EqualsIgnoreCase(tag.name, u"media") && FindAttribute(tag.attributes, u"src", src)) {
          out.push_back(DecodeXmlText(src));
        }
      },
      [](TextView, bool) {});
  return out;
}

std::vector<Text> ScanXspfLocations(TextView xml) {
  std::vector<Text> out;
  bool inTrack = false;
  bool inLocation = false;
  Text location;
  Scan(
      xml,
      [&](const Tag& tag) {
        const bool selfClosing = !tag.attributes.empty() && tag.attributes.back() == u'/';
        if (EqualsIgnoreCase(tag.name, u"track")) {
          inTrack = !tag.closing && !selfClosing;
          inLocation = false;
        } else if (EqualsIgnoreCase(tag.name, u"location")) {
          if (tag.closing) {
            if (inLocation) out.push_back(location);
            inLocation = false;
          } else if (inTrack && !selfClosing) {
            inLocation = true;
            location.clear();
          }
        }
      },
      [&](TextView text, bool raw) {
        if (inLocation) location += raw ? Text(text) : DecodeXmlText(text);
      });
  return out;
}

}  // namespace sorvane
