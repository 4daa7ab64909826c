#pragma once

#include "dsp/Cascade.h"
#include "dsp/Lanes.h"

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

  // Two channels' memories side by side in the lanes of one vector, taken from their
  // ChannelStates and put back by store(): each lane runs exactly what processSample runs
  // for its channel alone, while the two recursions advance in the same instructions.
  class Lanes
  {
  public:
    Lanes(const ChannelState& a, const ChannelState& b, const Cascade<MaxStages>& cascade)
      : guard{a.guard, b.guard}, count(cascade.getNumStages())
    {
      for (int i = 0; i < MaxStages; ++i)
      {
        stages[i] = StateType::join(a.stages[i], b.stages[i]);
        const Biquad& s = cascade[i];
        coefficients[i] = {Pair{} + s.b0, Pair{} + s.b1, Pair{} + s.b2, Pair{} + s.a1,
                           Pair{} + s.a2};
      }
    }

    // One sample of both channels through the cascade given at construction; always
    // inlined, so that the memories stay in the caller's registers across samples.
    __attribute__((always_inline)) Pair processSample(Pair in)
    {
      // Bounded by MaxStages, so that the loop unrolls and the memories stay in registers.
      Pair out = stages[0].process1(in, coefficients[0], guard);
      for (int i = 1; i < MaxStages; ++i)
        if (i < count)
          out = stages[i].process1(out, coefficients[i], Pair{});
      guard = -guard;
      return out;
    }

    void store(ChannelState& a, ChannelState& b) const
    {
      for (int i = 0; i < MaxStages; ++i)
      {
        stages[i].split(0, a.stages[i]);
        stages[i].split(1, b.stages[i]);
      }
      a.guard = guard[0];
      b.guard = guard[1];
    }

  private:
    // A section's coefficients, each in both lanes.
    struct Coefficients
    {
      Pair b0, b1, b2, a1, a2;
    };

    typename StateType::Lanes stages[MaxStages];
    Coefficients coefficients[MaxStages];
    Pair guard;
    int count;
  };

  // Two channels through the same cascade at once, each exactly as process() runs it
  // alone, in the two lanes of one vector. The two buffers must not overlap.
  template <typename Sample>
  static void processPair(ChannelState& first, Sample* a, ChannelState& second, Sample* b,
                          int numSamples, const Cascade<MaxStages>& cascade)
  {
    Lanes both(first, second, cascade);
    for (int i = 0; i < numSamples; ++i)
    {
      const Pair y = both.processSample(Pair{double(a[i]), double(b[i])});
      a[i] = static_cast<Sample>(y[0]);
      b[i] = static_cast<Sample>(y[1]);
    }
    both.store(first, second);
  }

  // Whether processPair may take these two buffers of numSamples each.
  template <typename Sample>
  static bool separate(const Sample* a, const Sample* b, int numSamples)
  {
    return a != nullptr && b != nullptr && (a + numSamples <= b || b + numSamples <= a);
  }

  double getGuard() const { return guard; }
  // For kernels that run a section's recursion themselves and put the memories back.
  StateType& getStage(int i) { return stages[i]; }
  void setGuard(double value) { guard = value; }

private:
  StateType stages[MaxStages];
  double guard = kGuardStart;
};

} // namespace Dsp
