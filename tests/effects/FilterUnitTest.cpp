#include "effects/masterfilter/FilterUnit.h"
#include "SignalProbe.h"
#include "effects/masterfilter/HqFilterUnit.h"
#include "synth/AllocationCounter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using Korvane::FilterUnit;
using Korvane::HqFilterUnit;

namespace
{

constexpr double kPi = 3.14159265358979323846;
constexpr double kRate = 44100.0;

using SignalProbe::noise;

// Position of a frequency on the 10 Hz .. 22040 Hz cutoff scale.
double cutoffAt(double hz) { return std::log(hz / 10.0) / std::log(2204.0); }

// Filter A and B by position; balance target set (the smoother starts at 0).
FilterUnit& configure(FilterUnit& unit, int a, int b, double balanceTarget)
{
  unit.setTypeA(a / 3.0);
  unit.setTypeB(b / 5.0);
  unit.setBalance(balanceTarget);
  return unit;
}

// The input through the unit in one call (both channels); returns the left output.
std::vector<double> run(FilterUnit& unit, const std::vector<double>& in)
{
  std::vector<double> l = in, r = in;
  unit.process(l.data(), r.data(), int(l.size()));
  return l;
}

// Peak output over the last quarter of 16384 samples of a sine of `hz`.
double sineGain(FilterUnit& unit, double hz)
{
  std::vector<double> in(16384);
  for (int i = 0; i < 16384; ++i)
    in[i] = std::sin(2.0 * kPi * hz * i / kRate);
  const auto y = run(unit, in);
  double peak = 0.0;
  for (int i = 12288; i < 16384; ++i)
    peak = std::max(peak, std::fabs(y[i]));
  return peak;
}

// Largest |y[n] + a1 y[n-1] + a2 y[n-2] - b0 x[n] - b1 x[n-1] - b2 x[n-2]| over [from, to)
// for the cookbook low-pass at fc and q: zero (up to the denormal guard) only where the
// filter runs with exactly those coefficients.
double lowPassResidual(const std::vector<double>& x, const std::vector<double>& y, double fc,
                       double q, int from, int to)
{
  const double w0 = 2.0 * kPi * fc / kRate, c = std::cos(w0);
  const double alpha = std::sin(w0) / (2.0 * q), a0 = 1.0 + alpha;
  const double b0 = (1.0 - c) / 2.0 / a0, b1 = 2.0 * b0, a1 = -2.0 * c / a0,
               a2 = (1.0 - alpha) / a0;
  double worst = 0.0;
  for (int n = from; n < to; ++n)
    worst = std::max(worst, std::fabs(y[n] + a1 * y[n - 1] + a2 * y[n - 2] - b0 * x[n] -
                                      b1 * x[n - 1] - b0 * x[n - 2]));
  return worst;
}

} // namespace

TEST(FilterUnit, SelectionTablesNamesAndPresetCodes)
{
  // floor(3x + 0.5) for A, floor(5x + 0.5) for B; outside a table, row 0.
  const double values[][3] = {{0.0, 0, 0}, {0.2, 1, 1}, {0.4, 1, 2},  {0.5, 2, 3},   {0.7, 2, 4},
                              {1.0, 3, 5}, {1.2, 0, 0}, {-0.3, 0, 0}, {1e300, 0, 0}, {NAN, 0, 0}};
  for (const auto& v : values)
  {
    EXPECT_EQ(FilterUnit::typeAIndex(v[0]), int(v[1])) << v[0];
    EXPECT_EQ(FilterUnit::typeBIndex(v[0]), int(v[2])) << v[0];
  }
  const char* a[][2] = {{"RBJ-LP", "RBJ LowPass"},
                        {"RBJ-HP", "RBJ HighPass"},
                        {"RBJ-BP1", "RBJ BandPass 1"},
                        {"RBJ-BS", "RBJ BandStop"},
                        {"", ""}};
  const char* b[][3] = {{"CH-HP12", "Chebyshev HighPass 12dB", "HP 12dB"},
                        {"CH-HP24", "Chebyshev HighPass 24dB", "HP 24dB"},
                        {"CH-LP12", "Chebyshev LowPass 12dB", "LP 12dB"},
                        {"CH-LP24", "Chebyshev LowPass 24dB", "LP 24dB"},
                        {"BW-BP12", "Butterworth BandPass 12dB", "BP 12dB"},
                        {"BW-BS12", "Butterworth BandStop 12dB", "BS 12dB"},
                        {"", "", ""}};
  for (int i = -1; i < 7; ++i)
  {
    const int ra = i < 0 || i > 3 ? 4 : i, rb = i < 0 ? 6 : i;
    EXPECT_STREQ(FilterUnit::shortTypeAName(i), a[ra][0]);
    EXPECT_STREQ(FilterUnit::longTypeAName(i), a[ra][1]);
    EXPECT_STREQ(FilterUnit::shortTypeBName(i), b[rb][0]);
    EXPECT_STREQ(FilterUnit::longTypeBName(i), b[rb][1]);
    EXPECT_STREQ(FilterUnit::typeBPresetCode(i), b[rb][2]);
    EXPECT_EQ(FilterUnit::typeBFromText(b[rb][2]), rb % 6);
  }
  EXPECT_STREQ(FilterUnit::shortTypeBName(FilterUnit::typeBIndex(0.5)), "CH-LP24");
  const char* texts[] = {"RBJ-LP", "RBJ-HP", "RBJ-BP", "RBJ-BP1", "RBJ-BS", "RBJ LowPass", nullptr};
  const int expected[] = {0, 1, 2, 2, 3, 0, 0};
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(FilterUnit::typeAFromText(texts[i]), expected[i]) << i;
  EXPECT_EQ(FilterUnit::typeBFromText(nullptr), 0);
}

// RBJ high-pass against Chebyshev low-pass 24 dB, both at 2000 Hz. "Filter Type 2" 0.5 is
// the 24 dB low-pass: at 10 kHz 1 / (e T4(W)) with W the warped 10000/2000, e for 0.01 dB.
TEST(FilterUnit, BalanceZeroIsFilterAAloneAndOneIsFilterBAlone)
{
  const double w = std::tan(kPi * 10000.0 / kRate) / std::tan(kPi * 2000.0 / kRate);
  const double t4 = 8.0 * std::pow(w, 4) - 8.0 * w * w + 1.0;
  const double chebyStop = 1.0 / std::sqrt(1.0 + (std::pow(10.0, 0.001) - 1.0) * t4 * t4);
  const double cases[][4] = {{0.0, 100.0, 0.0, 0.0026}, // (100/2000)^2 = 0.0025
                             {0.0, 10000.0, 0.98, 1.02},
                             {1.0, 100.0, 0.998, 1.0001},
                             {1.0, 10000.0, 0.95 * chebyStop, 1.05 * chebyStop}};
  for (const auto& c : cases)
  {
    FilterUnit unit;
    configure(unit, FilterUnit::kRbjHighPass, 0, c[0]).setTypeB(0.5);
    sineGain(unit, c[1]); // settles the balance
    const double gain = sineGain(unit, c[1]);
    EXPECT_GE(gain, c[2]) << c[0] << " " << c[1];
    EXPECT_LE(gain, c[3]) << c[0] << " " << c[1];
  }
}

// DC passes the RBJ low-pass at exactly 1 and not the Chebyshev high-pass, so the output
// is 1 - balance: after a step to 1 it falls below 1/e at sample 45 (-1 / ln 0.9777 = 44.3).
TEST(FilterUnit, BalanceStepGlidesWithATimeConstantNear45Samples)
{
  FilterUnit unit;
  configure(unit, FilterUnit::kRbjLowPass, FilterUnit::kChebyHighPass12, 0.0);
  EXPECT_NEAR(run(unit, std::vector<double>(16384, 1.0)).back(), 1.0, 1e-6);
  unit.setBalance(1.0);
  const auto step = run(unit, std::vector<double>(400, 1.0));
  int crossing = 0;
  while (crossing < 400 && step[crossing] >= std::exp(-1.0))
    ++crossing;
  EXPECT_EQ(crossing + 1, 45);
  EXPECT_NEAR(step[99], std::pow(0.9777, 100), 1e-6);
}

// During a glide the output does not obey the target biquad's difference equation; from
// sample 516 on it does, whatever transition the designs are offered.
TEST(FilterUnit, CutoffGlidesOver512SamplesWhateverTheTransitionSetting)
{
  for (double transition : {0.0, 0.5, 1.0})
  {
    FilterUnit unit;
    configure(unit, FilterUnit::kRbjLowPass, 0, 0.0).setTransition(transition);
    unit.setCutoff(cutoffAt(100.0));
    unit.setResonance(0.625); // Q = 2^(8 * 0.625 - 4) = 2
    run(unit, noise(4096, 3));
    unit.setCutoff(cutoffAt(4700.0));
    const auto x = noise(2048, 7), y = run(unit, x);
    EXPECT_GT(lowPassResidual(x, y, 4700.0, 2.0, 400, 505), 1e-5) << transition;
    EXPECT_LT(lowPassResidual(x, y, 4700.0, 2.0, 516, 2048), 1e-7) << transition;
  }
  FilterUnit unit;
  for (const auto& s : {std::pair{0.2, 0}, {0.3, 1}, {0.74, 1}, {0.75, 2}, {5.0, 2}, {-1.0, 0}})
  {
    unit.setTransition(s.first);
    EXPECT_EQ(unit.getTransitionSetting(), s.second) << s.first;
  }
}

// A design that is not selected does not run: its memory is kept and its glide waits.
TEST(FilterUnit, UnselectedDesignsKeepTheirMemoryAndUnfinishedGlides)
{
  FilterUnit unit;
  configure(unit, FilterUnit::kRbjLowPass, 0, 0.0).setCutoff(cutoffAt(100.0));
  run(unit, std::vector<double>(8192, 1.0)); // the low-pass settles on DC
  unit.setTypeA(1.0 / 3.0);
  run(unit, noise(1000, 5));
  unit.setTypeA(0.0);
  EXPECT_NEAR(run(unit, {1.0})[0], 1.0, 1e-9); // it continues from its DC state
  unit.setCutoff(cutoffAt(4700.0));
  unit.setTypeA(1.0 / 3.0);
  run(unit, noise(1000, 6));
  unit.setTypeA(0.0); // the whole glide is still to come
  const auto x = noise(2048, 9), y = run(unit, x);
  EXPECT_GT(lowPassResidual(x, y, 4700.0, 1.0, 400, 505), 1e-5);
  EXPECT_LT(lowPassResidual(x, y, 4700.0, 1.0, 516, 2048), 1e-7);
}

// Resonance sets the first of Q, octaves, Hz, ripple: the RBJ band-pass peaks at its
// bandwidth 2^(8x - 4); even-order Chebyshev low-passes pass DC at -(0.001 + 11.999x) dB.
TEST(FilterUnit, ResonanceReachesEachDesignsOwnParameter)
{
  for (double x : {0.375, 0.5, 0.625, 0.75})
  {
    FilterUnit unit;
    configure(unit, FilterUnit::kRbjBandPass1, 0, 0.0).setResonance(x);
    EXPECT_NEAR(sineGain(unit, 2000.0), std::pow(2.0, 8.0 * x - 4.0), 0.01) << x;
  }
  for (int b : {FilterUnit::kChebyLowPass12, FilterUnit::kChebyLowPass24})
    for (double x : {0.0, 0.25, 1.0})
    {
      FilterUnit unit;
      configure(unit, 0, b, 1.0).setResonance(x);
      const double dc = run(unit, std::vector<double>(16384, 1.0)).back();
      EXPECT_NEAR(dc, std::pow(10.0, -(0.001 + 11.999 * x) / 20.0), 1e-4) << b << " " << x;
    }
  FilterUnit pass, stop; // the Butterworth band filters around 2000 Hz
  EXPECT_NEAR(sineGain(configure(pass, 0, FilterUnit::kBwBandPass12, 1.0), 2000.0), 1.0, 0.01);
  EXPECT_LT(sineGain(configure(stop, 0, FilterUnit::kBwBandStop12, 1.0), 2000.0), 0.05);
}

// Switched off, the output moves from filtered (an RBJ high-pass removes DC) to dry over
// 200 samples; then blocks are left untouched.
TEST(FilterUnit, SwitchingOffFadesOver200Samples)
{
  FilterUnit unit;
  configure(unit, FilterUnit::kRbjHighPass, 0, 0.0);
  run(unit, std::vector<double>(16384, 1.0));
  unit.setBypass(true);
  const auto y = run(unit, std::vector<double>(256, 1.0));
  for (int i = 0; i < 200; ++i)
    ASSERT_NEAR(y[i], 0.005 * (i + 1), 1e-6) << i;
  const auto in = noise(300, 4);
  EXPECT_EQ(run(unit, in), in);
}

// A block longer than the 1024-sample work buffers runs in pieces: it gives exactly what
// consecutive blocks of at most 1024 give, for both units.
TEST(FilterUnit, LongBlocksGiveWhatConsecutiveBlocksGive)
{
  for (int total : {2048, 1500, 3000})
  {
    const auto in = noise(total, 21);
    FilterUnit whole, pieces;
    HqFilterUnit hqWhole, hqPieces;
    for (FilterUnit* u : {&whole, &pieces})
      configure(*u, FilterUnit::kRbjBandPass1, FilterUnit::kChebyLowPass24, 0.3).setInputDrive(0.4);
    std::vector<double> l[4] = {in, in, in, in}, r[4] = {in, in, in, in};
    whole.process(l[0].data(), r[0].data(), total);
    hqWhole.process(l[2].data(), r[2].data(), total);
    for (int done = 0; done < total; done += 1024)
    {
      const int n = std::min(1024, total - done);
      pieces.process(l[1].data() + done, r[1].data() + done, n);
      hqPieces.process(l[3].data() + done, r[3].data() + done, n);
    }
    EXPECT_EQ(l[0], l[1]) << total;
    EXPECT_EQ(l[2], l[3]) << total;
    EXPECT_NE(l[0], in) << total;
    EXPECT_NE(l[2], in) << total;
  }
}

// Setters refuse non-finite values; every design stays finite at the extremes of cutoff,
// resonance, sample rate and drive; nothing allocates once constructed.
TEST(FilterUnit, RefusesNonFiniteInputStaysFiniteAndNeverAllocates)
{
  FilterUnit unit;
  for (double v : {NAN, INFINITY, -INFINITY})
  {
    EXPECT_FALSE(unit.setTypeA(v) || unit.setTypeB(v) || unit.setBalance(v) ||
                 unit.setInputDrive(v) || unit.setCutoff(v) || unit.setResonance(v) ||
                 unit.setTransition(v));
    unit.setSampleRate(v);
  }
  EXPECT_EQ(unit.getBalanceTarget(), 1.0);
  EXPECT_EQ(unit.getSampleRate(), 44100.0);
  const auto& drive = unit.getInputDrive();
  EXPECT_EQ(drive.kind, 1);
  EXPECT_EQ(drive.mixThreshold, 0.25);
  EXPECT_EQ(drive.mixFactor, 4.0);

  const auto in = noise(1024, 8);
  std::vector<double> l(1024), r(1024);
  AllocationCounter counter;
  for (double rate : {11025.0, 44100.0, 192000.0})
    for (int a = 0; a < 4; ++a)
      for (int b = 0; b < 6; ++b)
        for (double x : {0.0, 1.0})
          for (double q : {0.0, 1.0})
          {
            unit.setSampleRate(rate);
            configure(unit, a, b, 0.5).setInputDrive(1.0);
            unit.setCutoff(x);
            unit.setResonance(q);
            unit.setTransition(q);
            for (int block = 0; block < 3; ++block)
            {
              l = in;
              r = in;
              unit.process(l.data(), r.data(), 1024);
              for (int i = 0; i < 1024; ++i)
                ASSERT_TRUE(std::isfinite(l[i]) && std::isfinite(r[i]))
                    << rate << " " << a << " " << b << " " << x << " " << q;
            }
          }
  EXPECT_EQ(counter.Count(), 0);
}

// The band-limiting unit takes the sample rate into both designs; run, it passes 1 kHz
// and removes 2 Hz.
TEST(HqFilterUnit, TakesTheSampleRateAndLimitsTheBand)
{
  for (const auto& c : {std::pair{1000.0, 1.0}, {2.0, 0.0}})
  {
    HqFilterUnit unit;
    unit.setSampleRate(96000.0);
    unit.setSampleRate(NAN);
    EXPECT_EQ(unit.getSampleRate(), 96000.0);
    for (const Dsp::Filter* f : {&unit.getLowPass(), &unit.getHighPass()})
      EXPECT_EQ(f->getParams()[f->findParamIndex(Dsp::kIdSampleRate)], 96000.0);
    std::vector<double> l(96000), r(96000);
    for (int i = 0; i < 96000; ++i)
      l[i] = r[i] = std::sin(2.0 * kPi * c.first * i / 96000.0);
    AllocationCounter counter;
    unit.process(l.data(), r.data(), 96000);
    EXPECT_EQ(counter.Count(), 0);
    double peak = 0.0;
    for (int i = 48000; i < 96000; ++i)
      peak = std::max(peak, std::fabs(l[i]));
    EXPECT_NEAR(peak, c.second, 0.01) << c.first;
  }
}
