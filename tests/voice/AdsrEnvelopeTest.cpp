#include "voice/AdsrEnvelope.h"

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

using Korvane::AdsrEnvelope;

namespace
{

void start(AdsrEnvelope& e)
{
  e.state = AdsrEnvelope::kAttack;
  e.output = 0.0;
}

// Ticks until the envelope leaves `state`; returns the number of ticks taken.
int ticksIn(AdsrEnvelope& e, int state, int limit = 1000000)
{
  int n = 0;
  while (e.state == state && n < limit)
  {
    e.tick();
    ++n;
  }
  return n;
}

} // namespace

TEST(AdsrEnvelope, SegmentsLastTheirSetTimes)
{
  AdsrEnvelope e("Filter Envelope"); // created idle with shape 0.3
  EXPECT_EQ(e.state, AdsrEnvelope::kIdle);
  EXPECT_EQ(e.ratioDR, 0.1080019800523);
  e.setAttack(0.5);  // 0.5 * 0.2 s at 44.1 kHz = 4410 samples
  e.setDecay(0.25);  // 2205 samples from full level down to 0
  e.setSustain(0.3); // the decay aims below the sustain level and stops early there
  e.setRelease(0.1); // 882 from full level
  start(e);
  EXPECT_NEAR(ticksIn(e, AdsrEnvelope::kAttack), 4410, 1);
  EXPECT_EQ(e.output, 1.0);
  const double r = e.ratioDR;
  const double expected = std::log((1.0 - 0.3 + r) / r) / std::log((1.0 + r) / r) * 2205.0; // ~1906
  EXPECT_NEAR(ticksIn(e, AdsrEnvelope::kDecay), expected, 1);
  EXPECT_EQ(e.output, 0.3);
  EXPECT_EQ(e.state, AdsrEnvelope::kSustain);
  for (int i = 0; i < 100; ++i)
    EXPECT_NEAR(e.tick(), 0.3, 1e-15);

  // Sustain changes glide with pole 0.99.
  e.setSustain(0.8);
  EXPECT_DOUBLE_EQ(e.tick(), 0.8 * 0.01 + 0.99 * 0.3);
  for (int i = 0; i < 3000; ++i)
    e.tick();
  EXPECT_NEAR(e.output, 0.8, 1e-9);

  e.setSustain(1.0);
  for (int i = 0; i < 5000; ++i)
    e.tick();
  e.state = AdsrEnvelope::kRelease;
  EXPECT_NEAR(ticksIn(e, AdsrEnvelope::kRelease), 882, 1);
  EXPECT_EQ(e.output, 0.0);
  EXPECT_EQ(e.tick(), 0.0); // idle stays put
}

TEST(AdsrEnvelope, DecayToZeroSustainLastsTheDecayTime)
{
  AdsrEnvelope e("Volume Envelope");
  e.setDecay(0.25);
  e.setSustain(0.0);
  e.state = AdsrEnvelope::kDecay;
  e.output = 1.0;
  EXPECT_NEAR(ticksIn(e, AdsrEnvelope::kDecay), 2205, 1);
}

TEST(AdsrEnvelope, ZeroTimesAndZeroSustain)
{
  AdsrEnvelope e("Volume Envelope");
  e.setSustain(0.0);
  start(e);
  EXPECT_EQ(e.tick(), 1.0); // attack 0: full level on the first tick
  EXPECT_EQ(e.state, AdsrEnvelope::kDecay);
  EXPECT_EQ(e.tick(), 0.0); // decay 0: straight to the sustain level
  EXPECT_EQ(e.state, AdsrEnvelope::kSustain);
  EXPECT_EQ(e.tick(), 0.0); // sustain 0 holds silently until released
  EXPECT_EQ(e.state, AdsrEnvelope::kSustain);

  e.setSustain(0.6);
  e.state = AdsrEnvelope::kDecay;
  e.output = 0.9;
  e.tick();
  e.state = AdsrEnvelope::kRelease;
  EXPECT_EQ(e.tick(), 0.0); // release 0: silent and idle at once
  EXPECT_EQ(e.state, AdsrEnvelope::kIdle);
}

TEST(AdsrEnvelope, ReleaseAndTimeChangesContinueFromTheCurrentLevel)
{
  AdsrEnvelope e("Volume Envelope");
  e.setAttack(1.0);
  e.setRelease(1.0);
  start(e);
  for (int i = 0; i < 1000; ++i)
    e.tick();
  const double level = e.output;
  e.setAttack(0.1); // faster from here on, no restart
  EXPECT_GT(e.tick(), level);
  EXPECT_EQ(e.state, AdsrEnvelope::kAttack);
  const double before = e.output;
  e.state = AdsrEnvelope::kRelease;
  const double after = e.tick();
  EXPECT_LT(after, before);
  EXPECT_GT(after, before * 0.99);
}

TEST(AdsrEnvelope, DurationScalesTheTimesAndKeepsTheirValues)
{
  AdsrEnvelope e("Volume Envelope");
  e.setAttack(0.5);
  e.setDecay(0.2);
  e.setDuration(1.0);
  EXPECT_DOUBLE_EQ(e.timeScale, 5.0);
  EXPECT_DOUBLE_EQ(e.attackSamples, 2.5 * 44100.0); // attack 0.5 lasts 2.5 s
  EXPECT_DOUBLE_EQ(e.decaySamples, 1.0 * 44100.0);
  e.setDuration(0.0);
  EXPECT_DOUBLE_EQ(e.timeScale, 0.005);
  EXPECT_NEAR(e.attackSamples, 0.5 * 0.005 * 44100.0, 1e-9);
  e.setDuration(-1.0);
  EXPECT_DOUBLE_EQ(e.timeScale, 0.005);
}

TEST(AdsrEnvelope, SampleRateChanges)
{
  AdsrEnvelope e("Volume Envelope");
  e.setAttack(0.5);
  e.sampleRate = 96000.0; // the field alone keeps the length in samples
  EXPECT_EQ(e.attackSamples, 4410.0);
  e.setDuration(0.04); // the same scale again: a duration change keeps the samples too
  EXPECT_NEAR(e.attackSamples, 4410.0, 1e-9);

  AdsrEnvelope f("Filter Envelope");
  f.setAttack(0.5);
  f.setSampleRate(96000.0); // keeps the length in seconds
  EXPECT_NEAR(f.attackSamples, 9600.0, 1e-9);
}

TEST(AdsrEnvelope, ShapeSetsTheCurvature)
{
  AdsrEnvelope e("Volume Envelope");
  e.setShape(0.0);
  EXPECT_DOUBLE_EQ(e.ratioA, 1.9800523e-6);
  EXPECT_DOUBLE_EQ(e.ratioDR, 1.9800523e-6);
  e.setShape(1.0);
  EXPECT_DOUBLE_EQ(e.ratioA, 20.0000019800523);
  EXPECT_DOUBLE_EQ(e.ratioDR, 4.0000019800523);
  e.setShape(-1.0);
  EXPECT_EQ(e.ratioA, 1e-9);

  // Halfway through the attack: shape 0 is almost there, shape 1 nearly linear.
  auto halfway = [](double shape)
  {
    AdsrEnvelope env("Volume Envelope");
    env.setShape(shape);
    env.setAttack(0.5);
    start(env);
    for (int i = 0; i < 2205; ++i)
      env.tick();
    return env.output;
  };
  EXPECT_GT(halfway(0.0), 0.99);
  EXPECT_NEAR(halfway(1.0), 0.5, 0.02);
  // Shape 0 still reaches full level almost exactly at the set time.
  AdsrEnvelope sharp("Volume Envelope");
  sharp.setShape(0.0);
  sharp.setAttack(0.5);
  start(sharp);
  EXPECT_NEAR(ticksIn(sharp, AdsrEnvelope::kAttack), 4410, 1);
}

TEST(AdsrEnvelope, PreviewDrawsAttackPeakSustainAndRelease)
{
  AdsrEnvelope e("Volume Envelope");
  e.setAttack(1.0); // 38 points
  e.setDecay(0.05);
  e.setSustain(0.5);
  e.setRelease(1.0); // 38 points
  std::array<double, 116> p{};
  e.preview(p, 2.0);
  EXPECT_EQ(p[0], 0.0);
  EXPECT_EQ(p[115], 0.0);
  for (int i = 1; i < 38; ++i)
    EXPECT_GT(p[i], p[i - 1]) << i;
  EXPECT_EQ(p[38], 2.0);         // decay starts at the peak
  EXPECT_NEAR(p[77], 1.0, 1e-3); // sustain plateau at 0.5 * scale
  for (int i = 79; i < 115; ++i)
    EXPECT_LE(p[i], p[i - 1]) << i;
  for (double v : p)
    EXPECT_TRUE(v >= 0.0 && v <= 2.0);

  // Times beyond the parameter range stay inside the 116 points.
  e.setAttack(7.0);
  e.setRelease(9.0);
  e.preview(p, 1.0);
  for (double v : p)
    EXPECT_TRUE(std::isfinite(v));
}

TEST(AdsrEnvelope, AHeldEnvelopeStaysBitForBitWhereItIs)
{
  // Sustain levels, among them 0 and a level the smoothing reaches only after a while;
  // the envelope holds once it sustains at a fixed point of its step, never earlier.
  for (const double level : {0.0, 0.6, 1.0, 0.123456789})
  {
    AdsrEnvelope e("Volume Envelope");
    e.setDecay(0.05);
    e.setSustain(level);
    start(e);
    EXPECT_FALSE(e.isHeld()) << level;
    int ticks = 0;
    while (!e.isHeld() && ticks < 100000)
    {
      e.tick();
      ++ticks;
    }
    ASSERT_TRUE(e.isHeld()) << level;
    EXPECT_EQ(e.state, AdsrEnvelope::kSustain) << level;
    const double held = e.output;
    for (int i = 0; i < 1000; ++i)
      EXPECT_EQ(std::bit_cast<std::uint64_t>(e.tick()), std::bit_cast<std::uint64_t>(held));
    e.state = AdsrEnvelope::kRelease;
    EXPECT_FALSE(e.isHeld()) << level;
  }
}
