#pragma once

#include "dsp/Biquad.h"

namespace Dsp
{

// Direct Form II state of one section: the two delayed internal values.
class DirectFormII
{
public:
  void reset() { w1 = w2 = 0; }

  // The guard is subtracted from the internal value (non-zero on the first section only).
  double process1(double in, const Biquad& s, double guard)
  {
    const double w = in - s.a1 * w1 - s.a2 * w2 - guard;
    const double out = s.b0 * w + s.b1 * w1 + s.b2 * w2;
    w2 = w1;
    w1 = w;
    return out;
  }

private:
  double w1 = 0;
  double w2 = 0;
};

} // namespace Dsp
