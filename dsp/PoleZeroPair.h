#pragma once

#include <complex>
#include <limits>

namespace Dsp
{

using complex_t = std::complex<double>;

// Infinity as a pole or zero position (a zero "at infinity" of an analog prototype).
inline complex_t infinity() { return {std::numeric_limits<double>::infinity(), 0.0}; }
inline bool isInfinite(const complex_t& c) { return std::isinf(c.real()) || std::isinf(c.imag()); }

// Two poles and two zeros that make one biquad section, or a single real pole and
// zero that make a first-order section.
struct PoleZeroPair
{
  complex_t pole1;
  complex_t zero1;
  complex_t pole2;
  complex_t zero2;
  bool single = false;

  static PoleZeroPair makeSingle(complex_t pole, complex_t zero)
  {
    return {pole, zero, 0.0, 0.0, true};
  }
  static PoleZeroPair makePair(complex_t p1, complex_t z1, complex_t p2, complex_t z2)
  {
    return {p1, z1, p2, z2, false};
  }
  // A conjugate pair: pole and zero plus their conjugates.
  static PoleZeroPair makeConjugate(complex_t pole, complex_t zero)
  {
    return {pole, zero, std::conj(pole), std::conj(zero), false};
  }

  bool isSingle() const { return single; }
};

} // namespace Dsp
