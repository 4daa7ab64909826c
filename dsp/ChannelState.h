#pragma once

#include "dsp/Cascade.h"

namespace Dsp
{

// The filter memory of one channel: one state record (DirectFormI or DirectFormII) per
// section, and the denormal guard, a tiny value that changes sign on every sample so
// that the recursions never sink into denormal numbers.
template <class StateType, int MaxStages>
class ChannelState
{
public:
  static constexpr double kGuardStart = 1e-8;

  void reset()
  {
    for (StateType& s : stages)
      s.reset();
    guard = kGuardStart;
  }

  double processSample(double in, const Cascade<MaxStages>& cascade)
  {
    const int n = cascade.getNumStages();
    double out = stages[0].process1(in, cascade[0], guard);
    for (int i = 1; i < n; ++i)
      out = stages[i].process1(out, cascade[i], 0.0);
    guard = -guard;
    return out;
  }

  template <typename Sample>
  void process(int numSamples, Sample* samples, const Cascade<MaxStages>& cascade)
  {
    for (int i = 0; i < numSamples; ++i)
      samples[i] = static_cast<Sample>(processSample(samples[i], cascade));
  }

  // Two channels through the same cascade at once, each exactly as process() runs it
  // alone: their recursions are independent, so taken sample by sample side by side the
  // processor overlaps them instead of waiting on one channel's chain of sums. The two
  // buffers must not overlap.
  template <typename Sample>
  static void processPair(ChannelState& first, Sample* a, ChannelState& second, Sample* b,
                          int numSamples, const Cascade<MaxStages>& cascade)
  {
    const int n = cascade.getNumStages();
    double guardA = first.guard, guardB = second.guard;
    for (int i = 0; i < numSamples; ++i)
    {
      double x = first.stages[0].process1(a[i], cascade[0], guardA);
      double y = second.stages[0].process1(b[i], cascade[0], guardB);
      for (int k = 1; k < n; ++k)
      {
        x = first.stages[k].process1(x, cascade[k], 0.0);
        y = second.stages[k].process1(y, cascade[k], 0.0);
      }
      guardA = -guardA;
      guardB = -guardB;
      a[i] = static_cast<Sample>(x);
      b[i] = static_cast<Sample>(y);
    }
    first.guard = guardA;
    second.guard = guardB;
  }

  // Whether processPair may take these two buffers of numSamples each.
  template <typename Sample>
  static bool separate(const Sample* a, const Sample* b, int numSamples)
  {
    return a != nullptr && b != nullptr && (a + numSamples <= b || b + numSamples <= a);
  }

  double getGuard() const { return guard; }

private:
  StateType stages[MaxStages];
  double guard = kGuardStart;
};

} // namespace Dsp
