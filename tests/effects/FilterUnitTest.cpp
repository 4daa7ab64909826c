#include "effects/masterfilter/FilterUnit.h"
#include "effects/masterfilter/HqFilterUnit.h"
#include "synth/AllocationCounter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using Korvane::FilterUnit;
using Korvane::HqFilterUnit;

namespace
{

constexpr double kPi = 3.14159265358979323846;
constexpr double kRate = 44100.0;

std::vector<double> noise(int n, unsigned seed)
{
  std::vector<double> v(n);
  for (auto& x : v)
  {
    seed = seed * 214013u + 2531011u;
    x = double((seed >> 16) & 0x7fff) / 16384.0 - 1.0;
  }
  return v;
}

// Control position of a frequency on the 10 Hz .. 22040 Hz cutoff scale.
double cutoffPosition(double hz) { return std::log(hz / 10.0) / std::log(2204.0); }

// Runs a sine of `hz` through the unit in 512-sample blocks (both channels) and returns
// the peak of the left output over the last `measured` samples.
double sineGain(FilterUnit& unit, double hz, int total = 16384, int measured = 4096)
{
  std::vector<double> l(total), r(total);
  for (int i = 0; i < total; ++i)
    l[i] = r[i] = std::sin(2.0 * kPi * hz * i / kRate);
  for (int i = 0; i < total; i += 512)
    unit.process(l.data() + i, r.data() + i, 512);
  double peak = 0.0;
  for (int i = total - measured; i < total; ++i)
    peak = std::max(peak, std::fabs(l[i]));
  return peak;
}

// A unit with filter A and B chosen by position, balance target set and settled
// from the start (the smoother starts at 0).
FilterUnit& configure(FilterUnit& unit, int a, int b, double balanceTarget)
{
  unit.setTypeA(a / 3.0);
  unit.setTypeB(b / 5.0);
  unit.setBalance(balanceTarget);
  return unit;
}

struct Biquad
{
  double b0, b1, b2, a1, a2;
};

// The cookbook low-pass.
Biquad rbjLowPass(double fc, double q)
{
  const double w0 = 2.0 * kPi * fc / kRate;
  const double alpha = std::sin(w0) / (2.0 * q);
  const double a0 = 1.0 + alpha;
  const double c = std::cos(w0);
  return {(1.0 - c) / 2.0 / a0, (1.0 - c) / a0, (1.0 - c) / 2.0 / a0, -2.0 * c / a0,
          (1.0 - alpha) / a0};
}

// Largest |y[n] + a1 y[n-1] + a2 y[n-2] - b0 x[n] - b1 x[n-1] - b2 x[n-2]| over
// n in [from, to): zero (up to the denormal guard) once the filter runs with `f`.
double residual(const std::vector<double>& x, const std::vector<double>& y, const Biquad& f,
                int from, int to)
{
  double worst = 0.0;
  for (int n = std::max(from, 2); n < to; ++n)
  {
    const double r =
        y[n] + f.a1 * y[n - 1] + f.a2 * y[n - 2] - f.b0 * x[n] - f.b1 * x[n - 1] - f.b2 * x[n - 2];
    worst = std::max(worst, std::fabs(r));
  }
  return worst;
}

// Runs `count` samples of `in` through the unit in one call; returns the left output.
std::vector<double> run(FilterUnit& unit, const std::vector<double>& in)
{
  std::vector<double> l = in, r = in;
  unit.process(l.data(), r.data(), int(l.size()));
  return l;
}

} // namespace

TEST(FilterUnit, SelectionTablesNamesAndPresetCodes)
{
  struct Case
  {
    double value;
    int a;
    int b;
  };
  // floor(3x + 0.5) and floor(5x + 0.5); anything outside a table selects row 0.
  const Case cases[] = {{0.0, 0, 0},  {0.2, 1, 1},   {0.4, 1, 2},         {0.5, 2, 3},
                        {0.7, 2, 4},  {0.9, 3, 5},   {1.0, 3, 5},         {1.2, 0, 0},
                        {-0.3, 0, 0}, {1e300, 0, 0}, {std::nan(""), 0, 0}};
  for (const auto& c : cases)
  {
    EXPECT_EQ(FilterUnit::typeAIndex(c.value), c.a) << c.value;
    EXPECT_EQ(FilterUnit::typeBIndex(c.value), c.b) << c.value;
  }
  EXPECT_STREQ(FilterUnit::shortTypeBName(FilterUnit::typeBIndex(0.5)), "CH-LP24");

  const char* shortA[] = {"RBJ-LP", "RBJ-HP", "RBJ-BP1", "RBJ-BS", ""};
  const char* longA[] = {"RBJ LowPass", "RBJ HighPass", "RBJ BandPass 1", "RBJ BandStop", ""};
  for (int i = 0; i < 5; ++i)
  {
    EXPECT_STREQ(FilterUnit::shortTypeAName(i), shortA[i]);
    EXPECT_STREQ(FilterUnit::longTypeAName(i), longA[i]);
  }
  const char* shortB[] = {"CH-HP12", "CH-HP24", "CH-LP12", "CH-LP24", "BW-BP12", "BW-BS12", ""};
  const char* longB[] = {"Chebyshev HighPass 12dB",
                         "Chebyshev HighPass 24dB",
                         "Chebyshev LowPass 12dB",
                         "Chebyshev LowPass 24dB",
                         "Butterworth BandPass 12dB",
                         "Butterworth BandStop 12dB",
                         ""};
  const char* codeB[] = {"HP 12dB", "HP 24dB", "LP 12dB", "LP 24dB", "BP 12dB", "BS 12dB", ""};
  for (int i = 0; i < 7; ++i)
  {
    EXPECT_STREQ(FilterUnit::shortTypeBName(i), shortB[i]);
    EXPECT_STREQ(FilterUnit::longTypeBName(i), longB[i]);
    EXPECT_STREQ(FilterUnit::typeBPresetCode(i), codeB[i]);
    if (i < 6)
    {
      EXPECT_EQ(FilterUnit::typeBFromText(codeB[i]), i);
    }
  }
  EXPECT_STREQ(FilterUnit::shortTypeAName(-1), "");
  EXPECT_STREQ(FilterUnit::longTypeBName(-1), "");

  struct Text
  {
    const char* text;
    int index;
  };
  const Text texts[] = {{"RBJ-LP", 0}, {"RBJ-HP", 1},      {"RBJ-BP", 2}, {"RBJ-BP1", 2},
                        {"RBJ-BS", 3}, {"RBJ LowPass", 0}, {"", 0},       {nullptr, 0}};
  for (const auto& t : texts)
    EXPECT_EQ(FilterUnit::typeAFromText(t.text), t.index) << (t.text ? t.text : "null");
  EXPECT_EQ(FilterUnit::typeBFromText("LP 12"), 0);
  EXPECT_EQ(FilterUnit::typeBFromText(nullptr), 0);
}

// Balance 0 is filter A alone, 1 filter B alone: an RBJ high-pass against a Chebyshev
// low-pass, both at 2000 Hz, fed 100 Hz and 10 kHz.
TEST(FilterUnit, BalanceZeroIsFilterAAloneAndOneIsFilterBAlone)
{
  struct Case
  {
    double balance;
    double hz;
    double minGain;
    double maxGain;
  };
  const Case cases[] = {
      {0.0, 100.0, 0.0, 0.003}, // RBJ high-pass, Q 1: (100/2000)^2 = 0.0025
      {0.0, 10000.0, 0.95, 1.05},
      {1.0, 100.0, 0.99, 1.001},   // Chebyshev low-pass 24 dB, ripple 0.01 dB
      {1.0, 10000.0, 0.0, 0.0025}, // 1 / (e T4(6.03)) = 0.0020
  };
  for (const auto& c : cases)
  {
    FilterUnit unit;
    configure(unit, FilterUnit::kRbjHighPass, FilterUnit::kChebyLowPass24, c.balance);
    if (c.balance == 1.0)
      sineGain(unit, c.hz, 4096, 16); // lets the balance smoother settle
    const double gain = sineGain(unit, c.hz);
    EXPECT_GE(gain, c.minGain) << c.balance << " " << c.hz;
    EXPECT_LE(gain, c.maxGain) << c.balance << " " << c.hz;
  }
}

// DC passes the RBJ low-pass at exactly 1 and is removed by the Chebyshev high-pass, so
// the output is 1 - balance: the step from 0 to 1 falls to 1/e after about 44 samples
// (pole 0.9777: -1 / ln 0.9777 = 44.3).
TEST(FilterUnit, BalanceStepGlidesWithATimeConstantNear45Samples)
{
  FilterUnit unit;
  configure(unit, FilterUnit::kRbjLowPass, FilterUnit::kChebyHighPass12, 0.0);
  const std::vector<double> dc(16384, 1.0);
  const auto settled = run(unit, dc);
  EXPECT_NEAR(settled.back(), 1.0, 1e-6);
  unit.setBalance(1.0);
  const auto step = run(unit, std::vector<double>(400, 1.0));
  int crossing = -1;
  for (int i = 0; i < 400 && crossing < 0; ++i)
    if (step[i] < std::exp(-1.0))
      crossing = i + 1;
  EXPECT_GE(crossing, 43);
  EXPECT_LE(crossing, 46);
  EXPECT_NEAR(step[99], std::pow(0.9777, 100), 1e-6);
}

// The glide is read from the output: once a biquad runs with fixed coefficients its input
// and output obey its difference equation, which is checked with the target coefficients.
// During the 512-sample glide they do not; from sample 516 on they do, whatever the
// transition setting offers the designs.
TEST(FilterUnit, CutoffGlidesOver512SamplesWhateverTheTransitionSetting)
{
  for (double transition : {0.0, 0.5, 1.0})
  {
    FilterUnit unit;
    configure(unit, FilterUnit::kRbjLowPass, 0, 0.0);
    unit.setTransition(transition);
    unit.setCutoff(cutoffPosition(100.0));
    unit.setResonance(0.625); // Q = 2^(8 * 0.625 - 4) = 2
    run(unit, noise(4096, 3));
    unit.setCutoff(cutoffPosition(4700.0));
    const auto x = noise(2048, 7);
    const auto y = run(unit, x);
    const Biquad target = rbjLowPass(4700.0, 2.0);
    EXPECT_GT(residual(x, y, target, 400, 505), 1e-5) << transition;
    EXPECT_LT(residual(x, y, target, 516, 2048), 1e-7) << transition;
  }
  FilterUnit unit;
  EXPECT_EQ(unit.getTransitionSetting(), 0);
  const double settings[][2] = {{0.2, 0}, {0.3, 1}, {0.74, 1}, {0.75, 2}, {5.0, 2}, {-1.0, 0}};
  for (const auto& s : settings)
  {
    unit.setTransition(s[0]);
    EXPECT_EQ(unit.getTransitionSetting(), int(s[1])) << s[0];
  }
}

// A design that is not selected does not run: its glide waits, and its memory is kept.
TEST(FilterUnit, UnselectedDesignsKeepTheirMemoryAndUnfinishedGlides)
{
  FilterUnit unit;
  configure(unit, FilterUnit::kRbjLowPass, 0, 0.0);
  unit.setCutoff(cutoffPosition(100.0));
  run(unit, std::vector<double>(8192, 1.0)); // settled on DC
  unit.setTypeA(1.0 / 3.0);                  // the high-pass runs meanwhile
  run(unit, noise(1000, 5));
  unit.setTypeA(0.0);
  // The low-pass resumes from its DC state: a DC input continues at 1.
  const auto first = run(unit, std::vector<double>(1, 1.0));
  EXPECT_NEAR(first[0], 1.0, 1e-9);
  // A cutoff change while the high-pass is selected leaves the low-pass's glide waiting.
  unit.setCutoff(cutoffPosition(4700.0));
  unit.setTypeA(1.0 / 3.0);
  run(unit, noise(1000, 6));
  unit.setTypeA(0.0);
  const auto x = noise(2048, 9);
  const auto y = run(unit, x);
  const Biquad target = rbjLowPass(4700.0, 1.0);
  EXPECT_GT(residual(x, y, target, 400, 505), 1e-5);
  EXPECT_LT(residual(x, y, target, 516, 2048), 1e-7);
}

// Resonance takes the first of Q, octaves, Hz, ripple each design has: the RBJ band-pass's
// peak gain is its bandwidth 2^(8x - 4); an even-order Chebyshev low-pass's DC gain is
// -ripple dB with ripple 0.001 + 11.999x.
TEST(FilterUnit, ResonanceReachesEachDesignsOwnParameter)
{
  for (double x : {0.375, 0.5, 0.625, 0.75})
  {
    FilterUnit unit;
    configure(unit, FilterUnit::kRbjBandPass1, 0, 0.0);
    unit.setResonance(x);
    EXPECT_NEAR(sineGain(unit, 2000.0), std::pow(2.0, 8.0 * x - 4.0), 0.01) << x;
  }
  for (int b : {FilterUnit::kChebyLowPass12, FilterUnit::kChebyLowPass24})
    for (double x : {0.0, 0.25, 1.0})
    {
      FilterUnit unit;
      configure(unit, 0, b, 1.0);
      unit.setResonance(x);
      const auto y = run(unit, std::vector<double>(16384, 1.0));
      EXPECT_NEAR(y.back(), std::pow(10.0, -(0.001 + 11.999 * x) / 20.0), 1e-4) << b << " " << x;
    }
  // The Butterworth band filters: unity at the centre for the pass, a notch for the stop.
  FilterUnit pass, stop;
  configure(pass, 0, FilterUnit::kBwBandPass12, 1.0);
  configure(stop, 0, FilterUnit::kBwBandStop12, 1.0);
  EXPECT_NEAR(sineGain(pass, 2000.0), 1.0, 0.01);
  EXPECT_LT(sineGain(stop, 2000.0), 0.05); // the notch lies within a few Hz
  EXPECT_GT(sineGain(stop, 50.0), 0.99);
}

// The orders: the 24 dB designs fall twice as steeply, an octave away from the cutoff
// the Chebyshev magnitude is 1 / sqrt(1 + e^2 T_n(W)^2) with the warped frequency W
// (DC gain aside, the pre-warped analog response at 4000 Hz against 2000 Hz).
TEST(FilterUnit, ChebyshevOrdersAreTwoAndFour)
{
  const double e2 = std::pow(10.0, 0.01 / 10.0) - 1.0;
  const double w = std::tan(kPi * 4000.0 / kRate) / std::tan(kPi * 2000.0 / kRate);
  const double t2 = 2.0 * w * w - 1.0;
  const double t4 = 8.0 * w * w * w * w - 8.0 * w * w + 1.0;
  struct Case
  {
    int b;
    double expected;
  };
  const Case cases[] = {{FilterUnit::kChebyLowPass12, 1.0 / std::sqrt(1.0 + e2 * t2 * t2)},
                        {FilterUnit::kChebyLowPass24, 1.0 / std::sqrt(1.0 + e2 * t4 * t4)}};
  for (const auto& c : cases)
  {
    FilterUnit unit;
    configure(unit, 0, c.b, 1.0);
    EXPECT_NEAR(sineGain(unit, 4000.0) / c.expected, 1.0, 0.05) << c.b;
  }
}

// Switched off, the output moves from filtered to dry over 200 samples, then the unit
// leaves blocks untouched. An RBJ high-pass removes DC, so the output is 1 - wet.
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

// A host block longer than the work buffers is processed in pieces: 2048 samples in one
// call give exactly what two calls of 1024 give, and 1500 what 1024 + 476 give.
TEST(FilterUnit, LongBlocksGiveWhatConsecutiveBlocksGive)
{
  for (int total : {2048, 1500, 3000})
  {
    const auto in = noise(total, 21);
    FilterUnit whole, pieces;
    for (FilterUnit* u : {&whole, &pieces})
    {
      configure(*u, FilterUnit::kRbjBandPass1, FilterUnit::kChebyLowPass24, 0.3);
      u->setInputDrive(0.4);
      u->setCutoff(0.5);
    }
    const auto y = run(whole, in);
    std::vector<double> l = in, r = in;
    for (int done = 0; done < total; done += 1024)
      pieces.process(l.data() + done, r.data() + done, std::min(1024, total - done));
    EXPECT_EQ(y, l) << total;
    EXPECT_NE(y, in) << total;

    HqFilterUnit hqWhole, hqPieces;
    std::vector<double> hl = in, hr = in, pl = in, pr = in;
    hqWhole.process(hl.data(), hr.data(), total);
    for (int done = 0; done < total; done += 1024)
      hqPieces.process(pl.data() + done, pr.data() + done, std::min(1024, total - done));
    EXPECT_EQ(hl, pl) << total;
    EXPECT_NE(hl, in) << total;
  }
}

// Setters refuse non-finite values; the designs stay finite at every extreme setting,
// sample rate and drive; nothing allocates once constructed.
TEST(FilterUnit, RefusesNonFiniteInputStaysFiniteAndNeverAllocates)
{
  const double bad[] = {std::nan(""), std::numeric_limits<double>::infinity(),
                        -std::numeric_limits<double>::infinity()};
  FilterUnit unit;
  for (double v : bad)
  {
    EXPECT_FALSE(unit.setTypeA(v));
    EXPECT_FALSE(unit.setTypeB(v));
    EXPECT_FALSE(unit.setBalance(v));
    EXPECT_FALSE(unit.setInputDrive(v));
    EXPECT_FALSE(unit.setCutoff(v));
    EXPECT_FALSE(unit.setResonance(v));
    EXPECT_FALSE(unit.setTransition(v));
    unit.setSampleRate(v);
  }
  EXPECT_EQ(unit.getTypeAValue(), 0.0);
  EXPECT_EQ(unit.getBalanceTarget(), 1.0);
  EXPECT_EQ(unit.getSampleRate(), 44100.0);
  EXPECT_EQ(unit.getInputDrive().kind, 1);
  EXPECT_EQ(unit.getInputDrive().mixThreshold, 0.25);
  EXPECT_EQ(unit.getInputDrive().mixFactor, 4.0);

  auto in = noise(1024, 8);
  std::vector<double> l(1024), r(1024);
  AllocationCounter counter;
  for (double rate : {11025.0, 44100.0, 192000.0})
  {
    unit.setSampleRate(rate);
    for (int a = 0; a < 4; ++a)
      for (int b = 0; b < 6; ++b)
        for (double cutoff : {0.0, 1.0})
          for (double resonance : {0.0, 1.0})
          {
            configure(unit, a, b, 0.5);
            unit.setInputDrive(1.0);
            unit.setCutoff(cutoff);
            unit.setResonance(resonance);
            unit.setTransition(resonance);
            for (int block = 0; block < 3; ++block)
            {
              l = in;
              r = in;
              unit.process(l.data(), r.data(), 1024);
              for (int i = 0; i < 1024; ++i)
                ASSERT_TRUE(std::isfinite(l[i]) && std::isfinite(r[i]))
                    << rate << " " << a << " " << b << " " << cutoff << " " << resonance;
            }
          }
  }
  unit.setBypass(true);
  unit.process(l.data(), r.data(), 1024);
  EXPECT_EQ(counter.Count(), 0);
}

// The band-limiting unit takes the sample rate into both designs; run, it passes the
// audible band and removes what lies below 20 Hz.
TEST(HqFilterUnit, TakesTheSampleRateAndLimitsTheBand)
{
  HqFilterUnit unit;
  unit.setSampleRate(96000.0);
  unit.setSampleRate(std::nan(""));
  EXPECT_EQ(unit.getSampleRate(), 96000.0);
  EXPECT_EQ(unit.getLowPass().getParams()[unit.getLowPass().findParamIndex(Dsp::kIdSampleRate)],
            96000.0);
  EXPECT_EQ(unit.getHighPass().getParams()[unit.getHighPass().findParamIndex(Dsp::kIdSampleRate)],
            96000.0);
  struct Case
  {
    double hz;
    double minGain;
    double maxGain;
  };
  const Case cases[] = {{1000.0, 0.98, 1.01}, {2.0, 0.0, 0.01}};
  for (const auto& c : cases)
  {
    HqFilterUnit hq;
    hq.setSampleRate(96000.0);
    const int total = 96000;
    std::vector<double> l(total), r(total);
    for (int i = 0; i < total; ++i)
      l[i] = r[i] = std::sin(2.0 * kPi * c.hz * i / 96000.0);
    AllocationCounter counter;
    hq.process(l.data(), r.data(), total);
    EXPECT_EQ(counter.Count(), 0);
    double peak = 0.0;
    for (int i = total / 2; i < total; ++i)
      peak = std::max(peak, std::fabs(l[i]));
    EXPECT_GE(peak, c.minGain) << c.hz;
    EXPECT_LE(peak, c.maxGain) << c.hz;
  }
}
