#pragma once

#include "dsp/Biquad.h"

namespace Dsp
{

// Direct Form II state of one section: the two delayed internal values.
class DirectFormII
{
public:
  void reset() { m_w1 = m_w2 = 0; }

  // The guard is subtracted from the internal value (non-zero on the first section only).
  double process1(double in, const Biquad& s, double guard)
  {
    const double w = in - s.a1 * m_w1 - s.a2 * m_w2 - guard;
    const double out = s.b0 * w + s.b1 * m_w1 + s.b2 * m_w2;
    m_w2 = m_w1;
    m_w1 = w;
    return out;
  }

private:
  double m_w1 = 0;
  double m_w2 = 0;
};

} // namespace Dsp
