#pragma once

#include "effects/oscfilter/BiquadLanes.h"
#include "effects/oscfilter/KvFilterPaulKellett.h"

namespace Korvane
{

// Up to kLanes Kellett filters run side by side, one per lane of a vector, so that their
// stages advance together instead of one filter's chain of dependent sums after another.
// Every lane computes exactly what KvFilterPaulKellett::process computes, operation for
// operation (vector arithmetic is the same IEEE arithmetic lane by lane), so the outputs
// and the filters' states afterwards are the same bit for bit.
class KellettLanes
{
public:
  static constexpr int kLanes = 16;

  // A filter and where its samples come from and go to; false when all lanes are taken.
  bool add(KvFilterPaulKellett& filter, const double* input, const double* cutoff, double resonance,
           double* out) noexcept
  {
    if (count == kLanes)
      return false;
    lanes[count] = {&filter, input, cutoff, resonance, out};
    ++count;
    return true;
  }

  bool empty() const noexcept { return count == 0; }

  // n samples of every lane (n at most kMaxSamples), then the states back into the filters.
  static constexpr int kMaxSamples = 64;
  void run(int n) noexcept;
  // run(n), with the lanes of `beside` (when it holds one to four; n at most its
  // kMaxSamples) stepped in the same loop, so that the two kinds of filter overlap;
  // `beside` is then empty. Otherwise `beside` is left as it is, for its own run().
  void runBeside(int n, BiquadLanes& beside) noexcept;

  // More than two lanes, or any with three or four biquads beside them, run four doubles
  // a vector where the processor has AVX2, else two; true runs them all in the two-double
  // kernel built for every x86-64 processor (the tests compare the kernels).
  bool narrow = false;

  struct Lane
  {
    KvFilterPaulKellett* filter;
    const double* input;
    const double* cutoff;
    double resonance;
    double* out;
  };

private:
  // Biquads: BiquadLanes::GroupOf<2> or <4>; `beside` may be null.
  template <class Biquads>
  void runWith(int n, Biquads* beside) noexcept;

  Lane lanes[kLanes];
  int count = 0;
};

} // namespace Korvane
