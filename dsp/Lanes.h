#pragma once
// Two doubles side by side in the lanes of one SSE2 vector (every x86-64 processor has
// SSE2): the two channels of one frame, or two consecutive samples of one channel.
// Vector arithmetic is the same IEEE arithmetic lane by lane, and these loops use no
// fused multiply-adds, so a loop over pairs gives the scalar loop's values bit for bit.
// Safe from any thread; nothing here allocates.

#include <emmintrin.h>
#include <limits>
#include <type_traits>

namespace Dsp
{

using Pair = double __attribute__((vector_size(2 * sizeof(double))));
using PairMask = long long __attribute__((vector_size(2 * sizeof(double))));

// Whether a and b are the same double bit for bit (unlike ==, which takes -0 for +0).
inline bool sameBits(double a, double b) { return __builtin_memcmp(&a, &b, sizeof a) == 0; }

// Two consecutive doubles from memory of any alignment, and back.
inline Pair loadPair(const double* from)
{
  Pair v;
  __builtin_memcpy(&v, from, sizeof v);
  return v;
}

inline void storePair(double* to, Pair v) { __builtin_memcpy(to, &v, sizeof v); }

// |v| lane by lane (the sign bit cleared, as std::fabs does).
inline Pair absLanes(Pair v) { return Pair(PairMask(v) & (PairMask{} + 0x7fffffffffffffffLL)); }

// All ones in the lanes holding a finite number (no magnitude above the largest double,
// and not NaN, which compares false).
inline PairMask finiteLanes(Pair v)
{
  return absLanes(v) <= Pair{} + std::numeric_limits<double>::max();
}

// The finite lanes of v, 0 in the others.
inline Pair finiteOrZero(Pair v) { return Pair(PairMask(v) & finiteLanes(v)); }

// True when both lanes of the mask are set.
inline bool allLanes(PairMask m) { return (m[0] & m[1]) != 0; }
// Whether either lane of m is set.
inline bool anyLane(PairMask m) { return (m[0] | m[1]) != 0; }

// The lanes of v whose mask is set, those of w elsewhere.
inline Pair selectLanes(PairMask m, Pair v, Pair w)
{
  return Pair((PairMask(v) & m) | (PairMask(w) & ~m));
}

// a > b ? a : b lane by lane: b where either is NaN (one SSE2 max).
inline Pair maxLanes(Pair a, Pair b) { return Pair(_mm_max_pd(__m128d(a), __m128d(b))); }

// std::clamp(v, lo, hi) lane by lane (lo <= hi): lo below it, hi above it, v itself
// otherwise (NaN too). With the bound first, SSE2's max and min take v whenever the
// compare is false, as std::clamp does.
inline Pair clampLanes(Pair v, double lo, double hi)
{
  const __m128d low = _mm_set1_pd(lo), high = _mm_set1_pd(hi);
  return Pair(_mm_min_pd(high, _mm_max_pd(low, __m128d(v))));
}

// The N memories of two channels as N pairs (lane 0 the first channel's), and lane `lane`
// of N pairs back into one channel's memories.
template <int N>
void joinLanes(const double (&first)[N], const double (&second)[N], Pair (&into)[N])
{
  for (int k = 0; k < N; ++k)
    into[k] = Pair{first[k], second[k]};
}

template <int N>
void splitLanes(const Pair (&from)[N], int lane, double (&into)[N])
{
  for (int k = 0; k < N; ++k)
    into[k] = from[k][lane];
}

// `to[i] = isfinite(from[i]) ? from[i] : 0.0` for n samples, two at a time.
inline void copyFinite(const double* from, double* to, int n)
{
  int i = 0;
  for (; i + 2 <= n; i += 2)
    storePair(to + i, finiteOrZero(loadPair(from + i)));
  for (; i < n; ++i)
    to[i] = finiteOrZero(Pair{from[i], 0.0})[0];
}

// Copies n samples and tells whether all of them are finite, two at a time.
inline bool copyAllFinite(const double* from, double* to, int n)
{
  PairMask finite = PairMask{} - 1;
  int i = 0;
  for (; i + 2 <= n; i += 2)
  {
    const Pair v = loadPair(from + i);
    storePair(to + i, v);
    finite &= finiteLanes(v);
  }
  if (i < n)
  {
    to[i] = from[i];
    finite &= finiteLanes(Pair{from[i], 0.0});
  }
  return allLanes(finite);
}

// Whether all n samples are finite, two at a time.
inline bool allFinite(const double* samples, int n)
{
  PairMask finite = PairMask{} - 1;
  int i = 0;
  for (; i + 2 <= n; i += 2)
    finite &= finiteLanes(loadPair(samples + i));
  if (i < n)
    finite &= finiteLanes(Pair{samples[i], 0.0});
  return allLanes(finite);
}

// samples[i] + +0 for n samples. That changes only a -0 (into +0) and a signalling NaN
// (into a quiet one), so the samples are only read, two at a time, unless one of those
// is among them.
inline void addPlusZero(double* samples, int n)
{
  // A lane's sign bit ends up set for a -0 (a zero whose bits keep their sign) and for a
  // NaN (all bits set by the unordered comparison).
  const auto flagged = [](__m128d v)
  { return _mm_or_pd(_mm_and_pd(_mm_cmpeq_pd(v, _mm_setzero_pd()), v), _mm_cmpunord_pd(v, v)); };
  __m128d found = _mm_setzero_pd();
  int i = 0;
  for (; i + 2 <= n; i += 2)
    found = _mm_or_pd(found, flagged(_mm_loadu_pd(samples + i)));
  if (i < n)
    found = _mm_or_pd(found, flagged(_mm_load_sd(samples + i)));
  if (_mm_movemask_pd(found) == 0)
    return;
  for (int k = 0; k < n; ++k)
    samples[k] = samples[k] + 0.0;
}

// The whole groups of four among `size` items, for kernels that run G groups of four
// lanes side by side (G = 1..4, a compile-time constant): run(first, groups) for groups
// of up to four at a time from item 0 on. Returns how many items the groups took; the
// last zero to three are left to the caller.
template <typename Run>
inline int inGroupsOfFour(int size, Run&& run)
{
  int i = 0;
  for (; i + 16 <= size; i += 16)
    run(i, std::integral_constant<int, 4>{});
  switch ((size - i) / 4)
  {
  case 3:
    run(i, std::integral_constant<int, 3>{});
    break;
  case 2:
    run(i, std::integral_constant<int, 2>{});
    break;
  case 1:
    run(i, std::integral_constant<int, 1>{});
    break;
  default:
    break;
  }
  return i + (size - i) / 4 * 4;
}

} // namespace Dsp
