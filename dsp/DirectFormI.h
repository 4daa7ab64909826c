#pragma once

#include "dsp/Biquad.h"

namespace Dsp
{

// Direct Form I state of one section: the last two inputs and outputs.
class DirectFormI
{
public:
  void reset() { m_x1 = m_x2 = m_y1 = m_y2 = 0; }

  // The guard is added to the output (non-zero on the first section only).
  double process1(double in, const Biquad& s, double guard)
  {
    const double out = s.b0 * in + s.b1 * m_x1 + s.b2 * m_x2 - s.a1 * m_y1 - s.a2 * m_y2 + guard;
    m_x2 = m_x1;
    m_x1 = in;
    m_y2 = m_y1;
    m_y1 = out;
    return out;
  }

private:
  double m_x1 = 0;
  double m_x2 = 0;
  double m_y1 = 0;
  double m_y2 = 0;
};

} // namespace Dsp
