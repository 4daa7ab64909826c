#include "dsp/BesselAnalogLowPass.h"

#include <cmath>
#include <stdexcept>

#include "dsp/RootFinder.h"

namespace Dsp::Bessel
{

namespace
{

double factorial(int n)
{
  double r = 1;
  for (int i = 2; i <= n; ++i)
    r *= i;
  return r;
}

} // namespace

void AnalogLowPass::reverseBesselPolynomial(int order, double* coef)
{
  for (int k = 0; k <= order; ++k)
    coef[k] = factorial(2 * order - k) /
              (std::ldexp(1.0, order - k) * factorial(k) * factorial(order - k));
}

void AnalogLowPass::design(int requestedOrder)
{
  if (requestedOrder == order)
    return;
  if (requestedOrder < 1 || requestedOrder > kMaxOrder)
    throw std::logic_error("laguerre failed");
  double real[kMaxOrder + 1];
  reverseBesselPolynomial(requestedOrder, real);
  ComplexT coef[kMaxOrder + 1];
  for (int k = 0; k <= requestedOrder; ++k)
    coef[k] = real[k];
  ComplexT roots[kMaxOrder];
  RootFinder::solve(coef, requestedOrder, roots);

  PoleZeroLayout prototype;
  int realCount = 0;
  double realRoots[kMaxOrder];
  for (int i = 0; i < requestedOrder; ++i)
  {
    // One of each conjugate pair (the upper one) stands for both.
    if (std::fabs(roots[i].imag()) <= 1e-12 * std::abs(roots[i]))
      realRoots[realCount++] = roots[i].real();
    else if (roots[i].imag() > 0)
      prototype.add(PoleZeroPair::makeConjugate(roots[i], infinity()));
  }
  for (int i = 0; i + 1 < realCount; i += 2)
    prototype.add(PoleZeroPair::makePair(realRoots[i], infinity(), realRoots[i + 1], infinity()));
  if (realCount & 1)
    prototype.add(PoleZeroPair::makeSingle(realRoots[realCount - 1], infinity()));
  prototype.analogNormalAtDc = true;
  prototype.normalGain = 1;
  layout = prototype;
  order = requestedOrder;
}

} // namespace Dsp::Bessel
