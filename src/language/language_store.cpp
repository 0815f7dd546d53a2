#include "language/language_store.h"

#include <algorithm>

#include "language/language_archive.h"

namespace sorvane {
namespace {

struct MatchRow {
  uint16_t primary;
  uint16_t sub;
  const char16_t* fragment1;
  const char16_t* fragment2;
};

// Which user language picks which language section, by fragments of its name.
constexpr MatchRow kLanguageMatchTable[] = {
    {0x07, 0, u"German", u"Deutsc"},   {0x13, 0, u"Dutch", u"Nederl"},
    {0x09, 0, u"English", u"Englisch"}, {0x0C, 0, u"French", u"Français"},
    {0x0A, 0, u"Spanish", u"Espa"},    {0x10, 0, u"Itali", u"Itali"},
    {0x19, 0, u"Russian", u"Russian"}, {0x11, 0, u"Japan", u"Japan"},
    {0x12, 0, u"Korea", u"Korea"},     {0x29, 0, u"Persi", u"Saudi"},
    {0x01, 0, u"ARABIC", u"Iran"},     {0x15, 0, u"Polisc", u"Polisc"},
    {0x3E, 0, u"MALAY", u"MALAY"},     {0x18, 0, u"ROMANIAN", u"ROMANIAN"},
    {0x04, 1, u"Chines", u"Tradi"},    {0x04, 2, u"Chines", u"Simpl"},
    {0x16, 1, u"Portug", u"Brazil"},   {0x16, 0, u"Portug", u"Portug"},
};

bool Contains(const Text& lowerName, const char16_t* fragment) {
  return lowerName.find(ToLower(fragment)) != Text::npos;
}

int Percent(int present, int total) {
  if (total <= 0) return 0;
  return static_cast<int>(static_cast<double>(present) / total * 100.0);
}

bool NonEmpty(const StringMap& m, int id) {
  auto it = m.find(id);
  return it != m.end() && !it->second.empty();
}

}  // namespace

void ParseLanguageLines(TextView body, StringMap& out) {
  size_t start = 0;
  while (start < body.size()) {
    size_t lf = body.find(u'\n', start);
    if (lf == TextView::npos) break;  // a last line without a line break does not count
    TextView line = body.substr(start, lf - start);
    start = lf + 1;
    if (!line.empty() && line.back() == u'\r') line.remove_suffix(1);
    size_t eq = line.find(u'=');
    if (eq == TextView::npos) continue;
    int id = ParseInt(line);
    if (id < 0) continue;
    out[id] = line.substr(eq + 1);
  }
}

LanguageStore& Languages() {
  static LanguageStore store;
  return store;
}

bool LanguageStore::LoadArchive(std::string_view archive) {
  auto bytes = DecodeArchive(archive);
  if (!bytes) return false;
  return Load(Utf16LeToText(*bytes));
}

bool LanguageStore::Load(Text decoded) {
  decoded_ = std::move(decoded);
  info_.assign(kInfoStringCount, Text());
  agreements_[0] = agreements_[1] = TextView();
  languages_.clear();
  englishBody_ = TextView();
  current_ = kEnglishIndex;
  loaded_ = false;
  overrideActive_ = false;
  override_.clear();

  const TextView all(decoded_);
  const size_t n = all.size();
  const size_t first = (n > 0 && all[0] == u'\uFEFF') ? 1 : 0;
  // The section that is open: -1 none, 0 info strings, 1 and 2 the agreements,
  // 3 a language (the last one added).
  int openKind = -1;
  size_t openBegin = 0;
  TextView infoSection;
  std::vector<TextView> bodies;
  auto close = [&](size_t end) {
    TextView text = openBegin <= end ? all.substr(openBegin, end - openBegin) : TextView();
    if (openKind == 0) infoSection = text;
    else if (openKind == 1 || openKind == 2) agreements_[openKind - 1] = text;
    else if (openKind == 3) bodies.back() = text;
    openKind = -1;
  };

  int sectionNumber = 0;
  for (size_t i = first; i + 1 < n; ++i) {
    if (i != first && all[i - 1] != u'\n') continue;
    if (all[i] != u'#' || all[i + 1] != u'#') continue;
    close(i);
    size_t lf = all.find(u'\n', i);
    size_t next = lf == TextView::npos ? n : lf + 1;
    if (sectionNumber < 3) {
      openKind = sectionNumber;
      openBegin = next;
    } else if (languages_.size() < kMaxLanguages) {
      Language lang;
      if (i + 2 < n && all[i + 2] == u'=') {
        size_t nameEnd = all.find_first_of(u"\r\n", i + 3);
        if (nameEnd == TextView::npos) nameEnd = n;
        lang.name = all.substr(i + 3, nameEnd - (i + 3));
      }
      languages_.push_back(std::move(lang));
      bodies.emplace_back();
      openKind = 3;
      openBegin = next;
    }
    ++sectionNumber;
    ++i;  // the second "#"
  }
  close(n);

  for (size_t k = 0; k < languages_.size(); ++k) ParseLanguageLines(bodies[k], languages_[k].strings);
  if (languages_.size() > kEnglishIndex) englishBody_ = bodies[kEnglishIndex];

  StringMap infoLines;
  ParseLanguageLines(infoSection, infoLines);
  for (const auto& [id, text] : infoLines) {
    if (id >= kInfoStringCount) continue;
    Text t(text);
    ReplaceAll(t, u"\\r", u"\r");
    ReplaceAll(t, u"\\n", u"\n");
    info_[id] = std::move(t);
  }

  ComputeCompleteness();
  // Without English there is no fallback for any text: the archive is damaged.
  loaded_ = languages_.size() > kEnglishIndex && !languages_[kEnglishIndex].strings.empty();
  return loaded_;
}

void LanguageStore::ComputeCompleteness() {
  if (languages_.size() <= kEnglishIndex) return;
  const StringMap& english = languages_[kEnglishIndex].strings;
  for (Language& lang : languages_) {
    int total = 0, present = 0;
    for (int id = 0; id < kCheckedIdLimit; ++id) {
      if (!NonEmpty(english, id)) continue;
      ++total;
      if (NonEmpty(lang.strings, id)) ++present;
    }
    lang.completeness = Percent(present, total);
  }
}

std::optional<TextView> LanguageStore::GetLangString(int id) {
  if (overrideActive_) {
    auto it = override_.find(id);
    if (it != override_.end()) return it->second;
    std::lock_guard<std::mutex> lock(*missMutex_);
    auto miss = missTexts_.find(id);
    if (miss == missTexts_.end()) miss = missTexts_.emplace(id, Format(u"str:%d?", {id})).first;
    return TextView(miss->second);
  }
  const int count = LanguageCount();
  if (current_ >= 0 && current_ < kMaxLanguages && current_ < count) {
    const StringMap& m = languages_[current_].strings;
    auto it = m.find(id);
    if (it != m.end()) return it->second;
  }
  if (count > kEnglishIndex) {
    const StringMap& m = languages_[kEnglishIndex].strings;
    auto it = m.find(id);
    if (it != m.end()) return it->second;
  }
  return std::nullopt;
}

Text LangStringOr(LanguageStore& store, int id, TextView english) {
  const std::optional<TextView> text = store.GetLangString(id);
  return Text(text ? *text : english);
}

TextView LanguageStore::GetInfoString(int id) const {
  if (id < 0 || id >= kInfoStringCount) return {};
  return info_[id];
}

TextView LanguageStore::Agreement(int which) const {
  return (which == 0 || which == 1) ? agreements_[which] : TextView();
}

Text LanguageStore::CurrentLanguageNativeName() const {
  if (current_ < 0 || current_ >= kMaxLanguages || current_ >= LanguageCount()) return u"English";
  TextView name = languages_[current_].name;
  if (name.empty()) return u"English";
  size_t tab = name.rfind(u'\t');
  return Text(tab == TextView::npos ? name : name.substr(tab + 1));
}

void LanguageStore::DetectUserLanguage(uint16_t userLangId) {
  current_ = kEnglishIndex;
  const uint16_t primary = userLangId & 0x3FF;
  const uint16_t sub = userLangId >> 10;
  for (int i = 0; i < LanguageCount(); ++i) {
    if (languages_[i].name.size() < 3) continue;
    const Text name = ToLower(languages_[i].name);
    for (const MatchRow& row : kLanguageMatchTable) {
      if (row.primary != primary || (row.sub != 0 && row.sub != sub)) continue;
      bool match = row.sub == 0 ? (Contains(name, row.fragment1) || Contains(name, row.fragment2))
                                : (Contains(name, row.fragment1) && Contains(name, row.fragment2));
      if (match) {
        current_ = i;
        return;
      }
    }
  }
}

Text LanguageStore::LoadTranslation(Text fileText) {
  // Earlier files stay alive: windows may still show views into them.
  keptOverrides_.push_back(std::make_unique<Text>(std::move(fileText)));
  override_.clear();
  ParseLanguageLines(*keptOverrides_.back(), override_);
  overrideActive_ = true;

  int total = 0, present = 0, missing = 0;
  Text report;
  static const StringMap kNoEnglish;
  const StringMap& english = LanguageCount() > kEnglishIndex ? languages_[kEnglishIndex].strings : kNoEnglish;
  for (int id = 0; id < kCheckedIdLimit; ++id) {
    if (!NonEmpty(english, id)) continue;
    ++total;
    if (NonEmpty(override_, id)) {
      ++present;
      continue;
    }
    ++missing;
    if (missing < 10) {
      report += Format(u"%d=%s\n", {id, english.at(id)});
    } else {
      if (missing == 10) report += u"........\n";
      report += Format(u"%d,", {id});
    }
  }
  Text message = Format(u"%d %%", {Percent(present, total)});
  if (missing > 0) message += u"\n\nmiss:\n" + report;
  return message;
}

std::vector<LanguageMenuItem> BuildLanguageMenu(const LanguageStore& store, bool showIndex) {
  std::vector<LanguageMenuItem> items;
  for (int i = 0; i < store.LanguageCount(); ++i) {
    const Language& lang = store.LanguageAt(i);
    if (lang.name.size() <= 5) continue;
    LanguageMenuItem item;
    item.text = showIndex ? Format(u"%d %s / %d %%", {i, lang.name, lang.completeness})
                          : Format(u"%s / %d %%", {lang.name, lang.completeness});
    item.command = kLanguageCommandFirst + i;
    item.checked = i == store.Current();
    items.push_back(std::move(item));
  }
  const size_t n = items.size();
  if (n > 10) items[n / 2 + 2].columnBreak = true;
  LanguageMenuItem separator;
  separator.separator = true;
  items.push_back(separator);
  items.push_back({u"Translate", kTranslateCommand});
  items.push_back({u"Load from File (Unicode)", kLoadTranslationCommand});
  return items;
}

Text TranslationTemplateFileName(const LanguageStore& store) {
  Text name(store.GetInfoString(19));
  ReplaceAll(name, u" ", u"_");
  return name + u"_translate.txt";
}

Text TranslationTemplateText(const LanguageStore& store) {
  Text t = u"\r\nPlease don't forget! Write in e-mail subject: Strings for: ";
  t += store.GetInfoString(19);
  t += u" and Language Name i.e. : German / Deutsch ";
  t += u"\r\n\r\n";
  t += store.GetInfoString(25);
  t += u"\r\n\r\n##=";
  if (store.LanguageCount() > kEnglishIndex) t += store.LanguageAt(kEnglishIndex).name;
  t += u"\r\n\r\n\r\n";
  t += store.EnglishBody();
  t += u"\r\n\r\n";
  return t;
}

Text DecodeTextFileBytes(std::string_view bytes, const std::function<Text(std::string_view)>& ansiToText) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE) {
    Text text;
    std::string_view rest = bytes.substr(2);
    for (size_t at = 0; at < rest.size(); at += 1024) {
      Text piece = Utf16LeToText(rest.substr(at, 1024));
      size_t zero = piece.find(u'\0');
      text.append(piece, 0, zero == Text::npos ? piece.size() : zero);
    }
    return text;
  }
  return ansiToText ? ansiToText(bytes) : Text();
}

}  // namespace sorvane
