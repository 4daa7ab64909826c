#pragma once

// Checks over a stretch of samples that tell a fast path from the general one. The
// stretch checks read two values a vector (every x86-64 processor has SSE2) and give what
// the plain loop over the values would give.

#include <cmath>
#include <limits>

namespace Korvane::SampleChecks
{

// Whether x is not finite, or is a zero (of either sign, or only -0 when onlyMinusZero).
inline bool zeroOrUndefined(double x, bool onlyMinusZero) noexcept
{
  return !(std::abs(x) <= std::numeric_limits<double>::max()) ||
         (x == 0.0 && (!onlyMinusZero || std::signbit(x)));
}

// Whether any of the m values is zeroOrUndefined.
bool anyZeroOrUndefined(const double* v, int m, bool onlyMinusZero) noexcept;

// Whether every one of the m values is finite and carries no sign (+0 or above).
bool allFiniteUnsigned(const double* v, int m) noexcept;

} // namespace Korvane::SampleChecks
