#include "voice/WaveformProvider.h"

#include "voice/Fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <memory>
#include <numbers>
#include <random>
#include <sstream>
#include <string>
#include <vector>

using Korvane::Fft;
using Korvane::WaveformProvider;
using Korvane::WaveTableSet;
using Complex = std::complex<double>;

namespace
{

constexpr int kN = WaveformProvider::kCycleLength;
constexpr double kPi = std::numbers::pi;

class Provider : public ::testing::Test
{
protected:
  static void SetUpTestSuite()
  {
    provider = std::make_unique<WaveformProvider>();
    provider->buildBaseWaveforms();
    provider->buildSets();
  }
  static void TearDownTestSuite() { provider.reset(); }
  static std::unique_ptr<WaveformProvider> provider;
};
std::unique_ptr<WaveformProvider> Provider::provider;

double peakOf(const double* c, int n = kN)
{
  double p = 0.0;
  for (int i = 0; i < n; ++i)
    p = std::max(p, std::abs(c[i]));
  return p;
}

// Harmonic count of a table from its topFrequency, (2/3) / maxHarmonic.
int harmonicsOf(double topFrequency)
{
  return static_cast<int>(std::lround((2.0 / 3.0) / topFrequency));
}

std::vector<double> split(const std::string& text)
{
  std::vector<double> values;
  std::stringstream in(text);
  std::string item;
  while (std::getline(in, item, ','))
    values.push_back(std::stod(item));
  return values;
}

} // namespace

TEST(WaveformProviderNames, PositionsFromParameterValues)
{
  EXPECT_EQ(WaveformProvider::positionOf(0.0), 0);
  EXPECT_EQ(WaveformProvider::positionOf(1.0), 39);
  EXPECT_EQ(WaveformProvider::positionOf(0.5), 20);
  EXPECT_STREQ(WaveformProvider::waveformName(WaveformProvider::positionOf(1.0)), "User16");
  EXPECT_STREQ(WaveformProvider::waveformName(WaveformProvider::positionOf(0.5)), "Brick-Breaker");
  EXPECT_EQ(WaveformProvider::positionOf(7.49 / 39.0), 7);
  EXPECT_EQ(WaveformProvider::positionOf(7.5 / 39.0), 8);
  // Values a host should never send still give a valid position.
  EXPECT_EQ(WaveformProvider::positionOf(-0.3), 0);
  EXPECT_EQ(WaveformProvider::positionOf(1.7), 39);
  EXPECT_EQ(WaveformProvider::positionOf(std::nan("")), 0);
}

TEST(WaveformProviderNames, NamesAndTheirInverse)
{
  EXPECT_STREQ(WaveformProvider::waveformName(0), "Sine");
  EXPECT_STREQ(WaveformProvider::waveformName(40), "Sine");
  EXPECT_STREQ(WaveformProvider::waveformName(-1), "Sine");
  EXPECT_STREQ(WaveformProvider::waveformName(18), "KIC 8462852");
  EXPECT_STREQ(WaveformProvider::waveformName(11), "Low-Q Noise 1");
  EXPECT_STREQ(WaveformProvider::waveformShortName(11), "LQ Noize 1");
  EXPECT_STREQ(WaveformProvider::waveformShortName(23), "Form10");
  EXPECT_STREQ(WaveformProvider::waveformShortName(6), "Trapez");

  EXPECT_EQ(WaveformProvider::waveformPosition("Form4"), 17);
  EXPECT_EQ(WaveformProvider::waveformPosition("Shikoku"), 17);
  EXPECT_EQ(WaveformProvider::waveformPosition("X-Trapez"), 7);
  EXPECT_EQ(WaveformProvider::waveformPosition("PinkNoize"), 9);
  EXPECT_EQ(WaveformProvider::waveformPosition("Sine"), 0);
  EXPECT_EQ(WaveformProvider::waveformPosition("Form1"), 14);
  EXPECT_EQ(WaveformProvider::waveformPosition("Form10"), 23);
  EXPECT_EQ(WaveformProvider::waveformPosition("User1"), 24);
  EXPECT_EQ(WaveformProvider::waveformPosition("User16"), 39);
  EXPECT_EQ(WaveformProvider::waveformPosition("User17"), 0);
  EXPECT_EQ(WaveformProvider::waveformPosition("pulse"), 0);
  EXPECT_EQ(WaveformProvider::waveformPosition(""), 0);
  for (int p = 0; p < WaveformProvider::kWaveformCount; ++p)
  {
    EXPECT_EQ(WaveformProvider::waveformPosition(WaveformProvider::waveformName(p)), p);
    EXPECT_EQ(WaveformProvider::waveformPosition(WaveformProvider::waveformShortName(p)), p);
  }
}

TEST_F(Provider, ComputedCyclesAtKnownPoints)
{
  const double* sine = provider->baseCycle(WaveformProvider::kSine);
  EXPECT_DOUBLE_EQ(sine[1024], 1.0);
  EXPECT_NEAR(sine[3072], -1.0, 1e-15);

  const double* brick = provider->baseCycle(WaveformProvider::kBrickBreaker);
  EXPECT_EQ(brick[409], 0.0); // f just below 0.1
  EXPECT_EQ(brick[410], 1.0);
  EXPECT_EQ(brick[1228], 1.0);
  EXPECT_EQ(brick[1229], 0.0); // f >= 0.3
  EXPECT_EQ(brick[2457], 0.0);
  EXPECT_EQ(brick[2458], -1.0);
  EXPECT_EQ(brick[2867], -1.0);
  EXPECT_EQ(brick[2868], 0.0);

  const double s8 = std::sin(kPi / 8.0);
  EXPECT_NEAR(provider->baseCycle(WaveformProvider::kWavescape)[512], -s8 * s8, 1e-15);

  // The receptors are clamped at 4 and then normalised to 0.98777.
  const double* sr = provider->baseCycle(WaveformProvider::kSReceptor);
  EXPECT_NEAR(sr[2048], 0.98777, 1e-15);
  EXPECT_NEAR(sr[1024], 0.98777 / 4.0, 1e-15);
  EXPECT_NEAR(provider->baseCycle(WaveformProvider::kDReceptor)[512], 0.98777 / 4.0, 1e-15);

  // Normalised and unnormalised peaks.
  for (auto which :
       {WaveformProvider::kNoize, WaveformProvider::kLowQ1, WaveformProvider::kLowQ2,
        WaveformProvider::kLowQ3, WaveformProvider::kPyrokinesis, WaveformProvider::kSReceptor,
        WaveformProvider::kDReceptor, WaveformProvider::kShikoku, WaveformProvider::kKic,
        WaveformProvider::kSynapsis, WaveformProvider::kGeoChirp, WaveformProvider::kWaveGarden})
    EXPECT_NEAR(peakOf(provider->baseCycle(which)), 0.98777, 1e-15) << which;
  EXPECT_DOUBLE_EQ(peakOf(sine), 1.0);
  EXPECT_DOUBLE_EQ(peakOf(brick), 1.0);

  // Shikoku: half-height triangle in the outer quarters, full triangle in the middle.
  const double* shikoku = provider->baseCycle(WaveformProvider::kShikoku);
  const double shikokuScale = 0.98777;                        // raw peak 1
  EXPECT_NEAR(shikoku[512], 0.5 * 1.0 * shikokuScale, 1e-12); // 0.5 T(0.25)
  EXPECT_NEAR(shikoku[1536], 1.0 * shikokuScale, 1e-12);      // T(0.25)
}

TEST_F(Provider, FixedCyclesAreExact)
{
  const double* tri = provider->baseCycle(WaveformProvider::kTriangle);
  EXPECT_EQ(tri[1023], 1.0);
  EXPECT_EQ(tri[2047], 0.0);
  EXPECT_EQ(tri[3071], -1.0);
  EXPECT_EQ(tri[4095], 0.0);
  EXPECT_EQ(tri[0], 4.0 / 4096.0);

  const double* trapez = provider->baseCycle(WaveformProvider::kTrapez);
  const double* x = provider->baseCycle(WaveformProvider::kXTrapez);
  EXPECT_EQ(trapez[0], 8.0 / 4096.0);
  EXPECT_EQ(trapez[1023], 1.0);
  EXPECT_EQ(trapez[3071], -1.0);
  EXPECT_EQ(x[766], trapez[766]);
  EXPECT_EQ(x[767], -0.5);
  EXPECT_EQ(x[1023], -0.5 + 1.5 * 256.0 / 512.0);
  EXPECT_EQ(x[1279], 1.0);
  EXPECT_EQ(x[1280], trapez[1280]);
  EXPECT_EQ(x[2048 + 767], 0.5);
  EXPECT_EQ(x[2048 + 1279], -1.0);
  EXPECT_EQ(x[100], trapez[100]);

  const double* pulse = provider->baseCycle(WaveformProvider::kPulse);
  EXPECT_EQ(pulse[0], 0.0);
  EXPECT_EQ(pulse[1], 1.0);
  EXPECT_EQ(pulse[2046], 1.0);
  EXPECT_EQ(pulse[2047], 0.0);
  EXPECT_EQ(pulse[2048], -1.0);
  EXPECT_EQ(pulse[4094], -1.0);
  EXPECT_EQ(pulse[4095], 0.0);

  const double* quad = provider->baseCycle(WaveformProvider::kQuadPulse);
  EXPECT_EQ(quad[0], 0.0);
  EXPECT_EQ(quad[1022], 1.0);
  EXPECT_EQ(quad[1023], 0.0);
  EXPECT_EQ(quad[1024], -1.0);
  EXPECT_EQ(quad[4095], -1.0);
}

TEST_F(Provider, NoiseCyclesFollowTheSeededDrawsInOrder)
{
  // An independent run of the generator from seed 1800, in the documented order of draws.
  std::uint32_t state = 1800;
  auto r = [&state]
  {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
  };
  auto n14 = [&r] { return ((r() & 16383) - 8192) / 8192.0; };
  auto tri = [](double u) { return u < 0.25 ? 4 * u : u < 0.75 ? 2 - 4 * u : 4 * u - 4; };
  std::vector<double> noize(kN), q1(kN), q2(kN), q3(kN);
  double h75 = 0, h50 = 0, h25 = 0;
  for (int c = 0; c < kN; ++c)
  {
    const double f = c / 4096.0;
    noize[c] = n14();
    if (c % 75 == 0)
      h75 = n14();
    if (c % 50 == 0)
    {
      const double h = n14();
      h50 = 0.5 * (tri(f / 2) * h + h);
    }
    if (c % 25 == 0)
      h25 = n14() * tri(f);
    if (c % 100 == 0)
      r();
    const double s = std::sin(kPi * f), t = std::sin(2 * kPi * f);
    const double p = t > 0.5 ? t - tri(f) : t < -0.5 ? t + std::abs(tri(f)) : t;
    q1[c] = -s * p * 0.2 * h75 + 0.8 * h75; // the Pyrokinesis value before normalisation
    q2[c] = tri(f) * 0.2 * h50 + 0.8 * h50 + 0.1 * t;
    q3[c] = h25;
  }
  auto check = [](const std::vector<double>& raw, const double* got, const char* name)
  {
    const double scale = 0.98777 / peakOf(raw.data());
    for (int i = 0; i < kN; ++i)
      ASSERT_NEAR(got[i], raw[static_cast<std::size_t>(i)] * scale, 1e-14) << name << " " << i;
  };
  check(noize, provider->baseCycle(WaveformProvider::kNoize), "Noize");
  check(q1, provider->baseCycle(WaveformProvider::kLowQ1), "Low-Q 1");
  check(q2, provider->baseCycle(WaveformProvider::kLowQ2), "Low-Q 2");
  check(q3, provider->baseCycle(WaveformProvider::kLowQ3), "Low-Q 3");

  // A second provider gives the very same Noize cycle and set, so presets sound alike,
  // and leaves the generator where these draws left it: the noise oscillators go on
  // from there.
  WaveformProvider other;
  other.buildBaseWaveforms();
  other.buildSets();
  EXPECT_EQ(other.getRandom().getState(), state);
  for (int i = 0; i < kN; ++i)
    ASSERT_EQ(other.baseCycle(WaveformProvider::kNoize)[i],
              provider->baseCycle(WaveformProvider::kNoize)[i]);
  ASSERT_EQ(other.set(10).count, provider->set(10).count);
  for (int i = 0; i < kN; ++i)
    ASSERT_EQ(other.set(10).tables[0].samples[i], provider->set(10).tables[0].samples[i]);
}

TEST_F(Provider, SetsExistExactlyForTablePositions)
{
  for (int p = 0; p < WaveformProvider::kWaveformCount; ++p)
  {
    const bool expectEmpty = p == 1 || p == 4 || p == 8 || p == 9;
    EXPECT_EQ(provider->set(p).empty(), expectEmpty) << WaveformProvider::waveformName(p);
  }
}

TEST_F(Provider, SineSetHasOneTableOfOneHarmonic)
{
  const WaveTableSet& s = provider->set(0);
  ASSERT_EQ(s.count, 1);
  EXPECT_NEAR(s.tables[0].topFrequency, 2.0 / 3.0, 1e-15);
  EXPECT_EQ(s.tables[0].length, 4096);
  for (int i = 0; i < kN; i += 64)
    EXPECT_NEAR(s.tables[0].samples[i], 0.999 * std::sin(2 * kPi * i / kN), 1e-12) << i;
}

TEST_F(Provider, EveryTableIsBandLimitedAndSharesTheFirstTablesGain)
{
  Fft fft(kN);
  std::vector<Complex> first(kN / 2 + 1), spectrum(kN / 2 + 1);
  for (int p = 0; p < WaveformProvider::kWaveformCount; ++p)
  {
    const WaveTableSet& s = provider->set(p);
    if (s.empty())
      continue;
    const char* name = WaveformProvider::waveformName(p);
    EXPECT_NEAR(peakOf(s.tables[0].samples.get()), 0.999, 1e-12) << name;
    fft.forwardReal(s.tables[0].samples.get(), first.data());
    // The richest table tells maxHarmonic; each further table keeps half of it.
    int m = harmonicsOf(s.tables[0].topFrequency);
    ASSERT_GE(m, 1);
    ASSERT_LE(m, 2047);
    for (int t = 0; t < s.count; ++t, m /= 2)
    {
      const auto& table = s.tables[t];
      ASSERT_GE(m, 1) << name << ": more tables than halvings";
      ASSERT_EQ(table.length, kN);
      ASSERT_EQ(table.samples[kN], table.samples[0]) << "guard sample";
      if (t > 0)
      {
        EXPECT_NEAR(table.topFrequency, 2.0 * s.tables[t - 1].topFrequency, 1e-15);
      }
      fft.forwardReal(table.samples.get(), spectrum.data());
      // Nothing above maxHarmonic, no constant term.
      double above = std::abs(spectrum[0]);
      for (int k = m + 1; k <= kN / 2; ++k)
        above = std::max(above, std::abs(spectrum[static_cast<std::size_t>(k)]));
      EXPECT_LT(above, 1e-9) << name << " table " << t;
      // The richest table holds its top harmonic; 1..m are as in the first table: one shared scale.
      if (t == 0)
      {
        EXPECT_GT(std::abs(spectrum[static_cast<std::size_t>(m)]), 1e-7) << name;
      }
      for (int k = 1; k <= m; ++k)
        ASSERT_NEAR(
            std::abs(spectrum[static_cast<std::size_t>(k)] - first[static_cast<std::size_t>(k)]),
            0.0, 1e-9)
            << name << " table " << t << " harmonic " << k;
    }
    EXPECT_EQ(m, 0) << name << ": the set stops when no harmonic is left";
  }
}

TEST_F(Provider, FullBandwidthCyclesGiveElevenTablesFrom2047Harmonics)
{
  for (int p : {10, 2, 20})
  { // Noize, Pulse, Brick-Breaker
    const WaveTableSet& s = provider->set(p);
    ASSERT_EQ(s.count, 11) << WaveformProvider::waveformName(p);
    // 2047, 1023, 511, ... 3, 1 harmonics; topFrequency doubles from (2/3) / 2047.
    for (int t = 0; t < s.count; ++t)
      EXPECT_NEAR(s.tables[t].topFrequency, (2.0 / 3.0) / 2047 * (1 << t), 1e-15) << t;
  }
}

TEST_F(Provider, TableEqualsTheCycleKeptToItsHarmonics)
{
  // Reference by direct sums: harmonics 1..m of the KIC cycle, for the table that keeps 15.
  const double* kic = provider->baseCycle(WaveformProvider::kKic);
  const WaveTableSet& s = provider->set(18);
  ASSERT_EQ(harmonicsOf(s.tables[0].topFrequency), 2047);
  const int t = 7; // 2047 >> 7 == 15
  ASSERT_LT(t, s.count);
  std::vector<Complex> x(16);
  for (int k = 1; k <= 15; ++k)
  {
    Complex sum = 0;
    for (int n = 0; n < kN; ++n)
      sum += kic[n] * std::polar(1.0, -2 * kPi * ((static_cast<long>(k) * n) % kN) / kN);
    x[static_cast<std::size_t>(k)] = sum;
  }
  double ratio = 0.0;
  for (int n = 0; n < kN; n += 13)
  {
    double v = 0;
    for (int k = 1; k <= 15; ++k)
      v += 2.0 * (x[static_cast<std::size_t>(k)] *
                  std::polar(1.0, 2 * kPi * ((static_cast<long>(k) * n) % kN) / kN))
                     .real();
    v /= kN;
    if (std::abs(v) > 0.1 && ratio == 0.0)
      ratio = s.tables[t].samples[n] / v;
    if (ratio != 0.0)
    {
      ASSERT_NEAR(s.tables[t].samples[n], ratio * v, 1e-10) << n;
    }
  }
  EXPECT_GT(ratio, 0.0);
}

TEST(WaveformProviderSets, CyclesWithoutHarmonicsGiveNoTable)
{
  WaveformProvider provider;
  WaveTableSet set;
  std::vector<double> cycle(kN, 0.0);
  provider.setFromCycle(set, cycle.data());
  EXPECT_EQ(set.count, 0);

  std::fill(cycle.begin(), cycle.end(), 0.7); // constant: only the removed term
  provider.setFromCycle(set, cycle.data());
  EXPECT_EQ(set.count, 0);

  for (int i = 0; i < kN; ++i) // only the Nyquist term, which is removed
    cycle[static_cast<std::size_t>(i)] = (i % 2) ? -1.0 : 1.0;
  provider.setFromCycle(set, cycle.data());
  EXPECT_EQ(set.count, 0);
  EXPECT_EQ(set.tableFor(0.01), nullptr);
}

TEST(WaveformProviderSets, RebuildingEmptiesTheSetFirstAndBadValuesGiveNoTable)
{
  WaveformProvider provider;
  WaveTableSet set;
  std::vector<double> cycle(kN);
  std::mt19937 gen(3);
  std::uniform_real_distribution<double> d(-1, 1);
  for (auto& v : cycle)
    v = d(gen);
  provider.setFromCycle(set, cycle.data());
  EXPECT_EQ(set.count, 11);

  for (int i = 0; i < kN; ++i)
    cycle[static_cast<std::size_t>(i)] =
        std::sin(2 * kPi * 5 * i / kN) + 0.5 * std::cos(2 * kPi * 40 * i / kN);
  provider.setFromCycle(set, cycle.data());
  ASSERT_EQ(set.count, 6); // 40, 20, 10, 5, 2, 1 harmonics
  EXPECT_NEAR(set.tables[0].topFrequency, (2.0 / 3.0) / 40, 1e-15);
  EXPECT_EQ(set.tables[6].samples, nullptr);

  // Table choice: the first whose topFrequency exceeds the increment, else the last.
  EXPECT_EQ(set.tableFor(0.0), &set.tables[0]);
  EXPECT_EQ(set.tableFor((2.0 / 3.0) / 40 * 1.5), &set.tables[1]);
  EXPECT_EQ(set.tableFor(0.49), &set.tables[5]);

  cycle[100] = std::numeric_limits<double>::quiet_NaN();
  provider.setFromCycle(set, cycle.data());
  EXPECT_EQ(set.count, 0);
  cycle[100] = std::numeric_limits<double>::infinity();
  provider.setFromCycle(set, cycle.data());
  EXPECT_EQ(set.count, 0);
}

TEST_F(Provider, DisplayOfTablesAnalyticShapesAndNoise)
{
  double points[105];
  // Brick-Breaker with a negative phase offset: the first table at floor(4096 u).
  provider->renderDisplay(0.5, -0.25, points);
  const auto& table = provider->set(20).tables[0];
  for (int i = 0; i < 105; ++i)
  {
    double u = i / 105.0 - 0.25;
    u -= std::floor(u);
    ASSERT_EQ(points[i], table.samples[static_cast<int>(std::floor(4096 * u))]) << i;
  }
  // Sine through the analytic oscillator.
  provider->renderDisplay(0.0, 0.0, points);
  for (int i = 0; i < 105; ++i)
    ASSERT_NEAR(points[i], std::sin(2 * kPi * i / 105.0), 1e-12);
  // QuadPulse swings between +1 and -1 after its offset.
  provider->renderDisplay(3.0 / 39.0, 0.0, points);
  EXPECT_NEAR(points[11], 1.0, 1e-12);
  EXPECT_NEAR(points[60], -1.0, 1e-12);
  // Sawtooth: rises through 0 at phase 0.
  provider->renderDisplay(1.0 / 39.0, 0.0, points);
  EXPECT_NEAR(points[30], 2.0 * (30 / 105.0 + 0.5) - 1.0, 1e-12);
  // Noise: white within -1..1, pink at half amplitude, never constant.
  provider->renderDisplay(8.0 / 39.0, 0.0, points);
  double lo = 1, hi = -1;
  for (double v : points)
  {
    lo = std::min(lo, v);
    hi = std::max(hi, v);
  }
  EXPECT_GE(lo, -1.0);
  EXPECT_LE(hi, 1.0);
  EXPECT_GT(hi - lo, 0.5);
  provider->renderDisplay(9.0 / 39.0, 0.0, points);
  for (double v : points)
    EXPECT_LE(std::abs(v), 0.5);
}

TEST_F(Provider, ExportTextHolds4096ValuesWithSixDigits)
{
  const std::string sine = provider->exportText(0.0);
  EXPECT_NE(sine.back(), ',');
  EXPECT_EQ(sine.rfind("0,0.00153398,", 0), 0u);
  auto v = split(sine);
  ASSERT_EQ(v.size(), 4096u);
  EXPECT_EQ(v[1024], 1.0);

  v = split(provider->exportText(0.5)); // Brick-Breaker from its richest table
  ASSERT_EQ(v.size(), 4096u);
  const auto& table = provider->set(20).tables[0];
  for (int i = 0; i < kN; i += 97)
    EXPECT_NEAR(v[static_cast<std::size_t>(i)], table.samples[i],
                5e-6 * std::max(1.0, std::abs(table.samples[i])));

  v = split(provider->exportText(8.0 / 39.0)); // white noise
  ASSERT_EQ(v.size(), 4096u);
  for (double x : v)
  {
    ASSERT_GE(x, -1.0);
    ASSERT_LE(x, 1.0);
  }
  v = split(provider->exportText(9.0 / 39.0)); // pink noise has no table: zeros
  ASSERT_EQ(v.size(), 4096u);
  for (double x : v)
    ASSERT_EQ(x, 0.0);
}
