#pragma once
// Measures what a unit did to a tone: the amplitude of one frequency in a stretch of
// output, by a least-squares fit of a sine and a cosine at that frequency (exact for a
// steady tone, whatever the number of cycles in the stretch).
#include <cmath>
#include <numbers>

namespace ToneMeasure
{

// Amplitude of the component at `cyclesPerSample` in y[0..n).
inline double amplitudeAt(const double* y, int n, double cyclesPerSample)
{
  double ss = 0.0, sc = 0.0, cc = 0.0, ys = 0.0, yc = 0.0;
  for (int i = 0; i < n; ++i)
  {
    const double w = 2.0 * std::numbers::pi * cyclesPerSample * double(i);
    const double s = std::sin(w), c = std::cos(w);
    ss += s * s;
    sc += s * c;
    cc += c * c;
    ys += y[i] * s;
    yc += y[i] * c;
  }
  const double det = ss * cc - sc * sc;
  const double a = (ys * cc - yc * sc) / det;
  const double b = (yc * ss - ys * sc) / det;
  return std::hypot(a, b);
}

} // namespace ToneMeasure
