#include "dsp/ButterworthAnalogLowShelf.h"

#include <cmath>
#include <numbers>

namespace Dsp::Butterworth
{

void AnalogLowShelf::design(int requestedOrder, double newGainDb)
{
  if (requestedOrder == order && newGainDb == gainDb)
    return;
  const double gain = std::pow(10.0, newGainDb / 20.0);
  const double poleRadius = std::pow(gain, -1.0 / (2.0 * requestedOrder));
  const double zeroRadius = 1.0 / poleRadius;
  layout.clear();
  const int pairs = requestedOrder / 2;
  for (int k = 0; k < pairs; ++k)
  {
    const double theta = std::numbers::pi * (2 * k + 1) / (2.0 * requestedOrder);
    const ComplexT unit(-std::sin(theta), std::cos(theta));
    layout.add(PoleZeroPair::makeConjugate(poleRadius * unit, zeroRadius * unit));
  }
  if (requestedOrder & 1)
    layout.add(PoleZeroPair::makeSingle(-poleRadius, -zeroRadius));
  layout.analogNormalAtDc = false; // gain 1 at infinity
  layout.normalGain = 1;
  order = requestedOrder;
  gainDb = newGainDb;
}

} // namespace Dsp::Butterworth
