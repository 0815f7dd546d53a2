// The media keys reaching the main window: application commands and the hot
// keys, which are taken only where no other window holds them.
#include "desktop/win/media_keys_part.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "app/win/main_window.h"
#include "desktop/media_keys.h"
#include "language/language_store.h"
#include "playback/sequencer.h"

#include "main_window_fixture.h"

namespace sorvane::win {
namespace {

struct CommandLog : MainWindowPart {
  explicit CommandLog(std::vector<int>& c) : commands(c) {}
  bool OnMessage(PartHost&, UINT m, WPARAM wParam, LPARAM, LRESULT&) override {
    if (m == WM_COMMAND) commands.push_back(LOWORD(wParam));
    return false;
  }
  std::vector<int>& commands;
};

class MediaKeysTest : public MainWindowFixture {
 protected:
  MediaKeysTest() : MainWindowFixture(L"media_keys_test_") {}
};

TEST_F(MediaKeysTest, KeysBecomePlayerCommandsAndAKeyHeldElsewhereStaysThere) {
  Languages().Load(u"\uFEFF##\r\n19=Sorvane 1.01\r\n##\r\n##\r\n##=English\tEnglish\r\n##\r\n");
  // Another program's window holds the Stop key already.
  HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(other, nullptr);
  ASSERT_TRUE(RegisterHotKey(other, 1, MOD_NOREPEAT, VK_MEDIA_STOP));

  std::vector<int> commands;
  bool playing = false;
  MainWindow window;
  auto part = std::make_unique<MediaKeysPart>([&playing] { return playing; });
  MediaKeysPart& keys = *part;
  window.AddPart(std::move(part));
  window.AddPart(std::make_unique<CommandLog>(commands));
  ASSERT_NE(window.Create(GetModuleHandleW(nullptr)), nullptr);
  HWND w = window.Window();
  const std::vector<UINT>& registered = keys.RegisteredKeys();
  EXPECT_EQ(std::count(registered.begin(), registered.end(), VK_MEDIA_STOP), 0) << "taken from its holder";
  EXPECT_EQ(std::count(registered.begin(), registered.end(), VK_MEDIA_NEXT_TRACK), 1);

  struct Case {
    int appCommand;
    bool playing;
    int expected;  // 0: nothing sent
  };
  const Case cases[] = {
      {APPCOMMAND_MEDIA_PLAY_PAUSE, false, kPlayCmdPlay}, {APPCOMMAND_MEDIA_PLAY_PAUSE, true, kPlayCmdPlay},
      {APPCOMMAND_MEDIA_PLAY, true, 0},                    {APPCOMMAND_MEDIA_PLAY, false, kPlayCmdPlay},
      {APPCOMMAND_MEDIA_PAUSE, false, 0},                  {APPCOMMAND_MEDIA_PAUSE, true, kPlayCmdPause},
      {APPCOMMAND_MEDIA_STOP, true, kPlayCmdStop},         {APPCOMMAND_MEDIA_NEXTTRACK, true, kPlayCmdMenuNext},
      {APPCOMMAND_MEDIA_PREVIOUSTRACK, true, kPlayCmdMenuPrevious},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.appCommand << " playing " << c.playing);
    commands.clear();
    playing = c.playing;
    const LRESULT answer = SendMessageW(w, WM_APPCOMMAND, reinterpret_cast<WPARAM>(w),
                                        MAKELPARAM(0, c.appCommand | FAPPCOMMAND_KEY));
    EXPECT_EQ(answer, TRUE);
    EXPECT_EQ(commands, c.expected ? std::vector<int>{c.expected} : std::vector<int>{});
  }
  // A command that is not ours is left to the system.
  commands.clear();
  SendMessageW(w, WM_APPCOMMAND, reinterpret_cast<WPARAM>(w), MAKELPARAM(0, APPCOMMAND_BROWSER_BACKWARD));
  EXPECT_TRUE(commands.empty());

  // The hot key of Next, as the system delivers it while the window is in the background.
  commands.clear();
  SendMessageW(w, WM_HOTKEY, 0x5300 + VK_MEDIA_NEXT_TRACK, MAKELPARAM(0, VK_MEDIA_NEXT_TRACK));
  EXPECT_EQ(commands, std::vector<int>{kPlayCmdMenuNext});

  SendMessageW(w, WM_COMMAND, 32916, 0);  // Exit gives the keys back
  EXPECT_TRUE(RegisterHotKey(other, 2, MOD_NOREPEAT, VK_MEDIA_NEXT_TRACK)) << "the key was not given back";
  UnregisterHotKey(other, 1);
  UnregisterHotKey(other, 2);
  DestroyWindow(other);
}

}  // namespace
}  // namespace sorvane::win
