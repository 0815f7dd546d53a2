// Paths reaching a running copy from outside: a second start's command line,
// duplicates, folders, missing paths and shortcuts dropped from another
// program; the rows read back from the list view and the INI.
#include <windows.h>
#include <commctrl.h>
#include <objidl.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "file_drag.h"
#include "harness.h"

using namespace e2e;
using Microsoft::WRL::ComPtr;

namespace {

constexpr UINT kCommandClose = 32916;
constexpr int kListView = 1033;
constexpr int kListSelector = 1000;
constexpr DWORD kExitNormal = 45054;
const wchar_t kNewListQuestion[] = L"Should a new playlist be created?";
const wchar_t kSkipQuestion[] = L"Should duplicate files be skipped?";
const wchar_t kBusyCaption[] = L"Processing Folder...";

std::wstring Upper(std::wstring s) {
  CharUpperW(s.data());
  return s;
}


// Watches from its own thread whether a process shows the busy dialog.
class BusyWatcher {
 public:
  explicit BusyWatcher(DWORD process) : process_(process) {
    thread_ = CreateThread(nullptr, 0, [](void* self) -> DWORD { return static_cast<BusyWatcher*>(self)->Run(); },
                           this, 0, nullptr);
  }
  ~BusyWatcher() { Stop(); }
  bool Running() const { return thread_ != nullptr; }
  bool Seen() const { return seen_ != 0; }
  // Whether the dialog was seen while watching.
  bool Stop() {
    if (thread_) {
      InterlockedExchange(&stop_, 1);
      WaitForSingleObject(thread_, 5000);
      CloseHandle(thread_);
      thread_ = nullptr;
    }
    return seen_ != 0;
  }

 private:
  DWORD Run() {
    while (!stop_) {
      if (FindProcessWindow(process_, kBusyCaption)) InterlockedExchange(&seen_, 1);
      Sleep(20);
    }
    return 0;
  }
  DWORD process_;
  HANDLE thread_ = nullptr;
  volatile LONG stop_ = 0, seen_ = 0;
};

bool MakeShortcut(const std::wstring& link, const std::wstring& target) {
  ComPtr<IShellLinkW> shellLink;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&shellLink))))
    return false;
  if (FAILED(shellLink->SetPath(target.c_str()))) return false;
  ComPtr<IPersistFile> file;
  return SUCCEEDED(shellLink.As(&file)) && SUCCEEDED(file->Save(link.c_str(), TRUE));
}

class AddingForward : public testing::Test {
 protected:
  // Starts the first copy and waits for its window. With a path on the
  // command line, the question about a new list comes before the window and
  // is answered with newList.
  HWND StartFirst(const std::wstring& arguments = L"", int newList = 0) {
    if (!first.Start(SorvaneExe(), arguments)) return nullptr;
    if (newList != 0) {
      HWND box = first.WaitForMessageBox(kNewListQuestion);
      if (!box || !PressButton(box, newList)) return nullptr;
    }
    return first.WaitForMainWindow();
  }

  // A second start with arguments; the first copy's question about a new
  // list is answered with newList. The second copy ends as soon as its line is
  // handed over; the addition in the first copy is over once the list holds
  // rows entries, no question is left and the window is enabled again.
  void Forward(const std::wstring& arguments, int newList, std::vector<int> duplicateAnswers, int rows) {
    Process second;
    ASSERT_TRUE(second.Start(SorvaneExe(), arguments));
    EXPECT_EQ(second.WaitForExit(60000), 0u) << "the second copy did not end at once";
    HWND box = first.WaitForMessageBox(kNewListQuestion);
    ASSERT_NE(box, nullptr) << "no question about a new list";
    ASSERT_TRUE(PressButton(box, newList));
    for (int answer : duplicateAnswers) {
      HWND skip = first.WaitForMessageBox(kSkipQuestion);
      ASSERT_NE(skip, nullptr) << "no question about duplicates";
      ASSERT_TRUE(PressButton(skip, answer));
    }
    HWND w = first.WaitForMainWindow();
    ASSERT_NE(w, nullptr);
    RemoteListView list(first.Id(), GetDlgItem(w, kListView));
    ASSERT_TRUE(WaitUntil([&] { return list.Count() == rows && IsWindowEnabled(w); }, 60000)) << list.Count();
    EXPECT_EQ(first.WaitForMessageBox(kSkipQuestion, 300), nullptr) << "an unexpected duplicate question";
  }

  std::wstring Ini() { return ReadUtf16Ini(appData.IniPath()).value_or(L""); }

  AppDataRedirect appData;
  TempFolder media{L"media"};
  Process first;
};

TEST_F(AddingForward, SecondStartAddsToTheShownListAsksAboutDuplicatesAndTheListSurvivesARestart) {
  const std::wstring song = media / L"Song.wav";
  ASSERT_TRUE(WriteToneWav(song, 3000));
  HWND w = StartFirst();
  ASSERT_NE(w, nullptr);
  RemoteListView list(first.Id(), GetDlgItem(w, kListView));
  ASSERT_TRUE(list.Ready());
  ASSERT_EQ(list.Count(), 0);
  ShowWindow(w, SW_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return IsIconic(w) != FALSE; }, 5000));

  // No: the file goes to the shown list, and the first copy comes to the front.
  Forward(L"\"" + song + L"\"", IDNO, {}, 1);
  EXPECT_FALSE(IsIconic(w)) << "the first copy stayed minimised";
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == w; }, 5000)) << "the first copy is not in front";
  EXPECT_TRUE(IsWindowVisible(w));
  ASSERT_EQ(list.Column(1), std::vector<std::wstring>{song});
  EXPECT_EQ(SendMessageW(GetDlgItem(w, kListView), LVM_GETSELECTEDCOUNT, 0, 0), 0) << "adding selects nothing";

  // The same path in other letters is a duplicate: Yes skips it, No adds it.
  Forward(L"\"" + Upper(song) + L"\"", IDNO, {IDYES}, 1);
  EXPECT_EQ(list.Column(1), std::vector<std::wstring>{song});
  Forward(L"\"" + Upper(song) + L"\"", IDNO, {IDNO}, 2);
  const std::vector<std::wstring> expected{song, Upper(song)};
  EXPECT_EQ(list.Column(1), expected);
  // The forwarded command line writes the list at its end, before any close.
  EXPECT_TRUE(WaitUntil([&] { return Ini().find(Upper(song)) != std::wstring::npos; }, 20000));

  // The added list plays: a click on its first row.
  ASSERT_TRUE(list.Click(0));
  ASSERT_TRUE(WaitUntil([&] { return list.Text(0, 2) == L"00:03"; }, 30000)) << list.Text(0, 2);
  Sleep(1000);
  SaveScreenshot(L"adding_forwarded_list_playing");

  SendCommand(w, kCommandClose);
  ASSERT_TRUE(first.WaitForExit().has_value());
  EXPECT_NE(Ini().find(song), std::wstring::npos);

  w = StartFirst();
  ASSERT_NE(w, nullptr);
  RemoteListView again(first.Id(), GetDlgItem(w, kListView));
  ASSERT_TRUE(again.Ready());
  EXPECT_EQ(again.Column(1), expected) << "the rows after a restart";
  SendCommand(w, kCommandClose);
  ASSERT_TRUE(first.WaitForExit().has_value());
}

TEST_F(AddingForward, ForwardedFolderIsAppendedInFileSystemOrderWithTheBusyDialog) {
  const std::wstring before = media / L"before.wav";
  ASSERT_TRUE(WriteToneWav(before, 100));
  TempFolder folder{L"folder"};
  ASSERT_TRUE(CreateDirectoryW((folder / L"inner").c_str(), nullptr));
  for (const wchar_t* name : {L"b.wav", L"a.wav", L"z.wav", L"inner\\c.wav", L"inner\\a.wav"})
    ASSERT_TRUE(WriteToneWav(folder / name, 100));
  std::vector<std::wstring> order;
  ListInFileSystemOrder(folder.Path(), order);
  ASSERT_EQ(order.size(), 5u);

  HWND w = StartFirst(L"\"" + before + L"\"", IDNO);
  ASSERT_NE(w, nullptr);
  RemoteListView list(first.Id(), GetDlgItem(w, kListView));
  ASSERT_TRUE(WaitUntil([&] { return list.Count() == 1; }, 20000));

  // The busy dialog is watched from another thread while this one answers.
  BusyWatcher watch(first.Id());
  ASSERT_TRUE(watch.Running());
  Forward(L"\"" + folder.Path() + L"\"", IDNO, {}, 6);
  EXPECT_TRUE(watch.Stop()) << "no busy dialog for the folder";
  EXPECT_TRUE(WaitUntil([&] { return FindProcessWindow(first.Id(), kBusyCaption) == nullptr; }, 20000))
      << "the busy dialog stayed";
  EXPECT_TRUE(IsWindowEnabled(w)) << "the main window stayed disabled";

  std::vector<std::wstring> expected{before};
  expected.insert(expected.end(), order.begin(), order.end());
  EXPECT_EQ(list.Column(1), expected);
  SendCommand(w, kCommandClose);
  ASSERT_TRUE(first.WaitForExit().has_value());
}

TEST_F(AddingForward, MissingPathShowsTheBusyDialogBrieflyAndAddsNothing) {
  const std::wstring song = media / L"song.wav";
  ASSERT_TRUE(WriteToneWav(song, 100));
  HWND w = StartFirst();
  ASSERT_NE(w, nullptr);
  RemoteListView list(first.Id(), GetDlgItem(w, kListView));

  // A command line must start with an existing path to act at all; the
  // missing one after it counts as an unreadable folder.
  const std::wstring missing = media / L"gone\\nothing.wav";
  BusyWatcher watch(first.Id());
  ASSERT_TRUE(watch.Running());
  Forward(L"\"" + song + L"\" \"" + missing + L"\"", IDNO, {}, 1);
  EXPECT_TRUE(WaitUntil([&] { return watch.Seen(); }, 20000)) << "no busy dialog for the missing path";
  EXPECT_TRUE(WaitUntil([&] { return FindProcessWindow(first.Id(), kBusyCaption) == nullptr; }, 20000))
      << "the busy dialog stayed";
  watch.Stop();
  EXPECT_EQ(list.Column(1), std::vector<std::wstring>{song});
  EXPECT_TRUE(IsWindowEnabled(w));

  // Only a missing path: the command line is ignored, no question is asked.
  Process second;
  ASSERT_TRUE(second.Start(SorvaneExe(), L"\"" + missing + L"\""));
  ASSERT_TRUE(second.WaitForExit(30000).has_value());
  EXPECT_EQ(first.WaitForMessageBox(kNewListQuestion, 500), nullptr);
  EXPECT_EQ(list.Count(), 1);
  SendCommand(w, kCommandClose);
  ASSERT_TRUE(first.WaitForExit().has_value());
}


// Opening many selected files from a file manager starts one copy per file at
// the same moment. Every copy hands its line over and ends without waiting;
// the running copy asks once and adds all files to one list.
TEST_F(AddingForward, TwentySecondStartsAtOnceAskOnceAndAddAllTheirFilesToOneList) {
  constexpr int kStarts = 20;
  std::vector<std::wstring> files;
  for (int i = 0; i < kStarts; ++i) {
    files.push_back(media / (L"start" + std::to_wstring(i) + L".wav"));
    ASSERT_TRUE(WriteToneWav(files.back(), 100));
  }
  HWND w = StartFirst();
  ASSERT_NE(w, nullptr);
  HWND selector = GetDlgItem(w, kListSelector);
  const LRESULT listsBefore = SendMessageW(selector, CB_GETCOUNT, 0, 0);
  RemoteListView list(first.Id(), GetDlgItem(w, kListView));
  ASSERT_TRUE(list.Ready());

  std::vector<std::unique_ptr<Process>> seconds;
  for (int i = 0; i < kStarts; ++i) {
    seconds.push_back(std::make_unique<Process>());
    ASSERT_TRUE(seconds.back()->Start(SorvaneExe(), L"\"" + files[i] + L"\"")) << i;
  }
  // Every copy ends by itself with code 0 while the question is still open.
  for (int i = 0; i < kStarts; ++i) EXPECT_EQ(seconds[i]->WaitForExit(180000), 0u) << "second copy " << i;
  HWND box = first.WaitForMessageBox(kNewListQuestion, 60000);
  ASSERT_NE(box, nullptr) << "no question about a new list";
  ASSERT_TRUE(PressButton(box, IDYES));

  ASSERT_TRUE(WaitUntil([&] { return list.Count() == kStarts && IsWindowEnabled(w); }, 60000)) << list.Count();
  // Arrival order is the order the copies got through; every file is there once.
  std::vector<std::wstring> rows = list.Column(1);
  std::sort(rows.begin(), rows.end());
  std::vector<std::wstring> expected = files;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(rows, expected);
  EXPECT_EQ(SendMessageW(selector, CB_GETCOUNT, 0, 0), listsBefore + 1) << "one new list";
  EXPECT_EQ(first.WaitForMessageBox(kNewListQuestion, 1000), nullptr) << "asked again";
  SaveScreenshot(L"adding_forward_twenty_in_one_list");
  EXPECT_TRUE(WaitUntil([&] { return Ini().find(files[kStarts - 1]) != std::wstring::npos; }, 20000))
      << "the list is written at the end of the addition";

  SendCommand(w, kCommandClose);
  EXPECT_EQ(first.WaitForExit(), kExitNormal);
}

// Closing while the question of a forwarded line is open: the window closes,
// the program ends normally and nothing of that line is added.
TEST_F(AddingForward, CloseWhileAForwardedLineAsksEndsNormallyWithoutAddingIt) {
  const std::wstring song = media / L"late.wav";
  ASSERT_TRUE(WriteToneWav(song, 100));
  HWND w = StartFirst();
  ASSERT_NE(w, nullptr);
  Process second;
  ASSERT_TRUE(second.Start(SorvaneExe(), L"\"" + song + L"\""));
  EXPECT_EQ(second.WaitForExit(60000), 0u);
  ASSERT_NE(first.WaitForMessageBox(kNewListQuestion), nullptr);
  // The window still answers while the question is open.
  DWORD_PTR answer = 0;
  EXPECT_NE(SendMessageTimeoutW(w, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0);
  SendCommand(w, kCommandClose);
  EXPECT_EQ(first.WaitForExit(), kExitNormal);
  EXPECT_EQ(Ini().find(song), std::wstring::npos);
}


// A drag from this process over the other's list view: the shortcut adds its
// target, the plain file itself.
TEST_F(AddingForward, ShortcutDroppedFromAnotherProgramAddsItsTarget) {
  ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
  const std::wstring target = media / L"target.wav", plain = media / L"plain.wav";
  ASSERT_TRUE(WriteToneWav(target, 100));
  ASSERT_TRUE(WriteToneWav(plain, 100));
  const std::wstring link = media / L"Target.LNK";
  ASSERT_TRUE(MakeShortcut(link, target));

  HWND w = StartFirst(L"\"" + plain + L"\"", IDNO);
  ASSERT_NE(w, nullptr);
  HWND view = GetDlgItem(w, kListView);
  RemoteListView list(first.Id(), view);
  ASSERT_TRUE(WaitUntil([&] { return list.Count() == 1; }, 20000));
  SetForegroundWindow(w);
  const RECT r = WindowRect(view);

  DWORD effect = DROPEFFECT_NONE;
  const HRESULT dropped = DragFilesTo({(r.left + r.right) / 2, r.bottom - 10}, {link, plain}, &effect);
  EXPECT_EQ(dropped, DRAGDROP_S_DROP);
  EXPECT_NE(effect, static_cast<DWORD>(DROPEFFECT_NONE));

  const std::vector<std::wstring> expected{plain, target, plain};
  EXPECT_TRUE(WaitUntil([&] { return list.Count() == 3; }, 20000)) << list.Count();
  EXPECT_EQ(list.Column(1), expected);
  SendCommand(w, kCommandClose);
  ASSERT_TRUE(first.WaitForExit().has_value());
  OleUninitialize();
}

}  // namespace
