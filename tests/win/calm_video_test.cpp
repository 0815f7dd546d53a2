// The calm surface over the video area: there from the start, in the video's
// place, clicks falling through to the video, and the titles it shows.
#include "playback/win/calm_video.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "app/win/main_window.h"
#include "app/win/main_window_parts.h"
#include "language/language_store.h"
#include "playback/win/playback_part.h"

#include "main_window_fixture.h"

namespace sorvane::win {
namespace {

class CalmVideoTest : public MainWindowFixture {
 protected:
  CalmVideoTest() : MainWindowFixture(L"calm_video_test_") {}
};

TEST(MediaTitle, LastPartWithoutExtension) {
  EXPECT_EQ(MediaTitleFromPath(u"C:\\music\\Night Drive.mp3"), u"Night Drive");
  EXPECT_EQ(MediaTitleFromPath(u"http://host/a/b.c/clip.webm"), u"clip");
  EXPECT_EQ(MediaTitleFromPath(u"D:\\x\\.hidden"), u".hidden");
  EXPECT_EQ(MediaTitleFromPath(u"D:\\folder\\"), u"folder");
  EXPECT_EQ(MediaTitleFromPath(u""), u"");
}

TEST_F(CalmVideoTest, SurfaceLiesOverTheVideoWhileNothingPlaysAndLetsClicksThrough) {
  Languages().Load(u"\uFEFF##\r\n19=Sorvane 1.01\r\n##\r\n##\r\n##=English\tEnglish\r\n##\r\n");
  MainWindow window;
  PlayerParts player = AddPlayerParts(window);
  auto part = std::make_unique<CalmVideoPart>(player.playback->Panel());
  CalmVideoSurface& surface = part->Surface();
  window.AddPart(std::move(part));
  ASSERT_NE(window.Create(GetModuleHandleW(nullptr)), nullptr);
  HWND w = window.Window();
  // Before the window shows: the surface is already in place.
  HWND video = player.playback->Panel().VideoWindow();
  ASSERT_NE(video, nullptr);
  ASSERT_NE(surface.Window(), nullptr);
  EXPECT_TRUE(surface.Calm());
  EXPECT_TRUE(surface.Title().empty());
  ShowWindow(w, SW_SHOW);
  const auto screenRect = [](HWND h) {
    RECT r{};
    GetWindowRect(h, &r);
    return r;
  };
  RECT v = screenRect(video), s = screenRect(surface.Window());
  EXPECT_TRUE(EqualRect(&v, &s));
  EXPECT_EQ(SendMessageW(surface.Window(), WM_NCHITTEST, 0, MAKELPARAM(s.left + 2, s.top + 2)), HTTRANSPARENT);

  // The video window moves (a new layout): the surface follows it.
  RECT client{};
  GetClientRect(w, &client);
  SetWindowPos(w, nullptr, 0, 0, (client.right + 200), (client.bottom + 120), SWP_NOMOVE | SWP_NOZORDER);
  v = screenRect(video);
  s = screenRect(surface.Window());
  EXPECT_TRUE(EqualRect(&v, &s));

  // A medium without a picture: the surface stays and names it. The fake reports no width.
  surface.Show(true, u"Night Drive");
  EXPECT_EQ(surface.Title(), u"Night Drive");
  // A picture: the control shows.
  surface.Show(false, u"Night Drive");
  EXPECT_FALSE(surface.Calm());
  // Hidden with the video window (compact mode hides and moves it).
  surface.Show(true, u"x");
  ShowWindow(video, SW_HIDE);
  EXPECT_FALSE(surface.Calm());
}

}  // namespace
}  // namespace sorvane::win
