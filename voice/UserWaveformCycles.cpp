#include "voice/UserWaveformCycles.h"

#include "voice/Fft.h"
#include "voice/Random15.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

namespace Korvane
{

namespace
{

constexpr int kN = UserWaveformCycles::kLength;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

void normalise(double* cycle)
{
  double peak = 0.0;
  for (int i = 0; i < kN; ++i)
    peak = std::max(peak, std::abs(cycle[i]));
  if (peak > 0.0)
    for (int i = 0; i < kN; ++i)
      cycle[i] = cycle[i] / peak * UserWaveformCycles::kPeak;
}

// Sum of amplitude(k) * sin(2 pi k f + phase(k)) for k = 1..2047, by one inverse transform.
template <typename Amplitude, typename Phase>
void additive(Fft& fft, std::vector<std::complex<double>>& spectrum, double* cycle,
              Amplitude amplitude, Phase phase)
{
  std::fill(spectrum.begin(), spectrum.end(), std::complex<double>{});
  for (int k = 1; k < kN / 2; ++k)
  {
    const double a = amplitude(k);
    if (a != 0.0)
      spectrum[static_cast<std::size_t>(k)] =
          std::polar(a * kN / 2.0, phase(k) - std::numbers::pi / 2.0);
  }
  fft.inverseReal(spectrum.data(), cycle);
}

// A resonance centred on harmonic number centre with half-width width.
double formant(double k, double centre, double width, double gain)
{
  const double d = (k - centre) / width;
  return gain / (1.0 + d * d);
}

double sinePhase(int) { return 0.0; }

double fold(double x)
{
  // Reflects x back into -1..1 as often as needed (a triangle of period 4).
  double u = std::fmod(x - 1.0, 4.0);
  if (u < 0.0)
    u += 4.0;
  return std::abs(u - 2.0) - 1.0;
}

template <typename Shape>
void shaped(double* cycle, Shape shape)
{
  for (int i = 0; i < kN; ++i)
    cycle[i] = shape(static_cast<double>(i) / kN);
}

} // namespace

void UserWaveformCycles::generate(double* cycles)
{
  Fft fft(kN);
  std::vector<std::complex<double>> spectrum(kN / 2 + 1);
  auto cycle = [cycles](int u) { return cycles + static_cast<std::size_t>(u) * kN; };

  // 1 warm saw
  additive(
      fft, spectrum, cycle(0),
      [](int k)
      {
        const double r = k / 24.0;
        return 1.0 / k / (1.0 + r * r);
      },
      sinePhase);
  // 2 hollow square
  additive(
      fft, spectrum, cycle(1),
      [](int k)
      {
        const double r = k / 32.0;
        return (k % 2) ? 1.0 / k / (1.0 + r * r) : 0.0;
      },
      sinePhase);
  // 3 drawbar organ
  additive(
      fft, spectrum, cycle(2),
      [](int k)
      {
        switch (k)
        {
        case 1:
          return 1.0;
        case 2:
          return 0.8;
        case 3:
          return 0.6;
        case 4:
          return 0.45;
        case 6:
          return 0.3;
        case 8:
          return 0.25;
        case 10:
          return 0.12;
        case 12:
          return 0.1;
        case 16:
          return 0.06;
        default:
          return 0.0;
        }
      },
      sinePhase);
  // 4..6 vowels: a buzz falling 3 dB per octave, shaped by three formants.
  auto vowel = [&](int u, double f1, double f2, double f3, double g2, double g3)
  {
    additive(
        fft, spectrum, cycle(u),
        [=](int k)
        {
          if (k > 96)
            return 0.0;
          const double kk = k;
          const double envelope = 0.15 + formant(kk, f1, 1.2, 1.0) + formant(kk, f2, 1.6, g2) +
                                  formant(kk, f3, 2.2, g3);
          return envelope / std::sqrt(kk);
        },
        sinePhase);
  };
  vowel(3, 6.4, 11.1, 23.6, 0.55, 0.3);
  vowel(4, 2.7, 7.9, 20.4, 0.4, 0.12);
  vowel(5, 2.5, 20.8, 27.4, 0.9, 0.7);

  // 7 FM bass, 8 FM metal
  shaped(cycle(6), [](double f) { return std::sin(kTwoPi * f + 1.3 * std::sin(kTwoPi * f)); });
  shaped(cycle(7),
         [](double f) { return std::sin(kTwoPi * f + 1.6 * std::sin(7.0 * kTwoPi * f)); });
  // 9 hard-sync saw
  shaped(cycle(8),
         [](double f)
         {
           const double u = 2.6 * f;
           return 2.0 * (u - std::floor(u)) - 1.0;
         });
  // 10 resonant sweep
  shaped(cycle(9), [](double f) { return std::pow(1.0 - f, 1.5) * std::sin(6.3 * kTwoPi * f); });
  // 11 wavefolder
  shaped(cycle(10), [](double f) { return fold(2.2 * std::sin(kTwoPi * f)); });
  // 12 half-wave rectified sine
  shaped(cycle(11), [](double f) { return std::max(std::sin(kTwoPi * f), 0.0); });
  // 13 tube drive
  shaped(cycle(12),
         [](double f) {
           return std::tanh(2.5 * (std::sin(kTwoPi * f) + 0.4 * std::sin(2.0 * kTwoPi * f) + 0.3));
         });
  // 14 stepped sine
  shaped(cycle(13), [](double f) { return std::round(3.0 * std::sin(kTwoPi * f)) / 3.0; });
  // 15 Chebyshev growl: T1, T2, T3 and T5 of a sine.
  shaped(cycle(14),
         [](double f)
         {
           const double x = std::sin(kTwoPi * f);
           const double x2 = x * x;
           const double t2 = 2.0 * x2 - 1.0;
           const double t3 = x * (4.0 * x2 - 3.0);
           const double t5 = x * (16.0 * x2 * x2 - 20.0 * x2 + 5.0);
           return 0.5 * x + 0.35 * t2 + 0.3 * t3 + 0.2 * t5;
         });
  // 16 air buzz
  {
    Random15 random(1616);
    std::vector<double> phases(kN / 2);
    for (auto& p : phases)
      p = kTwoPi * random.next() / Random15::kMax;
    additive(
        fft, spectrum, cycle(15),
        [](int k) { return k <= 256 ? (k == 1 ? 2.0 : 1.0) / std::sqrt(k) : 0.0; },
        [&phases](int k) { return phases[static_cast<std::size_t>(k)]; });
  }

  for (int u = 0; u < kCount; ++u)
    normalise(cycle(u));
}

void UserWaveformCycles::generateOne(int u, double* out)
{
  std::vector<double> all(static_cast<std::size_t>(kCount) * kN);
  generate(all.data());
  const int index = std::clamp(u, 0, kCount - 1);
  std::copy_n(all.data() + static_cast<std::size_t>(index) * kN, kN, out);
}

} // namespace Korvane
