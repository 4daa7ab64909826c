#include "effects/dynamics/DynShaper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

using Korvane::DynShaper;

// Expected values worked out from the window: half-width h = 0.125, centre
// h + (1 - b)(1 - 2h). b = 1 puts it on magnitudes 0..0.25 (open ends, peak bump 0.777
// at 0.125); b = 0.001 on 0.74925..0.99925 (centre 0.87425, peak bump 0.000777).
TEST(DynShaper, WindowShapesPolarityInvertAndModes)
{
  const double s45 = std::sin(std::numbers::pi / 4.0);
  const struct
  {
    int type, mode, polarity, invert;
    double b, a, expected;
  } cases[] = {
      {0, 0, 0, 0, 1.0, 0.125, 0.902},
      {0, 0, 0, 0, 1.0, 0.0625, 0.0625 + 0.777 * s45},
      {0, 0, 0, 0, 1.0, 0.25, 0.25},
      {0, 0, 0, 0, 0.001, 0.74, 0.74},
      {0, 0, 0, 0, 0.001, 0.87425, 0.875027},
      {0, 0, 0, 0, 0.001, 0.9995, 0.9995},
      {0, 0, 0, 0, 0.0, 0.125, 0.125},
      {1, 0, 0, 0, 1.0, 0.0625, 0.451},
      {1, 0, 0, 0, 1.0, -0.1875, -0.576},
      // The pulse fills the lower half of the window only (0 < f < 0.5).
      {2, 0, 0, 0, 1.0, 0.0625, 0.8395},
      {2, 0, 0, 0, 1.0, 0.125, 0.125},
      {2, 0, 0, 0, 1.0, 0.1875, 0.1875},
      {2, 0, 0, 0, 0.001, 0.8, 0.800777},
      // Polarity 1: positive half-waves only; 2: negative only.
      {0, 0, 1, 0, 1.0, -0.125, -0.125},
      {0, 0, 1, 0, 1.0, 0.125, 0.902},
      {0, 0, 2, 0, 1.0, 0.125, 0.125},
      {0, 0, 2, 0, 1.0, -0.125, -0.902},
      {0, 0, 0, 1, 1.0, 0.125, 0.125 - 0.777},
      // Modes 1 and 3: the bump times 4b, at most 1; inverted there is no lower limit,
      // so the magnitude goes through zero and the sign flips.
      {0, 1, 0, 0, 1.0, 0.125, 1.125},
      {0, 3, 0, 0, 1.0, 0.125, 1.125},
      {0, 1, 0, 0, 0.2, 0.725, 0.849320},
      {0, 1, 0, 1, 0.2, 0.725, 0.600680},
      {0, 1, 0, 1, 1.0, 0.125, -2.983},
      {0, 1, 0, 1, 1.0, -0.125, 2.983},
  };
  for (const auto& c : cases)
  {
    DynShaper shaper;
    shaper.setShapeType(c.type / 2.0);
    shaper.setShaperMode(c.mode / 3.0);
    shaper.setPolarity(c.polarity / 2.0);
    shaper.setInvert(c.invert);
    EXPECT_NEAR(shaper.shape(c.a, c.b), c.expected, 1e-12)
        << "type " << c.type << " mode " << c.mode << " polarity " << c.polarity << " invert "
        << c.invert << " b " << c.b << " a " << c.a;
  }
}

TEST(DynShaper, ProcessBoostsAndShapesWithTheSmoothedDriveScaledByEnvelopeAndFade)
{
  DynShaper shaper, reference;
  shaper.setAmount(-1.0);                                     // the knob value squared
  shaper.setAmount(std::numeric_limits<double>::quiet_NaN()); // refused
  EXPECT_EQ(shaper.getAmount(), 1.0);
  shaper.setShaperMode(2.0 / 3.0); // Boost Shaper
  reference.setShaperMode(2.0 / 3.0);
  std::array<double, 400> l{}, r{}, env{};
  for (int i = 0; i < 400; ++i)
  {
    l[i] = i == 0 ? 0.5 : 0.02 + 0.002 * (i % 100);
    r[i] = -l[i];
    env[i] = i < 200 ? 1.0 : 0.5;
  }
  const auto in = l;
  shaper.process(l.data(), r.data(), env.data(), 400);
  EXPECT_NEAR(l[0], 0.025, 1e-15); // b = 0.01: 0.5 boosted by 5b, below the window
  double s = 0.0;
  auto expected = [&](double x, double b)
  { return reference.shape(std::clamp(x * 5.0 * b, -1.0, 1.0), b); };
  for (int i = 0; i < 400; ++i)
  {
    s = 0.99 * s + 0.01;
    ASSERT_NEAR(l[i], expected(in[i], s * env[i]), 1e-12) << i;
    ASSERT_NEAR(r[i], -l[i], 1e-12) << i;
  }
  // Switched off, the fade scales the drive by 0.995, 0.99, ... instead of blending;
  // once faded out the block passes untouched.
  shaper.setBypass(true);
  double x[2] = {0.04, 0.04}, y[2] = {0.04, 0.04};
  shaper.process(x, y, nullptr, 2);
  for (int k = 0; k < 2; ++k)
  {
    s = 0.99 * s + 0.01;
    EXPECT_NEAR(x[k], expected(0.04, s * (0.995 - 0.005 * k)), 1e-12) << k;
  }
  for (int i = 0; i < 300; ++i)
    shaper.process(x, y, nullptr, 1);
  double z[2] = {0.1, -0.7};
  shaper.process(z, z, nullptr, 2);
  EXPECT_EQ(z[0], 0.1);
  EXPECT_EQ(z[1], -0.7);
}

TEST(DynShaper, PreviewShowsTheTransferAndOneSinePeriodAtTheUnsmoothedAmount)
{
  DynShaper shaper;
  shaper.setAmount(1.0);
  std::array<double, 128> transfer{};
  std::array<double, 120> sine{};
  shaper.renderPreview(transfer, sine);
  EXPECT_DOUBLE_EQ(transfer[0], -1.0);
  EXPECT_NEAR(transfer[72], 0.902, 1e-12); // input 0.125, the window's centre
  EXPECT_NEAR(transfer[56], -0.902, 1e-12);
  EXPECT_DOUBLE_EQ(sine[30], 1.0);
  EXPECT_NEAR(sine[3], shaper.shape(std::sin(std::numbers::pi / 20.0), 1.0), 1e-15);
  shaper.setShaperMode(2.0 / 3.0); // the boost is part of the preview: 0.125 becomes 0.625
  shaper.renderPreview(transfer, sine);
  EXPECT_NEAR(transfer[72], 0.625, 1e-12);
}
