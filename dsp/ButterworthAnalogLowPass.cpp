#include "dsp/ButterworthAnalogLowPass.h"

#include <cmath>
#include <numbers>

namespace Dsp::Butterworth
{

void AnalogLowPass::design(int order)
{
  if (order == m_order)
    return;
  m_layout.clear();
  const int pairs = order / 2;
  for (int k = 0; k < pairs; ++k)
  {
    const double theta = std::numbers::pi * (2 * k + 1) / (2.0 * order);
    m_layout.add(PoleZeroPair::makeConjugate({-std::sin(theta), std::cos(theta)}, infinity()));
  }
  if (order & 1)
    m_layout.add(PoleZeroPair::makeSingle(-1.0, infinity()));
  m_layout.analogNormalAtDc = true;
  m_layout.normalGain = 1;
  m_order = order;
}

} // namespace Dsp::Butterworth
