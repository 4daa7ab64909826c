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

  double getGuard() const { return guard; }

private:
  StateType stages[MaxStages];
  double guard = kGuardStart;
};

} // namespace Dsp
