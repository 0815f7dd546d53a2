#include <gtest/gtest.h>

#include "playback/panel_layout.h"
#include "playback/panel_menus.h"
#include "playback/panel_texts.h"

namespace sorvane {
namespace {

constexpr int kIcon = 32;  // h 28, t 12, g 6

TEST(LayoutPanel, Width300KeepsNarrowPositionSliderAndPlacesTimeText) {
  const auto l = LayoutPanel(0, 0, 300, 400, kIcon);
  ASSERT_TRUE(l.video.has_value());
  EXPECT_EQ(*l.video, (PanelRect{0, 0, 300, 332}));  // y1 = 400 - 2 * (28 + 6)
  EXPECT_EQ(l.play, (PanelRect{10, 338, 30, 28}));
  EXPECT_EQ(l.mute, (PanelRect{115, 338, 30, 28}));
  EXPECT_EQ(l.volumeSlider, (PanelRect{155, 338, 120, 28}));
  EXPECT_EQ(l.volumeText, (PanelRect{275, 343, 120, 12}));
  EXPECT_EQ(l.next, (PanelRect{115, 372, 30, 28}));
  EXPECT_FALSE(l.positionSlider.has_value());  // 35 wide is too narrow
  EXPECT_EQ(l.timeText, (PanelRect{200, 377, 150, 20}));
}

TEST(LayoutPanel, WidePanelMovesPositionSlider) {
  const auto l = LayoutPanel(0, 0, 600, 400, kIcon);
  ASSERT_TRUE(l.positionSlider.has_value());
  EXPECT_EQ(*l.positionSlider, (PanelRect{155, 372, 335, 28}));
  EXPECT_EQ(l.timeText.x, 500);
  EXPECT_EQ(l.volumeSlider.width, 120);
}

TEST(LayoutPanel, LowPanelLeavesVideoAlone) {
  // y1 - top is exactly 100: not moved; one pixel more: moved.
  EXPECT_FALSE(LayoutPanel(0, 0, 300, 168, kIcon).video.has_value());
  EXPECT_TRUE(LayoutPanel(0, 0, 300, 169, kIcon).video.has_value());
  EXPECT_FALSE(LayoutPanel(0, 0, 300, 20, kIcon).video.has_value());
}

TEST(LayoutPanel, NarrowPanelPassesNonPositiveVolumeWidthOn) {
  const auto l = LayoutPanel(0, 0, 100, 400, kIcon);
  EXPECT_EQ(l.volumeSlider.width, -65);
  EXPECT_EQ(l.volumeText.x, 90);
}

TEST(PanelTexts, TimeAndSlider) {
  EXPECT_EQ(TimeText(30.2, 59), u"00:30 /  00:59");
  EXPECT_EQ(PositionPermille(30.2, 59), 511);
  // Minutes are not wrapped into hours.
  EXPECT_EQ(TimeText(4503.7, 4503), u"75:03 /  75:03");
  // Unknown duration: the slider stays, the text shows 00:00 as duration.
  EXPECT_EQ(PositionPermille(12.0, 0), std::nullopt);
  EXPECT_EQ(TimeText(12.9, 0), u"00:12 /  00:00");
  // The control may report a little past the end or garbage while loading.
  EXPECT_EQ(PositionPermille(61.0, 59), 1000);
  EXPECT_EQ(PositionPermille(-1.0, 59), 0);
  EXPECT_EQ(TimeText(-4.0, 59), u"00:00 /  00:59");
}

TEST(PanelTexts, Volume) {
  EXPECT_EQ(VolumeText(50), u"50 %");
  EXPECT_EQ(VolumeText(0), u"0 %");
}

TEST(PanelTexts, VolumeIsWrittenWheneverItDiffersFromTheStoredValue) {
  EXPECT_TRUE(ShouldWriteVolume(50, 80));  // a chosen 50 must replace an older 80
  EXPECT_TRUE(ShouldWriteVolume(80, 50));
  EXPECT_FALSE(ShouldWriteVolume(50, 50));
  EXPECT_FALSE(ShouldWriteVolume(35, 35));
}

TEST(PanelMenus, ItemTextsCarryTwoTabsAndTheGlyph) {
  const auto player = PlayerMenuItems();
  ASSERT_EQ(player.size(), 8u);
  EXPECT_EQ(player[3].command, 0);
  EXPECT_EQ(PanelMenuItemText(player[7], EnglishPanelLabel), u"Mute\t\t\U0001F507");
  const auto shuffle = ShuffleMenuItems();
  ASSERT_EQ(shuffle.size(), 5u);
  EXPECT_EQ(shuffle[3].command, 1312);
  EXPECT_EQ(PanelMenuItemText(shuffle[3], EnglishPanelLabel), u"Repeat Off\t\t");
  // A language without the text gives an empty label, not the id.
  EXPECT_EQ(PanelMenuItemText(shuffle[0], [](int) { return Text(); }), u"\t\t\U0001F500");
  EXPECT_EQ(PanelMenuItemText(shuffle[4], [](int id) { return id == 119 ? Text(u"Der Reihe nach") : Text(); }),
            u"Der Reihe nach\t\t\U0001F501");
}

}  // namespace
}  // namespace sorvane

#include "playback/volume_setting.h"
#include "settings_fake_file_system.h"

namespace sorvane {
namespace {

struct VolumeSettingTest : ::testing::Test {
  VolumeSettingTest() {
    fs.folders.insert(u"c:\\apps\\sorvane");
    store.SetIniPath(ini);
  }
  Text ini = u"C:\\Apps\\Sorvane\\Sorvane.ini";
  testing::FakeFileSystem fs;
  SettingsStore store{fs};
};

TEST_F(VolumeSettingTest, AChosenFiftyReplacesAnOlderStoredVolume) {
  ASSERT_TRUE(store.WriteInt(u"Sorvane", u"Volume", 80));
  EXPECT_EQ(LoadVolumeSetting(store), 80);
  EXPECT_TRUE(SaveVolumeSetting(store, 50));
  EXPECT_EQ(LoadVolumeSetting(store), 50);
  const int writes = fs.writes;
  EXPECT_FALSE(SaveVolumeSetting(store, 50));  // unchanged: no second write
  EXPECT_EQ(fs.writes, writes);
}

TEST_F(VolumeSettingTest, DefaultsAndRange) {
  EXPECT_EQ(LoadVolumeSetting(store), 50);
  EXPECT_FALSE(SaveVolumeSetting(store, 50));  // an absent key already loads as 50
  EXPECT_FALSE(fs.Has(ini));
  EXPECT_TRUE(SaveVolumeSetting(store, 0));
  EXPECT_EQ(LoadVolumeSetting(store), 0);
  ASSERT_TRUE(store.WriteString(u"Sorvane", u"Volume", u"250"));
  EXPECT_EQ(LoadVolumeSetting(store), 100);
  ASSERT_TRUE(store.WriteString(u"Sorvane", u"Volume", u"-3"));
  EXPECT_EQ(LoadVolumeSetting(store), 0);
  // A failed write is not reported as saved.
  fs.readOnly.insert(testing::FakeFileSystem::Key(ini));
  EXPECT_FALSE(SaveVolumeSetting(store, 40));
}

}  // namespace
}  // namespace sorvane
