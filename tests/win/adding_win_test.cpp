// Adding media through the Win32 layer: the real folder listing, shortcut
// files, the busy dialog, and the ways in over a list view host.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>
#include <shlobj.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "../unit/fake_list_storage.h"
#include "drop_files.h"
#include "framework/win/wintext.h"
#include "list_host.h"
#include "medialist/folder_scan.h"
#include "medialist/list_persistence.h"
#include "medialist/win/busy_dialog.h"
#include "medialist/win/media_adder.h"
#include "medialist/win/shortcut.h"
#include "medialist/win/win_directory_lister.h"
#include "resource_ids.h"

namespace sorvane::win {
namespace {

using Microsoft::WRL::ComPtr;
using Texts = std::vector<Text>;

// A fresh folder under the temporary folder, removed with everything in it.
class TempFolder {
 public:
  TempFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = T(temp) + u"sorvane_adding_" + Format(u"%d", {static_cast<int>(GetTickCount() % 1000000)}) + u"_" +
            Format(u"%d", {++counter_});
    CreateDirectoryW(W(path_), nullptr);
  }
  ~TempFolder() {
    std::wstring from = ToWide(path_);
    from.push_back(L'\0');  // the list of paths ends with a second NUL
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
  }
  const Text& Path() const { return path_; }
  Text Folder(const Text& relative) const {
    const Text p = path_ + u"\\" + relative;
    CreateDirectoryW(W(p), nullptr);
    return p;
  }
  Text File(const Text& relative, const char* content = "data") const {
    const Text p = path_ + u"\\" + relative;
    HANDLE h = CreateFileW(W(p), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(h, content, static_cast<DWORD>(std::strlen(content)), &written, nullptr);
    CloseHandle(h);
    return p;
  }

 private:
  Text path_;
  static inline int counter_ = 0;
};

// Writes 32-bit top-down pixels as a BMP into the screenshot folder.
void SaveScreenshot(const char* name, HWND window) {
  const char* dir = std::getenv("SORVANE_SCREENSHOT_DIR");
  if (!dir) return;
  RECT r{};
  GetWindowRect(window, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  std::string path = dir;
  if (!path.empty() && path[0] == '/') path = "Z:" + path;
  path += std::string("/") + name;
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    const DWORD size = static_cast<DWORD>(w * h * 4);
    BITMAPFILEHEADER fh{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                        sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&bi.bmiHeader, sizeof(BITMAPINFOHEADER), 1, f);
    std::fwrite(bits, size, 1, f);
    std::fclose(f);
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

// Serves messages until done(); the cap only ends a test that never gets there.
template <typename Done>
bool PumpUntil(Done done) {
  const ULONGLONG cap = GetTickCount64() + 60000;
  for (;;) {
    PumpWaitingMessages();
    if (done()) return true;
    if (GetTickCount64() > cap) return false;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

Text LastName(const Text& path) { return path.substr(path.find_last_of(u'\\') + 1); }

class AddingWin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&icc);
  }
  TempFolder temp;
};

TEST_F(AddingWin, ScanOfARealFolderEntersTheSubfolderWhereItsEntryComesUp) {
  temp.File(u"a.txt");
  temp.File(u"..x");
  temp.File(u"z.mp3");
  temp.Folder(u"Sub");
  temp.File(u"Sub\\s1.mp3");
  temp.File(u"Sub\\s2.mp3");
  temp.Folder(u"Sub\\Deep");
  temp.File(u"Sub\\Deep\\d.mp3");

  Win32DirectoryLister lister;
  Texts added;
  int pumps = 0;
  ASSERT_TRUE(sorvane::ScanFolder(temp.Path(), lister, {[&](const Text& p) { added.push_back(p); }, [&] {
                                                          ++pumps;
                                                          return true;
                                                        }}));
  EXPECT_EQ(pumps, 6);
  Texts sorted = added;
  std::sort(sorted.begin(), sorted.end());
  const Text b = temp.Path() + u"\\";
  Texts expected = {b + u"..x", b + u"Sub\\Deep\\d.mp3", b + u"Sub\\s1.mp3", b + u"Sub\\s2.mp3", b + u"a.txt",
                    b + u"z.mp3"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(sorted, expected) << "\"..x\" is a file; \".\" and \"..\" add nothing";

  // The files of Sub come as one block where "Sub" stands in the top listing.
  Texts top;
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW(W(b + u"*.*"), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  do {
    const Text name = T(data.cFileName);
    if (name != u"." && name != u"..") top.push_back(name);
  } while (FindNextFileW(h, &data));
  FindClose(h);
  size_t next = 0;
  for (const Text& name : top) {
    ASSERT_LT(next, added.size());
    if (name == u"Sub") {
      for (int i = 0; i < 3; ++i, ++next)
        EXPECT_EQ(added[next].rfind(b + u"Sub\\", 0), 0u) << ToUtf8(added[next]);
    } else {
      EXPECT_EQ(added[next++], b + name);
    }
  }
}

Text MakeShortcut(const Text& linkPath, const Text& target) {
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link)))) return {};
  link->SetPath(W(target));
  ComPtr<IPersistFile> file;
  if (FAILED(link.As(&file)) || FAILED(file->Save(W(linkPath), TRUE))) return {};
  return linkPath;
}

TEST_F(AddingWin, DroppedShortcutStandsForItsTarget) {
  const Text target = temp.File(u"song.mp3");
  const Text lower = MakeShortcut(temp.Path() + u"\\song.lnk", target);
  const Text upper = MakeShortcut(temp.Path() + u"\\Other.LNK", target);
  ASSERT_FALSE(lower.empty());
  ASSERT_FALSE(upper.empty());
  EXPECT_TRUE(EqualsIgnoreCase(ResolveDroppedPath(lower), target)) << ToUtf8(ResolveDroppedPath(lower));
  EXPECT_TRUE(EqualsIgnoreCase(ResolveDroppedPath(upper), target));

  // Anything that fails keeps the dropped path itself.
  const Text broken = temp.File(u"broken.lnk", "not a shortcut");
  EXPECT_EQ(ResolveDroppedPath(broken), broken);
  const Text missing = temp.Path() + u"\\missing.lnk";
  EXPECT_EQ(ResolveDroppedPath(missing), missing);
  EXPECT_EQ(ResolveDroppedPath(target), target);
}

HWND MakeOwner() {
  return CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 500, 300, nullptr,
                         nullptr, nullptr, nullptr);
}

TEST_F(AddingWin, BusyDialogOpensAnimatesAndCloses) {
  HWND owner = MakeOwner();
  ASSERT_NE(owner, nullptr);
  {
    BusyDialog busy(GetModuleHandleW(nullptr), owner);
    ASSERT_TRUE(busy.Open());
    HWND d = busy.Window();
    EXPECT_TRUE(IsWindowVisible(d));
    EXPECT_FALSE(IsWindowEnabled(owner));
    EXPECT_EQ(WindowText(d), u"Processing Folder...");
    EXPECT_EQ(WindowText(GetDlgItem(d, IDC_BUSY_TEXT)), u"Processing files...");
    EXPECT_EQ(WindowText(GetDlgItem(d, IDC_BUSY_EMPTY_TEXT)), u"");
    PBRANGE range{};
    SendDlgItemMessageW(d, IDC_BUSY_BAR, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 10000);
    EXPECT_EQ(GetWindowLongW(GetDlgItem(d, IDC_BUSY_BAR), GWL_STYLE) & PBS_SMOOTH, PBS_SMOOTH);

    auto barPosition = [d] { return static_cast<int>(SendDlgItemMessageW(d, IDC_BUSY_BAR, PBM_GETPOS, 0, 0)); };
    EXPECT_TRUE(PumpUntil([&] { return barPosition() > 0; })) << "the timer moves the bar";
    const int position = barPosition();
    EXPECT_EQ(position, busy.Animation().Position());
    SaveScreenshot("busy_dialog.bmp", d);

    // Closing by the user is refused: the scan ends the dialog.
    SendMessageW(d, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(d));
    busy.Close();
    EXPECT_FALSE(IsWindow(d));
    EXPECT_TRUE(IsWindowEnabled(owner));
  }
  DestroyWindow(owner);
}

TEST_F(AddingWin, OwnerStaysDisabledUntilTheLastBusyDialogCloses) {
  HWND owner = MakeOwner();
  BusyDialog outer(GetModuleHandleW(nullptr), owner);
  BusyDialog inner(GetModuleHandleW(nullptr), owner);
  ASSERT_TRUE(outer.Open());
  ASSERT_TRUE(inner.Open());
  inner.Close();
  EXPECT_FALSE(IsWindowEnabled(owner));
  outer.Close();
  EXPECT_TRUE(IsWindowEnabled(owner));
  DestroyWindow(owner);
}

TEST_F(AddingWin, PumpPutsTheQuitBack) {
  PostQuitMessage(7);
  EXPECT_FALSE(PumpWaitingMessages());
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
}

// Media are the files named *.mp3 here; everything else fails the probe.
class Mp3Prober : public EntryProber {
 public:
  bool Probe(const Text& path, ProbedFile& out) override {
    ++probes;
    if (path.size() < 4 || !EqualsIgnoreCase(TextView(path).substr(path.size() - 4), u".mp3")) return false;
    out.isMedia = true;
    out.title = LastName(path);
    out.duration = u"00:01";
    return GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES;
  }
  int probes = 0;
};

class AddingHostTest : public AddingWin {
 protected:
  void SetUp() override {
    storage.strings[Text(kListNamesKey)] = JoinListNames({u"Shown"});
    host.controller.Start();
    // The linger is recorded, with whether the busy dialog still held the window, instead of waited out.
    adder.SetLingerForTesting([this](DWORD ms) { lingers.push_back({ms, !IsWindowEnabled(host.window)}); });
  }
  struct Linger {
    DWORD ms;
    bool whileBusy;
    bool operator==(const Linger&) const = default;
  };
  std::vector<Linger> lingers;
  Texts Paths() {
    Texts out;
    for (int r = 0; r < host.controller.Rows().Count(); ++r) out.push_back(host.controller.Rows().Cell(r, 1));
    return out;
  }

  sorvane::testing::FakeListStorage storage;
  testing::ListHost host{storage};
  Mp3Prober prober;
  MediaAdder adder{GetModuleHandleW(nullptr), host.window, host.controller, &prober};
};

TEST_F(AddingHostTest, ListViewDropAddsShortcutTargetsAndScansFolders) {
  const Text song = temp.File(u"song.mp3");
  const Text link = MakeShortcut(temp.Path() + u"\\song.lnk", song);
  const Text folder = temp.Folder(u"Album");
  const Text one = temp.File(u"Album\\one.mp3");
  temp.File(u"Album\\cover.txt");

  adder.OnListViewDrop({link, folder});
  const Texts paths = Paths();
  ASSERT_EQ(paths.size(), 2u);
  EXPECT_TRUE(EqualsIgnoreCase(paths[0], song)) << "the target, not the shortcut";
  EXPECT_EQ(paths[1], one);
  // The busy dialog stays for half a second after the folder, and only after it.
  EXPECT_EQ(lingers, (std::vector<Linger>{{500, true}}));
  EXPECT_TRUE(IsWindowEnabled(host.window));
  EXPECT_EQ(ListView_GetItemCount(host.list), 2);
}

TEST_F(AddingHostTest, MissingPathShowsTheBusyDialogAndAddsNothing) {
  adder.AddPath(temp.Path() + u"\\does not exist");
  EXPECT_EQ(lingers, (std::vector<Linger>{{500, true}}));
  EXPECT_TRUE(Paths().empty());
  EXPECT_EQ(prober.probes, 0);
}

TEST_F(AddingHostTest, MainWindowDropUsesOnlyTheFirstItem) {
  const Text first = temp.Folder(u"First");
  const Text second = temp.Folder(u"Second");
  const Text a = temp.File(u"First\\a.mp3");
  temp.File(u"Second\\b.mp3");
  adder.OnDropFiles(MakeDrop({first, second}));
  EXPECT_EQ(Paths(), Texts{a});
  // A shortcut dropped there is added as it is: the probe decides.
  const Text link = MakeShortcut(temp.Path() + u"\\a.lnk", a);
  adder.OnDropFiles(MakeDrop({link}));
  EXPECT_EQ(Paths(), Texts{a});
  EXPECT_EQ(prober.probes, 2);
}

TEST_F(AddingHostTest, CommandLineWithNoAsksAboutDuplicatesInAnyCase) {
  const Text song = temp.File(u"song.mp3");
  const Text other = temp.File(u"other.mp3");
  adder.AddMediaFile(song);
  host.answer = Answer::kNo;
  Text upper = song;
  for (char16_t& c : upper)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  adder.OpenFromCommandLine(u"\"C:\\S.exe\" \"" + upper + u"\" \"" + other + u"\"");
  ASSERT_EQ(host.asked.size(), 2u);
  EXPECT_EQ(host.asked[0], u"Should a new playlist be created?");
  EXPECT_EQ(host.asked[1], u"Should duplicate files be skipped?");
  EXPECT_EQ(Paths(), (Texts{song, upper, other})) << "No adds the duplicate";
  // Saved at the end.
  const Text stored = storage.sections[ListSectionName(0)];
  EXPECT_NE(stored.find(other), Text::npos);
}

TEST_F(AddingHostTest, CommandLineWithYesKeepsTheUnsavedShownListAndFillsANewOne) {
  const Text kept = temp.File(u"kept.mp3");
  const Text song = temp.File(u"song.mp3");
  adder.AddMediaFile(kept);  // an edit not yet written
  ASSERT_EQ(storage.sections.count(ListSectionName(0)), 0u);
  host.answer = Answer::kYes;
  adder.OpenFromCommandLine(u"S.exe " + song);
  EXPECT_EQ(host.asked.size(), 1u);
  EXPECT_EQ(host.controller.Session().ListCount(), 2);
  EXPECT_EQ(host.controller.Session().ShownListIndex(), 1);
  EXPECT_EQ(host.controller.Session().Names()[1].rfind(u"From command line New playlist ", 0), 0u);
  EXPECT_EQ(Paths(), Texts{song});
  EXPECT_NE(storage.sections[ListSectionName(0)].find(kept), Text::npos) << "the earlier list keeps its edit";
  EXPECT_EQ(storage.sections[ListSectionName(0)].find(song), Text::npos);
  EXPECT_NE(storage.sections[ListSectionName(1)].find(song), Text::npos);
  EXPECT_NE(storage.strings[Text(kListNamesKey)].find(u"From command line"), Text::npos);
  const auto entries = host.SelectorEntries();
  ASSERT_GE(entries.size(), 2u);
  EXPECT_EQ(static_cast<int>(SendMessageW(host.selector, CB_GETCURSEL, 0, 0)), 1);
}

}  // namespace
}  // namespace sorvane::win
