#include "dsp/Biquad.h"

#include <cmath>

namespace Dsp
{

namespace
{

// Roots of x^2 + p x + q.
void quadraticRoots(double p, double q, ComplexT& r1, ComplexT& r2)
{
  const ComplexT d = std::sqrt(ComplexT(p * p / 4 - q, 0.0));
  r1 = -p / 2 + d;
  r2 = -p / 2 - d;
}

} // namespace

void Biquad::setPoleZeroPair(const PoleZeroPair& pair)
{
  b0 = 1;
  if (pair.isSingle())
  {
    a1 = -pair.pole1.real();
    a2 = 0;
    b1 = -pair.zero1.real();
    b2 = 0;
  }
  else
  {
    a1 = -(pair.pole1 + pair.pole2).real();
    a2 = (pair.pole1 * pair.pole2).real();
    b1 = -(pair.zero1 + pair.zero2).real();
    b2 = (pair.zero1 * pair.zero2).real();
  }
}

void Biquad::setCoefficients(double a0, double na1, double na2, double nb0, double nb1, double nb2)
{
  a1 = na1 / a0;
  a2 = na2 / a0;
  b0 = nb0 / a0;
  b1 = nb1 / a0;
  b2 = nb2 / a0;
}

void Biquad::applyScale(double scale)
{
  b0 *= scale;
  b1 *= scale;
  b2 *= scale;
}

ComplexT Biquad::response(ComplexT czn1) const
{
  const ComplexT czn2 = czn1 * czn1;
  const ComplexT num = b0 + b1 * czn1 + b2 * czn2;
  const ComplexT den = 1.0 + a1 * czn1 + a2 * czn2;
  return num / den;
}

PoleZeroPair Biquad::getPoleZeroPair() const
{
  PoleZeroPair pair;
  if (a2 == 0 && b2 == 0)
  {
    pair.single = true;
    pair.pole1 = -a1;
    pair.zero1 = b0 != 0 ? ComplexT(-b1 / b0) : infinity();
    return pair;
  }
  quadraticRoots(a1, a2, pair.pole1, pair.pole2);
  if (b0 != 0)
  {
    quadraticRoots(b1 / b0, b2 / b0, pair.zero1, pair.zero2);
  }
  else
  {
    pair.zero1 = infinity();
    pair.zero2 = infinity();
  }
  return pair;
}

} // namespace Dsp
