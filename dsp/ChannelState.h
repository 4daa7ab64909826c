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
  static constexpr double guardStart = 1e-8;

  void reset()
  {
    for (StateType& s : m_stages)
      s.reset();
    m_guard = guardStart;
  }

  double processSample(double in, const Cascade<MaxStages>& cascade)
  {
    const int n = cascade.getNumStages();
    double out = m_stages[0].process1(in, cascade[0], m_guard);
    for (int i = 1; i < n; ++i)
      out = m_stages[i].process1(out, cascade[i], 0.0);
    m_guard = -m_guard;
    return out;
  }

  template <typename Sample>
  void process(int numSamples, Sample* samples, const Cascade<MaxStages>& cascade)
  {
    for (int i = 0; i < numSamples; ++i)
      samples[i] = static_cast<Sample>(processSample(samples[i], cascade));
  }

  double getGuard() const { return m_guard; }

private:
  StateType m_stages[MaxStages];
  double m_guard = guardStart;
};

} // namespace Dsp
