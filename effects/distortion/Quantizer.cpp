#include "effects/distortion/Quantizer.h"

#include <algorithm>
#include <cmath>

namespace Korvane
{

// --- Called from parameter routing under the plug-in mutex --------------------------

bool Quantizer::setResolution(double value)
{
  if (!std::isfinite(value))
    return false;
  // Above 1 the grid would need more than 64 bits (and 2^bits overflows to infinity,
  // turning silence into NaN); such values leave the signal untouched like 1 does.
  resolution = std::min(value * value, 1.0);
  bits = resolution == 1.0 ? 64.0 : resolution * 63.0 + 1.0;
  levels = std::exp2(bits);
  return true;
}

// --- Called from the audio thread, never blocks -------------------------------------

void Quantizer::process(double* left, double* right, int count) const
{
  if (off || resolution == 1.0)
    return;
  for (int i = 0; i < count; ++i)
  {
    left[i] = std::trunc(levels * left[i]) / levels;
    right[i] = std::trunc(levels * right[i]) / levels;
  }
}

} // namespace Korvane
