#include "dsp/ButterworthAnalogLowShelf.h"

#include <cmath>
#include <numbers>

namespace Dsp::Butterworth
{

void AnalogLowShelf::design(int order, double gainDb)
{
  if (order == m_order && gainDb == m_gainDb)
    return;
  const double gain = std::pow(10.0, gainDb / 20.0);
  const double poleRadius = std::pow(gain, -1.0 / (2.0 * order));
  const double zeroRadius = 1.0 / poleRadius;
  m_layout.clear();
  const int pairs = order / 2;
  for (int k = 0; k < pairs; ++k)
  {
    const double theta = std::numbers::pi * (2 * k + 1) / (2.0 * order);
    const complex_t unit(-std::sin(theta), std::cos(theta));
    m_layout.add(PoleZeroPair::makeConjugate(poleRadius * unit, zeroRadius * unit));
  }
  if (order & 1)
    m_layout.add(PoleZeroPair::makeSingle(-poleRadius, -zeroRadius));
  m_layout.analogNormalAtDc = false; // gain 1 at infinity
  m_layout.normalGain = 1;
  m_order = order;
  m_gainDb = gainDb;
}

} // namespace Dsp::Butterworth
