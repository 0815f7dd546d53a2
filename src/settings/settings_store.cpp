#include "settings/settings_store.h"

#include "settings/ini_document.h"

#include <algorithm>

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

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

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

struct SettingsStore::Kept {
  Text path;
  IniDocument doc;
  FileStamp stamp;
  bool loaded = false;   // doc holds the file (or its batch's changes)
  bool stamped = false;  // doc matches the file as long as its stamp equals stamp
  bool inBatch = false;  // read for the running batch: used without a further look at the file
  bool dirty = false;    // changed by the running batch, not yet stored
  bool utf16 = false;    // the file begins with the UTF-16LE mark (read so, or written by us)
};

SettingsStore::SettingsStore(FileSystem& fs) : fs_(fs) {}
SettingsStore::~SettingsStore() = default;

void SettingsStore::DropCache() { kept_.reset(); }

Text SettingsStore::Path(TextView file) const { return file.empty() ? iniPath_ : Text(file); }

Text SettingsStore::DecodeFile(std::string_view bytes) {
  if (IniDocument::HasUtf16Bom(bytes)) return IniDocument::DecodeUtf16(bytes.substr(2));
  // Editors save UTF-8 with a mark; read as ANSI its first header would carry the mark's three characters.
  if (bytes.starts_with("\xEF\xBB\xBF")) return FromUtf8(bytes.substr(3));
  return fs_.AnsiToText(bytes);
}

bool SettingsStore::Load(const Text& path, IniDocument& doc, bool* utf16) {
  std::string bytes;
  if (utf16) *utf16 = false;
  if (!fs_.ReadFile(path, bytes)) {
    // A file that is there but cannot be read must not be replaced by a new one.
    doc = IniDocument();
    return fs_.PathKind(path) == 0;
  }
  if (utf16) *utf16 = IniDocument::HasUtf16Bom(bytes);
  doc = IniDocument::Parse(DecodeFile(bytes));
  return true;
}

IniDocument* SettingsStore::Open(const Text& path, IniDocument& scratch) {
  if (path.empty() || path != iniPath_) return Load(path, scratch) ? &scratch : nullptr;
  if (!kept_) kept_ = std::make_unique<Kept>();
  Kept& k = *kept_;
  if (k.loaded && k.path == path) {
    if (batchDepth_ > 0 && k.inBatch) return &k.doc;
    FileStamp now;
    if (k.stamped && fs_.Stamp(path, now) && now == k.stamp) {
      k.inBatch = batchDepth_ > 0;
      return &k.doc;
    }
  }
  k = Kept();
  k.path = path;
  // The stamp is taken before and after the read: a file replaced in between is read again next time.
  FileStamp before, after;
  const bool hadStamp = fs_.Stamp(path, before);
  if (!Load(path, k.doc, &k.utf16)) {
    kept_.reset();
    return nullptr;
  }
  k.loaded = true;
  k.stamped = hadStamp && fs_.Stamp(path, after) && after == before;
  k.stamp = before;
  k.inBatch = batchDepth_ > 0;
  return &k.doc;
}

bool SettingsStore::KeptAsUtf16(const Text& path) {
  IniDocument scratch;
  const IniDocument* doc = Open(path, scratch);
  return doc && kept_ && doc == &kept_->doc && kept_->utf16;
}

bool SettingsStore::Store(const Text& path, IniDocument& doc) {
  if (!kept_ || &doc != &kept_->doc) {
    if (!fs_.WriteFileAtomic(path, doc.Serialize())) {
      Failed(path);
      return false;
    }
    Succeeded();
    return true;
  }
  if (batchDepth_ > 0) {
    kept_->dirty = true;
    return true;
  }
  FileStamp written;
  bool stamped = false;
  if (!fs_.WriteFileAtomicStamped(path, doc.Serialize(), written, stamped)) {
    // The document now holds a change the file does not: read the file again next time.
    DropCache();
    Failed(path);
    return false;
  }
  kept_->stamp = written;
  kept_->stamped = stamped;
  kept_->utf16 = true;
  Succeeded();
  return true;
}

void SettingsStore::Succeeded() { failureTold_ = false; }

void SettingsStore::Failed(const Text& path) {
  if (failureTold_ || failurePending_) return;
  failurePending_ = true;
  failurePath_ = path;
  failureError_ = fs_.LastFailure();
  TellPendingFailure();
}

void SettingsStore::TellPendingFailure() {
  if (!failurePending_ || batchDepth_ > 0) return;
  failurePending_ = false;
  // Marked as told before the sink runs: a notice that waits for the user lets
  // other writes run meanwhile, and their failures belong to the same run.
  failureTold_ = true;
  if (!failureSink_) return;
  const Text path = std::move(failurePath_);
  if (!failureSink_(path, failureError_)) failureTold_ = false;
}

void SettingsStore::BeginBatch() { ++batchDepth_; }

bool SettingsStore::EndBatch() {
  if (batchDepth_ == 0) return false;
  if (--batchDepth_ > 0) return !batchFailed_;
  bool ok = !batchFailed_;
  batchFailed_ = false;
  if (kept_) {
    kept_->inBatch = false;
    if (kept_->dirty) {
      kept_->dirty = false;
      FileStamp written;
      bool stamped = false;
      const Text path = kept_->path;
      if (fs_.WriteFileAtomicStamped(path, kept_->doc.Serialize(), written, stamped)) {
        kept_->stamp = written;
        kept_->stamped = stamped;
        kept_->utf16 = true;
        Succeeded();
      } else {
        DropCache();
        Failed(path);
        ok = false;
      }
    }
  }
  // Failures met inside the batch are told now that its writes are over.
  TellPendingFailure();
  return ok;
}

Text SettingsStore::ReadString(TextView section, TextView key, TextView def, size_t capacity, TextView file) {
  if (capacity == 0) return {};
  IniDocument scratch;
  const IniDocument* doc = Open(Path(file), scratch);
  const Text* stored = doc ? doc->Find(section, key) : nullptr;
  TextView value = stored ? IniDocument::Unquote(TrimIni(*stored)) : def;
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
  IniDocument scratch;
  IniDocument* doc = Open(path, scratch);
  if (!doc) {
    if (batchDepth_ > 0 && path == iniPath_) batchFailed_ = true;
    Failed(path);
    return false;
  }
  if (!doc->Set(section, key, value)) return false;  // refused before anything changed
  return Store(path, *doc);
}

bool SettingsStore::WriteInt(TextView section, TextView key, int value, TextView file) {
  return WriteString(section, key, Format(u"%d", {value}), file);
}

bool SettingsStore::DeleteSection(TextView section, TextView file) {
  const Text path = Path(file);
  IniDocument scratch;
  IniDocument* doc = Open(path, scratch);
  if (!doc) {
    if (batchDepth_ > 0 && path == iniPath_) batchFailed_ = true;
    Failed(path);
    return false;
  }
  doc->DeleteSection(section);
  return Store(path, *doc);
}

Text SettingsStore::ReadLongValue(TextView section) {
  IniDocument scratch;
  const IniDocument* doc = Open(iniPath_, scratch);
  if (!doc) return {};
  Text stored;
  // Every chunk up to the first missing one: a long list is never cut.
  for (size_t i = 0;; ++i) {
    const Text* found = doc->Find(section, ChunkKey(section, i));
    const TextView chunk = found ? IniDocument::Unquote(TrimIni(*found)) : TextView();
    if (i > 0 && chunk.empty()) break;
    stored.append(chunk);
  }
  return DecodeLineBreaks(stored);
}

bool SettingsStore::WriteLongValue(TextView section, TextView text) {
  // A section name the file cannot hold is refused before the old value is deleted.
  IniDocument probe;
  if (!probe.Set(section, ChunkKey(section, 0), u"x")) return false;
  IniDocument scratch;
  IniDocument* doc = Open(iniPath_, scratch);
  if (!doc) {
    if (batchDepth_ > 0) batchFailed_ = true;
    Failed(iniPath_);
    return false;
  }
  doc->DeleteSection(section);
  const Text stored = EncodeLineBreaks(text);
  for (size_t i = 0, at = 0; at < stored.size(); ++i) {
    size_t n = std::min(kChunkSize, stored.size() - at);
    // Both halves of a character outside the basic plane stay in one chunk:
    // strict UTF-16 readers reject a file holding a lone half. Reading joins
    // the chunks as before, so files cut the old way read the same.
    if (at + n < stored.size() && IsHighSurrogate(stored[at + n - 1])) --n;
    if (!doc->SetOwned(section, ChunkKey(section, i), StoredChunk(TextView(stored).substr(at, n)))) {
      if (doc != &scratch) {
        // The kept document is half changed: forget it, and with it the batch's earlier writes.
        if (batchDepth_ > 0) batchFailed_ = true;
        DropCache();
      }
      return false;
    }
    at += n;
  }
  return Store(iniPath_, *doc);
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
