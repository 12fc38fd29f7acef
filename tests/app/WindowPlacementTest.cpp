#include <gtest/gtest.h>

#include <climits>

#include "app/WindowPlacement.h"

namespace tesvarin {

// Found by the test framework through the type's namespace.
void PrintTo(const TBounds& B, std::ostream* Os) {
  *Os << "{" << B.Left << ", " << B.Top << ", " << B.Width << "x" << B.Height << "}";
}

namespace {

TEST(WindowPlacement, AFirstStartIsCentredAtAComfortableSizeNeverLargerThanTheScreen) {
  struct TCase {
    TBounds Area, Expected;
  };
  const TCase Cases[] = {
      {{0, 0, 1920, 1080}, {410, 165, 1100, 750}},
      {{0, 27, 1280, 773}, {90, 38, 1100, 750}},  // below a top panel
      {{0, 0, 1024, 600}, {0, 0, 1024, 600}},     // a small screen is filled, not overrun
      {{1920, 0, 1280, 1024}, {2010, 137, 1100, 750}},
  };
  for (const TCase& K : Cases) EXPECT_EQ(FirstStartBounds(K.Area), K.Expected);
}

TEST(WindowPlacement, SavedBoundsArePulledBackOntoTheScreen) {
  const TBounds Screen{0, 0, 1280, 800};
  struct TCase {
    const char* Why;
    TBounds Saved, Expected;
  };
  const TCase Cases[] = {
      {"fits: kept", {100, 50, 900, 600}, {100, 50, 900, 600}},
      {"off to the right", {1000, 50, 900, 600}, {380, 50, 900, 600}},
      {"above the top", {100, -300, 900, 600}, {100, 0, 900, 600}},
      {"from a larger screen", {200, 100, 2400, 1300}, {0, 0, 1280, 800}},
      {"absurd", {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, {0, 0, 1280, 800}},
      {"absurd the other way", {INT_MAX, INT_MAX, INT_MIN, -5}, {880, 500, 400, 300}},
      {"too small to use", {10, 10, 20, 0}, {10, 10, 400, 300}},
  };
  for (const TCase& K : Cases) {
    SCOPED_TRACE(K.Why);
    EXPECT_EQ(FitOnScreens(K.Saved, {Screen}), K.Expected);
  }
  // A screen smaller than the least size is filled.
  EXPECT_EQ(FitInArea({5, 5, 100, 100}, {0, 0, 320, 200}), (TBounds{0, 0, 320, 200}));
}

TEST(WindowPlacement, TheScreenTheWindowMostlyLiesOnIsTheOneItIsFittedTo) {
  const std::vector<TBounds> Screens{{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}};
  // Mostly on the second screen, hanging off its right edge.
  EXPECT_EQ(FitOnScreens({2500, 100, 1000, 700}, Screens), (TBounds{2200, 100, 1000, 700}));
  // On no screen (a screen that was unplugged): the primary one.
  EXPECT_EQ(FitOnScreens({5000, 100, 800, 600}, Screens), (TBounds{1120, 100, 800, 600}));
  // No screen known: as saved.
  EXPECT_EQ(FitOnScreens({5000, 100, 800, 600}, {}), (TBounds{5000, 100, 800, 600}));
}

}  // namespace
}  // namespace tesvarin
