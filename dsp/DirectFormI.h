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

  void reset()
  {
    for (T& m : memory)
      m = T{};
  }

  // The guard is added to the output (non-zero on the first section only).
  // s is a Biquad, or for the lanes its coefficients each filled into a Pair (the same
  // products lane by lane, with no broadcast per sample).
  template <class Coefficients>
  T process1(T in, const Coefficients& s, T guard)
  {
    T& x1 = memory[0];
    T& x2 = memory[1];
    T& y1 = memory[2];
    T& y2 = memory[3];
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
    joinLanes(a.memory, b.memory, both.memory);
    return both;
  }
  void split(int lane, DirectFormIOf<double>& into) const { splitLanes(memory, lane, into.memory); }

  // The memories one by one (0 x1, 1 x2, 2 y1, 3 y2), for kernels that keep them in
  // registers of their own while they run.
  const T& memoryAt(int k) const { return memory[k]; }
  T& memoryAt(int k) { return memory[k]; }

private:
  template <class>
  friend class DirectFormIOf;

  T memory[4] = {}; // x1, x2, y1, y2
};

using DirectFormI = DirectFormIOf<double>;

} // namespace Dsp
