// Any bytes parse; a write into the parsed file keeps every value that could be read before.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace sorvane;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Text text;
  if (IniDocument::HasUtf16Bom(bytes)) text = IniDocument::DecodeUtf16(bytes.substr(2));
  else for (char c : bytes) text.push_back(static_cast<unsigned char>(c));
  const IniDocument before = IniDocument::Parse(text);
  IniDocument doc = before;
  doc.Set(u"Program", u"TestIni", u"eeee");
  const std::string written = doc.Serialize();
  const IniDocument after = IniDocument::Parse(IniDocument::DecodeUtf16(std::string_view(written).substr(2)));
  for (const auto& s : before.Sections()) {
    if (!s.hasHeader) continue;
    for (const auto& e : s.entries) {
      if (EqualsIgnoreCase(TrimIni(s.name), u"Program") && EqualsIgnoreCase(e.name, u"TestIni")) continue;
      const Text* was = before.Find(s.name, e.name);
      const Text* now = after.Find(s.name, e.name);
      if ((was == nullptr) != (now == nullptr) || (was && *was != *now)) std::abort();
    }
  }
  const Text* test = after.Find(u"Program", u"TestIni");
  if (!test || *test != u"eeee") std::abort();
  return 0;
}
