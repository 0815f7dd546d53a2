// A folder scan whose files are probed ahead on worker threads, through the
// adder as the main window runs it: the system probe on each worker, rows in
// the listing's order, and a close from outside that ends the scan.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "../unit/fake_list_storage.h"
#include "framework/win/wintext.h"
#include "list_host.h"
#include "media_fixtures.h"
#include "medialist/folder_scan.h"
#include "medialist/list_persistence.h"
#include "medialist/media_list_rows.h"
#include "medialist/win/media_adder.h"
#include "medialist/win/probe_ahead_win.h"
#include "medialist/win/system_probe.h"
#include "medialist/win/win_directory_lister.h"

namespace sorvane::win {
namespace {

using Texts = std::vector<Text>;

// A folder with a subfolder, removed with everything in it.
class Tree {
 public:
  Tree() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    root_ = T(base) + u"sorvane_ahead_" + Format(u"%d_%d", {static_cast<int>(GetCurrentProcessId()),
                                                            static_cast<int>(GetTickCount() % 1000000)});
    CreateDirectoryW(W(root_), nullptr);
  }
  ~Tree() {
    for (auto it = files_.rbegin(); it != files_.rend(); ++it) DeleteFileW(W(*it));
    for (auto it = folders_.rbegin(); it != folders_.rend(); ++it) RemoveDirectoryW(W(*it));
    RemoveDirectoryW(W(root_));
  }
  const Text& Root() const { return root_; }
  Text Folder(const Text& relative) {
    folders_.push_back(root_ + u"\\" + relative);
    CreateDirectoryW(W(folders_.back()), nullptr);
    return folders_.back();
  }
  Text Wav(const Text& relative) {
    files_.push_back(root_ + u"\\" + relative);
    EXPECT_TRUE(sorvane::testing::WriteToneWav(ToWide(files_.back()), 0.2));
    return files_.back();
  }
  Text TextFile(const Text& relative) {
    files_.push_back(root_ + u"\\" + relative);
    EXPECT_TRUE(sorvane::testing::WriteBytes(ToWide(files_.back()), {'n', 'o', 't', 'e'}));
    return files_.back();
  }

 private:
  Text root_;
  Texts folders_, files_;
};

class ProbeAheadWin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
  }
  void SetUp() override {
    storage.strings[Text(kListNamesKey)] = JoinListNames({u"Shown"});
    host.controller.Start();
  }
  sorvane::testing::FakeListStorage storage;
  testing::ListHost host{storage};
  Tree tree;
};

// Real WAVs probed by the system probe on the workers give the rows a probe
// of each file on this thread gives, in the order the scan meets the files.
TEST_F(ProbeAheadWin, AScanProbedAheadAddsWhatAScanProbedOnTheSpotAdds) {
  for (int i = 0; i < 6; ++i) tree.Wav(Format(u"t%d.wav", {i}));
  tree.TextFile(u"notes.wav");  // a media name, not media
  tree.Folder(u"Sub");
  for (int i = 0; i < 3; ++i) tree.Wav(Format(u"Sub\\s%d.wav", {i}));
  tree.TextFile(u"readme.txt");

  SystemProbeBackend here;
  BackendEntryProber onTheSpot(here);
  MediaList sequential;
  Win32DirectoryLister lister;
  ASSERT_TRUE(sorvane::ScanFolder(tree.Root(), lister,
                                  {[&](const Text& p) { AddMediaFile(sequential, p, &onTheSpot); }, nullptr}));
  ASSERT_EQ(sequential.Count(), 9) << "the system probe takes the WAVs for media";

  MediaAdder adder(GetModuleHandleW(nullptr), host.window, host.controller, &onTheSpot);
  std::atomic<int> backends{0};
  adder.SetProbeAheadFactory([&backends] {
    ++backends;
    return SystemProbeAheadFactory()();
  });
  EXPECT_TRUE(adder.ScanFolder(tree.Root()));

  EXPECT_GE(backends.load(), 1) << "the files went to workers";
  const MediaList& rows = host.controller.Rows();
  ASSERT_EQ(rows.Count(), sequential.Count());
  for (int r = 0; r < rows.Count(); ++r) {
    for (int c = 0; c < kColumnCount; ++c) EXPECT_EQ(rows.Cell(r, c), sequential.Cell(r, c)) << r << "," << c;
    EXPECT_EQ(rows.Entry(r).image, sequential.Entry(r).image) << r;
  }
  EXPECT_EQ(ListView_GetItemCount(host.list), 9);
  EXPECT_EQ(ListView_GetNextItem(host.list, -1, LVNI_SELECTED), -1) << "adding selects nothing";
}

// Several dropped paths: their files are probed ahead, a folder among them is
// scanned where it comes, and the rows keep the drop's order.
TEST_F(ProbeAheadWin, DroppedFilesAreProbedAheadAndAddedInTheDropsOrder) {
  const Text a = tree.Wav(u"a.wav");
  const Text folder = tree.Folder(u"Album");
  const Text inner = tree.Wav(u"Album\\inner.wav");
  const Text b = tree.Wav(u"b.wav");
  const Text notes = tree.TextFile(u"notes.txt");
  const Text c = tree.Wav(u"c.wav");

  SystemProbeBackend here;
  BackendEntryProber onTheSpot(here);
  struct CountingSpot final : EntryProber {
    explicit CountingSpot(EntryProber& p) : inner(p) {}
    bool Probe(const Text& path, ProbedFile& out) override {
      probed.push_back(path);
      return inner.Probe(path, out);
    }
    EntryProber& inner;
    Texts probed;
  } spot(onTheSpot);
  MediaAdder adder(GetModuleHandleW(nullptr), host.window, host.controller, &spot);
  adder.SetLingerForTesting([](DWORD) {});
  std::atomic<int> backends{0};
  adder.SetProbeAheadFactory([&backends] {
    ++backends;
    return SystemProbeAheadFactory()();
  });

  adder.OnListViewDrop({a, folder, b, notes, c});
  Texts paths;
  for (int r = 0; r < host.controller.Rows().Count(); ++r) paths.push_back(host.controller.Rows().Cell(r, 1));
  EXPECT_EQ(paths, (Texts{a, inner, b, c})) << "only media, in the drop's order";
  EXPECT_GE(backends.load(), 1);
  // The folder's single file is not worth a worker; the dropped files came from the workers.
  EXPECT_EQ(spot.probed, Texts{inner});
}

// Any file is media; the first probe closes the window from outside and
// posts the quit to the adding thread, as a shutdown would while the scan runs.
class ClosingBackend final : public MediaProbeBackend {
 public:
  ClosingBackend(HWND window, DWORD uiThread, std::atomic<int>& probes)
      : window_(window), uiThread_(uiThread), probes_(probes) {}
  MediaProperties Open(const Text&) override {
    if (probes_.fetch_add(1) == 0) {
      PostMessageW(window_, WM_CLOSE, 0, 0);
      PostThreadMessageW(uiThread_, WM_QUIT, 0, 0);
    }
    MediaProperties p;
    p.opened = true;
    p.contentType = u"audio/wav";
    return p;
  }

 private:
  HWND window_;
  DWORD uiThread_;
  std::atomic<int>& probes_;
};

// Probes on the adding thread: none are expected while the workers run.
class SpotProber final : public EntryProber {
 public:
  bool Probe(const Text&, ProbedFile&) override {
    ++calls;
    return false;
  }
  int calls = 0;
};

TEST_F(ProbeAheadWin, AQuitDuringAScanProbedAheadEndsItAndAddsNothingMore) {
  for (int i = 0; i < 40; ++i) tree.Wav(Format(u"q%02d.wav", {i}));
  std::atomic<int> probes{0};
  SpotProber unused;
  const HWND window = host.window;
  const DWORD uiThread = GetCurrentThreadId();
  MediaAdder adder(GetModuleHandleW(nullptr), host.window, host.controller, &unused);
  adder.SetProbeAheadFactory(
      [&probes, window, uiThread] { return std::make_unique<ClosingBackend>(window, uiThread, probes); });

  EXPECT_FALSE(adder.ScanFolder(tree.Root()));
  EXPECT_TRUE(adder.Quitting());
  EXPECT_FALSE(IsWindow(window)) << "the close was handled during the scan";
  EXPECT_LE(host.controller.Rows().Count(), 1) << "nothing added after the quit was met";
  EXPECT_GE(probes.load(), 1);
  EXPECT_EQ(unused.calls, 0) << "every file was planned";
  MSG quit;
  EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit is left for the main loop";
  host.window = nullptr;
}

}  // namespace
}  // namespace sorvane::win
