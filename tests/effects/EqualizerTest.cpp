#include "effects/tone/Equalizer.h"

#include "tests/effects/ToneTestSignals.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <numbers>
#include <vector>

using Korvane::Equalizer;
using namespace ToneTestSignals;

namespace
{

// The mid band runs from 400 to 4400 Hz (centre 2400, width 4000); its band-pass has
// unity gain and zero phase at the geometric centre of the warped edges.
double midPeak(double rate)
{
  const double pi = std::numbers::pi;
  return rate / pi * std::atan(std::sqrt(std::tan(pi * 400 / rate) * std::tan(pi * 4400 / rate)));
}

Equalizer makeEqualizer(double rate, double bass, double mid, double high)
{
  Equalizer eq;
  eq.setSampleRate(rate);
  eq.setBass(bass);
  eq.setMid(mid);
  eq.setHigh(high);
  return eq;
}

} // namespace

// Gains of sines through the settled equaliser. Knob 0.5 is flat, 0 and 1 give the
// shelves' -24 and +24 dB far from their cutoffs; above the mid centre g = ((m - 0.5)
// * 2)^2 of the band-passed input is added (unity at the band's peak), below it the
// band-stopped input takes the share g and the shelved signal keeps 1 - g.
TEST(Equalizer, SineGainsFollowTheShelvesAndTheSquaredMidBlend)
{
  const double peak = midPeak(44100); // about 1344 Hz
  const struct
  {
    double bass, mid, high, hz, expectedDb, toleranceDb;
  } cases[] = {
      {0.5, 0.5, 0.5, 60, 0.0, 1e-6},
      {0.5, 0.5, 0.5, 2400, 0.0, 1e-6},
      {0.5, 0.5, 0.5, 15000, 0.0, 1e-6},
      {0.0, 0.5, 0.5, 20, -24.0, 0.3},
      {1.0, 0.5, 0.5, 20, 24.0, 0.3},
      {0.5, 0.5, 1.0, 21000, 24.0, 0.3},
      {0.5, 0.5, 0.0, 21000, -24.0, 0.3},
      {0.0, 0.5, 0.5, 15000, 0.0, 0.1},
      {0.5, 0.75, 0.5, peak, 20 * std::log10(1.25), 0.05},
      {0.5, 1.0, 0.5, peak, 20 * std::log10(2.0), 0.05},
      {0.5, 0.25, 0.5, peak, 20 * std::log10(0.75), 0.05},
      // "Mid" 0: the band-stopped input alone, whatever the shelves do.
      {0.0, 0.0, 1.0, 60, 0.0, 0.1},
      {1.0, 0.0, 0.0, 15000, 0.0, 0.1},
  };
  for (const auto& c : cases)
  {
    Equalizer eq = makeEqualizer(44100, c.bass, c.mid, c.high);
    EXPECT_NEAR(gainDb(eq, c.hz, 44100), c.expectedDb, c.toleranceDb)
        << "bass " << c.bass << " mid " << c.mid << " high " << c.high << " at " << c.hz;
  }
  // "Mid" 0 at the band's peak: deep in the band-stop's notch.
  Equalizer notch = makeEqualizer(44100, 0.0, 0.0, 0.0);
  EXPECT_LT(gainDb(notch, peak, 44100), -40.0);
}

// "Mid" 0.75 adds exactly a quarter of the band-passed input to what "Mid" 0.5 gives
// (the shelves alone): the difference equals 0.25 times the input through a band-pass
// of the same design.
TEST(Equalizer, MidThreeQuartersAddsAQuarterOfTheBandPassedInput)
{
  Equalizer flat = makeEqualizer(44100, 0.3, 0.5, 0.8);
  Equalizer boosted = makeEqualizer(44100, 0.3, 0.75, 0.8);
  Equalizer::BandPassDesign bandPass;
  Dsp::Params p = bandPass.getParams();
  p[0] = 44100; // sample rate, order, centre, bandwidth in the design's order
  p[1] = 2;
  p[2] = 2400;
  p[3] = 4000;
  ASSERT_TRUE(bandPass.setParams(p));

  std::vector<double> a = noise(4096, 3), b = a, band = a, r1 = a, r2 = a;
  run(flat, a, r1, 1024);
  run(boosted, b, r2, 1024);
  double* channels[2] = {band.data(), nullptr};
  bandPass.process(int(band.size()), channels);
  for (std::size_t i = 0; i < a.size(); ++i)
    ASSERT_NEAR(b[i] - a[i], 0.25 * band[i], 1e-12) << i;
}

// Long blocks are processed in pieces; non-finite settings are refused and bad
// samples never leave the state non-finite.
TEST(Equalizer, LongBlocksSoundAsBlocksOf1024AndTheStateStaysFinite)
{
  expectLongBlocksAsBlocksOf1024([] { return makeEqualizer(44100, 0.1, 0.9, 0.7); });

  const double inf = std::numeric_limits<double>::infinity();
  Equalizer eq = makeEqualizer(44100, 0.2, 0.8, 0.6);
  for (double bad : {std::numeric_limits<double>::quiet_NaN(), inf, -inf})
  {
    eq.setBass(bad);
    eq.setMid(bad);
    eq.setHigh(bad);
    eq.setSampleRate(bad);
  }
  eq.setSampleRate(0.0);
  EXPECT_EQ(eq.getBassValue(), 0.2);
  EXPECT_EQ(eq.getMidValue(), 0.8);
  EXPECT_EQ(eq.getHighValue(), 0.6);
  EXPECT_EQ(eq.getSampleRate(), 44100.0);
  expectCleanAfterBadSamples(eq);
}

// The block against the per-sample blend worked out on copies of the designs: both sides
// of the mid centre and the centre itself, settled and gliding, fading out (then in), with
// non-finite samples in the input. Every output bit must match.
TEST(Equalizer, BlockMatchesThePerSampleBlendOfItsDesigns)
{
  const struct
  {
    double mid;
    bool glide, fade;
  } rows[] = {{0.5, false, false}, {0.2, false, false}, {0.85, false, false},
              {0.3, true, false},  {0.7, false, true},  {0.1, true, true}};
  for (const auto& row : rows)
  {
    Equalizer eq = makeEqualizer(44100, 0.7, row.mid, 0.35);
    std::vector<double> l(700), r(700);
    eq.process(l.data(), r.data(), 700); // the first glides are over
    if (row.glide)
      eq.setMid(row.mid + 0.05);
    eq.setBypass(row.fade);
    auto low = eq.getLowShelf();
    auto high = eq.getHighShelf();
    std::unique_ptr<Dsp::Filter> band;
    if (row.mid > 0.5)
      band = std::make_unique<Equalizer::BandPassDesign>(eq.getBandPass());
    else
      band = std::make_unique<Equalizer::BandStopDesign>(eq.getBandStop());
    const double m = eq.getMidValue(), d = (m - 0.5) * 2.0, g = d * d;
    for (int block = 0; block < 3; ++block)
    {
      if (row.fade && block == 2)
        eq.setBypass(false); // fades in from the next sample on
      const double wetBefore = eq.getWet(), step = eq.getWetStep();
      const bool skipped = eq.isFadedOut();
      std::vector<double> in[2], a[2], b[2], out[2];
      for (int i = 0; i < 301; ++i)
      {
        in[0].push_back(std::sin(0.05 * (i + block * 301)) * 0.8);
        in[1].push_back(i == 17 ? NAN : i == 40 ? -INFINITY : std::cos(0.3 * i) * 0.5);
      }
      out[0] = in[0];
      out[1] = in[1];
      eq.process(out[0].data(), out[1].data(), 301);
      if (skipped)
        continue; // faded out: nothing changed, nothing to compare
      for (int c = 0; c < 2; ++c)
        for (double x : in[c])
          a[c].push_back(std::isfinite(x) ? x : 0.0);
      b[0] = a[0];
      b[1] = a[1];
      double* shelved[2] = {a[0].data(), a[1].data()};
      double* mid[2] = {b[0].data(), b[1].data()};
      low.process(301, shelved);
      high.process(301, shelved);
      if (m != 0.5)
        band->process(301, mid);
      double wet = wetBefore;
      for (std::size_t i = 0; i < 301; ++i)
      {
        for (int c = 0; c < 2; ++c)
        {
          const double y = m == 0.5 ? a[c][i] : (m < 0.5 ? 1.0 - g : 1.0) * a[c][i] + g * b[c][i];
          const double expected = (1.0 - wet) * in[c][i] + wet * y;
          ASSERT_TRUE(std::memcmp(&out[c][i], &expected, sizeof expected) == 0 ||
                      (std::isnan(expected) && std::isnan(out[c][i])))
              << row.mid << " block " << block << " sample " << i;
        }
        wet = wet > 0.0 && wet < 1.0 ? std::clamp(wet + step, 0.0, 1.0) : wet;
      }
    }
  }
}
