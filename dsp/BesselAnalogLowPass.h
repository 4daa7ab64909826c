#pragma once

#include "dsp/PoleZeroLayout.h"

namespace Dsp::Bessel
{

// Bessel low-pass prototype: poles at the roots of the reverse Bessel polynomial of
// degree n (unit group delay at DC), all zeros at infinity, gain 1 at DC. The roots
// are found with RootFinder and kept until the order changes; design throws
// std::logic_error("laguerre failed") without changing anything if they do not
// converge.
class AnalogLowPass
{
public:
  static constexpr int kMaxOrder = 8;

  void design(int order);
  const PoleZeroLayout& getLayout() const { return layout; }

  // Coefficients a0..an of the reverse Bessel polynomial, lowest power first:
  // a_k = (2n - k)! / (2^(n-k) k! (n-k)!).
  static void reverseBesselPolynomial(int order, double* coef);

private:
  int order = -1;
  PoleZeroLayout layout;
};

} // namespace Dsp::Bessel
