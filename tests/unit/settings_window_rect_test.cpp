#include <gtest/gtest.h>

#include "app/window_rect.h"

namespace sorvane {
namespace {

struct RectCase {
  TextView text;
  int screenW, screenH;
  std::optional<WindowRect> expected;
};

TEST(SettingsWindowRect, FitsTheStoredRectangleToTheScreen) {
  const RectCase cases[] = {
      {u"10,10,20,20", 1024, 768, WindowRect{10, 10, 610, 410}},        // grown to 600 x 400
      {u"-50,0,700,500", 1024, 768, WindowRect{0, 0, 750, 500}},        // shifted right, size kept
      {u"-50,0,700,500", 1920, 1080, WindowRect{0, 0, 750, 500}},
      {u"0,0,1900,1000", 1024, 768, WindowRect{0, 0, 819, 614}},        // at most 80 % of the screen
      {u"900,700,1500,1100", 1024, 768, WindowRect{424, 368, 1024, 768}},  // shifted back onto the screen
      {u"-900,-700,-100,-100", 1024, 768, WindowRect{0, 0, 800, 600}},  // wholly off the screen: shifted in, never inverted
      {u"-1500,100,-700,700", 1024, 768, WindowRect{0, 100, 800, 700}},
      {u"-1500,100,-700,700", 1920, 1080, WindowRect{0, 100, 800, 700}},
      {u"-32000,-32000,-31840,-31972", 1024, 768, WindowRect{0, 0, 600, 400}},  // a minimised window's icon
      {u"3000,2000,3800,2600", 1024, 768, WindowRect{224, 168, 1024, 768}},    // off the right and the bottom
      {u"10,10,20,20", 500, 300, WindowRect{0, 0, 600, 400}},                  // a screen smaller than the least size
      {u" 1, +2, 700,500", 1024, 768, WindowRect{1, 2, 700, 500}},      // blanks and signs as "%d" reads them
      {u"1,2,3", 1024, 768, std::nullopt},
      {u"1,2,3,x", 1024, 768, std::nullopt},
      {u"1 ,2,3,4", 1024, 768, std::nullopt},
      {u"", 1024, 768, std::nullopt},
      {u"2147483647,0,-2147483648,5", 1024, 768, WindowRect{424, 0, 1024, 400}},  // no overflow
  };
  for (const auto& c : cases) {
    const auto got = FitWindowRect(c.text, c.screenW, c.screenH);
    ASSERT_EQ(got.has_value(), c.expected.has_value()) << ToUtf8(c.text);
    if (got) {
      EXPECT_GT(got->right, got->left) << ToUtf8(c.text);
      EXPECT_GT(got->bottom, got->top) << ToUtf8(c.text);
      EXPECT_EQ(got->left, c.expected->left) << ToUtf8(c.text);
      EXPECT_EQ(got->top, c.expected->top) << ToUtf8(c.text);
      EXPECT_EQ(got->right, c.expected->right) << ToUtf8(c.text);
      EXPECT_EQ(got->bottom, c.expected->bottom) << ToUtf8(c.text);
    }
  }
}

TEST(SettingsWindowRect, ShortStoredTextsAreIgnored) {
  EXPECT_FALSE(StoredWindowRect(u"0,0,0,0", 1024, 768));
  EXPECT_FALSE(StoredWindowRect(u"10,1,2,20", 1024, 768));  // 9 characters
  EXPECT_EQ(StoredWindowRect(u"10,10,20,20", 1024, 768), (WindowRect{10, 10, 610, 410}));
}

}  // namespace
}  // namespace sorvane
