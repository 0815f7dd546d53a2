// Language text and translation files on arbitrary bytes: the section split,
// the line rules, the lookups, the menu and the translation report must never
// read or write out of bounds, whatever the file holds (odd lengths included).
//
// Property: the translator template written from a store, saved as the
// program saves it and loaded back as a translation, gives every English id
// its English text again, and the report calls it complete. That is what a
// translator who changes nothing gets, so any loss there is a lost string.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "language/help_page.h"
#include "language/language_archive.h"
#include "language/language_store.h"

namespace {

using namespace sorvane;

Text Latin1(std::string_view bytes) {
  Text t;
  t.reserve(bytes.size());
  for (unsigned char c : bytes) t += static_cast<char16_t>(c);
  return t;
}

// Ids the help page is made of.
bool HasHelpTexts(const StringMap& lines) {
  auto it = lines.lower_bound(301);
  return it != lines.end() && it->first <= 404;
}

void CheckTemplateRoundTrip(LanguageStore& store) {
  if (store.LanguageCount() <= kEnglishIndex) return;
  const Text sheet = TranslationTemplateText(store);
  // The file reader stops a piece at a NUL, and a last English line without
  // its line break only becomes a line in the template: neither occurs in a
  // packed archive, whose lines are all closed and hold no NUL.
  if (sheet.find(u'\0') != Text::npos) return;
  const TextView body = store.EnglishBody();
  if (!body.empty() && body.back() != u'\n') return;

  const std::string file = "\xFF\xFE" + TextToUtf16Le(sheet);
  const Text report = store.LoadTranslation(DecodeTextFileBytes(file, Latin1));
  const StringMap& english = store.LanguageAt(kEnglishIndex).strings;
  bool checked = false;
  for (const auto& [id, text] : english) {
    const std::optional<TextView> back = store.GetLangString(id);
    if (!back || *back != text) std::abort();
    if (id < kCheckedIdLimit && !text.empty()) checked = true;
  }
  if (report != (checked ? u"100 %" : u"0 %")) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const Text text = DecodeTextFileBytes(bytes, Latin1);

  LanguageStore store;
  store.Load(Utf16LeToText(bytes));
  for (int i = -1; i <= store.LanguageCount(); ++i) {
    store.SetCurrent(i);
    (void)store.CurrentLanguageNativeName();
    (void)store.GetLangString(50);
  }
  // The menu depends on the current language only through its check mark.
  const int count = store.LanguageCount();
  store.SetCurrent(count == 0 ? 0 : static_cast<int>(size % static_cast<size_t>(count)));
  (void)BuildLanguageMenu(store, true);
  (void)BuildLanguageMenu(store, false);
  store.DetectUserLanguage(static_cast<uint16_t>(size * 2654435761u));
  CheckTemplateRoundTrip(store);

  (void)store.LoadTranslation(text);
  auto lookup = [&store](int id) { return store.GetLangString(id); };
  (void)BuildInformationText(lookup);
  // Without any of its texts the page is the same every time: build it once.
  static bool builtWithout = false;
  StringMap lines;
  ParseLanguageLines(text, lines);
  if (HasHelpTexts(lines) || !builtWithout) {
    builtWithout = true;
    (void)BuildHelpPage(lookup);
  }
  return 0;
}
