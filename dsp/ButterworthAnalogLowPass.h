#pragma once

#include "dsp/PoleZeroLayout.h"

namespace Dsp::Butterworth
{

// Normalised Butterworth low-pass prototype: n poles equally spaced on the left half
// of the unit circle, all zeros at infinity, gain 1 at DC. Kept until the order changes.
class AnalogLowPass
{
public:
  void design(int order);
  const PoleZeroLayout& getLayout() const { return layout; }

private:
  int order = -1;
  PoleZeroLayout layout;
};

} // namespace Dsp::Butterworth
