#include "voice/Fft.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <random>
#include <vector>

using Korvane::Fft;
using Complex = std::complex<double>;

namespace
{

// Direct O(N^2) transform as the reference.
std::vector<Complex> naiveDft(const std::vector<Complex>& x, bool inverse)
{
  const std::size_t n = x.size();
  std::vector<Complex> y(n);
  const double sign = inverse ? 1.0 : -1.0;
  for (std::size_t k = 0; k < n; ++k)
  {
    Complex sum = 0.0;
    for (std::size_t j = 0; j < n; ++j)
    {
      const double a =
          sign * 2.0 * std::numbers::pi * static_cast<double>((k * j) % n) / static_cast<double>(n);
      sum += x[j] * Complex(std::cos(a), std::sin(a));
    }
    y[k] = sum;
  }
  return y;
}

std::vector<double> randomSignal(std::size_t n, unsigned seed)
{
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> d(-1.0, 1.0);
  std::vector<double> x(n);
  for (auto& v : x)
    v = d(gen);
  return x;
}

} // namespace

TEST(Fft, ComplexTransformMatchesDirectSumForSeveralSizes)
{
  for (int n : {4, 8, 16, 64, 512})
  {
    Fft fft(n);
    ASSERT_EQ(fft.size(), n);
    const auto re = randomSignal(static_cast<std::size_t>(n), 1u + static_cast<unsigned>(n));
    const auto im = randomSignal(static_cast<std::size_t>(n), 100u + static_cast<unsigned>(n));
    std::vector<Complex> x(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
      x[static_cast<std::size_t>(i)] = {re[static_cast<std::size_t>(i)],
                                        im[static_cast<std::size_t>(i)]};
    for (bool inverse : {false, true})
    {
      auto y = x;
      fft.transform(y.data(), inverse);
      const auto ref = naiveDft(x, inverse);
      for (int k = 0; k < n; ++k)
        ASSERT_NEAR(std::abs(y[static_cast<std::size_t>(k)] - ref[static_cast<std::size_t>(k)]),
                    0.0, 1e-11)
            << "n " << n << " bin " << k << " inverse " << inverse;
    }
  }
}

TEST(Fft, RealTransformOf4096MatchesDirectSumAndRoundTrips)
{
  constexpr int kN = 4096;
  Fft fft(kN);
  const auto x = randomSignal(kN, 7);
  std::vector<Complex> spectrum(kN / 2 + 1);
  fft.forwardReal(x.data(), spectrum.data());

  // Check a spread of bins, both ends included, against the direct sum.
  for (int k : {0, 1, 2, 3, 17, 1000, 2047, 2048})
  {
    Complex sum = 0.0;
    for (int j = 0; j < kN; ++j)
    {
      const double a =
          -2.0 * std::numbers::pi * static_cast<double>((static_cast<long>(k) * j) % kN) / kN;
      sum += x[static_cast<std::size_t>(j)] * Complex(std::cos(a), std::sin(a));
    }
    EXPECT_NEAR(spectrum[static_cast<std::size_t>(k)].real(), sum.real(), 1e-9) << k;
    EXPECT_NEAR(spectrum[static_cast<std::size_t>(k)].imag(), sum.imag(), 1e-9) << k;
  }

  std::vector<double> back(kN);
  fft.inverseReal(spectrum.data(), back.data());
  for (int i = 0; i < kN; ++i)
    ASSERT_NEAR(back[static_cast<std::size_t>(i)], x[static_cast<std::size_t>(i)], 1e-13) << i;
}

TEST(Fft, RealTransformAgreesWithComplexTransformOnEveryBin)
{
  constexpr int kN = 4096;
  Fft fft(kN);
  const auto x = randomSignal(kN, 11);
  std::vector<Complex> spectrum(kN / 2 + 1);
  fft.forwardReal(x.data(), spectrum.data());
  std::vector<Complex> full(x.begin(), x.end());
  fft.transform(full.data(), false);
  for (int k = 0; k <= kN / 2; ++k)
    ASSERT_NEAR(std::abs(spectrum[static_cast<std::size_t>(k)] - full[static_cast<std::size_t>(k)]),
                0.0, 1e-10)
        << k;
}

TEST(Fft, InverseRealBuildsTheCosineAndSineOfOneBin)
{
  constexpr int kN = 4096;
  Fft fft(kN);
  std::vector<Complex> spectrum(kN / 2 + 1, 0.0);
  // X[5] = N/2 gives cos(2 pi 5 i / N); X[9] = -i N/2 gives sin(2 pi 9 i / N).
  spectrum[5] = {kN / 2.0, 0.0};
  spectrum[9] = {0.0, -kN / 2.0};
  std::vector<double> y(kN);
  fft.inverseReal(spectrum.data(), y.data());
  for (int i = 0; i < kN; i += 37)
  {
    const double w = 2.0 * std::numbers::pi * i / kN;
    EXPECT_NEAR(y[static_cast<std::size_t>(i)], std::cos(5 * w) + std::sin(9 * w), 1e-12) << i;
  }
}

TEST(Fft, SizesAreRaisedToAPowerOfTwo)
{
  EXPECT_EQ(Fft(1).size(), 4);
  EXPECT_EQ(Fft(100).size(), 128);
  EXPECT_EQ(Fft(4096).size(), 4096);
}
