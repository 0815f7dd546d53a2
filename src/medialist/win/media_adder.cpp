#include "medialist/win/media_adder.h"

#include <commdlg.h>
#include <shlobj.h>

#include "framework/win/wintext.h"
#include "medialist/adding.h"
#include "medialist/adding_strings.h"
#include "medialist/folder_scan.h"
#include "medialist/open_file_selection.h"
#include "medialist/win/busy_dialog.h"
#include "medialist/win/media_list_controller.h"
#include "medialist/win/shortcut.h"
#include "medialist/win/win_directory_lister.h"

namespace sorvane::win {
namespace {

class AddPathBridge final : public AddPathHost {
 public:
  explicit AddPathBridge(MediaAdder& adder) : adder_(adder) {}
  uint32_t FileAttributes(const Text& path) override { return GetFileAttributesW(W(path)); }
  void ImportFolderWithProgress(const Text& folder) override { adder_.ImportFolderWithProgress(folder); }
  void AddMediaFile(const Text& path) override { adder_.AddMediaFile(path); }

 private:
  MediaAdder& adder_;
};

class CommandLineBridge final : public CommandLineHost {
 public:
  CommandLineBridge(MediaAdder& adder, MediaListController& lists) : adder_(adder), lists_(lists) {}

  bool PathExists(const Text& path) override { return GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES; }
  std::vector<Text> ShownPaths() override {
    const MediaList& rows = lists_.Rows();
    std::vector<Text> paths;
    paths.reserve(static_cast<size_t>(rows.Count()));
    for (int r = 0; r < rows.Count(); ++r) paths.push_back(rows.Cell(r, 1));
    return paths;
  }
  Answer Ask(TextView text, TextView caption) override {
    return lists_.Ask(text, caption, QuestionIcon::kExclamation);
  }
  void SaveShownList() override { lists_.Session().SaveShownList(); }
  int NewMediaList(TextView prefix) override { return lists_.Session().NewMediaList(prefix); }
  void SaveListNames() override { lists_.Session().SaveListNames(); }
  void ShowEmptyList(int index) override {
    // Loading the new list empties the rows and makes it the shown one; the
    // list is new, so nothing stored can come back.
    lists_.Session().LoadList(index);
    if (lists_.Rows().Count() > 0) {
      lists_.Rows().Clear();
      lists_.View().Reload();
      lists_.ShownListEdited();
    }
    lists_.Selector().Sync();
  }
  void AddPath(const Text& path) override { adder_.AddPath(path); }
  // The rows belong to the shown list; writing them under the selector's
  // selection would overwrite another list while the user is choosing one.
  void SaveMediaList() override { lists_.Session().SaveShownList(); }

 private:
  MediaAdder& adder_;
  MediaListController& lists_;
};

}  // namespace

MediaAdder::MediaAdder(HINSTANCE instance, HWND mainWindow, MediaListController& lists, EntryProber* prober)
    : instance_(instance), mainWindow_(mainWindow), lists_(lists), prober_(prober) {}

void MediaAdder::AddMediaFile(const Text& path) { lists_.AddMediaFile(path, prober_); }

void MediaAdder::AddFilesDialog() {
  const Text filter = OpenFileFilter(AddingString);
  std::wstring buffer(kOpenFileBufferChars, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = W(filter);
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(kOpenFileBufferChars);
  ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_ENABLESIZING | OFN_FILEMUSTEXIST;
  // Cancelled, or the selection did not fit the buffer: nothing is added.
  if (!GetOpenFileNameW(&ofn)) return;
  for (const Text& path : ParseOpenFileSelection(TextView(reinterpret_cast<const char16_t*>(buffer.data()),
                                                          buffer.size())))
    AddMediaFile(path);
}

void MediaAdder::ImportFromFolder() {
  BROWSEINFOW info{};
  info.hwndOwner = mainWindow_;
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  PIDLIST_ABSOLUTE folder = SHBrowseForFolderW(&info);
  if (!folder) return;
  wchar_t path[MAX_PATH] = {};
  const bool ok = SHGetPathFromIDListW(folder, path) != FALSE;
  CoTaskMemFree(folder);
  if (ok && path[0] != L'\0') ScanFolder(T(path));
}

bool MediaAdder::ScanFolder(const Text& folder) {
  Win32DirectoryLister lister;
  return sorvane::ScanFolder(folder, lister, {[this](const Text& path) { AddMediaFile(path); }, PumpWaitingMessages});
}

void MediaAdder::AddPath(const Text& path) {
  AddPathBridge bridge(*this);
  sorvane::AddPath(bridge, path);
}

void MediaAdder::ImportFolderWithProgress(const Text& folder) {
  BusyDialog busy(instance_, mainWindow_);
  busy.Open();
  if (ScanFolder(folder)) {
    if (linger_)
      linger_(kBusyLingerMs);
    else
      PumpMessagesFor(kBusyLingerMs);
  }
  busy.Close();
}

void MediaAdder::OpenFromCommandLine(const Text& commandLine) {
  CommandLineBridge bridge(*this, lists_);
  sorvane::OpenFromCommandLine(commandLine, bridge);
}

void MediaAdder::OnListViewDrop(const std::vector<Text>& paths) {
  for (const Text& path : paths) AddPath(ResolveDroppedPath(path));
}

void MediaAdder::OnDropFiles(HDROP drop) {
  Text path;
  if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
    const UINT length = DragQueryFileW(drop, 0, nullptr, 0);
    std::wstring buffer(length + 1, L'\0');
    const UINT got = DragQueryFileW(drop, 0, buffer.data(), length + 1);
    path = T(buffer.c_str(), got);
  }
  DragFinish(drop);
  if (!path.empty()) AddPath(path);
}

}  // namespace sorvane::win
