#pragma once

#include "dsp/PoleZeroLayout.h"

namespace Dsp::ChebyshevI
{

// Normalised Chebyshev type I low-pass prototype: poles on the ellipse given by the
// pass-band ripple, all zeros at infinity. The pass band swings between 0 dB and
// -ripple dB and ends at w = 1 at -ripple dB; odd orders have 0 dB at DC, even orders
// -ripple dB. Kept until the order or the ripple changes.
class AnalogLowPass
{
public:
  void design(int order, double rippleDb);
  const PoleZeroLayout& getLayout() const { return layout; }

private:
  int order = -1;
  double rippleDb = 0;
  PoleZeroLayout layout;
};

} // namespace Dsp::ChebyshevI
