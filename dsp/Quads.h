#pragma once
// Four doubles side by side: one AVX vector, or two SSE2 vectors where a loop is built
// without AVX (and eight, below, for AVX-512). Two pairs of Lanes.h, the low pair in lanes 0 and 1.
// The same IEEE arithmetic lane by lane (no fused multiply-adds), so a loop over quads gives the
// bits of a loop over pairs. Safe from any thread; nothing here allocates.
//
// These functions take and return 32-byte vectors; they are only ever inlined into the
// loops that use them, so no call passes a vector across the instruction sets.

#include "dsp/Lanes.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

namespace Dsp
{

using Quad = double __attribute__((vector_size(4 * sizeof(double))));
using QuadMask = long long __attribute__((vector_size(4 * sizeof(double))));

__attribute__((always_inline)) inline Quad joinPairs(Pair low, Pair high)
{
  return __builtin_shufflevector(low, high, 0, 1, 2, 3);
}
__attribute__((always_inline)) inline Pair lowPair(Quad v)
{
  return __builtin_shufflevector(v, v, 0, 1);
}
__attribute__((always_inline)) inline Pair highPair(Quad v)
{
  return __builtin_shufflevector(v, v, 2, 3);
}

// Four doubles from memory, aligned or not.
__attribute__((always_inline)) inline Quad loadQuad(const double* from)
{
  Quad v;
  __builtin_memcpy(&v, from, sizeof v);
  return v;
}

// Rows a, b, c, d into columns: afterwards a holds lane 0 of each row, b lane 1, c lane 2
// and d lane 3.
__attribute__((always_inline)) inline void transposeQuads(Quad& a, Quad& b, Quad& c, Quad& d)
{
  const Quad evenAB = __builtin_shufflevector(a, b, 0, 4, 2, 6);
  const Quad oddAB = __builtin_shufflevector(a, b, 1, 5, 3, 7);
  const Quad evenCD = __builtin_shufflevector(c, d, 0, 4, 2, 6);
  const Quad oddCD = __builtin_shufflevector(c, d, 1, 5, 3, 7);
  a = __builtin_shufflevector(evenAB, evenCD, 0, 1, 4, 5);
  b = __builtin_shufflevector(oddAB, oddCD, 0, 1, 4, 5);
  c = __builtin_shufflevector(evenAB, evenCD, 2, 3, 6, 7);
  d = __builtin_shufflevector(oddAB, oddCD, 2, 3, 6, 7);
}

// Eight doubles side by side (one AVX-512 vector): two quads, the low one in lanes 0..3.
using Oct = double __attribute__((vector_size(8 * sizeof(double))));

__attribute__((always_inline)) inline Oct joinQuads(Quad low, Quad high)
{
  return __builtin_shufflevector(low, high, 0, 1, 2, 3, 4, 5, 6, 7);
}
__attribute__((always_inline)) inline Quad lowQuad(Oct v)
{
  return __builtin_shufflevector(v, v, 0, 1, 2, 3);
}
__attribute__((always_inline)) inline Quad highQuad(Oct v)
{
  return __builtin_shufflevector(v, v, 4, 5, 6, 7);
}

// The lanes of v whose mask is set, those of w elsewhere.
__attribute__((always_inline)) inline Quad selectLanes(QuadMask m, Quad v, Quad w)
{
  return Quad((QuadMask(v) & m) | (QuadMask(w) & ~m));
}

} // namespace Dsp

#pragma GCC diagnostic pop
