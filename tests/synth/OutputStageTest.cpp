// The block's last stages measured on signals of their own: dry/wet mixing a dry and a
// processed pair that differ, the bass layer, and the output volume and pan laws, each
// following its parameter through a one-pole smoother that starts at 0.
#include "synth/OutputStage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace
{
constexpr int kN = 2048;
// The smoothed value after n + 1 steps from 0 towards target.
double Ramp(double target, double pole, int n) { return target * (1.0 - std::pow(pole, n + 1)); }
} // namespace

TEST(OutputStage, DryWetMixesTheDryAndTheProcessedPairBySmoothedAmount)
{
  // Dry left 1, processed left -1; dry right 0.5, processed right 0.25.
  for (double target : {0.0, 0.3, 1.0})
  {
    OutputStage stage;
    const std::vector<double> dryLeft(kN, 1.0), dryRight(kN, 0.5);
    std::vector<double> left(kN, -1.0), right(kN, 0.25);
    stage.MixDryWet(dryLeft.data(), dryRight.data(), left.data(), right.data(), kN, target);
    for (int k : {0, 1, 10, 100, 1000, kN - 1})
    {
      const double x = Ramp(target, 0.99, k);
      EXPECT_NEAR(left[size_t(k)], (1.0 - x) * 1.0 - x, 1e-12) << target << " " << k;
      EXPECT_NEAR(right[size_t(k)], (1.0 - x) * 0.5 + x * 0.25, 1e-12) << target << " " << k;
    }
  }
}

TEST(OutputStage, BassLayerAddsOrReplacesBySmoothedAmount)
{
  for (bool solo : {false, true})
  {
    OutputStage stage;
    const std::vector<double> bass(kN, 0.5);
    std::vector<double> left(kN, 0.25), right(kN, -0.25);
    stage.AddBassLayer(bass.data(), left.data(), right.data(), kN, 1.259, solo);
    for (int k : {0, 5, 200, kN - 1})
    {
      const double b = Ramp(1.259, 0.9777, k) * 0.5;
      EXPECT_NEAR(left[size_t(k)], solo ? b : 0.25 + b, 1e-12) << solo << " " << k;
      EXPECT_NEAR(right[size_t(k)], solo ? b : -0.25 + b, 1e-12) << solo << " " << k;
    }
  }
}

TEST(OutputStage, VolumeAndPanFollowTheirLinearLaws)
{
  struct Case
  {
    double volume, pan, left, right; // gains once settled
  } cases[] = {{0.5, 0.5, 0.5, 0.5},  {1.0, 0.0, 1.0, 0.0}, {1.0, 0.25, 1.0, 0.5},
               {0.8, 0.75, 0.4, 0.8}, {1.0, 1.0, 0.0, 1.0}, {0.0, 0.3, 0.0, 0.0}};
  for (const Case& c : cases)
  {
    OutputStage stage;
    std::vector<double> left(kN, 1.0), right(kN, 1.0);
    stage.ApplyVolumeAndPan(left.data(), right.data(), kN, c.volume, c.pan);
    EXPECT_NEAR(left[kN - 1], c.left, 1e-12) << c.volume << " " << c.pan;
    EXPECT_NEAR(right[kN - 1], c.right, 1e-12) << c.volume << " " << c.pan;
    // The first sample: volume and pan have moved one step from 0, so the pan is far
    // left: left gets v, right 2 p v.
    const double v = Ramp(c.volume, 0.9777, 0), p = Ramp(c.pan, 0.9777, 0);
    EXPECT_NEAR(left[0], v, 1e-15);
    EXPECT_NEAR(right[0], 2.0 * p * v, 1e-15);
  }
}

TEST(OutputStage, ATargetThatIsNotFiniteDoesNotLatch)
{
  OutputStage stage;
  std::vector<double> left(kN, 1.0), right(kN, 1.0);
  stage.ApplyVolumeAndPan(left.data(), right.data(), 100, 1.0, 0.5);
  const double held = stage.Volume().state;
  stage.ApplyVolumeAndPan(left.data(), right.data(), 1, std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity());
  EXPECT_EQ(stage.Volume().state, held);
  EXPECT_TRUE(std::isfinite(stage.Pan().state));
  stage.ApplyVolumeAndPan(left.data(), right.data(), kN, 1.0, 0.5);
  EXPECT_NEAR(stage.Volume().state, 1.0, 1e-12);
}

// Over blocks long enough for the smoothers to settle (and a target changed after that,
// a signed-zero target and a target that is not finite), every output bit matches the
// stages worked out one sample at a time with Smoother::Next.
TEST(OutputStage, SettledSmoothersGiveThePerSampleBits)
{
  const struct
  {
    double dryWet, bass, volume, pan;
    bool solo;
  } rows[] = {{0.3, 0.6, 0.8, 0.2, false},
              {1.0, 0.0, 1.0, 0.5, true},
              {-0.0, -0.0, 0.45, 0.9, false},
              {std::numeric_limits<double>::quiet_NaN(), 0.25, -0.0, 1.0, false}};
  for (const auto& row : rows)
  {
    OutputStage stage;
    OutputStage::Smoother dw{OutputStage::kDryWetPole, OutputStage::kDryWetGain};
    OutputStage::Smoother bass{OutputStage::kPole, OutputStage::kGain};
    OutputStage::Smoother volume = bass, pan = bass;
    for (int block = 0; block < 30; ++block)
    {
      // After the first settle the targets move once, so that a settled state glides again.
      const double shift = block >= 20 ? 0.125 : 0.0;
      const int n = block % 2 == 0 ? 512 : 77;
      std::vector<double> dryLeft(static_cast<std::size_t>(n)), dryRight(dryLeft), bus(dryLeft);
      for (int k = 0; k < n; ++k)
      {
        dryLeft[std::size_t(k)] = std::sin(0.1 * k + block);
        dryRight[std::size_t(k)] = k == 9 ? -0.0 : std::cos(0.07 * k);
        bus[std::size_t(k)] = k % 5 == 0 ? 0.0 : 0.3 * std::sin(0.03 * k);
      }
      std::vector<double> left(dryRight), right(dryLeft), expectLeft(left), expectRight(right);
      stage.MixDryWet(dryLeft.data(), dryRight.data(), left.data(), right.data(), n,
                      row.dryWet + shift);
      stage.AddBassLayer(bus.data(), left.data(), right.data(), n, row.bass + shift, row.solo);
      stage.ApplyVolumeAndPan(left.data(), right.data(), n, row.volume - shift, row.pan - shift);
      for (int k = 0; k < n; ++k)
      {
        double& l = expectLeft[std::size_t(k)];
        double& r = expectRight[std::size_t(k)];
        const double x = dw.Next(row.dryWet + shift);
        l = (1.0 - x) * dryLeft[std::size_t(k)] + x * l;
        r = (1.0 - x) * dryRight[std::size_t(k)] + x * r;
        const double b = bass.Next(row.bass + shift) * bus[std::size_t(k)];
        l = row.solo ? b : l + b;
        r = row.solo ? b : r + b;
        const double v = volume.Next(row.volume - shift);
        const double p = pan.Next(row.pan - shift);
        l *= p < 0.5 ? v : (1.0 - 2.0 * (p - 0.5)) * v;
        r *= p < 0.5 ? 2.0 * p * v : v;
        ASSERT_TRUE(std::memcmp(&l, &left[std::size_t(k)], sizeof l) == 0 &&
                    std::memcmp(&r, &right[std::size_t(k)], sizeof r) == 0)
            << row.dryWet << " block " << block << " sample " << k;
      }
    }
    EXPECT_EQ(stage.Volume().state, volume.state);
    EXPECT_EQ(stage.Pan().state, pan.state);
  }
}
