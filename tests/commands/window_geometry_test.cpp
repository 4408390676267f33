// Fitting a stored window into the screen, and the size of a first start.
#include "commands/window_geometry.h"

#include <gtest/gtest.h>

namespace vendil {
namespace {

const ScreenRect kScreen{0, 0, 1280, 800};

TEST(WindowGeometry, AStoredPlaceIsPulledWhollyIntoTheScreen) {
  // Already inside: unchanged.
  EXPECT_EQ(FitIntoArea({100, 50, 640, 480}, kScreen, 300, 200), (ScreenRect{100, 50, 640, 480}));
  // At the right and bottom edges, 99 by 52 pixels showing: moved in, size kept.
  EXPECT_EQ(FitIntoArea({1181, 748, 640, 480}, kScreen, 300, 200),
            (ScreenRect{640, 320, 640, 480}));
  // Left of and above the screen, or on a screen that is gone.
  EXPECT_EQ(FitIntoArea({-600, -30, 640, 480}, kScreen, 300, 200), (ScreenRect{0, 0, 640, 480}));
  EXPECT_EQ(FitIntoArea({3000, 2000, 640, 480}, kScreen, 300, 200),
            (ScreenRect{640, 320, 640, 480}));
  // Larger than the screen: shrunk to it.
  EXPECT_EQ(FitIntoArea({20, 20, 4000, 3000}, kScreen, 300, 200), (ScreenRect{0, 0, 1280, 800}));
  // Smaller than the minimum: grown to it.
  EXPECT_EQ(FitIntoArea({10, 10, 50, 40}, kScreen, 300, 200), (ScreenRect{10, 10, 300, 200}));
}

TEST(WindowGeometry, TheAreaMayStartAnywhere) {
  // A second screen to the right, below a panel 30 pixels high.
  const ScreenRect right{1280, 30, 1920, 1050};
  EXPECT_EQ(FitIntoArea({1200, 0, 800, 600}, right, 300, 200), (ScreenRect{1280, 30, 800, 600}));
  // A screen smaller than the minimum wins over the minimum: nothing may lie off it.
  EXPECT_EQ(FitIntoArea({0, 0, 800, 600}, {0, 0, 250, 150}, 300, 200),
            (ScreenRect{0, 0, 250, 150}));
}

TEST(WindowGeometry, AFirstStartTakesTwoThirdsWidenedForTheColumns) {
  EXPECT_EQ(FirstStartRect({0, 0, 1920, 1080}, 900, 0, 300, 200),
            (ScreenRect{320, 180, 1280, 720}));
  // Columns wider than two thirds: wider, still centred.
  EXPECT_EQ(FirstStartRect({0, 0, 1200, 900}, 1000, 0, 300, 200),
            (ScreenRect{100, 150, 1000, 600}));
  // Wider than the screen: the screen's width.
  EXPECT_EQ(FirstStartRect({0, 24, 800, 576}, 1000, 0, 300, 200), (ScreenRect{0, 120, 800, 384}));
}

TEST(WindowGeometry, AFirstStartLeavesRoomForTheStartPageWhereThereIsSome) {
  // The window and the 368 pixels beside it are centred together.
  EXPECT_EQ(FirstStartRect({0, 0, 1280, 640}, 900, 368, 300, 200), (ScreenRect{6, 107, 900, 426}));
  EXPECT_EQ(FirstStartRect({0, 0, 1920, 1080}, 900, 368, 300, 200),
            (ScreenRect{136, 180, 1280, 720}));
  // No room: the window alone is centred and the start page finds its own place.
  EXPECT_EQ(FirstStartRect({0, 0, 1000, 700}, 900, 368, 300, 200), (ScreenRect{50, 117, 900, 466}));
}

}  // namespace
}  // namespace vendil
