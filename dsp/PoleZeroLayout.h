#pragma once

#include "dsp/PoleZeroPair.h"

namespace Dsp
{

// A fixed-capacity list of pole/zero pairs (no allocation), with the point where the
// gain is normalised: an analog prototype is normalised at DC or at infinity, a
// digital layout at an angular frequency w (radians per sample).
class PoleZeroLayout
{
public:
  static constexpr int maxPairs = 4;

  void clear() { m_numPairs = 0; }
  int getNumPairs() const { return m_numPairs; }
  const PoleZeroPair& operator[](int index) const { return m_pairs[index]; }

  // Silently ignores pairs beyond the capacity (the designs never reach it).
  void add(const PoleZeroPair& pair)
  {
    if (m_numPairs < maxPairs)
      m_pairs[m_numPairs++] = pair;
  }

  // Analog prototypes: normalised gain at DC (true) or at infinity (false).
  bool analogNormalAtDc = true;
  // Digital layouts: normalised gain at this angular frequency.
  double normalW = 0;
  double normalGain = 1;

private:
  PoleZeroPair m_pairs[maxPairs];
  int m_numPairs = 0;
};

} // namespace Dsp
