// Playlist files under the Win32 layer: the writer's failures and their
// message, Export of the shown list, and Import into a new or the shown list
// through the adding flow, by command, drop and command line.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../unit/fake_list_storage.h"
#include "drop_files.h"
#include "framework/win/wintext.h"
#include "list_host.h"
#include "medialist/list_persistence.h"
#include "medialist/playlist_writer.h"
#include "medialist/win/media_adder.h"
#include "medialist/win/playlist_commands.h"
#include "medialist/win/playlist_file_win.h"

namespace sorvane::win {
namespace {

using sorvane::win::testing::ListHost;

// A folder of its own, removed with everything in it.
class Folder {
 public:
  Folder() {
    wchar_t base[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, base);
    path_ = T(base) + u"sorvane_playlist_" + Format(u"%d_%d", {static_cast<int>(GetCurrentProcessId()),
                                                               static_cast<int>(GetTickCount() & 0xFFFFFF)});
    CreateDirectoryW(W(path_), nullptr);
  }
  ~Folder() {
    std::wstring from = ToWide(path_) + L'\0';
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = from.c_str();
    op.fFlags = FOF_NO_UI;
    SHFileOperationW(&op);
  }
  Text operator/(TextView name) const { return path_ + u"\\" + Text(name); }
  const Text& Path() const { return path_; }

 private:
  Text path_;
};

bool WriteFileBytes(const Text& path, const std::string& bytes) {
  HANDLE f = CreateFileW(W(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
  return ok && written == bytes.size();
}

std::string ReadAll(const Text& path) {
  std::string bytes;
  ReadPlaylistFile(path, bytes);
  return bytes;
}

std::vector<Text> FilesIn(const Text& folder) {
  std::vector<Text> names;
  WIN32_FIND_DATAW data;
  HANDLE find = FindFirstFileW(W(folder + u"\\*"), &data);
  if (find == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(T(data.cFileName));
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return names;
}

TEST(PlaylistFileWin, WritesAndReplacesWholeFilesAndLeavesNoTemporaryFile) {
  Folder folder;
  const Text path = folder / u"list.m3u";
  ASSERT_EQ(WritePlaylistFile(path, "first, longer content\r\n"), static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(WritePlaylistFile(path, "short"), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadAll(path), "short") << "the old content was not replaced whole";
  ASSERT_EQ(WritePlaylistFile(path, ""), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadAll(path), "");
  EXPECT_EQ(FilesIn(folder.Path()), std::vector<Text>{u"list.m3u"});

  // A name at the file system's limit leaves no room for a temporary name
  // beside it: the file is still written, in place.
  const Text longName = Text(250, u'n') + u".m3u";
  ASSERT_EQ(WritePlaylistFile(folder / longName, "long"), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadAll(folder / longName), "long");
}

TEST(PlaylistFileWin, FailuresAnswerTheSystemsReasonAndKeepTheOldFile) {
  Folder folder;
  const Text locked = folder / u"locked.m3u", readOnly = folder / u"readonly.wpl";
  ASSERT_TRUE(WriteFileBytes(locked, "old"));
  ASSERT_TRUE(WriteFileBytes(readOnly, "old"));
  ASSERT_TRUE(SetFileAttributesW(W(readOnly), FILE_ATTRIBUTE_READONLY));
  // Another program holds the file open and lets nobody write or replace it.
  HANDLE holder = CreateFileW(W(locked), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);

  struct Case {
    const char* name;
    Text path;
  };
  const std::vector<Case> cases = {
      {"missing folder", folder / u"no such folder\\x.m3u"},
      {"locked", locked},
      {"read-only", readOnly},
      {"a folder", folder.Path()},
  };
  for (const Case& c : cases) {
    const DWORD error = WritePlaylistFile(c.path, "new");
    EXPECT_NE(error, static_cast<DWORD>(ERROR_SUCCESS)) << c.name;
    const Text reason = SystemErrorText(error);
    EXPECT_FALSE(reason.empty()) << c.name;
    EXPECT_NE(reason.back(), u'\n') << c.name;
  }
  CloseHandle(holder);
  EXPECT_EQ(ReadAll(locked), "old");
  EXPECT_EQ(ReadAll(readOnly), "old");
  SetFileAttributesW(W(readOnly), FILE_ATTRIBUTE_NORMAL);
  std::vector<Text> left = FilesIn(folder.Path());
  EXPECT_EQ(left.size(), 2u) << "a temporary file was left behind";
  EXPECT_EQ(SystemErrorText(ERROR_PATH_NOT_FOUND).find(u"Error "), Text::npos) << "the system's words, not a number";
}

TEST(PlaylistFileWin, AnsiDecoderUsesTheSystemCodePage) {
  const std::string bytes = "caf\xE9";
  wchar_t expected[8] = {};
  const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), 4, expected, 8);
  EXPECT_EQ(DecodeAnsi(bytes), T(expected, static_cast<size_t>(n)));
  EXPECT_EQ(DecodeAnsi(""), u"");
}

// Media are the .wav files that exist; nothing else passes the probe.
class WavProber final : public EntryProber {
 public:
  bool Probe(const Text& path, ProbedFile& out) override {
    probed.push_back(path);
    if (path.size() < 4 || !EqualsIgnoreCase(TextView(path).substr(path.size() - 4), u".wav")) return false;
    if (GetFileAttributesW(W(path)) == INVALID_FILE_ATTRIBUTES) return false;
    out.isMedia = true;
    out.duration = u"00:01";
    return true;
  }
  std::vector<Text> probed;
};

class PlaylistCommandsTest : public ::testing::Test {
 protected:
  PlaylistCommandsTest()
      : host(storage), adder(GetModuleHandleW(nullptr), host.window, host.controller, &prober),
        commands(host.window, host.controller, [this] { return &adder; }) {
    storage.strings[Text(kListNamesKey)] = JoinListNames({u"Shown"});
    host.controller.Start();
    commands.tell = [this](const Text& text, const wchar_t* caption, UINT icon) {
      told.push_back(text);
      captions.push_back(T(caption));
      icons.push_back(icon);
    };
    adder.SetPlaylistOpener([this](const Text& path, bool ask) { return commands.ImportFile(path, ask); });
  }
  std::vector<Text> Paths() {
    std::vector<Text> out;
    for (int r = 0; r < host.controller.Rows().Count(); ++r) out.push_back(host.controller.Rows().Cell(r, 1));
    return out;
  }
  void AddRow(const Text& path) {
    MediaEntry e;
    e.text[1] = path;
    host.controller.Rows().Append(std::move(e));
  }

  sorvane::testing::FakeListStorage storage;
  ListHost host;
  WavProber prober;
  MediaAdder adder;
  PlaylistCommands commands;
  std::vector<Text> told, captions;
  std::vector<UINT> icons;
  Folder folder;
};

TEST_F(PlaylistCommandsTest, ExportWritesTheShownRowsInOrderSkippingEmptyOnes) {
  for (const char16_t* p : {u"C:\\b\\Tom & Jerry's.mp3", u"", u"D:\\\u97f3\u697d\\\U0001F3B5.wav"}) AddRow(p);
  CPlayList2026 expected;
  expected.Add(u"C:\\b\\Tom & Jerry's.mp3");
  expected.Add(u"D:\\\u97f3\u697d\\\U0001F3B5.wav");
  for (const char16_t* name : {u"Mix.WPL", u"mix.txt", u"mix.m3u"}) {
    const Text path = folder / name;
    ASSERT_EQ(commands.ExportTo(path), static_cast<DWORD>(ERROR_SUCCESS)) << ToUtf8(name);
    EXPECT_EQ(ReadAll(path), ToUtf8(expected.ToText(ExportFormatForPath(path)))) << ToUtf8(name);
  }
  EXPECT_NE(ReadAll(folder / u"Mix.WPL").find("&amp;"), std::string::npos);
  EXPECT_TRUE(told.empty());

  // An empty list still gives a file.
  host.controller.Rows().Clear();
  ASSERT_EQ(commands.ExportTo(folder / u"empty.m3u"), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(ReadAll(folder / u"empty.m3u"), "#EXTM3U\r\n");
}

TEST_F(PlaylistCommandsTest, FailedExportNamesThePathAndTheReason) {
  AddRow(u"C:\\a.mp3");
  const Text path = folder / u"missing\\out.m3u";
  const DWORD error = commands.ExportTo(path);
  ASSERT_NE(error, static_cast<DWORD>(ERROR_SUCCESS));
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find(path), Text::npos) << ToUtf8(told[0]);
  EXPECT_NE(told[0].find(SystemErrorText(error)), Text::npos) << ToUtf8(told[0]);
  EXPECT_EQ(captions[0], u"Export (M3U / WPL)");
  EXPECT_EQ(icons[0], static_cast<UINT>(MB_ICONERROR));
}

// The playlist of the import tests: a relative file, a missing one, a stream,
// a text file, a folder with two media files, a file: URL.
struct ImportFixture {
  explicit ImportFixture(const Folder& folder) {
    CreateDirectoryW(W(folder / u"media"), nullptr);
    CreateDirectoryW(W(folder / u"media\\album"), nullptr);
    CreateDirectoryW(W(folder / u"lists"), nullptr);
    for (const char16_t* name : {u"media\\one.wav", u"media\\album\\a.wav", u"media\\album\\b.wav",
                                 u"media\\notes.txt", u"media\\caf\u00e9.wav"})
      WriteFileBytes(folder / name, "x");
    playlist = folder / u"lists\\Road Trip.m3u";
    const std::string url = "file:///" + ToUtf8(folder.Path()) + "/media/caf%C3%A9.wav";
    WriteFileBytes(playlist, "#EXTM3U\r\n#EXTINF:1,One\r\n..\\media\\one.wav\r\n..\\media\\gone.wav\r\n"
                             "http://radio.example/live\r\n..\\media\\notes.txt\r\n..\\media\\album\r\n" +
                                 url + "\r\n");
    added = {folder / u"media\\one.wav", u"http://radio.example/live"};
    std::vector<Text> album{folder / u"media\\album\\a.wav", folder / u"media\\album\\b.wav"};
    added.insert(added.end(), album.begin(), album.end());
    added.push_back(folder / u"media\\caf\u00e9.wav");
  }
  Text playlist;
  std::vector<Text> added;  // in playlist order; the folder's two in either order
};

TEST_F(PlaylistCommandsTest, ImportIntoANewListNamedAfterThePlaylistCountsTheSkipped) {
  AddRow(u"C:\\already.mp3");
  ImportFixture fx(folder);
  host.answer = Answer::kYes;
  ASSERT_EQ(commands.ImportFile(fx.playlist, true), PlaylistOpen::kImported);
  ASSERT_EQ(host.asked.size(), 1u);
  EXPECT_EQ(host.asked[0], u"Should a new playlist be created?");
  std::vector<Text> paths = Paths();
  ASSERT_EQ(paths.size(), 5u);
  // A folder lists its files in the file system's order.
  if (paths[2] > paths[3]) std::swap(paths[2], paths[3]);
  EXPECT_EQ(paths, fx.added);
  const auto& names = host.controller.Session().Names();
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[1].rfind(u"Road Trip New playlist ", 0), 0u) << ToUtf8(names[1]);
  EXPECT_EQ(host.controller.Session().ShownListIndex(), 1);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_EQ(told[0], u"5 added, 2 skipped (missing, or not audio or video).");
  EXPECT_EQ(captions[0], u"Import (M3U / WPL)");
  // The missing file is never handed to the probe (no busy dialog for it).
  for (const Text& p : prober.probed) EXPECT_EQ(p.find(u"gone.wav"), Text::npos);
  // The new list was written at the end.
  EXPECT_NE(storage.ReadLongValue(ListSectionName(1)).find(u"one.wav"), Text::npos);
}

TEST_F(PlaylistCommandsTest, NoAddsToTheShownListAndCancelAddsNothing) {
  AddRow(u"C:\\already.mp3");
  ImportFixture fx(folder);
  host.answer = Answer::kCancel;
  EXPECT_EQ(commands.ImportFile(fx.playlist, true), PlaylistOpen::kCancelled);
  EXPECT_EQ(Paths(), std::vector<Text>{u"C:\\already.mp3"});
  EXPECT_TRUE(told.empty());
  EXPECT_EQ(host.controller.Session().ListCount(), 1);

  host.answer = Answer::kNo;
  EXPECT_EQ(commands.ImportFile(fx.playlist, true), PlaylistOpen::kImported);
  EXPECT_EQ(Paths().size(), 6u);
  EXPECT_EQ(Paths()[0], u"C:\\already.mp3");
  EXPECT_EQ(host.controller.Session().ListCount(), 1);
}

TEST_F(PlaylistCommandsTest, OnlyPlaylistFilesAreTakenAndAnUnreadableOneIsReported) {
  ImportFixture fx(folder);
  EXPECT_EQ(commands.ImportFile(folder / u"media\\one.wav", true), PlaylistOpen::kNotPlaylist);
  EXPECT_EQ(commands.ImportFile(folder / u"lists\\missing.m3u", true), PlaylistOpen::kNotPlaylist);
  CreateDirectoryW(W(folder / u"folder.m3u"), nullptr);
  EXPECT_EQ(commands.ImportFile(folder / u"folder.m3u", true), PlaylistOpen::kNotPlaylist);
  EXPECT_TRUE(host.asked.empty());

  // Held open by a program that shares nothing: the reason is shown.
  HANDLE holder = CreateFileW(W(fx.playlist), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  EXPECT_EQ(commands.ImportFile(fx.playlist, true), PlaylistOpen::kImported);
  CloseHandle(holder);
  ASSERT_EQ(told.size(), 1u);
  EXPECT_NE(told[0].find(fx.playlist), Text::npos);
  EXPECT_TRUE(host.asked.empty()) << "no question for a file that cannot be read";

  // A playlist without entries says so and asks nothing.
  WriteFileBytes(folder / u"lists\\empty.pls", "[playlist]\r\nNumberOfEntries=0\r\n");
  EXPECT_EQ(commands.ImportFile(folder / u"lists\\empty.pls", true), PlaylistOpen::kImported);
  EXPECT_TRUE(host.asked.empty());
  EXPECT_EQ(told.size(), 2u);
  EXPECT_TRUE(Paths().empty());
}

TEST_F(PlaylistCommandsTest, DroppedPlaylistIsImportedAndOtherDroppedFilesAreAdded) {
  ImportFixture fx(folder);
  host.answer = Answer::kNo;
  adder.OnListViewDrop({folder / u"media\\one.wav", fx.playlist});
  EXPECT_EQ(host.asked.size(), 1u);
  EXPECT_EQ(Paths().size(), 6u);
  EXPECT_EQ(Paths()[0], folder / u"media\\one.wav");

  // On the window outside the list: the first item.
  host.controller.Rows().Clear();
  adder.OnDropFiles(MakeDrop({fx.playlist}));
  EXPECT_EQ(host.asked.size(), 2u);
  EXPECT_EQ(Paths().size(), 5u);
}

TEST_F(PlaylistCommandsTest, CommandLinePlaylistIsImportedWithTheRestOfTheLine) {
  ImportFixture fx(folder);
  host.answer = Answer::kYes;
  adder.OpenFromCommandLine(u"Sorvane.exe \"" + fx.playlist + u"\" \"" + (folder / u"media\\one.wav") + u"\"");
  // One question, the playlist's; the new list holds its entries and the file after it.
  ASSERT_EQ(host.asked.size(), 1u);
  EXPECT_EQ(host.controller.Session().Names().back().rfind(u"Road Trip ", 0), 0u);
  const std::vector<Text> paths = Paths();
  ASSERT_EQ(paths.size(), 6u);
  EXPECT_EQ(paths.back(), folder / u"media\\one.wav");

  // A playlist after a media file joins the list the line fills, without a question of its own.
  host.asked.clear();
  host.answer = Answer::kNo;
  adder.OpenFromCommandLine(u"Sorvane.exe \"" + (folder / u"media\\one.wav") + u"\" \"" + fx.playlist + u"\"");
  EXPECT_EQ(host.asked.size(), 2u) << "the new-list question, then the duplicate question for one.wav";
}

}  // namespace
}  // namespace sorvane::win
