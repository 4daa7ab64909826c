#pragma once

#include "dsp/Biquad.h"
#include "dsp/Lanes.h"

namespace Dsp
{

// Direct Form II state of one section: the two delayed internal values. T is double for
// one channel, or Pair for two channels side by side (Lanes), each lane computing what
// one channel's double computes.
template <class T>
class DirectFormIIOf
{
public:
  using Lanes = DirectFormIIOf<Pair>;

  void reset() { memory[0] = memory[1] = T{}; }

  // The guard is subtracted from the internal value (non-zero on the first section only).
  // s is a Biquad, or for the lanes its coefficients each filled into a Pair (the same
  // products lane by lane, with no broadcast per sample).
  template <class Coefficients>
  T process1(T in, const Coefficients& s, T guard)
  {
    T& w1 = memory[0];
    T& w2 = memory[1];
    const T w = in - s.a1 * w1 - s.a2 * w2 - guard;
    const T out = s.b0 * w + s.b1 * w1 + s.b2 * w2;
    w2 = w1;
    w1 = w;
    return out;
  }

  // Two channels' states as the lanes of one, and lane `lane` back into one channel's.
  static Lanes join(const DirectFormIIOf<double>& a, const DirectFormIIOf<double>& b)
  {
    Lanes both;
    joinLanes(a.memory, b.memory, both.memory);
    return both;
  }
  void split(int lane, DirectFormIIOf<double>& into) const
  {
    splitLanes(memory, lane, into.memory);
  }

private:
  template <class>
  friend class DirectFormIIOf;

  T memory[2] = {}; // w1, w2
};

using DirectFormII = DirectFormIIOf<double>;

} // namespace Dsp
