#include "medialist/win/playlist_commands.h"

#include <commdlg.h>

#include <string>

#include "framework/win/wintext.h"
#include "medialist/playlist_import.h"
#include "medialist/playlist_reader.h"
#include "medialist/playlist_writer.h"
#include "medialist/win/media_list_controller.h"
#include "medialist/win/playlist_file_win.h"

namespace sorvane::win {
namespace {

constexpr DWORD kPathChars = MAX_PATH;

// Pairs of description and pattern, ended by an empty pair.
const wchar_t kExportFilter[] =
    L"M3U Playlist (*.m3u)\0*.m3u\0WPL Playlist (*.wpl)\0*.wpl\0All Files (*.*)\0*.*\0";
// Import reads more than Export writes: the first filter shows every kind.
const wchar_t kImportFilter[] =
    L"Playlists (*.m3u;*.m3u8;*.pls;*.wpl;*.xspf)\0*.m3u;*.m3u8;*.pls;*.wpl;*.xspf\0"
    L"M3U Playlist (*.m3u)\0*.m3u\0WPL Playlist (*.wpl)\0*.wpl\0All Files (*.*)\0*.*\0";

class ImportBridge final : public PlaylistImportHost {
 public:
  ImportBridge(MediaListController& lists, MediaAdder* adder) : lists_(lists), adder_(adder) {}

  Answer Ask(TextView text, TextView caption) override {
    return lists_.Ask(text, caption, QuestionIcon::kExclamation);
  }
  void SaveShownList() override { lists_.Session().SaveShownList(); }
  int NewMediaList(TextView prefix) override { return lists_.Session().NewMediaList(prefix); }
  void SaveListNames() override { lists_.Session().SaveListNames(); }
  void ShowEmptyList(int index) override { lists_.ShowNewEmptyList(index); }
  int RowCount() override { return lists_.Rows().Count(); }
  bool PathExists(const Text& path) override { return GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES; }
  void AddPath(const Text& path) override {
    if (adder_)
      adder_->AddPath(path);
    else
      lists_.AddMediaFile(path, nullptr);
  }
  void AddUrl(const Text& url) override { lists_.AddMediaFile(url, nullptr); }

 private:
  MediaListController& lists_;
  MediaAdder* adder_;
};

}  // namespace

PlaylistCommands::PlaylistCommands(HWND mainWindow, MediaListController& lists, std::function<MediaAdder*()> adder)
    : mainWindow_(mainWindow), lists_(lists), adder_(std::move(adder)) {
  tell = [this](const Text& text, const wchar_t* caption, UINT icon) {
    MessageBoxW(mainWindow_, W(text), caption, MB_OK | icon);
  };
}

void PlaylistCommands::ExportDialog() {
  wchar_t file[kPathChars] = {};
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = kExportFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = kPathChars;
  ofn.lpstrTitle = kExportTitle;
  ofn.lpstrDefExt = L"m3u";
  // The dialog must not move the working folder: relative paths elsewhere
  // (the portable INI beside the program) are resolved against it.
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetSaveFileNameW(&ofn)) return;
  ExportTo(ApplyExportExtension(T(file), static_cast<int>(ofn.nFilterIndex)));
}

DWORD PlaylistCommands::ExportTo(const Text& path) {
  CPlayList2026 playlist;
  const MediaList& rows = lists_.Rows();
  for (int r = 0; r < rows.Count(); ++r) playlist.Add(rows.Cell(r, 1));
  const std::string bytes = PlaylistFileBytes(playlist.ToText(ExportFormatForPath(path)), false);
  const DWORD error = WritePlaylistFile(path, bytes);
  if (error != ERROR_SUCCESS) {
    // Saying nothing would leave the user believing the playlist was written.
    tell(u"The playlist could not be written to\n" + path + u"\n\n" + SystemErrorText(error), kExportTitle,
         MB_ICONERROR);
  }
  return error;
}

void PlaylistCommands::ImportDialog() {
  wchar_t file[kPathChars] = {};
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = kImportFilter;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file;
  ofn.nMaxFile = kPathChars;
  ofn.lpstrTitle = kImportTitle;
  ofn.lpstrDefExt = L"m3u";
  ofn.Flags = OFN_EXPLORER | OFN_ENABLESIZING | OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST |
              OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&ofn)) return;
  // Chosen in the dialog, the file is read whatever its extension says.
  Import(T(file), true);
}

PlaylistOpen PlaylistCommands::ImportFile(const Text& path, bool askWhere) {
  const DWORD attributes = GetFileAttributesW(W(path));
  if (!HasPlaylistExtension(path) || attributes == INVALID_FILE_ATTRIBUTES ||
      (attributes & FILE_ATTRIBUTE_DIRECTORY))
    return PlaylistOpen::kNotPlaylist;
  return Import(path, askWhere);
}

PlaylistOpen PlaylistCommands::Import(const Text& path, bool askWhere) {
  std::string bytes;
  const DWORD error = ReadPlaylistFile(path, bytes);
  if (error != ERROR_SUCCESS) {
    tell(u"The playlist could not be read:\n" + path + u"\n\n" + SystemErrorText(error), kImportTitle, MB_ICONERROR);
    return PlaylistOpen::kImported;
  }
  const std::vector<PlaylistEntry> entries = ReadPlaylist(bytes, path, DecodeAnsi);
  if (entries.empty()) {
    tell(u"The playlist has no entries:\n" + path, kImportTitle, MB_ICONINFORMATION);
    return PlaylistOpen::kImported;
  }
  ImportBridge bridge(lists_, adder_ ? adder_() : nullptr);
  const auto counts = ImportPlaylistEntries(entries, path, askWhere, bridge);
  if (!counts) return PlaylistOpen::kCancelled;
  if (counts->skipped > 0) tell(PlaylistImportSummary(*counts), kImportTitle, MB_ICONINFORMATION);
  return PlaylistOpen::kImported;
}

PlaylistPart::PlaylistPart(MediaListController& lists, std::function<MediaAdder*()> adder)
    : lists_(lists), adder_(std::move(adder)) {}

void PlaylistPart::OnInitDialog(PartHost& window) {
  commands_ = std::make_unique<PlaylistCommands>(window.Window(), lists_, adder_);
}

bool PlaylistPart::OnMessage(PartHost&, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  if (!commands_ || message != WM_COMMAND || HIWORD(wParam) > 1) return false;
  switch (LOWORD(wParam)) {
    case kCommandExportPlaylist:
      commands_->ExportDialog();
      break;
    case kCommandImportPlaylist:
      commands_->ImportDialog();
      break;
    default:
      return false;
  }
  result = 0;
  return true;
}

}  // namespace sorvane::win
