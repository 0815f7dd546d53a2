// Where the INI file lies: beside the program for a portable copy or when a
// writable one is already there, otherwise in the user's application data.
#include "settings/ini_document.h"
#include "settings/settings_store.h"

#include <utility>

namespace sorvane {

namespace {

constexpr TextView kTestKey = u"TestIni";

Text FolderOf(const Text& path) {
  const size_t slash = path.rfind(u'\\');
  return slash == Text::npos ? Text() : path.substr(0, slash);
}

Text FileNameOf(const Text& path) {
  const size_t slash = path.rfind(u'\\');
  return slash == Text::npos ? path : path.substr(slash + 1);
}

// The form in which folders are compared: one trailing "\", no doubled ones, lower case.
Text ComparableFolder(Text folder) {
  folder.push_back(u'\\');
  ReplaceAll(folder, u"\\\\", u"\\");
  return ToLower(folder);
}

}  // namespace

// Leaves "TestIni" = "eeee" in the file by a write that worked: a read-only
// file could still hold the value from an earlier run. A file that holds it
// already and could be replaced now is not rewritten (with a large list the
// rewrite would be most of a start's time).
bool SettingsStore::WriteTestValue(const Text& path) {
  if (ReadString(kProgramSection, kTestKey, u"", 1024, path) == u"eeee" && fs_.CanReplace(path)) return true;
  return WriteString(kProgramSection, kTestKey, u"eeee", path) &&
         ReadString(kProgramSection, kTestKey, u"", 1024, path) == u"eeee";
}

bool SettingsStore::LocateIniFile(TextView iniPathOverride) {
  // The writes here are probes, and a failing one only steers the choice: no notice.
  WriteFailureSink sink = std::exchange(failureSink_, nullptr);
  const Text programPath = fs_.ProgramFilePath();
  const Text programFolder = FolderOf(programPath);
  const Text tempFolder = ComparableFolder(fs_.TempFolder());
  const Text appName(kAppName);
  const Text iniName = appName + u".ini";

  iniPath_ = programFolder + u"\\" + iniName;
  const Text besideProgram = iniPath_;

  const Text programName = ToLower(FileNameOf(programPath));
  const size_t marker = programName.find(u"_p");
  portable_ = marker != Text::npos && marker > 0;
  const bool insideTemp = !tempFolder.empty() && tempFolder != u"\\" &&
                          ComparableFolder(programFolder).starts_with(tempFolder);
  // The portable mark creates the file beside the program. When that file is
  // there already and the write test below follows, the test leaves "eeee" in
  // it in any case, so the mark (a whole rewrite of a file that may hold a
  // large list) is left out.
  const bool testBeside = !insideTemp && fs_.PathKind(besideProgram) == 1;
  if (portable_ && !testBeside) WriteString(kProgramSection, kTestKey, u"M", besideProgram);

  bool keepBeside = false;
  if (!insideTemp && fs_.PathKind(besideProgram) == 1) keepBeside = WriteTestValue(besideProgram);

  if (!keepBeside) {
    const Text folder = fs_.AppDataFolder() + u"\\" + appName;
    fs_.CreateFolder(folder);
    iniPath_ = folder + u"\\" + iniName;
    // Made absolute here, once: a relative path would otherwise be resolved
    // against whatever the current directory is at each later read and write.
    if (iniPathOverride.size() > 3) iniPath_ = fs_.FullPath(Text(iniPathOverride));
  }

  // The file beside the program has just passed the same test.
  if (!keepBeside) WriteTestValue(iniPath_);

  // Every write above stores UTF-16LE; this covers a file the test write could
  // not change. A kept document read from a marked file (or written by this
  // store) already tells, without reading the whole file again.
  const bool knownUtf16 = KeptAsUtf16(iniPath_);
  std::string bytes;
  const bool read = !knownUtf16 && fs_.ReadFile(iniPath_, bytes);
  if (!knownUtf16 && !IniDocument::HasUtf16Bom(bytes) && (read || fs_.PathKind(iniPath_) == 0)) {
    std::string converted("\xFF\xFE", 2);
    for (char16_t c : DecodeFile(bytes)) {
      converted.push_back(static_cast<char>(c & 0xFF));
      converted.push_back(static_cast<char>(c >> 8));
    }
    fs_.WriteFileAtomic(iniPath_, converted);
    DropCache();
  }
  failureSink_ = std::move(sink);
  failureTold_ = failurePending_ = false;
  return true;
}

}  // namespace sorvane
