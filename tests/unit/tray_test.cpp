#include <gtest/gtest.h>

#include <optional>

#include "desktop/tray_events.h"
#include "desktop/tray_hide.h"
#include "desktop/tray_tip.h"

namespace sorvane {
namespace {

TEST(HideAnimation, DurationFromTheRegistryValues) {
  const struct {
    std::optional<uint32_t> user, defaultUser;
    uint32_t ms;
  } cases[] = {
      {std::nullopt, std::nullopt, 200},
      {0, std::nullopt, 200},
      {0, 0, 200},
      {350, std::nullopt, 350},
      {350, 120, 350},           // the user's value comes first
      {std::nullopt, 350, 350},  // else the default user's
      {0, 350, 350},             // 0 counts as absent
      {1, std::nullopt, 1},
      {1000, std::nullopt, 1000},
      {1001, std::nullopt, 1000},       // never longer than a second on the interface thread
      {0xFFFFFFFFu, std::nullopt, 1000},
      {std::nullopt, 0xFFFFFFFFu, 1000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.user.value_or(-1) << " / " << c.defaultUser.value_or(-1));
    EXPECT_EQ(HideAnimationMs(c.user, c.defaultUser), c.ms);
  }
}

constexpr ScreenRect kWork{0, 0, 1920, 1040};
constexpr ScreenRect kBottomBar{0, 1040, 1920, 1080};

TEST(HideAnimation, TargetRectangleTakesTheFirstThatApplies) {
  const struct {
    const char* name;
    TrayGeometry geometry;
    ScreenRect target;
  } cases[] = {
      {"notification area found",
       {ScreenRect{1700, 1040, 1850, 1080}, TaskbarPosition{TaskbarEdge::kBottom, kBottomBar}, kBottomBar, kWork},
       {1700, 1040, 1850, 1080}},
      {"bottom task bar",
       {std::nullopt, TaskbarPosition{TaskbarEdge::kBottom, kBottomBar}, kBottomBar, kWork},
       {1820, 1040, 1904, 1080}},
      {"top task bar",
       {std::nullopt, TaskbarPosition{TaskbarEdge::kTop, {0, 0, 1920, 40}}, std::nullopt, kWork},
       {1820, 0, 1904, 40}},
      {"left task bar",
       {std::nullopt, TaskbarPosition{TaskbarEdge::kLeft, {0, 0, 60, 1080}}, std::nullopt, kWork},
       {0, 980, 60, 1064}},
      {"right task bar",
       {std::nullopt, TaskbarPosition{TaskbarEdge::kRight, {1860, 0, 1920, 1080}}, std::nullopt, kWork},
       {1860, 980, 1920, 1064}},
      {"task bar window only, wide and high",
       {std::nullopt, std::nullopt, ScreenRect{0, 1000, 1920, 1080}, kWork},
       {1770, 1050, 1920, 1080}},
      {"task bar window only, exactly 150 wide and 30 high: kept",
       {std::nullopt, std::nullopt, ScreenRect{100, 200, 250, 230}, kWork},
       {100, 200, 250, 230}},
      {"task bar window only, 151 wide and 31 high: cut",
       {std::nullopt, std::nullopt, ScreenRect{100, 200, 251, 231}, kWork},
       {101, 201, 251, 231}},
      {"nothing found: work area corner",
       {std::nullopt, std::nullopt, std::nullopt, ScreenRect{0, 0, 1280, 984}},
       {1130, 954, 1280, 984}},
      {"empty notification area is passed over",
       {ScreenRect{0, 0, 0, 0}, std::nullopt, kBottomBar, kWork},
       {1770, 1050, 1920, 1080}},
      {"empty task bar rectangles are passed over",
       {std::nullopt, TaskbarPosition{TaskbarEdge::kBottom, {}}, ScreenRect{5, 5, 5, 40}, kWork},
       {1770, 1010, 1920, 1040}},
      {"work area on a second monitor at negative coordinates",
       {std::nullopt, std::nullopt, std::nullopt, ScreenRect{-1920, 0, 0, 1040}},
       {-150, 1010, 0, 1040}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(TrayTargetRect(c.geometry), c.target);
  }
}

TEST(HideAnimation, AppBarEdgeNumbers) {
  EXPECT_EQ(TaskbarEdgeFromAppBar(0), TaskbarEdge::kLeft);
  EXPECT_EQ(TaskbarEdgeFromAppBar(1), TaskbarEdge::kTop);
  EXPECT_EQ(TaskbarEdgeFromAppBar(2), TaskbarEdge::kRight);
  EXPECT_EQ(TaskbarEdgeFromAppBar(3), TaskbarEdge::kBottom);
  EXPECT_EQ(TaskbarEdgeFromAppBar(4), std::nullopt);
  EXPECT_EQ(TaskbarEdgeFromAppBar(0xFFFFFFFFu), std::nullopt);
}

TEST(TrayTip, NameWhileNothingPlaysTitleOtherwise) {
  EXPECT_EQ(TrayTipText(u""), u"Sorvane");
  EXPECT_EQ(TrayTipText(u" \t\r\n"), u"Sorvane");
  EXPECT_EQ(TrayTipText(u"Night Drive"), u"Night Drive");
  EXPECT_EQ(TrayTipText(u"  Night Drive \r\n"), u"Night Drive");
  // Tags with line breaks or a stray NUL would break or end the tip early.
  EXPECT_EQ(TrayTipText(u"Side A\r\nTrack 2"), u"Side A  Track 2");
  EXPECT_EQ(TrayTipText(Text(u"a\0b", 3)), u"a b");
}

TEST(TrayTip, CutTo127UnitsWithoutSplittingASurrogatePair) {
  const Text note = u"\U0001D11E";  // a pair of two units
  const struct {
    const char* name;
    Text title;
    Text tip;
  } cases[] = {
      {"127 fits", Text(127, u'a'), Text(127, u'a')},
      {"128 cut", Text(128, u'a'), Text(127, u'a')},
      {"long cut", Text(5000, u'a'), Text(127, u'a')},
      {"pair ends at 127", Text(125, u'a') + note + u"b", Text(125, u'a') + note},
      {"pair straddles 127", Text(126, u'a') + note, Text(126, u'a')},
      {"pair straddles, more after", Text(126, u'a') + note + u"tail", Text(126, u'a')},
      {"pair starts at 128", Text(127, u'a') + note, Text(127, u'a')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Text tip = TrayTipText(c.title);
    EXPECT_LE(tip.size(), kTrayTipMaxUnits);
    EXPECT_EQ(tip, c.tip);
  }
}

TEST(TrayIconEvents, ActionFromButtonAndWindowState) {
  using A = TrayIconAction;
  const struct {
    uint32_t message;
    bool visible, flyOut, collapsed;
    A action;
  } cases[] = {
      {kWmLButtonDown, false, false, false, A::kShowWindow},
      {kWmLButtonDown, true, false, false, A::kHideWindow},
      {kWmLButtonDown, true, true, true, A::kSlideOut},
      {kWmLButtonDown, true, true, false, A::kCollapse},
      {kWmLButtonDown, false, true, true, A::kShowAndSlideOut},
      {kWmLButtonDown, false, true, false, A::kShowAndSlideOut},
      {kWmLButtonDown, true, false, true, A::kHideWindow},  // collapsed means nothing outside fly-out
      {kWmRButtonDown, false, false, false, A::kTrayMenu},
      {kWmRButtonDown, true, true, true, A::kTrayMenu},
      {0x0202, false, false, false, A::kNone},  // left button up
      {0x0203, true, false, false, A::kNone},   // left double click
      {0x0205, true, false, false, A::kNone},   // right button up
      {0x0200, false, false, false, A::kNone},  // mouse move
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.message << " v" << c.visible << " f" << c.flyOut << " c"
                                    << c.collapsed);
    EXPECT_EQ(TrayIconActionFor(c.message, {c.visible, c.flyOut, c.collapsed}), c.action);
  }
}

TEST(TrayIconEvents, MouseMessageIsTheLowWordOfTheSecondParameter) {
  EXPECT_EQ(TrayMouseMessage(0x0201), kWmLButtonDown);
  EXPECT_EQ(TrayMouseMessage(0x00640204), kWmRButtonDown);  // icon id in the high word
  EXPECT_EQ(TrayMouseMessage(-1), 0xFFFFu);
}

TEST(TrayMenu, ProgramSubmenuExitAndTheProgramName) {
  const auto entries = TrayMenuEntries();
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].kind, TrayMenuEntryKind::kProgramSubmenu);
  EXPECT_EQ(entries[0].stringId, 67);
  EXPECT_EQ(entries[0].suffix, u"\t>>");
  EXPECT_EQ(entries[1].kind, TrayMenuEntryKind::kSeparator);
  EXPECT_EQ(entries[2].kind, TrayMenuEntryKind::kCommand);
  EXPECT_EQ(entries[2].id, 32916);
  EXPECT_EQ(entries[2].english, u"E&xit");
  EXPECT_EQ(entries[3].kind, TrayMenuEntryKind::kSeparator);
  EXPECT_EQ(entries[4].kind, TrayMenuEntryKind::kAppInfo);
  EXPECT_EQ(entries[4].id, 32921);
}

}  // namespace
}  // namespace sorvane
