#pragma once

#include "dsp/PoleZeroLayout.h"

namespace Dsp::Butterworth
{

// Butterworth low-shelf prototype of order n and gain G (dB): poles at radius
// G^(-1/2n) and zeros at radius G^(1/2n) on the Butterworth angles, so that
//   |H(jw)|^2 = (G^2 + G w^2n) / (1 + G w^2n)   (G linear)
// is G at DC, 1 at infinity, and half the gain in dB at w = 1.
class AnalogLowShelf
{
public:
  void design(int order, double gainDb);
  const PoleZeroLayout& getLayout() const { return layout; }

private:
  int order = -1;
  double gainDb = 0;
  PoleZeroLayout layout;
};

} // namespace Dsp::Butterworth
