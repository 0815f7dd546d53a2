#include "medialist/win/media_adder.h"

#include <commdlg.h>
#include <shlobj.h>

#include <memory>
#include <thread>

#include "framework/win/wintext.h"
#include "medialist/adding.h"
#include "medialist/adding_strings.h"
#include "medialist/command_line_split.h"
#include "medialist/folder_scan.h"
#include "medialist/open_file_selection.h"
#include "medialist/playlist_import.h"
#include "medialist/win/busy_dialog.h"
#include "medialist/win/drop_block.h"
#include "medialist/win/media_list_controller.h"
#include "medialist/win/probe_ahead_win.h"
#include "medialist/win/shortcut.h"
#include "medialist/win/win_directory_lister.h"

namespace sorvane::win {
namespace {

// Upper-cased without any language's rules, as the file system compares
// names; the portable lower-casing stands in if the platform refuses.
Text FileSystemCaseKey(const Text& path) {
  if (path.empty()) return path;
  std::wstring upper(path.size(), L'\0');
  const int n = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, W(path), static_cast<int>(path.size()),
                              upper.data(), static_cast<int>(upper.size()), nullptr, nullptr, 0);
  if (n <= 0) return ToLower(path);
  return T(upper.data(), static_cast<size_t>(n));
}

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
  void ShowEmptyList(int index) override { lists_.ShowNewEmptyList(index); }
  // A playlist among the arguments joins the list the line fills.
  void AddPath(const Text& path) override {
    if (adder_.OpenPlaylistHere(path)) return;
    adder_.AddPath(path);
  }
  // The rows belong to the shown list; writing them under the selector's
  // selection would overwrite another list while the user is choosing one.
  void SaveMediaList() override { lists_.Session().SaveShownList(); }
  Text PathCaseKey(const Text& path) override { return FileSystemCaseKey(path); }
  bool Stopped() override { return adder_.Stopped(); }

 private:
  MediaAdder& adder_;
  MediaListController& lists_;
};

}  // namespace

// The files among several paths from outside are probed ahead while this
// lives; the paths are still added one by one, each in its own way (a folder
// scanned, a playlist imported, questions asked), and AddMediaFile takes the
// files' results. An inner batch leaves the outer one in charge.
class MediaAdder::AheadBatch {
 public:
  AheadBatch(MediaAdder& adder, const std::vector<Text>& paths) : adder_(adder) {
    if (!adder_.probeAhead_ || !adder_.prober_ || adder_.batchProber_ || adder_.quitting_) return;
    std::vector<Text> files;
    for (const Text& path : paths) {
      if (!HasPlaylistExtension(path) && !AttributesMeanFolder(GetFileAttributesW(W(path)))) files.push_back(path);
    }
    if (files.size() < 2) return;
    ahead_ = std::make_unique<ProbeAhead>(std::move(files), adder_.probeAhead_,
                                          ProbeAheadThreads(std::thread::hardware_concurrency()));
    prober_ = std::make_unique<ProbeAheadProber>(*ahead_, adder_.prober_);
    adder_.batchProber_ = prober_.get();
  }
  ~AheadBatch() {
    if (prober_) adder_.batchProber_ = nullptr;
  }
  AheadBatch(const AheadBatch&) = delete;
  AheadBatch& operator=(const AheadBatch&) = delete;

 private:
  MediaAdder& adder_;
  std::unique_ptr<ProbeAhead> ahead_;  // its workers end when it goes
  std::unique_ptr<ProbeAheadProber> prober_;
};

MediaAdder::MediaAdder(HINSTANCE instance, HWND mainWindow, MediaListController& lists, EntryProber* prober)
    : instance_(instance), mainWindow_(mainWindow), lists_(lists), prober_(prober) {}

void MediaAdder::AddMediaFile(const Text& path) {
  if (!quitting_) lists_.AddMediaFile(path, batchProber_ && prober_ ? batchProber_ : prober_);
}

void MediaAdder::AddFilesDialog() {
  const Text filter = OpenFileFilter(AddingString);
  std::wstring buffer(kOpenFileBufferChars, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = GetActiveWindow();
  ofn.lpstrFilter = W(filter);
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = static_cast<DWORD>(kOpenFileBufferChars);
  // The current directory stays where it was: nothing may come to depend on the folder last browsed.
  ofn.Flags = OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_ENABLESIZING | OFN_FILEMUSTEXIST | OFN_NOCHANGEDIR;
  // Cancelled, or the selection did not fit the buffer: nothing is added.
  if (!GetOpenFileNameW(&ofn)) return;
  AddFiles(ParseOpenFileSelection(TextView(reinterpret_cast<const char16_t*>(buffer.data()), buffer.size())),
           false);
}

bool MediaAdder::AddFiles(std::vector<Text> paths, bool dispatchMessages) {
  if (quitting_) return false;
  if (!probeAhead_ || !prober_ || paths.size() < 2) {
    for (const Text& path : paths) {
      AddMediaFile(path);
      if (dispatchMessages && !PumpWaitingMessages()) return false;
    }
    return true;
  }
  return AddWithProbeAhead(
      std::move(paths), probeAhead_, prober_,
      [this](const Text& path, EntryProber& prober) {
        if (!quitting_) lists_.AddMediaFile(path, &prober);
      },
      dispatchMessages);
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
  if (quitting_) return false;
  struct Count {
    int& scans;
    explicit Count(int& s) : scans(s) { ++scans; }
    ~Count() { --scans; }
  } count(scans_);
  Win32DirectoryLister lister;
  // The pump may close the window (a WM_CLOSE from outside); the quit it then
  // meets ends this and every later addition of the same batch.
  bool finished = false;
  if (probeAhead_ && prober_) {
    // Listed first, so that the workers know what comes next; added in the
    // listing's order all the same.
    FolderPlan plan = PlanFolderScan(folder, lister, PumpWaitingMessages);
    finished = plan.finished && AddFiles(std::move(plan.files), true);
  } else {
    finished = sorvane::ScanFolder(folder, lister,
                                   {[this](const Text& path) { AddMediaFile(path); }, PumpWaitingMessages});
  }
  if (!finished) quitting_ = true;
  return !quitting_;
}

void MediaAdder::AddPath(const Text& path) {
  if (quitting_) return;
  AddPathBridge bridge(*this);
  sorvane::AddPath(bridge, path);
}

void MediaAdder::ImportFolderWithProgress(const Text& folder) {
  BusyDialog busy(instance_, mainWindow_);
  busy.Open();
  if (ScanFolder(folder)) {
    if (linger_)
      linger_(kBusyLingerMs);
    else if (!PumpMessagesFor(kBusyLingerMs))
      quitting_ = true;
  }
  busy.Close();
}

PlaylistOpen MediaAdder::OpenPlaylist(const Text& path, bool askWhere) {
  return playlistOpener_ ? playlistOpener_(path, askWhere) : PlaylistOpen::kNotPlaylist;
}

bool MediaAdder::OpenPlaylistHere(const Text& path) { return OpenPlaylist(path, false) != PlaylistOpen::kNotPlaylist; }

void MediaAdder::OpenFromCommandLine(const Text& commandLine) {
  // A playlist as the first argument (opened from Explorer) is imported with
  // its own question, the list named after it; the rest of the line joins it.
  const std::vector<Text> args = SplitCommandLine(commandLine);
  const AheadBatch ahead(*this, std::vector<Text>(args.begin() + (args.empty() ? 0 : 1), args.end()));
  if (args.size() >= 2) {
    const PlaylistOpen first = OpenPlaylist(args[1], true);
    if (first == PlaylistOpen::kCancelled) return;
    if (first == PlaylistOpen::kImported) {
      for (size_t i = 2; i < args.size(); ++i)
        if (!OpenPlaylistHere(args[i])) AddPath(args[i]);
      lists_.Session().SaveShownList();
      return;
    }
  }
  CommandLineBridge bridge(*this, lists_);
  sorvane::OpenFromCommandLine(commandLine, bridge);
}

void MediaAdder::RunForwardedRound(ForwardedLineQueue& queue, std::vector<Text> first) {
  std::vector<Text> lines = std::move(first);
  for (Text& line : queue.BeginRound()) lines.push_back(std::move(line));
  queue.EndRound();
  // One line that opens a playlist (a playlist opened from the shell) is that
  // playlist's import: its own question, the new list named after it.
  if (lines.size() == 1) {
    const std::vector<Text> args = SplitCommandLine(lines.front());
    if (args.size() >= 2 && HasPlaylistExtension(args[1])) {
      OpenFromCommandLine(lines.front());
      return;
    }
  }
  std::vector<Text> paths;
  for (const Text& line : lines) {
    const std::vector<Text> args = SplitCommandLine(line);
    if (args.size() >= 2) paths.insert(paths.end(), args.begin() + 1, args.end());
  }
  const AheadBatch ahead(*this, paths);
  CommandLineBridge bridge(*this, lists_);
  sorvane::RunForwardedRound(queue, bridge, std::move(lines));
}

bool MediaAdder::Stopped() const {
  if (quitting_ || !IsWindow(mainWindow_)) return true;
  // A quit request ends a question box without closing the window; the quit
  // stays in the queue for the main loop.
  MSG quit;
  if (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    PostQuitMessage(static_cast<int>(quit.wParam));
    return true;
  }
  return false;
}

void MediaAdder::OnListViewDrop(const std::vector<Text>& paths) {
  std::vector<Text> targets;
  targets.reserve(paths.size());
  for (const Text& path : paths) targets.push_back(ResolveDroppedPath(path));
  const AheadBatch ahead(*this, targets);
  for (const Text& resolved : targets) {
    if (quitting_) break;
    const PlaylistOpen opened = OpenPlaylist(resolved, true);
    if (opened == PlaylistOpen::kCancelled) return;
    if (opened == PlaylistOpen::kNotPlaylist) AddPath(resolved);
  }
}

void MediaAdder::OnDropFiles(HDROP drop) {
  Text path;
  {
    struct Finish {
      HDROP drop;
      ~Finish() { DragFinish(drop); }
    } finish{drop};
    // The HDROP is the sender's global block: read it only within its own size.
    std::vector<Text> names = ReadDropBlock(drop);
    if (!names.empty()) path = std::move(names.front());
  }
  if (!path.empty() && OpenPlaylist(path, true) == PlaylistOpen::kNotPlaylist) AddPath(path);
}

}  // namespace sorvane::win
