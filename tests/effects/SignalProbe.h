#pragma once
// Signals for the unit tests and the measure of what a unit did to a tone.
#include <cmath>
#include <numbers>
#include <vector>

namespace SignalProbe
{

// n samples of white noise in -1..+1 from the 15-bit generator with this seed.
inline std::vector<double> noise(int n, unsigned seed)
{
  std::vector<double> v(static_cast<std::size_t>(n));
  for (auto& x : v)
    x = double(((seed = seed * 214013u + 2531011u) >> 16) & 0x7fff) / 16384.0 - 1.0;
  return v;
}

// Amplitude of the tone of `cyclesPerSample` in y[0..n), by a least-squares fit of a
// sine and a cosine (exact for a steady tone, whatever the number of cycles).
inline double amplitudeAt(const double* y, int n, double cyclesPerSample)
{
  double ss = 0.0, sc = 0.0, cc = 0.0, ys = 0.0, yc = 0.0;
  for (int i = 0; i < n; ++i)
  {
    const double s = std::sin(2.0 * std::numbers::pi * cyclesPerSample * i);
    const double c = std::cos(2.0 * std::numbers::pi * cyclesPerSample * i);
    ss += s * s, sc += s * c, cc += c * c, ys += y[i] * s, yc += y[i] * c;
  }
  const double det = ss * cc - sc * sc;
  return std::hypot((ys * cc - yc * sc) / det, (yc * ss - ys * sc) / det);
}

} // namespace SignalProbe
