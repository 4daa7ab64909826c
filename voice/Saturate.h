#pragma once

#include <cmath>

namespace Korvane
{

// The oscillator saturation: s = 0 passes x unchanged; otherwise atan(x) scaled to 1 at
// x = 1, amplified by max(7.77 s, 1) and clamped to -1..+1.
inline double saturate(double x, double s) noexcept
{
  if (s == 0.0)
    return x;
  constexpr double kMinDrive = 0.1287001287001287;      // 1 / 7.77
  constexpr double kQuarterPi = 0.78539816339744830962; // atan(1)
  const double y = std::atan(x) / kQuarterPi * (s > kMinDrive ? s : kMinDrive) * 7.77;
  return y > 1.0 ? 1.0 : (y < -1.0 ? -1.0 : y);
}

} // namespace Korvane
