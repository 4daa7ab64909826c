#pragma once
// Flushes denormal numbers to zero for the lifetime of a scope: the audio callbacks
// hold one, so a decaying tail (release envelopes, filter and delay recursions) never
// sinks into the slow denormal range of the processor. On x86-64 it sets the SSE control
// register's flush-to-zero and denormals-are-zero bits and gives the host its own control
// register back afterwards (rounding, exception masks and flags as they were). Elsewhere
// it does nothing.
#if defined(__x86_64__) || defined(_M_X64)
#include <pmmintrin.h>
#include <xmmintrin.h>
#define TG_DENORMAL_GUARD_SSE 1
#endif

class DenormalGuard
{
public:
#if defined(TG_DENORMAL_GUARD_SSE)
  DenormalGuard() : saved(_mm_getcsr())
  {
    _mm_setcsr(saved | _MM_FLUSH_ZERO_ON | _MM_DENORMALS_ZERO_ON);
  }
  ~DenormalGuard() { _mm_setcsr(saved); }
#else
  DenormalGuard() = default;
  ~DenormalGuard() = default;
#endif
  DenormalGuard(const DenormalGuard&) = delete;
  DenormalGuard& operator=(const DenormalGuard&) = delete;

private:
#if defined(TG_DENORMAL_GUARD_SSE)
  unsigned int saved;
#endif
};
