#pragma once

#include "dsp/Biquad.h"
#include "dsp/Lanes.h"

namespace Dsp
{

// Direct Form I state of one section: the last two inputs and outputs. T is double for
// one channel, or Pair for two channels side by side (Lanes), each lane computing what
// one channel's double computes.
template <class T>
class DirectFormIOf
{
public:
  using Lanes = DirectFormIOf<Pair>;

  void reset() { x1 = x2 = y1 = y2 = T{}; }

  // The guard is added to the output (non-zero on the first section only).
  T process1(T in, const Biquad& s, T guard)
  {
    const T out = s.b0 * in + s.b1 * x1 + s.b2 * x2 - s.a1 * y1 - s.a2 * y2 + guard;
    x2 = x1;
    x1 = in;
    y2 = y1;
    y1 = out;
    return out;
  }

  // Two channels' states as the lanes of one, and lane `lane` back into one channel's.
  static Lanes join(const DirectFormIOf<double>& a, const DirectFormIOf<double>& b)
  {
    Lanes both;
    both.x1 = Pair{a.x1, b.x1};
    both.x2 = Pair{a.x2, b.x2};
    both.y1 = Pair{a.y1, b.y1};
    both.y2 = Pair{a.y2, b.y2};
    return both;
  }
  void split(int lane, DirectFormIOf<double>& into) const
  {
    into.x1 = x1[lane];
    into.x2 = x2[lane];
    into.y1 = y1[lane];
    into.y2 = y2[lane];
  }

private:
  template <class>
  friend class DirectFormIOf;

  T x1{};
  T x2{};
  T y1{};
  T y2{};
};

using DirectFormI = DirectFormIOf<double>;

} // namespace Dsp
