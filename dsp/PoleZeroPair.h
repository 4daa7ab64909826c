#pragma once

#include <complex>
#include <limits>

namespace Dsp
{

using ComplexT = std::complex<double>;

// Infinity as a pole or zero position (a zero "at infinity" of an analog prototype).
inline ComplexT infinity() { return {std::numeric_limits<double>::infinity(), 0.0}; }
inline bool isInfinite(const ComplexT& c) { return std::isinf(c.real()) || std::isinf(c.imag()); }

// Two poles and two zeros that make one biquad section, or a single real pole and
// zero that make a first-order section.
struct PoleZeroPair
{
  ComplexT pole1;
  ComplexT zero1;
  ComplexT pole2;
  ComplexT zero2;
  bool single = false;

  static PoleZeroPair makeSingle(ComplexT pole, ComplexT zero)
  {
    return {pole, zero, 0.0, 0.0, true};
  }
  static PoleZeroPair makePair(ComplexT p1, ComplexT z1, ComplexT p2, ComplexT z2)
  {
    return {p1, z1, p2, z2, false};
  }
  // A conjugate pair: pole and zero plus their conjugates.
  static PoleZeroPair makeConjugate(ComplexT pole, ComplexT zero)
  {
    return {pole, zero, std::conj(pole), std::conj(zero), false};
  }

  bool isSingle() const { return single; }
};

} // namespace Dsp
