// The interface languages in memory: the info strings, the two agreement texts
// and up to 64 languages, each a map from string id to text, plus the
// translation override a translator loads to test a file.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/text.h"

namespace sorvane {

inline constexpr int kMaxLanguages = 64;
inline constexpr int kInfoStringCount = 128;
inline constexpr int kEnglishIndex = 1;
inline constexpr int kGermanIndex = 0;
// Completeness and the translation report look at ids below this.
inline constexpr int kCheckedIdLimit = 512;

using StringMap = std::map<int, TextView>;

// Splits a language body or translation file into id -> text: a line counts
// only when a line feed ends it (a CR before it is dropped); it needs an "=";
// its id is the leading integer of the line (0 when there is none); negative
// ids are ignored; a later line wins. Views point into body.
void ParseLanguageLines(TextView body, StringMap& out);

struct Language {
  TextView name;  // English name, TAB, native name; may be empty
  StringMap strings;
  int completeness = 0;  // percent of the English texts this language has
};

class LanguageStore {
 public:
  // Takes the decoded archive text (UTF-16, byte-order mark first) and splits
  // it into its sections. False when the text has no sections at all.
  bool Load(Text decoded);
  // Decodes and loads the archive bytes found between the markers.
  bool LoadArchive(std::string_view archive);
  bool Loaded() const { return loaded_; }

  int LanguageCount() const { return static_cast<int>(languages_.size()); }
  const Language& LanguageAt(int index) const { return languages_.at(index); }
  int Current() const { return current_; }
  void SetCurrent(int index) { current_ = index; }

  // Looks up id in the current language, else English; nullopt when absent.
  // While the override is active it answers alone, with "str:<id>?" for an id
  // it lacks. Views stay valid until the program ends or the override text
  // is replaced.
  std::optional<TextView> GetLangString(int id);
  // As above, absent as empty.
  TextView Str(int id) { return GetLangString(id).value_or(TextView()); }
  TextView GetInfoString(int id) const;
  TextView Agreement(int which) const;  // 0 English, 1 German
  Text CurrentLanguageNativeName() const;
  TextView EnglishBody() const { return englishBody_; }

  // Picks the language matching the user's 16-bit language id; English when
  // none matches.
  void DetectUserLanguage(uint16_t userLangId);

  // Loads a translation file's text as the override (replacing an earlier
  // one), makes it active and returns the report text of the message box.
  Text LoadTranslation(Text fileText);
  bool OverrideActive() const { return overrideActive_; }

 private:
  void ComputeCompleteness();

  bool loaded_ = false;
  Text decoded_;
  std::vector<Text> info_ = std::vector<Text>(kInfoStringCount);
  TextView agreements_[2];
  std::vector<Language> languages_;
  TextView englishBody_;
  int current_ = kEnglishIndex;

  bool overrideActive_ = false;
  // Each override file's text is kept alive as long as views into it may be held.
  std::vector<std::unique_ptr<Text>> keptOverrides_;
  StringMap override_;
  // The probe worker may look texts up while the UI thread does: the miss
  // texts are the only thing a lookup adds to.
  std::unique_ptr<std::mutex> missMutex_ = std::make_unique<std::mutex>();
  std::map<int, Text> missTexts_;
};

// The process-wide store, filled once at start-up.
LanguageStore& Languages();

// The language menu as data: one item per listed language, the column break,
// then the two translator items after a separator.
struct LanguageMenuItem {
  Text text;
  int command = 0;
  bool checked = false;      // the current language, also the default item
  bool columnBreak = false;  // starts the second column
  bool separator = false;
};
inline constexpr int kLanguageCommandFirst = 33000;
inline constexpr int kTranslateCommand = 33100;
inline constexpr int kLoadTranslationCommand = 33101;
inline constexpr int kLanguageCommandLast = 33200;
// showIndex: the "%d %s / %d %%" form, chosen when "BaseMain.h" lies in the
// current directory (a developer's build folder).
std::vector<LanguageMenuItem> BuildLanguageMenu(const LanguageStore& store, bool showIndex);

// The translator template: file name within the temporary folder, and text.
// The text of id in the store's current language (or English); english only
// when no language has the id. A text a language gives as empty is empty.
Text LangStringOr(LanguageStore& store, int id, TextView english);

Text TranslationTemplateFileName(const LanguageStore& store);
Text TranslationTemplateText(const LanguageStore& store);

// Reads a text file's bytes: FF FE starts UTF-16LE, anything else is ANSI and
// converted with ansiToText. Odd trailing bytes are dropped.
Text DecodeTextFileBytes(std::string_view bytes, const std::function<Text(std::string_view)>& ansiToText);

}  // namespace sorvane
