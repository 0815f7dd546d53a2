#include "settings/settings_store.h"

#include "settings/ini_document.h"

namespace sorvane {

namespace {

// Chunk size and line-break code of long values: older files hold them, so they stay.
constexpr size_t kChunkSize = 32000;
constexpr TextView kCrLf = u"\r\n";
constexpr TextView kStoredCrLf = u"\uE000\uE001\uE002";
// A lone CR or LF written into a line would split it and lose the rest of the
// value, so they get codes of their own next to the CR LF one.
constexpr TextView kStoredCr = u"\uE000\uE001\uE003";
constexpr TextView kStoredLf = u"\uE000\uE001\uE004";

Text EncodeLineBreaks(TextView text) {
  Text out;
  out.reserve(text.size() + text.size() / 16);
  size_t pos = 0;
  for (;;) {
    size_t hit = pos;
    while (hit < text.size() && text[hit] != u'\r' && text[hit] != u'\n') ++hit;
    out.append(text.substr(pos, hit - pos));
    if (hit == text.size()) break;
    if (text[hit] == u'\r' && hit + 1 < text.size() && text[hit + 1] == u'\n') {
      out.append(kStoredCrLf);
      pos = hit + 2;
    } else {
      out.append(text[hit] == u'\r' ? kStoredCr : kStoredLf);
      pos = hit + 1;
    }
  }
  return out;
}

Text DecodeLineBreaks(TextView stored) {
  Text out;
  out.reserve(stored.size());
  size_t pos = 0;
  for (;;) {
    size_t hit = pos;
    while (hit < stored.size() && stored[hit] != u'\uE000') ++hit;
    out.append(stored.substr(pos, hit - pos));
    if (hit == stored.size()) break;
    const TextView code = stored.substr(hit, 3);
    if (code == kStoredCrLf) out.append(kCrLf);
    else if (code == kStoredCr) out.push_back(u'\r');
    else if (code == kStoredLf) out.push_back(u'\n');
    else {
      out.push_back(u'\uE000');
      pos = hit + 1;
      continue;
    }
    pos = hit + 3;
  }
  return out;
}

Text ChunkKey(TextView section, size_t index) {
  if (index == 0) return Text(section);
  return Format(u"%s_%d", {section, static_cast<int>(index)});
}

// The reader trims blanks and removes one pair of matching quotes, so a chunk
// that starts or ends with either is stored inside quotes to come back whole.
Text StoredChunk(TextView chunk) {
  if (TrimIni(chunk).size() == chunk.size() && IniDocument::Unquote(chunk).size() == chunk.size())
    return Text(chunk);
  Text quoted;
  quoted.reserve(chunk.size() + 2);
  quoted.push_back(u'"');
  quoted.append(chunk);
  quoted.push_back(u'"');
  return quoted;
}

class NoFileSystem final : public FileSystem {
 public:
  bool ReadFile(const Text&, std::string&) override { return false; }
  bool WriteFileAtomic(const Text&, std::string_view) override { return false; }
  int PathKind(const Text&) override { return 0; }
  bool CreateFolder(const Text&) override { return false; }
  Text TempFolder() override { return {}; }
  Text ProgramFilePath() override { return {}; }
  Text AppDataFolder() override { return {}; }
  Text AnsiToText(std::string_view) override { return {}; }
};

SettingsStore* g_installed = nullptr;

}  // namespace

Text SettingsStore::Path(TextView file) const { return file.empty() ? iniPath_ : Text(file); }

bool SettingsStore::Load(const Text& path, IniDocument& doc) {
  std::string bytes;
  if (!fs_.ReadFile(path, bytes)) {
    // A file that is there but cannot be read must not be replaced by a new one.
    doc = IniDocument();
    return fs_.PathKind(path) == 0;
  }
  doc = IniDocument::Parse(IniDocument::HasUtf16Bom(bytes) ? IniDocument::DecodeUtf16(std::string_view(bytes).substr(2))
                                                          : fs_.AnsiToText(bytes));
  return true;
}

Text SettingsStore::ReadString(TextView section, TextView key, TextView def, size_t capacity, TextView file) {
  if (capacity == 0) return {};
  IniDocument doc;
  Load(Path(file), doc);
  const Text* stored = doc.Find(section, key);
  TextView value = stored ? IniDocument::Unquote(*stored) : def;
  return Text(value.substr(0, capacity - 1));
}

int SettingsStore::ReadInt(TextView section, TextView key, int def, int min, int max, TextView file) {
  const Text text = ReadString(section, key, Format(u"%d", {def}), 1024, file);
  int value = text.empty() ? def : ParseInt(text);
  if (min != -1 && max != -1) {
    if (value > max) value = max;
    if (value < min) value = min;
  }
  return value;
}

bool SettingsStore::WriteString(TextView section, TextView key, TextView value, TextView file) {
  const Text path = Path(file);
  IniDocument doc;
  if (!Load(path, doc)) return false;
  if (!doc.Set(section, key, value)) return false;
  return fs_.WriteFileAtomic(path, doc.Serialize());
}

bool SettingsStore::WriteInt(TextView section, TextView key, int value, TextView file) {
  return WriteString(section, key, Format(u"%d", {value}), file);
}

bool SettingsStore::DeleteSection(TextView section, TextView file) {
  const Text path = Path(file);
  IniDocument doc;
  if (!Load(path, doc)) return false;
  doc.DeleteSection(section);
  return fs_.WriteFileAtomic(path, doc.Serialize());
}

Text SettingsStore::ReadLongValue(TextView section) {
  IniDocument doc;
  Load(iniPath_, doc);
  Text stored;
  // Every chunk up to the first missing one: a long list is never cut.
  for (size_t i = 0;; ++i) {
    const Text* found = doc.Find(section, ChunkKey(section, i));
    const TextView chunk = found ? IniDocument::Unquote(*found) : TextView();
    if (i > 0 && chunk.empty()) break;
    stored.append(chunk);
  }
  return DecodeLineBreaks(stored);
}

bool SettingsStore::WriteLongValue(TextView section, TextView text) {
  IniDocument doc;
  if (!Load(iniPath_, doc)) return false;
  doc.DeleteSection(section);
  const Text stored = EncodeLineBreaks(text);
  for (size_t i = 0, at = 0; at < stored.size(); ++i, at += kChunkSize) {
    if (!doc.SetOwned(section, ChunkKey(section, i), StoredChunk(TextView(stored).substr(at, kChunkSize)))) return false;
  }
  return fs_.WriteFileAtomic(iniPath_, doc.Serialize());
}

SettingsStore& Settings() {
  if (g_installed) return *g_installed;
  // Before start-up installs the store every read gives its default and every write fails.
  static NoFileSystem none;
  static SettingsStore fallback(none);
  return fallback;
}

void InstallSettings(SettingsStore* store) { g_installed = store; }

IntSetting::IntSetting(TextView k, int initial) : key(k.substr(0, 63)), value(initial) {}

int IntSetting::Load(SettingsStore& store) {
  value = store.ReadInt(kProductSection, key, value);
  return value;
}

bool IntSetting::Write(SettingsStore& store, int v) {
  value = v;
  return store.WriteInt(kProductSection, key, v);
}

bool IntSetting::WriteIfChanged(SettingsStore& store, int v) { return v == value ? true : Write(store, v); }

StringSetting::StringSetting(TextView k, TextView initial) : key(k.substr(0, 63)), value(initial) {}

const Text& StringSetting::Load(SettingsStore& store) {
  value = store.ReadString(kProgramSection, key, value, 1024);
  return value;
}

bool StringSetting::Set(SettingsStore& store, TextView text) {
  if (text == value) return true;
  value = Text(text);
  return store.WriteString(kProgramSection, key, value);
}

}  // namespace sorvane
