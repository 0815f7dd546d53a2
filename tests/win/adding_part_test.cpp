// The main window's ways in for adding media, with the list view and list
// selector of template 345 wired as the main window will wire them.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
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

  void OnInitDialog(PartHost& w) override {
    MediaListCallbacks cb;
    cb.ask = [this](TextView text, TextView, QuestionIcon) {
      asked.push_back(Text(text));
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
    auto adding = std::make_unique<AddingPart>(lists_->controller, [] { return nullptr; });
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

  Text folder_;
  WinFileSystem files_;
  SettingsStore store_{files_};
  MainFrameLoop loop_;
  MainWindow window_;
  ListsPart* lists_ = nullptr;
};

TEST_F(AddingPartTest, ForwardedCommandLineAddsToTheShownList) {
  const Text a = File(u"a.mp3");
  const Text b = File(u"b.mp3");
  const std::wstring line = L"\"C:\\x\\Sorvane.exe\" \"" + ToWide(a) + L"\" \"" + ToWide(b) + L"\"";
  COPYDATASTRUCT data{10100, static_cast<DWORD>((line.size() + 1) * sizeof(wchar_t)),
                      const_cast<wchar_t*>(line.c_str())};
  EXPECT_EQ(SendMessageW(window_.Window(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 10100);
  EXPECT_EQ(lists_->asked, Texts{u"Should a new playlist be created?"});
  EXPECT_EQ(Paths(), (Texts{a, b}));
  EXPECT_EQ(ListView_GetItemCount(window_.Item(IDC_LIST_VIEW)), 2);
  EXPECT_NE(lists_->storage.sections[ListSectionName(0)].find(b), Text::npos) << "saved at the end";
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
