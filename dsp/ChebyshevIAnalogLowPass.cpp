#include "dsp/ChebyshevIAnalogLowPass.h"

#include <cmath>
#include <numbers>

namespace Dsp::ChebyshevI
{

namespace
{
constexpr double minRippleDb = 1e-6; // zero ripple has no ellipse
}

void AnalogLowPass::design(int order, double rippleDb)
{
  if (rippleDb < minRippleDb)
    rippleDb = minRippleDb;
  if (order == m_order && rippleDb == m_rippleDb)
    return;
  const double eps2 = std::pow(10.0, rippleDb / 10.0) - 1.0;
  const double v0 = std::asinh(1.0 / std::sqrt(eps2)) / order;
  const double sinhV0 = std::sinh(v0);
  const double coshV0 = std::cosh(v0);
  m_layout.clear();
  const int pairs = order / 2;
  for (int k = 0; k < pairs; ++k)
  {
    const double theta = std::numbers::pi * (2 * k + 1) / (2.0 * order);
    m_layout.add(PoleZeroPair::makeConjugate({-sinhV0 * std::sin(theta), coshV0 * std::cos(theta)},
                                             infinity()));
  }
  if (order & 1)
    m_layout.add(PoleZeroPair::makeSingle(-sinhV0, infinity()));
  m_layout.analogNormalAtDc = true;
  m_layout.normalGain = (order & 1) ? 1.0 : 1.0 / std::sqrt(1.0 + eps2);
  m_order = order;
  m_rippleDb = rippleDb;
}

} // namespace Dsp::ChebyshevI
