#include "effects/oscfilter/OscFilterUnit.h"
#include "SignalProbe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

using Korvane::OscFilterUnit;

namespace
{

std::vector<double> noise(int n) { return SignalProbe::noise(n, 11); }

} // namespace

TEST(OscFilterUnit, TypeValuesSelectTheFilterOfEachSide)
{
  struct Case
  {
    double value;
    int index;
  };
  const Case cases[] = {{0.0, 0},  {0.124, 0}, {0.125, 1}, {0.25, 1}, {0.5, 2},
                        {0.75, 3}, {0.874, 3}, {0.875, 4}, {1.0, 4},  {-0.2, 0},
                        {1.2, 0},  {NAN, 0},   {1e300, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(OscFilterUnit::typeIndex(c.value), c.index) << c.value;

  OscFilterUnit unit;
  EXPECT_EQ(&unit.leftFilter(), &unit.left.kellettLowPass);
  EXPECT_EQ(&unit.rightFilter(), &unit.right.butterworthHighPass);
  EXPECT_EQ(unit.getRightTypeValue(), 0.75);
  unit.setLeftType(0.5);
  unit.setRightType(0.875);
  EXPECT_EQ(&unit.leftFilter(), &unit.left.kellettBandPass);
  EXPECT_EQ(&unit.rightFilter(), &unit.right.butterworthLowPass);
  EXPECT_EQ(unit.getLeftTypeValue(), 0.5);
}

TEST(OscFilterUnit, BalanceSettlesToTheMeanOfBothSidesWhichAlwaysRun)
{
  OscFilterUnit unit;
  Korvane::KvFilterPaulKellett lp;
  Korvane::BiquadTweakedButterworthHP<double> hp;
  const auto in = noise(3000);
  unit.balanceTarget = 0.0; // only the left side is heard ...
  for (int i = 0; i < 1000; ++i)
  {
    const double l = lp.process(in[i], 0.4, 0.6);
    hp.process(in[i], 0.4, 0.6);
    ASSERT_DOUBLE_EQ(unit.process(in[i], 0.4, 0.6), l);
  }
  unit.balanceTarget = 0.5; // ... yet the right side has kept up with the signal
  for (int i = 1000; i < 3000; ++i)
  {
    const double mean = 0.5 * (lp.process(in[i], 0.4, 0.6) + hp.process(in[i], 0.4, 0.6));
    const double y = unit.process(in[i], 0.4, 0.6);
    if (i > 2500)
    {
      ASSERT_NEAR(y, mean, 1e-6) << i;
    }
  }
}

TEST(OscFilterUnit, BalanceSmootherHasATimeConstantOfAbout100Samples)
{
  OscFilterUnit unit; // target 1 from balance 0
  for (int i = 0; i < 100; ++i)
    unit.process(0.0, 0.5, 0.0);
  EXPECT_NEAR(unit.getBalance(), 1.0 - std::pow(0.99, 100), 1e-12);
}

TEST(OscFilterUnit, BothSidesOwnSeparateFilters)
{
  OscFilterUnit unit;
  Korvane::KvFilterPaulKellett single;
  unit.setRightType(0.0); // the same type on both sides must not share one state
  unit.balanceTarget = 0.5;
  for (double x : noise(500))
    ASSERT_NEAR(unit.process(x, 0.3, 0.5), single.process(x, 0.3, 0.5), 1e-12);
}

TEST(OscFilterUnit, SampleRateReachesAllTenFiltersAndClearsThem)
{
  OscFilterUnit unit;
  for (double t : {0.0, 0.25, 0.5, 0.75, 1.0})
  {
    unit.setLeftType(t);
    unit.setRightType(t);
    for (double x : noise(20))
      unit.process(x, 0.5, 0.2);
  }
  EXPECT_NE(unit.left.kellettLowPass.s3, 0.0);
  unit.setLeftType(0.25); // a type change keeps the memories
  EXPECT_NE(unit.left.kellettLowPass.s3, 0.0);
  EXPECT_NE(unit.right.butterworthLowPass.y1, 0.0);

  unit.setSampleRate(48000.0);
  EXPECT_EQ(unit.getSampleRate(), 48000.0);
  for (auto* bank : {&unit.left, &unit.right})
  {
    for (auto* k : {&bank->kellettLowPass, &bank->kellettHighPass, &bank->kellettBandPass})
      EXPECT_EQ(k->s0 + k->s1 + k->s2 + k->s3 + k->sampleRate, 48000.0);
    EXPECT_EQ(bank->butterworthHighPass.y1 + bank->butterworthHighPass.sampleRate, 48000.0);
    EXPECT_EQ(bank->butterworthLowPass.x1 + bank->butterworthLowPass.sampleRate, 48000.0);
  }
}

TEST(OscFilterUnit, TypeNames)
{
  const char* longNames[] = {"Paul Kellett LP", "Paul Kellett HP", "Paul Kellett BP",
                             "Butterworth HP", "Butterworth LP"};
  const char* shortNames[] = {"PK LP", "PK HP", "PK BP", "BW HP", "BW LP"};
  for (int i = 0; i < 5; ++i)
  {
    EXPECT_STREQ(OscFilterUnit::longTypeName(i), longNames[i]);
    EXPECT_STREQ(OscFilterUnit::shortTypeName(i), shortNames[i]);
  }
  for (int i : {-1, 5, 1000})
  {
    EXPECT_STREQ(OscFilterUnit::longTypeName(i), "Unknown Filter");
    EXPECT_STREQ(OscFilterUnit::shortTypeName(i), "Unknown");
  }
}

TEST(OscFilterUnit, TwoBiquadsSharingTheCutoffMatchSeparateFiltersExactly)
{
  OscFilterUnit unit;
  unit.setLeftType(1.0);   // Butterworth low-pass
  unit.setRightType(0.75); // Butterworth high-pass
  Korvane::BiquadTweakedButterworthLP<double> lp;
  Korvane::BiquadTweakedButterworthHP<double> hp;
  double balance = 0.0;
  const auto in = noise(600);
  for (int i = 0; i < 600; ++i)
  {
    const double c = i < 300 ? 0.9 - 0.002 * i : 0.2; // swept, then held
    balance = unit.balanceGain * unit.balanceTarget + unit.balancePole * balance;
    const double expected =
        (1.0 - balance) * lp.process(in[i], c, 0.7) + balance * hp.process(in[i], c, 0.7);
    ASSERT_EQ(unit.process(in[i], c, 0.7), expected) << i;
  }
}

// Units run side by side give what each gives alone, sample by sample: all 25 pairs of
// types (sides of one type share a lane), a right side switched to the left's type
// mid-note (equal types, different states: they must not share), settled and moving
// balances, silent stretches, more units than one run of lanes holds, and five units
// that see what five others see (twins, until one hears or is tuned to something else).
// Five units alone take the Kellett filters and the few biquads in one loop; one or two
// units of a Kellett filter and a biquad take the narrow vectors for both.
TEST(OscFilterUnit, UnitsTogetherMatchEachAloneBitForBit)
{
  for (const int kUnits : {30, 5, 2, 1})
  {
    constexpr int kLength = 64;
    const bool twins = kUnits == 30;
    std::vector<OscFilterUnit> together(static_cast<std::size_t>(kUnits)), alone(together.size());
    // Units 25 and up are set as 0 to 4.
    const auto like = [](int u) { return u < 25 ? u : u - 25; };
    for (int u = 0; u < kUnits; ++u)
      for (OscFilterUnit* unit : {&together[std::size_t(u)], &alone[std::size_t(u)]})
      {
        const bool few = kUnits <= 2; // a Kellett filter on the left, a biquad on the right
        unit->setLeftType((few ? u + 1 : like(u) % 5) / 4.0);
        unit->setRightType((few ? 3 + u : (like(u) / 5) % 5) / 4.0);
        unit->balanceTarget = few ? 0.5 : (like(u) % 3) * 0.5;
      }
    const auto in = noise(kUnits * kLength);
    for (int block = 0; block < 6; ++block)
    {
      const int n = block == 3 ? 37 : kLength;
      if (block == 2)
        for (int u = 1; u < kUnits; u += 4)
        {
          together[std::size_t(u)].setRightType((u % 5) / 4.0);
          alone[std::size_t(u)].setRightType((u % 5) / 4.0);
        }
      std::vector<double> x(std::size_t(kUnits * kLength)), cut(x.size()), y(x.size());
      std::vector<OscFilterUnit*> units;
      std::vector<const double*> xs, cuts;
      std::vector<double*> ys;
      std::vector<double> resonances, resonanceOf(kUnits);
      // Each twin listed right after the unit it is set as.
      for (int listed = 0; listed < kUnits; ++listed)
      {
        const int u = !twins        ? listed
                      : listed < 10 ? (listed % 2 == 0 ? listed / 2 : 25 + listed / 2)
                                    : listed - 5;
        const std::size_t o = std::size_t(u * kLength);
        const int c = like(u);
        const int heard = block >= 3 && u == 27 ? u : c;
        for (int j = 0; j < n; ++j)
        {
          x[o + j] = block == 4 && c % 2 == 0 ? 0.0 : in[std::size_t(heard * kLength + j)];
          cut[o + j] = (block < 2 ? 0.9 - 0.01 * j - 0.003 * c : 0.3 + 0.02 * (c % 7)) +
                       (block == 5 && u == 25 ? 0.01 : 0.0);
        }
        units.push_back(&together[std::size_t(u)]);
        xs.push_back(&x[o]);
        cuts.push_back(&cut[o]);
        ys.push_back(&y[o]);
        resonanceOf[std::size_t(u)] = 0.1 * (c % 6);
        resonances.push_back(resonanceOf[std::size_t(u)]);
      }
      OscFilterUnit::processTogether(units.data(), xs.data(), cuts.data(), resonances.data(),
                                     ys.data(), kUnits, n);
      for (int u = 0; u < kUnits; ++u)
        for (int j = 0; j < n; ++j)
        {
          const std::size_t i = std::size_t(u * kLength + j);
          const double expected =
              alone[std::size_t(u)].process(x[i], cut[i], resonanceOf[std::size_t(u)]);
          ASSERT_EQ(std::memcmp(&y[i], &expected, sizeof expected), 0)
              << kUnits << " units: unit " << u << " block " << block << " sample " << j;
        }
    }
  }
}
