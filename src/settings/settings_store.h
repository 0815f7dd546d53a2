// The settings store: one INI file (UTF-16LE with byte-order mark) read and
// written with the semantics of the platform's private-profile functions.
// Every write is one atomic write of the whole file. The parsed file is kept
// while its stamp (size, time, identity) stays the same, so repeated reads of
// a large file parse it once and a change by another process is still seen.
// A batch turns the writes of one moment into one read and one write.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "settings/file_system.h"
#include "framework/text.h"

namespace sorvane {

class IniDocument;

inline constexpr TextView kAppName = u"Sorvane";
inline constexpr TextView kProgramSection = u"Program";
inline constexpr TextView kProductSection = u"Sorvane";

class SettingsStore {
 public:
  explicit SettingsStore(FileSystem& fs);

  // Chooses the INI file and portable mode once at start-up (see LocateIniFile
  // in settings_store.cpp for the rules). iniPathOverride is the "-ini:" value.
  bool LocateIniFile(TextView iniPathOverride = {});

  ~SettingsStore();
  SettingsStore(const SettingsStore&) = delete;
  SettingsStore& operator=(const SettingsStore&) = delete;

  const Text& IniPath() const { return iniPath_; }
  void SetIniPath(Text path) { iniPath_ = std::move(path); }
  bool PortableMode() const { return portable_; }
  FileSystem& Files() { return fs_; }

  // Primitives. An empty file argument means IniPath().
  int ReadInt(TextView section, TextView key, int def, int min = -1, int max = -1, TextView file = {});
  bool WriteInt(TextView section, TextView key, int value, TextView file = {});
  // Returns at most capacity - 1 characters; def is returned when the key is missing.
  Text ReadString(TextView section, TextView key, TextView def, size_t capacity = 1024, TextView file = {});
  bool WriteString(TextView section, TextView key, TextView value, TextView file = {});
  bool DeleteSection(TextView section, TextView file = {});

  int ReadProgramInt(TextView key, int def) { return ReadInt(kProgramSection, key, def); }
  bool WriteProgramInt(TextView key, int value) { return WriteInt(kProgramSection, key, value); }
  Text ReadProgramString(TextView key, TextView def = {}) { return ReadString(kProgramSection, key, def, 1024); }
  bool WriteProgramString(TextView key, TextView value) { return WriteString(kProgramSection, key, value); }

  // A text of any length in one section, in chunks of at most 32000 characters,
  // CR LF stored as U+E000 U+E001 U+E002. Written in one atomic write.
  Text ReadLongValue(TextView section);
  bool WriteLongValue(TextView section, TextView text);

  // Batches (see SettingsBatch). Inside one, writes to IniPath() change the
  // file in memory and reads see them; the end of the outermost batch stores
  // the result in one atomic write, byte for byte what the same writes one by
  // one would have left. A write inside a batch reports whether it could be
  // applied; EndBatch reports whether the batch reached the file. Writes to
  // another file are not batched.
  void BeginBatch();
  bool EndBatch();
  bool InBatch() const { return batchDepth_ > 0; }

  // Told when a write could not reach a file (the file keeps its old bytes):
  // the path and the platform's error code (0 when unknown). Called once per
  // run of failures, again only after a write has reached the file; never in
  // the middle of a batch (a failure there is told when the batch ends). The
  // sink answers whether the user was told; when not (a notice not possible
  // right now), the next failure is offered again.
  using WriteFailureSink = std::function<bool(const Text& path, uint32_t systemError)>;
  void SetWriteFailureSink(WriteFailureSink sink) { failureSink_ = std::move(sink); }

  // Forgets the kept document (tests, and callers that want memory back).
  void DropCache();

  // Text of a stored file: UTF-16LE after FF FE, UTF-8 after EF BB BF, the
  // platform's ANSI code page otherwise.
  Text DecodeFile(std::string_view bytes);

 private:
  struct Kept;
  Text Path(TextView file) const;
  // False when the file exists but cannot be read: writing then would lose it.
  bool Load(const Text& path, IniDocument& doc, bool* utf16 = nullptr);
  bool WriteTestValue(const Text& path);
  // The file is kept parsed, unchanged since, and begins with the UTF-16LE mark.
  bool KeptAsUtf16(const Text& path);
  // The document of a file, kept when the file is IniPath(). Null when the file
  // exists but cannot be read. scratch holds the document of any other file.
  IniDocument* Open(const Text& path, IniDocument& scratch);
  // Stores a changed document: at once, or at the end of the batch.
  bool Store(const Text& path, IniDocument& doc);
  // Bookkeeping of the failure notice after each attempt to reach a file.
  void Succeeded();
  void Failed(const Text& path);
  void TellPendingFailure();

  FileSystem& fs_;
  Text iniPath_;
  bool portable_ = false;
  std::unique_ptr<Kept> kept_;
  int batchDepth_ = 0;
  bool batchFailed_ = false;
  WriteFailureSink failureSink_;
  bool failureTold_ = false;     // the current run of failures has been told
  bool failurePending_ = false;  // a failure waits for the end of the batch
  Text failurePath_;
  uint32_t failureError_ = 0;
};

// Writes of one moment as one read and one atomic write of the file:
//   { SettingsBatch batch(Settings()); ...writes...; }  // stored here
// Batches nest; only the outermost one writes.
class SettingsBatch {
 public:
  explicit SettingsBatch(SettingsStore& store) : store_(&store) { store.BeginBatch(); }
  ~SettingsBatch() { Commit(); }
  SettingsBatch(const SettingsBatch&) = delete;
  SettingsBatch& operator=(const SettingsBatch&) = delete;
  // Ends the batch now; true when its writes reached the file (or nothing was written).
  bool Commit() {
    if (!store_) return result_;
    result_ = store_->EndBatch();
    store_ = nullptr;
    return result_;
  }

 private:
  SettingsStore* store_;
  bool result_ = true;
};

// The process-wide store, set up by start-up before anything reads a setting.
SettingsStore& Settings();
void InstallSettings(SettingsStore* store);

// An integer setting of section "Sorvane": a key (cut to 63 characters) and the
// value last read or written, so owners can skip writes of unchanged values.
struct IntSetting {
  IntSetting(TextView key, int initial);
  int Load(SettingsStore& store);               // reads with the current value as default
  bool Write(SettingsStore& store, int value);  // always writes
  bool WriteIfChanged(SettingsStore& store, int value);
  Text key;
  int value;
};

// A string setting of section "Program".
struct StringSetting {
  StringSetting(TextView key, TextView initial);
  const Text& Load(SettingsStore& store);  // at most 1023 characters
  bool Set(SettingsStore& store, TextView text);  // writes only when the text differs
  Text key;
  Text value;
};

}  // namespace sorvane
