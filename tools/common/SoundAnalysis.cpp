#include "tools/common/SoundAnalysis.h"

#include "voice/Fft.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>

namespace SoundAnalysis
{
namespace
{
constexpr double kYinThreshold = 0.15;
// Without a dip below the threshold the deepest dip counts when it is below this: a
// heavily distorted or gliding body still shows its period there, noise does not.
constexpr double kFallbackLimit = 0.7;
constexpr double kSilence = 1e-9;
constexpr double kPi = 3.14159265358979323846;

double ToDb(double level)
{
  return level > 0.0 ? 20.0 * std::log10(level) : -std::numeric_limits<double>::infinity();
}
} // namespace

double PitchAt(const std::vector<double>& x, double sampleRate, double start)
{
  const int window = int(kPitchWindowSeconds * sampleRate);
  const int from = int(start * sampleRate);
  const int minLag = std::max(2, int(sampleRate / kMaxPitchHz));
  const int maxLag = int(sampleRate / kMinPitchHz);
  const int half = window / 2;
  if (from < 0 || maxLag >= half || size_t(from + window) > x.size())
    return 0.0;
  const double* s = x.data() + from;
  double energy = 0.0;
  for (int i = 0; i < window; ++i)
    energy += s[i] * s[i];
  if (energy < kSilence)
    return 0.0;
  // Difference function over the first half of the window, for lags up to maxLag.
  std::vector<double> d(size_t(maxLag) + 1, 0.0);
  for (int lag = 1; lag <= maxLag; ++lag)
  {
    double sum = 0.0;
    for (int i = 0; i < half; ++i)
    {
      const double e = s[i] - s[i + lag];
      sum += e * e;
    }
    d[size_t(lag)] = sum;
  }
  // Cumulative mean normalised difference.
  std::vector<double> cmnd(d.size(), 1.0);
  double running = 0.0;
  for (int lag = 1; lag <= maxLag; ++lag)
  {
    running += d[size_t(lag)];
    cmnd[size_t(lag)] = running > 0.0 ? d[size_t(lag)] * lag / running : 1.0;
  }
  int best = -1;
  for (int lag = minLag; lag <= maxLag; ++lag)
  {
    if (cmnd[size_t(lag)] < kYinThreshold)
    {
      while (lag + 1 <= maxLag && cmnd[size_t(lag) + 1] < cmnd[size_t(lag)])
        ++lag;
      best = lag;
      break;
    }
  }
  if (best < 0)
  {
    // No clear period: the deepest dip, if it is a dip at all.
    best = int(std::min_element(cmnd.begin() + minLag, cmnd.end()) - cmnd.begin());
    if (cmnd[size_t(best)] > kFallbackLimit)
      return 0.0;
  }
  double lag = best;
  if (best > minLag && best < maxLag)
  {
    const double a = cmnd[size_t(best) - 1], b = cmnd[size_t(best)], c = cmnd[size_t(best) + 1];
    const double denominator = a - 2.0 * b + c;
    if (denominator != 0.0)
      lag += 0.5 * (a - c) / denominator;
  }
  return sampleRate / lag;
}

double FallTime(const std::vector<double>& x, double sampleRate, double dropDb)
{
  const size_t hop = std::max<size_t>(1, size_t(0.005 * sampleRate));
  double peak = 0.0;
  for (double v : x)
    peak = std::max(peak, std::fabs(v));
  if (peak < kSilence)
    return 0.0;
  const double floorLevel = peak * std::pow(10.0, -dropDb / 20.0);
  size_t lastLoud = 0;
  bool any = false;
  for (size_t at = 0; at < x.size(); at += hop)
  {
    double level = 0.0;
    for (size_t i = at; i < std::min(x.size(), at + hop); ++i)
      level = std::max(level, std::fabs(x[i]));
    if (level >= floorLevel)
    {
      lastLoud = at;
      any = true;
    }
  }
  if (!any)
    return 0.0;
  const size_t end = lastLoud + hop;
  if (end >= x.size())
    return -1.0;
  return double(end) / sampleRate;
}

double SpectralCentroid(const std::vector<double>& x, double sampleRate)
{
  constexpr int kSize = 2048;
  constexpr int kHop = kSize / 2;
  Korvane::Fft fft(kSize);
  std::vector<double> frame(kSize);
  std::vector<std::complex<double>> spectrum(kSize / 2 + 1);
  double weighted = 0.0, total = 0.0;
  for (size_t at = 0; at + kSize <= x.size() || (at == 0 && !x.empty()); at += kHop)
  {
    for (int i = 0; i < kSize; ++i)
    {
      const double w = 0.5 - 0.5 * std::cos(2.0 * kPi * i / kSize);
      frame[size_t(i)] = at + size_t(i) < x.size() ? x[at + size_t(i)] * w : 0.0;
    }
    fft.forwardReal(frame.data(), spectrum.data());
    for (int k = 1; k <= kSize / 2; ++k)
    {
      const double m = std::abs(spectrum[size_t(k)]);
      weighted += m * k * sampleRate / kSize;
      total += m;
    }
    if (at + kSize > x.size())
      break;
  }
  return total > kSilence ? weighted / total : 0.0;
}

double RmsDbBetween(const std::vector<double>& x, double sampleRate, double from, double to)
{
  const size_t a = std::min(x.size(), size_t(std::max(0.0, from) * sampleRate));
  const size_t b = std::min(x.size(), size_t(std::max(0.0, to) * sampleRate));
  if (b <= a)
    return -std::numeric_limits<double>::infinity();
  double sum = 0.0;
  for (size_t i = a; i < b; ++i)
    sum += x[i] * x[i];
  return ToDb(std::sqrt(sum / double(b - a)));
}

Figures Analyse(const std::vector<double>& x, double sampleRate)
{
  Figures f;
  double peak = 0.0, sum = 0.0;
  for (double v : x)
  {
    if (!std::isfinite(v))
    {
      f.finite = false;
      continue;
    }
    peak = std::max(peak, std::fabs(v));
    sum += v * v;
  }
  f.peakDb = ToDb(peak);
  f.rmsDb = x.empty() ? ToDb(0.0) : ToDb(std::sqrt(sum / double(x.size())));
  if (!f.finite)
    return f;
  f.pitchAt10ms = PitchAt(x, sampleRate, 0.010);
  f.pitchAt100ms = PitchAt(x, sampleRate, 0.100);
  f.fall40dB = FallTime(x, sampleRate, 40.0);
  f.centroidHz = SpectralCentroid(x, sampleRate);
  return f;
}
} // namespace SoundAnalysis
