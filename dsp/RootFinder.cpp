#include "dsp/RootFinder.h"

#include <cmath>
#include <stdexcept>

namespace Dsp
{

namespace
{

constexpr double epsilon = 2.220446049250313e-16; // 2^-52
constexpr int fractionCount = 8;                  // limit-cycle breaks
constexpr int breakEvery = 10;                    // iterations between breaks
constexpr int maxIterations = breakEvery * fractionCount;
constexpr double fractions[fractionCount + 1] = {0.0, 0.5, 0.25, 0.75, 0.13, 0.38, 0.62, 0.88, 1.0};

} // namespace

int RootFinder::laguerre(const complex_t* a, int m, complex_t& x)
{
  for (int iter = 1; iter <= maxIterations; ++iter)
  {
    complex_t b = a[m];
    double err = std::abs(b);
    complex_t d = 0.0;
    complex_t f = 0.0;
    const double abx = std::abs(x);
    for (int j = m - 1; j >= 0; --j)
    {
      f = x * f + d;
      d = x * d + b;
      b = x * b + a[j];
      err = std::abs(b) + abx * err;
    }
    err *= epsilon;
    if (std::abs(b) <= err)
      return iter; // at a root within rounding
    const complex_t g = d / b;
    const complex_t g2 = g * g;
    const complex_t h = g2 - 2.0 * f / b;
    const complex_t sq = std::sqrt(static_cast<double>(m - 1) * (static_cast<double>(m) * h - g2));
    complex_t gp = g + sq;
    const complex_t gm = g - sq;
    const double abp = std::abs(gp);
    const double abm = std::abs(gm);
    if (abp < abm)
      gp = gm;
    const complex_t dx = std::max(abp, abm) > 0.0 ? static_cast<double>(m) / gp
                                                  : std::polar(1 + abx, static_cast<double>(iter));
    const complex_t x1 = x - dx;
    if (x == x1)
      return iter; // converged
    if (iter % breakEvery != 0)
      x = x1;
    else
      x -= fractions[iter / breakEvery] * dx;
  }
  throw std::logic_error("laguerre failed");
}

void RootFinder::solve(const complex_t* coef, int degree, complex_t* roots, bool polish)
{
  if (degree < 1)
    return;
  if (degree > maxDegree)
    throw std::logic_error("laguerre failed");
  complex_t deflated[maxDegree + 1];
  for (int j = 0; j <= degree; ++j)
    deflated[j] = coef[j];
  for (int j = degree; j >= 1; --j)
  {
    complex_t x = 0.0;
    laguerre(deflated, j, x);
    if (std::fabs(x.imag()) <= 2.0 * epsilon * std::fabs(x.real()))
      x = x.real();
    roots[j - 1] = x;
    // Divide the found root out.
    complex_t b = deflated[j];
    for (int jj = j - 1; jj >= 0; --jj)
    {
      const complex_t c = deflated[jj];
      deflated[jj] = b;
      b = x * b + c;
    }
  }
  if (polish)
    for (int j = 0; j < degree; ++j)
      laguerre(coef, degree, roots[j]);
}

} // namespace Dsp
