#include "dsp/ChebyshevIAnalogLowPass.h"

#include <cmath>
#include <numbers>

namespace Dsp::ChebyshevI
{

namespace
{
constexpr double kMinRippleDb = 1e-6; // zero ripple has no ellipse
}

void AnalogLowPass::design(int requestedOrder, double newRippleDb)
{
  if (newRippleDb < kMinRippleDb)
    newRippleDb = kMinRippleDb;
  if (requestedOrder == order && newRippleDb == rippleDb)
    return;
  const double eps2 = std::pow(10.0, newRippleDb / 10.0) - 1.0;
  const double v0 = std::asinh(1.0 / std::sqrt(eps2)) / requestedOrder;
  const double sinhV0 = std::sinh(v0);
  const double coshV0 = std::cosh(v0);
  layout.clear();
  const int pairs = requestedOrder / 2;
  for (int k = 0; k < pairs; ++k)
  {
    const double theta = std::numbers::pi * (2 * k + 1) / (2.0 * requestedOrder);
    layout.add(PoleZeroPair::makeConjugate({-sinhV0 * std::sin(theta), coshV0 * std::cos(theta)},
                                           infinity()));
  }
  if (requestedOrder & 1)
    layout.add(PoleZeroPair::makeSingle(-sinhV0, infinity()));
  layout.analogNormalAtDc = true;
  layout.normalGain = (requestedOrder & 1) ? 1.0 : 1.0 / std::sqrt(1.0 + eps2);
  order = requestedOrder;
  rippleDb = newRippleDb;
}

} // namespace Dsp::ChebyshevI
