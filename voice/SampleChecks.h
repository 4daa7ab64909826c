#pragma once

// Checks over a stretch of samples that tell a fast path from the general one. Both read
// two values a vector (every x86-64 processor has SSE2) and give what the plain loop over
// the values would give.
namespace Korvane::SampleChecks
{

// Whether any of the m values is not finite, or is a zero (of either sign, or only -0
// when onlyMinusZero).
bool anyZeroOrUndefined(const double* v, int m, bool onlyMinusZero) noexcept;

// Whether every one of the m values is finite and carries no sign (+0 or above).
bool allFiniteUnsigned(const double* v, int m) noexcept;

} // namespace Korvane::SampleChecks
