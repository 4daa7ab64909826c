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
  const PoleZeroLayout& getLayout() const { return m_layout; }

private:
  int m_order = -1;
  PoleZeroLayout m_layout;
};

} // namespace Dsp::Butterworth
