#pragma once

#include "dsp/Biquad.h"

namespace Dsp
{

// Direct Form I state of one section: the last two inputs and outputs.
class DirectFormI
{
public:
  void reset() { x1 = x2 = y1 = y2 = 0; }

  // The guard is added to the output (non-zero on the first section only).
  double process1(double in, const Biquad& s, double guard)
  {
    const double out = s.b0 * in + s.b1 * x1 + s.b2 * x2 - s.a1 * y1 - s.a2 * y2 + guard;
    x2 = x1;
    x1 = in;
    y2 = y1;
    y1 = out;
    return out;
  }

private:
  double x1 = 0;
  double x2 = 0;
  double y1 = 0;
  double y2 = 0;
};

} // namespace Dsp
