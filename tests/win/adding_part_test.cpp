// The main window's ways in for adding media, with the list view and list
// selector of template 345 wired as the main window will wire them.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "../unit/fake_list_storage.h"
#include "settings/settings_store.h"
#include "framework/win/main_frame_loop.h"
#include "app/win/main_window.h"
#include "settings/win/win_file_system.h"
#include "drop_files.h"
#include "framework/win/wintext.h"
#include "medialist/list_persistence.h"
#include "medialist/win/adding_part.h"
#include "medialist/win/busy_dialog.h"
#include "medialist/win/media_list_controller.h"
#include "resource_ids.h"

namespace sorvane::win {
namespace {

using Texts = std::vector<Text>;

// The list view and selector of the window, as the media-list part does it.
struct ListsPart : MainWindowPart {
  sorvane::testing::FakeListStorage storage;
  MediaListController controller{storage};
  AddingPart* adding = nullptr;
  Texts asked;
  Answer answer = Answer::kNo;
  std::function<void()> onAsk;  // runs while the question is open

  void OnInitDialog(PartHost& w) override {
    MediaListCallbacks cb;
    cb.ask = [this](TextView text, TextView, QuestionIcon) {
      asked.push_back(Text(text));
      if (onAsk) onAsk();
      return answer;
    };
    cb.filesDropped = [this](std::vector<Text> paths) { adding->OnListViewDrop(paths); };
    controller.Attach(w.Window(), w.Item(IDC_LIST_VIEW), w.Item(IDC_LIST_SELECTOR), cb);
  }
  void LoadSettings(PartHost&) override {
    storage.strings[Text(kListNamesKey)] = JoinListNames({u"Shown"});
    controller.Start();
  }
  bool OnMessage(PartHost&, UINT m, WPARAM wp, LPARAM lp, LRESULT& result) override {
    if (m == WM_NOTIFY && reinterpret_cast<NMHDR*>(lp)->idFrom == static_cast<UINT_PTR>(IDC_LIST_VIEW))
      return controller.OnNotify(reinterpret_cast<NMHDR*>(lp), result);
    if (m == WM_COMMAND && LOWORD(wp) == IDC_LIST_SELECTOR) return controller.OnSelectorCommand(wp, lp);
    return false;
  }
  void OnClose(PartHost&) override { controller.View().Detach(); }
};

class AddingPartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    folder_ = T(temp) + u"adding_part_" + Format(u"%d", {static_cast<int>(GetCurrentProcessId())});
    CreateDirectoryW(W(folder_), nullptr);
    store_.SetIniPath(folder_ + u"\\Sorvane.ini");
    InstallSettings(&store_);
    SetCurrentLoop(&loop_);
    auto lists = std::make_unique<ListsPart>();
    lists_ = lists.get();
    auto adding =
        std::make_unique<AddingPart>(lists_->controller, [] { return nullptr; }, [this] { return now_; });
    lists_->adding = adding.get();
    window_.AddPart(std::move(lists));
    window_.AddPart(std::move(adding));
    ASSERT_NE(window_.Create(GetModuleHandleW(nullptr)), nullptr);
    ShowWindow(window_.Window(), SW_SHOW);
  }
  void TearDown() override {
    if (IsWindow(window_.Window())) {
      lists_->controller.View().Detach();
      DestroyWindow(window_.Window());
    }
    SetCurrentLoop(nullptr);
    std::wstring from = ToWide(folder_);
    from.push_back(L'\0');
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
    PumpWaitingMessages();
  }
  Text File(const Text& relative) {
    const Text p = folder_ + u"\\" + relative;
    HANDLE h = CreateFileW(W(p), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(h);
    return p;
  }
  Text Folder(const Text& relative) {
    const Text p = folder_ + u"\\" + relative;
    CreateDirectoryW(W(p), nullptr);
    return p;
  }
  Texts Paths() {
    Texts out;
    for (int r = 0; r < lists_->controller.Rows().Count(); ++r) out.push_back(lists_->controller.Rows().Cell(r, 1));
    return out;
  }

  // Sends a second start's command line naming these paths; answers the reply.
  LRESULT Forward(const Texts& paths) {
    std::wstring line = L"\"C:\\x\\Sorvane.exe\"";
    for (const Text& path : paths) line += L" \"" + ToWide(path) + L"\"";
    COPYDATASTRUCT data{10100, static_cast<DWORD>((line.size() + 1) * sizeof(wchar_t)),
                        const_cast<wchar_t*>(line.c_str())};
    return SendMessageW(window_.Window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  }
  // Dispatches messages until condition holds; false after a generous limit.
  bool PumpUntil(const std::function<bool()>& condition) {
    const ULONGLONG end = GetTickCount64() + 20000;
    while (!condition()) {
      if (GetTickCount64() > end) return false;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
      PumpWaitingMessages();
    }
    return true;
  }

  Milliseconds now_{1000000};
  Text folder_;
  WinFileSystem files_;
  SettingsStore store_{files_};
  MainFrameLoop loop_;
  MainWindow window_;
  ListsPart* lists_ = nullptr;
};

TEST_F(AddingPartTest, ForwardedLinesAreAnsweredAtOnceAndAddedTogetherAfterTheQuietTime) {
  const Text a = File(u"a.mp3"), b = File(u"b.mp3"), c = File(u"c.mp3"), d = File(u"d.mp3");
  // Answered before anything is asked or added: the second start does not wait.
  EXPECT_EQ(Forward({a, b}), 10100);
  EXPECT_EQ(Forward({c}), 10100);
  EXPECT_TRUE(lists_->asked.empty());
  EXPECT_TRUE(Paths().empty());
  EXPECT_EQ(lists_->adding->Forwarded().Waiting(), 2u);
  // The posted round is not due yet: it sets the timer for the rest of the quiet time.
  PumpWaitingMessages();
  EXPECT_TRUE(lists_->asked.empty());

  // A line that comes while the question is open joins the round.
  lists_->onAsk = [&] {
    lists_->onAsk = nullptr;
    EXPECT_EQ(Forward({d}), 10100);
  };
  now_ += kForwardQuietTime;
  ASSERT_TRUE(PumpUntil([&] { return Paths().size() == 4; })) << Paths().size();
  EXPECT_EQ(lists_->asked, Texts{u"Should a new playlist be created?"});
  EXPECT_EQ(Paths(), (Texts{a, b, c, d}));
  EXPECT_EQ(ListView_GetItemCount(window_.Item(IDC_LIST_VIEW)), 4);
  EXPECT_NE(lists_->storage.sections[ListSectionName(0)].find(d), Text::npos) << "saved at the end";
  EXPECT_FALSE(lists_->adding->Forwarded().InRound());
  EXPECT_EQ(lists_->adding->Forwarded().Waiting(), 0u);
}

TEST_F(AddingPartTest, ForwardedRoundWaitsForAModalDialogAndForAFolderScan) {
  const Text a = File(u"a.mp3");
  EXPECT_EQ(Forward({a}), 10100);
  now_ += kForwardQuietTime;
  // Another dialog is modal over the window: the due round is held back.
  EnableWindow(window_.Window(), FALSE);
  SendMessageW(window_.Window(), kForwardedRoundMessage, 0, 0);
  EXPECT_TRUE(lists_->asked.empty());
  EXPECT_EQ(lists_->adding->Forwarded().Waiting(), 1u);
  EnableWindow(window_.Window(), TRUE);

  // A folder scan dispatches messages between its files; the due round,
  // posted before the scan began, waits for the scan's end.
  const Text folder = Folder(u"Scanned");
  const Text one = File(u"Scanned\\one.mp3"), two = File(u"Scanned\\two.mp3");
  PostMessageW(window_.Window(), kForwardedRoundMessage, 0, 0);
  ASSERT_TRUE(lists_->adding->Adder()->ScanFolder(folder));
  EXPECT_TRUE(lists_->asked.empty());
  Texts scanned = Paths();
  std::sort(scanned.begin(), scanned.end());
  ASSERT_EQ(scanned, (Texts{one, two}));
  ASSERT_TRUE(PumpUntil([&] { return Paths().size() == 3; }));
  EXPECT_EQ(lists_->asked.size(), 1u);
  EXPECT_EQ(Paths()[2], a);
}

TEST_F(AddingPartTest, CloseDuringTheForwardedQuestionAddsNothingAndEndsTheLoop) {
  const Text a = File(u"a.mp3");
  EXPECT_EQ(Forward({a}), 10100);
  lists_->onAsk = [&] { SendMessageW(window_.Window(), WM_COMMAND, kCommandClose, 0); };
  now_ += kForwardQuietTime;
  ASSERT_TRUE(PumpUntil([&] { return !lists_->asked.empty(); }));
  EXPECT_FALSE(IsWindow(window_.Window()));
  EXPECT_TRUE(Paths().empty());
  EXPECT_FALSE(lists_->adding->Forwarded().InRound());
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(m.wParam, 45054u);
}

TEST_F(AddingPartTest, DropOnTheWindowImportsOnlyTheFirstFolder) {
  EXPECT_NE(GetWindowLongPtrW(window_.Window(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0) << "the window accepts files";
  const Text first = Folder(u"First");
  const Text second = Folder(u"Second");
  const Text one = File(u"First\\one.mp3");
  File(u"Second\\two.mp3");
  SendMessageW(window_.Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({first, second})), 0);
  EXPECT_EQ(Paths(), Texts{one});
  EXPECT_TRUE(IsWindowEnabled(window_.Window()));
}

// A drop block as another process may fill it: list offset, wide flag and list
// bytes exactly as given, in a block of exactly that size.
HDROP RawDrop(DWORD offset, BOOL wide, const std::string& list) {
  HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size());
  auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
  drop->pFiles = offset;
  drop->fWide = wide;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), list.size());
  GlobalUnlock(memory);
  return static_cast<HDROP>(memory);
}

TEST_F(AddingPartTest, DropOnTheWindowReadsAnsiNamesAndRefusesAListOutsideTheBlock) {
  const Text file = File(u"one.mp3");
  std::string ansi;
  for (char16_t c : file) {
    ASSERT_LT(c, 0x80) << "the temporary folder's path is plain ASCII";
    ansi += static_cast<char>(c);
  }
  std::string wide(reinterpret_cast<const char*>(file.data()), file.size() * 2);
  wide.append(4, '\0');
  const struct {
    const char* what;
    DWORD offset;
  } refused[] = {{"offset far past the block", 1 << 20}, {"offset inside the header", 8}};
  for (const auto& c : refused) {
    SendMessageW(window_.Window(), WM_DROPFILES, reinterpret_cast<WPARAM>(RawDrop(c.offset, TRUE, wide)), 0);
    EXPECT_TRUE(Paths().empty()) << c.what;
  }
  SendMessageW(window_.Window(), WM_DROPFILES,
               reinterpret_cast<WPARAM>(RawDrop(sizeof(DROPFILES), FALSE, ansi + std::string(2, '\0'))), 0);
  EXPECT_EQ(Paths(), Texts{file});
}

// Chooses two files in the open-file dialog once it shows.
void CALLBACK ChooseTwoFiles(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM out) -> BOOL {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(w)) return TRUE;
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  KillTimer(nullptr, id);
  constexpr int kFileNameCombo = 0x47c;  // cmb13 of the Explorer-style dialog
  SetDlgItemTextW(dialog, kFileNameCombo, L"\"second.mp3\" \"first.mp3\"");
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(AddingPartTest, AddFilesCommandAddsTheChosenFilesInTheDialogsOrder) {
  const Text first = File(u"first.mp3");
  const Text second = File(u"second.mp3");
  SetCurrentDirectoryW(W(folder_));
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, ChooseTwoFiles);
  SendMessageW(window_.Window(), WM_COMMAND, kCommandAddFiles, 0);
  KillTimer(nullptr, timer);
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  SetCurrentDirectoryW(temp);
  const Texts paths = Paths();
  ASSERT_EQ(paths.size(), 2u);
  // The dialog may list the names in its own order; both come from the folder.
  Texts sorted = paths;
  std::sort(sorted.begin(), sorted.end());
  EXPECT_TRUE(EqualsIgnoreCase(sorted[0], first)) << ToUtf8(sorted[0]);
  EXPECT_TRUE(EqualsIgnoreCase(sorted[1], second)) << ToUtf8(sorted[1]);
}

// Chooses one file by its full path, in a folder other than the one the dialog opened in.
Text g_chosenPath;
void CALLBACK ChooseByFullPath(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM out) -> BOOL {
        wchar_t cls[16] = {};
        GetClassNameW(w, cls, 16);
        if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(w)) return TRUE;
        *reinterpret_cast<HWND*>(out) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&dialog));
  if (!dialog) return;
  KillTimer(nullptr, id);
  SetDlgItemTextW(dialog, 0x47c, W(g_chosenPath));
  PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

TEST_F(AddingPartTest, AddFilesDialogLeavesTheCurrentDirectoryAlone) {
  g_chosenPath = File(u"chosen.mp3");
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  ASSERT_TRUE(SetCurrentDirectoryW(temp));
  wchar_t before[MAX_PATH + 1] = {};
  GetCurrentDirectoryW(MAX_PATH + 1, before);
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, ChooseByFullPath);
  SendMessageW(window_.Window(), WM_COMMAND, kCommandAddFiles, 0);
  KillTimer(nullptr, timer);
  wchar_t after[MAX_PATH + 1] = {};
  GetCurrentDirectoryW(MAX_PATH + 1, after);
  const Texts paths = Paths();
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_TRUE(EqualsIgnoreCase(paths[0], g_chosenPath)) << ToUtf8(paths[0]);
  // A relative INI path would otherwise now point into the music folder.
  EXPECT_EQ(ToUtf8(T(after)), ToUtf8(T(before)));
}

}  // namespace
}  // namespace sorvane::win
