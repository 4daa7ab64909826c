#pragma once
// Two doubles side by side in the lanes of one SSE2 vector (every x86-64 processor has
// SSE2): the two channels of one frame, or two consecutive samples of one channel.
// Vector arithmetic is the same IEEE arithmetic lane by lane, and these loops use no
// fused multiply-adds, so a loop over pairs gives the scalar loop's values bit for bit.
// Safe from any thread; nothing here allocates.

namespace Dsp
{

using Pair = double __attribute__((vector_size(2 * sizeof(double))));
using PairMask = long long __attribute__((vector_size(2 * sizeof(double))));

// Two consecutive doubles from memory of any alignment, and back.
inline Pair loadPair(const double* from)
{
  Pair v;
  __builtin_memcpy(&v, from, sizeof v);
  return v;
}

inline void storePair(double* to, Pair v) { __builtin_memcpy(to, &v, sizeof v); }

// All ones in the lanes holding a finite number (x - x is 0 only for those).
inline PairMask finiteLanes(Pair v) { return (v - v) == Pair{}; }

// The finite lanes of v, 0 in the others.
inline Pair finiteOrZero(Pair v)
{
  return Pair(PairMask(v) & finiteLanes(v));
}

// True when both lanes of the mask are set.
inline bool allLanes(PairMask m) { return (m[0] & m[1]) != 0; }

} // namespace Dsp
