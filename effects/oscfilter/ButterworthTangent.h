#pragma once

#include <cmath>
#include <numbers>

namespace Korvane
{

// tan(pi * fc) for the tweaked Butterworth biquads, remembered for the last
// fraction asked for. The two sides of an oscillator filter see the same cutoff,
// so when both are biquads they share one of these and the tangent is computed
// once per sample; a held cutoff computes it not at all.
class ButterworthTangent
{
public:
  double of(double fraction)
  {
    if (fraction != lastFraction)
    {
      lastFraction = fraction;
      tangent = std::tan(std::numbers::pi * fraction);
    }
    return tangent;
  }

  void forget() { lastFraction = -1.0; }

private:
  double lastFraction = -1.0; // never a real fraction
  double tangent = 0.0;
};

} // namespace Korvane
