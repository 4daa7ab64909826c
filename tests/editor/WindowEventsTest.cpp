// The editor's key numbers and wheel notches for the system's raw input.
#include "editor/core/WindowEvents.h"

#include <gtest/gtest.h>

TEST(WindowEvents, VirtualKeysMapToTheEditorsKeyNumbers)
{
  const struct
  {
    int virtualKey;
    int key;
  } cases[] = {
      {32, 0},  {38, 1},   {40, 2},   {37, 3},  {39, 4},  // space and the arrows
      {48, 5},  {53, 10},  {57, 14},                      // the digits
      {65, 15}, {77, 27},  {90, 40},                      // the letters
      {97, 15}, {105, 23}, {122, 40},                     // the numeric pad's "1" onwards
      {13, -1}, {27, -1},  {33, -1},  {36, -1}, {41, -1}, // Enter, Escape, page up, home
      {47, -1}, {58, -1},  {64, -1},  {91, -1}, {96, -1}, {123, -1}, {0, -1}, {255, -1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WindowEvents::KeyNumber(c.virtualKey), c.key) << "virtual key " << c.virtualKey;
}

TEST(WindowEvents, WheelDeltasGiveWholeNotchesTowardsZero)
{
  const struct
  {
    int delta;
    int notches;
  } cases[] = {{120, 1}, {240, 2}, {60, 0}, {119, 0}, {-120, -1}, {-60, 0}, {-360, -3}, {0, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(WindowEvents::WheelNotches(c.delta), c.notches) << "delta " << c.delta;
}
