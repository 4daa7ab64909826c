#include "voice/PitchEnvelope.h"

#include <algorithm>
#include <cmath>

namespace Korvane
{

PitchEnvelope::~PitchEnvelope() = default;

double PitchEnvelope::evaluate(double t) const
{
  if (off)
    return 1.0;
  const double end = attack + duration;
  double d;
  if (t < attack)
    d = 1.0 + amountScale * amount * (t / attack);
  else if (t < end)
  {
    // With no amount the fall is flat; the power curve (finite on 0..1) need
    // not be computed then.
    const double peak = amountScale * amount;
    d = peak == 0.0 ? 1.0
                    : 1.0 + peak * std::pow(1.0 - (t - attack) / duration, powerScale * power);
  }
  else
    d = 1.0;
  return d - (t < end ? (t / end) * down : down);
}

void PitchEnvelope::preview(std::span<double, kPreviewPoints> points) const
{
  const double span = attack + 2.0;
  for (int i = 0; i < kPreviewPoints; ++i)
  {
    const double t = double(i) / kPreviewPoints * span;
    double b = off ? 0.0 : evaluate(t) - 1.0;
    if (b < 0.0)
      b = b * amountScale;
    points[i] = b / amountScale;
  }
}

void PitchEnvelope::setBendRange(double value)
{
  // clamp() would pass NaN through; an undefined value counts as 0.
  const double v = value > 0.0 ? std::min(value, 1.0) : 0.0;
  bendRangePosition = std::int32_t(std::floor(6.0 * v + 0.5));
  bendRange = 2.0 * bendRangePosition;
}

} // namespace Korvane
