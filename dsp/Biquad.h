#pragma once

#include "dsp/PoleZeroPair.h"

namespace Dsp
{

// One second-order section, normalised so that a0 = 1:
//   H(z) = (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2)
struct Biquad
{
  double b0 = 1;
  double b1 = 0;
  double b2 = 0;
  double a1 = 0;
  double a2 = 0;

  // Coefficients whose roots are the given poles and zeros (b0 = 1). Zeros at
  // infinity are not allowed here: digital layouts have none.
  void setPoleZeroPair(const PoleZeroPair& pair);
  // Sets a0..b2 from un-normalised coefficients.
  void setCoefficients(double a0, double na1, double na2, double nb0, double nb1, double nb2);
  // Multiplies the numerator (used to normalise a cascade's gain).
  void applyScale(double scale);

  // Response at z where czn1 = z^-1.
  ComplexT response(ComplexT czn1) const;
  // Roots of numerator and denominator.
  PoleZeroPair getPoleZeroPair() const;
};

} // namespace Dsp
