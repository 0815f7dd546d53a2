// Language text and translation files on arbitrary bytes: the section split,
// the line rules, the lookups, the menu and the translation report must never
// read or write out of bounds, whatever the file holds (odd lengths included).
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "language/help_page.h"
#include "language/language_archive.h"
#include "language/language_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto latin1 = [](std::string_view b) {
    sorvane::Text t;
    for (unsigned char c : b) t += static_cast<char16_t>(c);
    return t;
  };
  sorvane::Text text = sorvane::DecodeTextFileBytes(bytes, latin1);

  sorvane::LanguageStore store;
  store.Load(sorvane::Utf16LeToText(bytes));
  for (int i = -1; i <= store.LanguageCount(); ++i) {
    store.SetCurrent(i);
    (void)store.CurrentLanguageNativeName();
    (void)store.GetLangString(50);
    (void)sorvane::BuildLanguageMenu(store, i % 2 == 0);
  }
  store.DetectUserLanguage(static_cast<uint16_t>(size * 2654435761u));
  (void)sorvane::TranslationTemplateText(store);
  (void)store.LoadTranslation(text);
  auto lookup = [&store](int id) { return store.GetLangString(id); };
  (void)sorvane::BuildHelpPage(lookup);
  (void)sorvane::BuildInformationText(lookup);
  return 0;
}
