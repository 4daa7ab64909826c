#pragma once

#include "dsp/PoleZeroPair.h"

namespace Dsp
{

// Roots of a complex polynomial by Laguerre's method with deflation, each root then
// polished on the full polynomial. Throws std::logic_error("laguerre failed") when a
// root does not converge within 80 iterations.
class RootFinder
{
public:
  static constexpr int kMaxDegree = 16;

  // coef[0] + coef[1] x + ... + coef[degree] x^degree; roots receives degree values.
  static void solve(const ComplexT* coef, int degree, ComplexT* roots, bool polish = true);

  // Refines x towards a root of the polynomial; returns the iterations used.
  static int laguerre(const ComplexT* coef, int degree, ComplexT& x);
};

} // namespace Dsp
