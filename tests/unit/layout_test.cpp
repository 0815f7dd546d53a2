#include "app/main_window_geometry.h"

#include <gtest/gtest.h>

using namespace sorvane;

TEST(MainWindowLayout, ControlsFollowTheResizeByTheirRules) {
  Layout layout;
  layout.SetReferenceSize(600, 400);
  layout.Add(1033, Follow::kFixed, Follow::kGrows, {5, 45, 290, 260});
  layout.Add(1249, Follow::kGrows, Follow::kGrows, {300, 45, 590, 260});
  layout.Add(1000, Follow::kFixed, Follow::kMoves, {5, 265, 290, 290});
  layout.Add(1320, Follow::kGrows, Follow::kMoves, {310, 270, 580, 283});
  layout.Add(44500, Follow::kCentred, Follow::kMoves, {250, 370, 350, 390});

  struct Expect {
    int width, height;
    LayoutRect r1033, r1249, r1000, r1320, r44500;
  } cases[] = {
      {600, 400, {5, 45, 290, 260}, {300, 45, 590, 260}, {5, 265, 290, 290}, {310, 270, 580, 283},
       {250, 370, 350, 390}},
      // Wider and taller: only the panel and the status text widen.
      {800, 500, {5, 45, 290, 360}, {300, 45, 790, 360}, {5, 365, 290, 390}, {310, 370, 780, 383},
       {350, 470, 450, 490}},
      // Smaller than recorded: everything shrinks or moves back.
      {500, 350, {5, 45, 290, 210}, {300, 45, 490, 210}, {5, 215, 290, 240}, {310, 220, 480, 233},
       {200, 320, 300, 340}},
  };
  for (const Expect& e : cases) {
    const auto& items = layout.Items();
    EXPECT_EQ(layout.Place(items[0], e.width, e.height), e.r1033) << e.width;
    EXPECT_EQ(layout.Place(items[1], e.width, e.height), e.r1249) << e.width;
    EXPECT_EQ(layout.Place(items[2], e.width, e.height), e.r1000) << e.width;
    EXPECT_EQ(layout.Place(items[3], e.width, e.height), e.r1320) << e.width;
    EXPECT_EQ(layout.Place(items[4], e.width, e.height), e.r44500) << e.width;
  }
}

TEST(MainWindowLayout, ATinyWindowNeverGivesANegativeSize) {
  Layout layout;
  layout.SetReferenceSize(600, 400);
  layout.Add(1249, Follow::kGrows, Follow::kGrows, {300, 45, 590, 260});
  const LayoutRect r = layout.Place(layout.Items()[0], 100, 50);
  EXPECT_GE(r.Width(), 0);
  EXPECT_GE(r.Height(), 0);
}

TEST(MainWindowLayout, SizeLimits) {
  const SizeLimits l = MainWindowSizeLimits(287, 1280, 1024);
  EXPECT_EQ(l.minWidth, 717);  // 717.5 truncated
  EXPECT_EQ(l.minHeight, 400);
  EXPECT_EQ(l.maxWidth, 1024);
  EXPECT_EQ(l.maxHeight, 819);  // 819.2 truncated
}

TEST(MainWindowLayout, FirstPlacementIsHalfTheWorkAreaCentred) {
  EXPECT_EQ(CentredHalfOf({0, 0, 1280, 1024}), (LayoutRect{320, 256, 960, 768}));
  // A work area that does not start at the origin (task bar on top, second monitor).
  EXPECT_EQ(CentredHalfOf({1280, 30, 2561, 1024}), (LayoutRect{1600, 278, 2240, 775}));
  // The minimum size wins over half the work area and stays centred.
  EXPECT_EQ(CentredHalfOf({0, 0, 1280, 1024}, 716, 400), (LayoutRect{282, 256, 998, 768}));
  EXPECT_EQ(CentredHalfOf({0, 0, 1024, 700}, 716, 400), (LayoutRect{154, 150, 870, 550}));
}

TEST(MainWindowLayout, Title) {
  EXPECT_EQ(MainWindowTitle(u"Sorvane 1.01", false, false), u"Sorvane 1.01 ");
  EXPECT_EQ(MainWindowTitle(u"Sorvane 1.01", false, true), u"Sorvane 1.01 - Portable");
  EXPECT_EQ(MainWindowTitle(u"Sorvane 1.01", true, false), u"Sorvane 1.01 Admin");
  EXPECT_EQ(MainWindowTitle(u"Sorvane 1.01", true, true), u"Sorvane 1.01 Admin- Portable");
}
