// Export and Import of playlists seen from outside: the real save and open
// dialogs, the files they give, the question and the closing note of an
// import, the error box of a failed export, and a playlist dropped from
// another program.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "file_drag.h"
#include "harness.h"

using namespace e2e;

namespace {

constexpr UINT kCommandClose = 32916;
constexpr UINT kCommandExport = 33369;
constexpr UINT kCommandImport = 33370;
constexpr int kListView = 1033;
// The file dialog's file-name field and file-type list.
constexpr int kFileNameEdit = 0x480;
constexpr int kFileNameCombo = 0x47c;
constexpr int kFileTypeCombo = 0x470;
const wchar_t kNewListQuestion[] = L"Should a new playlist be created?";
const wchar_t kExportTitle[] = L"Export (M3U / WPL)";
const wchar_t kImportTitle[] = L"Import (M3U / WPL)";

std::string Utf8(const std::wstring& w) {
  const int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.data(), static_cast<int>(w.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::string ReadBytes(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (f == INVALID_HANDLE_VALUE) return {};
  std::string bytes(GetFileSize(f, nullptr), '\0');
  DWORD got = 0;
  ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(f);
  bytes.resize(got);
  return bytes;
}

HWND WaitForProcessWindow(DWORD process, const std::wstring& caption) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindProcessWindow(process, caption)) != nullptr; }, 20000);
  return found;
}

// The dialog's controls as "class id" lines, for a failure message.
std::string Children(HWND dialog) {
  std::string out;
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM p) -> BOOL {
        char cls[64] = {};
        GetClassNameA(child, cls, 64);
        *reinterpret_cast<std::string*>(p) += std::string(cls) + " " + std::to_string(GetDlgCtrlID(child)) + " parent " +
                                             std::to_string(GetDlgCtrlID(GetParent(child))) + "\n";
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&out));
  return out;
}

// Types a name into a file dialog of another process, picks the file type
// (0-based) and presses the dialog's default button.
bool FillFileDialog(HWND dialog, const std::wstring& name, int fileType) {
  HWND edit = GetDlgItem(dialog, kFileNameEdit);
  if (!edit) {
    HWND combo = GetDlgItem(dialog, kFileNameCombo);
    // A combo box of its own (or one inside a ComboBoxEx) holds the edit field.
    if (combo) {
      HWND inner = FindWindowExW(combo, nullptr, L"ComboBox", nullptr);
      edit = FindWindowExW(inner ? inner : combo, nullptr, L"Edit", nullptr);
    }
  }
  if (!edit) return false;
  if (fileType >= 0) {
    HWND types = GetDlgItem(dialog, kFileTypeCombo);
    if (!types || SendMessageW(types, CB_SETCURSEL, fileType, 0) != fileType) return false;
    // The dialog takes the new type from the combo's notifications.
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeCombo, CBN_SELCHANGE), reinterpret_cast<LPARAM>(types));
    SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kFileTypeCombo, CBN_SELENDOK), reinterpret_cast<LPARAM>(types));
  }
  SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
  return PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                      reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK))) != FALSE;
}

class PlaylistE2E : public testing::Test {
 protected:
  // Starts the program with the media on its command line, added to the
  // shown list, and waits for their rows.
  HWND StartWith(const std::vector<std::wstring>& files) {
    std::wstring arguments;
    for (const auto& f : files) arguments += L"\"" + f + L"\" ";
    if (!p.Start(SorvaneExe(), arguments)) return nullptr;
    if (!files.empty()) {
      HWND box = p.WaitForMessageBox(kNewListQuestion);
      if (!box || !PressButton(box, IDNO)) return nullptr;
    }
    HWND w = p.WaitForMainWindow();
    if (!w) return nullptr;
    RemoteListView list(p.Id(), GetDlgItem(w, kListView));
    if (!WaitUntil([&] { return list.Count() == static_cast<int>(files.size()); }, 30000)) return nullptr;
    return w;
  }
  void Close(HWND w) {
    SendCommand(w, kCommandClose);
    ASSERT_TRUE(p.WaitForExit().has_value());
  }

  AppDataRedirect appData;
  TempFolder media{L"media"};
  TempFolder out{L"lists"};
  Process p;
};

TEST_F(PlaylistE2E, ExportThroughTheSaveDialogGivesWplForTheWplTypeAndM3uForATxtName) {
  const std::wstring one = media / L"One & Two's.wav", two = media / L"two.wav";
  ASSERT_TRUE(WriteToneWav(one, 200));
  ASSERT_TRUE(WriteToneWav(two, 200));
  HWND w = StartWith({one, two});
  ASSERT_NE(w, nullptr);

  // "WPL Playlist (*.wpl)" and a name without extension.
  SendCommand(w, kCommandExport);
  HWND dialog = WaitForProcessWindow(p.Id(), kExportTitle);
  ASSERT_NE(dialog, nullptr) << "no save dialog";
  ASSERT_TRUE(FillFileDialog(dialog, out / L"mix", 1)) << Children(dialog);
  const std::wstring wpl = out / L"mix.wpl";
  ASSERT_TRUE(WaitUntil([&] { return FileExists(wpl); }, 20000)) << "no mix.wpl";
  const std::string expectedWpl =
      "<?wpl version=\"1.0\"?>\r\n<smil>\r\n    <head>\r\n"
      "        <meta name=\"Generator\" content=\"CPlayList2026\"/>\r\n"
      "        <meta name=\"ItemCount\" content=\"2\"/>\r\n"
      "        <title>My Playlist</title>\r\n    </head>\r\n    <body>\r\n        <seq>\r\n"
      "            <media src=\"" + Utf8(media / L"One &amp; Two&apos;s.wav") + "\"/>\r\n"
      "            <media src=\"" + Utf8(two) + "\"/>\r\n"
      "        </seq>\r\n    </body>\r\n</smil>\r\n";
  EXPECT_TRUE(WaitUntil([&] { return ReadBytes(wpl) == expectedWpl; }, 5000)) << ReadBytes(wpl);

  // "All Files (*.*)" and a .txt name: M3U under that name.
  SendCommand(w, kCommandExport);
  dialog = WaitForProcessWindow(p.Id(), kExportTitle);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(FillFileDialog(dialog, out / L"mix.txt", 2));
  const std::wstring txt = out / L"mix.txt";
  ASSERT_TRUE(WaitUntil([&] { return FileExists(txt); }, 20000)) << "no mix.txt";
  const std::string expectedM3u = "#EXTM3U\r\n" + Utf8(one) + "\r\n" + Utf8(two) + "\r\n";
  EXPECT_TRUE(WaitUntil([&] { return ReadBytes(txt) == expectedM3u; }, 5000)) << ReadBytes(txt);
  EXPECT_FALSE(FileExists(out / L"mix.txt.m3u"));
  Close(w);
}

TEST_F(PlaylistE2E, FailedExportShowsTheErrorWithThePath) {
  HWND w = StartWith({});
  ASSERT_NE(w, nullptr);
  SendCommand(w, kCommandExport);
  HWND dialog = WaitForProcessWindow(p.Id(), kExportTitle);
  ASSERT_NE(dialog, nullptr);
  const std::wstring target = out / L"no such folder\\mix.m3u";
  ASSERT_TRUE(FillFileDialog(dialog, target, -1));
  HWND box = p.WaitForMessageBox(L"The playlist could not be written to");
  ASSERT_NE(box, nullptr) << "a failed export said nothing";
  const std::wstring text = TextOf(GetDlgItem(box, 0xFFFF));
  SaveScreenshot(L"playlist_export_failed");
  EXPECT_NE(text.find(target), std::wstring::npos) << text;
  EXPECT_TRUE(PressButton(box, IDOK));
  EXPECT_FALSE(FileExists(target));
  Close(w);
}

// Writes the playlist of the import tests: a relative path that exists and one that does not.
std::wstring WriteTripList(const TempFolder& media, const TempFolder& out) {
  const std::wstring list = out / L"Trip.m3u";
  std::wstring mediaName = media.Path().substr(media.Path().find_last_of(L'\\') + 1);
  // The lists and media folders are siblings under the same parent.
  const std::string body = "#EXTM3U\r\n#EXTINF:1,One\r\n..\\" + Utf8(mediaName) + "\\one.wav\r\n..\\" +
                           Utf8(mediaName) + "\\gone.wav\r\n";
  return WriteBytesFile(list, body) ? list : std::wstring();
}

bool SameParent(const std::wstring& a, const std::wstring& b) {
  return a.substr(0, a.find_last_of(L'\\')) == b.substr(0, b.find_last_of(L'\\'));
}

TEST_F(PlaylistE2E, ImportOfARelativeAndAMissingEntryAddsOneAndSaysOneWasSkipped) {
  ASSERT_TRUE(SameParent(media.Path(), out.Path()));
  ASSERT_TRUE(WriteToneWav(media / L"one.wav", 200));
  const std::wstring list = WriteTripList(media, out);
  ASSERT_FALSE(list.empty());
  HWND w = StartWith({});
  ASSERT_NE(w, nullptr);

  SendCommand(w, kCommandImport);
  HWND dialog = WaitForProcessWindow(p.Id(), kImportTitle);
  ASSERT_NE(dialog, nullptr) << "no open dialog";
  ASSERT_TRUE(FillFileDialog(dialog, list, -1));
  HWND question = p.WaitForMessageBox(kNewListQuestion);
  ASSERT_NE(question, nullptr);
  ASSERT_TRUE(PressButton(question, IDYES));
  HWND note = p.WaitForMessageBox(L"skipped");
  ASSERT_NE(note, nullptr) << "no note about the skipped entry";
  EXPECT_EQ(TextOf(GetDlgItem(note, 0xFFFF)), L"1 added, 1 skipped (missing, or not audio or video).");
  SaveScreenshot(L"playlist_import_note");
  ASSERT_TRUE(PressButton(note, IDOK));

  RemoteListView rows(p.Id(), GetDlgItem(w, kListView));
  EXPECT_EQ(rows.Column(1), std::vector<std::wstring>{media / L"one.wav"});
  Close(w);
  const auto ini = ReadUtf16Ini(appData.IniPath());
  ASSERT_TRUE(ini.has_value());
  const auto names = IniValue(*ini, L"Program", L"m_PlayList");
  ASSERT_TRUE(names.has_value());
  EXPECT_NE(names->find(L"Trip New playlist"), std::wstring::npos) << *names;
}

// A second start with a playlist, as a double click in Explorer gives it:
// the running copy imports it into a new list named after the file.
TEST_F(PlaylistE2E, PlaylistForwardedByASecondStartIsImported) {
  ASSERT_TRUE(WriteToneWav(media / L"one.wav", 200));
  const std::wstring list = WriteTripList(media, out);
  ASSERT_FALSE(list.empty());
  HWND w = StartWith({});
  ASSERT_NE(w, nullptr);

  Process second;
  ASSERT_TRUE(second.Start(SorvaneExe(), L"\"" + list + L"\""));
  HWND question = p.WaitForMessageBox(kNewListQuestion);
  ASSERT_NE(question, nullptr) << "the forwarded playlist was not imported";
  ASSERT_TRUE(PressButton(question, IDYES));
  HWND note = p.WaitForMessageBox(L"1 added, 1 skipped");
  ASSERT_NE(note, nullptr);
  ASSERT_TRUE(PressButton(note, IDOK));
  ASSERT_TRUE(second.WaitForExit(60000).has_value()) << "the second copy did not end";

  RemoteListView rows(p.Id(), GetDlgItem(w, kListView));
  EXPECT_EQ(rows.Column(1), std::vector<std::wstring>{media / L"one.wav"});
  EXPECT_EQ(TextOf(GetDlgItem(w, 1000)).rfind(L"Trip New playlist ", 0), 0u) << TextOf(GetDlgItem(w, 1000));
  EXPECT_EQ(p.WaitForMessageBox(L"Should duplicate files be skipped?", 300), nullptr);
  Close(w);
}

// The drag runs on a thread of its own: the program asks its question while
// handling the drop, and the drag ends only after that.
struct DragJob {
  POINT at;
  std::wstring path;
  HRESULT result = E_PENDING;
};

DWORD WINAPI RunDrag(void* p) {
  auto* job = static_cast<DragJob*>(p);
  if (FAILED(OleInitialize(nullptr))) return 1;
  job->result = DragFilesTo(job->at, {job->path});
  OleUninitialize();
  return 0;
}

TEST_F(PlaylistE2E, PlaylistDroppedFromAnotherProgramIsImported) {
  ASSERT_TRUE(WriteToneWav(media / L"one.wav", 200));
  ASSERT_TRUE(WriteToneWav(media / L"first.wav", 200));
  const std::wstring list = WriteTripList(media, out);
  ASSERT_FALSE(list.empty());
  HWND w = StartWith({media / L"first.wav"});
  ASSERT_NE(w, nullptr);
  HWND view = GetDlgItem(w, kListView);
  SetForegroundWindow(w);
  const RECT r = WindowRect(view);

  DragJob job{{(r.left + r.right) / 2, r.bottom - 10}, list};
  HANDLE thread = CreateThread(nullptr, 0, RunDrag, &job, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  HWND question = p.WaitForMessageBox(kNewListQuestion);
  EXPECT_NE(question, nullptr) << "the dropped playlist was not imported";
  if (question) EXPECT_TRUE(PressButton(question, IDNO));
  HWND note = question ? p.WaitForMessageBox(L"1 skipped") : nullptr;
  EXPECT_NE(note, nullptr);
  if (note) EXPECT_TRUE(PressButton(note, IDOK));
  EXPECT_EQ(WaitForSingleObject(thread, 30000), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(thread);
  EXPECT_EQ(job.result, DRAGDROP_S_DROP);

  RemoteListView rows(p.Id(), view);
  const std::vector<std::wstring> expected{media / L"first.wav", media / L"one.wav"};
  EXPECT_TRUE(WaitUntil([&] { return rows.Count() == 2; }, 10000));
  EXPECT_EQ(rows.Column(1), expected);
  Close(w);
}

}  // namespace
