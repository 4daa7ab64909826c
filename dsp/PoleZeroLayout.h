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
  static constexpr int kMaxPairs = 4;

  void clear() { numPairs = 0; }
  int getNumPairs() const { return numPairs; }
  const PoleZeroPair& operator[](int index) const { return pairs[index]; }

  // Silently ignores pairs beyond the capacity (the designs never reach it).
  void add(const PoleZeroPair& pair)
  {
    if (numPairs < kMaxPairs)
      pairs[numPairs++] = pair;
  }

  // Analog prototypes: normalised gain at DC (true) or at infinity (false).
  bool analogNormalAtDc = true;
  // Digital layouts: normalised gain at this angular frequency.
  double normalW = 0;
  double normalGain = 1;

private:
  PoleZeroPair pairs[kMaxPairs];
  int numPairs = 0;
};

} // namespace Dsp
