#include "dsp/RootFinder.h"

#include <cmath>
#include <stdexcept>

namespace Dsp
{

namespace
{

constexpr double kEpsilon = 2.220446049250313e-16; // 2^-52
constexpr int kFractionCount = 8;                  // limit-cycle breaks
constexpr int kBreakEvery = 10;                    // iterations between breaks
constexpr int kMaxIterations = kBreakEvery * kFractionCount;
constexpr double kFractions[kFractionCount + 1] = {0.0,  0.5,  0.25, 0.75, 0.13,
                                                   0.38, 0.62, 0.88, 1.0};

} // namespace

int RootFinder::laguerre(const ComplexT* a, int m, ComplexT& x)
{
  for (int iter = 1; iter <= kMaxIterations; ++iter)
  {
    ComplexT b = a[m];
    double err = std::abs(b);
    ComplexT d = 0.0;
    ComplexT f = 0.0;
    const double abx = std::abs(x);
    for (int j = m - 1; j >= 0; --j)
    {
      f = x * f + d;
      d = x * d + b;
      b = x * b + a[j];
      err = std::abs(b) + abx * err;
    }
    err *= kEpsilon;
    if (std::abs(b) <= err)
      return iter; // at a root within rounding
    const ComplexT g = d / b;
    const ComplexT g2 = g * g;
    const ComplexT h = g2 - 2.0 * f / b;
    const ComplexT sq = std::sqrt(static_cast<double>(m - 1) * (static_cast<double>(m) * h - g2));
    ComplexT gp = g + sq;
    const ComplexT gm = g - sq;
    const double abp = std::abs(gp);
    const double abm = std::abs(gm);
    if (abp < abm)
      gp = gm;
    const ComplexT dx = std::max(abp, abm) > 0.0 ? static_cast<double>(m) / gp
                                                 : std::polar(1 + abx, static_cast<double>(iter));
    const ComplexT x1 = x - dx;
    if (x == x1)
      return iter; // converged
    if (iter % kBreakEvery != 0)
      x = x1;
    else
      x -= kFractions[iter / kBreakEvery] * dx;
  }
  throw std::logic_error("laguerre failed");
}

void RootFinder::solve(const ComplexT* coef, int degree, ComplexT* roots, bool polish)
{
  if (degree < 1)
    return;
  if (degree > kMaxDegree)
    throw std::logic_error("laguerre failed");
  ComplexT deflated[kMaxDegree + 1];
  for (int j = 0; j <= degree; ++j)
    deflated[j] = coef[j];
  for (int j = degree; j >= 1; --j)
  {
    ComplexT x = 0.0;
    laguerre(deflated, j, x);
    if (std::fabs(x.imag()) <= 2.0 * kEpsilon * std::fabs(x.real()))
      x = x.real();
    roots[j - 1] = x;
    // Divide the found root out.
    ComplexT b = deflated[j];
    for (int jj = j - 1; jj >= 0; --jj)
    {
      const ComplexT c = deflated[jj];
      deflated[jj] = b;
      b = x * b + c;
    }
  }
  if (polish)
    for (int j = 0; j < degree; ++j)
      laguerre(coef, degree, roots[j]);
}

} // namespace Dsp
