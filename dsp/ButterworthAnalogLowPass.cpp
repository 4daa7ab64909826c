#include "dsp/ButterworthAnalogLowPass.h"

#include <cmath>
#include <numbers>

namespace Dsp::Butterworth
{

void AnalogLowPass::design(int requestedOrder)
{
  if (requestedOrder == order)
    return;
  layout.clear();
  const int pairs = requestedOrder / 2;
  for (int k = 0; k < pairs; ++k)
  {
    const double theta = std::numbers::pi * (2 * k + 1) / (2.0 * requestedOrder);
    layout.add(PoleZeroPair::makeConjugate({-std::sin(theta), std::cos(theta)}, infinity()));
  }
  if (requestedOrder & 1)
    layout.add(PoleZeroPair::makeSingle(-1.0, infinity()));
  layout.analogNormalAtDc = true;
  layout.normalGain = 1;
  order = requestedOrder;
}

} // namespace Dsp::Butterworth
