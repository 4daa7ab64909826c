#pragma once

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "dsp/Biquad.h"
#include "dsp/PoleZeroLayout.h"

namespace Dsp
{

// Up to MaxStagesT biquad sections run in series. The designs derive from it and fill
// the coefficients; the channel state (ChannelState) runs samples through it.
template <int MaxStagesT>
class Cascade
{
public:
  static constexpr int kMaxStages = MaxStagesT;

  int getNumStages() const { return numStages; }
  const Biquad& operator[](int index) const { return stages[index]; }

  // Response at a frequency given as a fraction of the sample rate (0..0.5).
  ComplexT response(double normalizedFrequency) const
  {
    const double w = 2 * std::numbers::pi * normalizedFrequency;
    return responseAt(w);
  }

  std::vector<PoleZeroPair> getPoleZeros() const
  {
    std::vector<PoleZeroPair> pairs;
    for (int i = 0; i < numStages; ++i)
      pairs.push_back(stages[i].getPoleZeroPair());
    return pairs;
  }

  // Stages from a digital layout, one per pair, in order; the gain is then scaled so
  // that the magnitude at the layout's normal frequency equals its normal gain.
  void setLayout(const PoleZeroLayout& layout)
  {
    int count = layout.getNumPairs();
    if (count > kMaxStages)
      count = kMaxStages;
    for (int i = 0; i < count; ++i)
      stages[i].setPoleZeroPair(layout[i]);
    numStages = count;
    if (count == 0)
      return;
    const double magnitude = std::abs(responseAt(layout.normalW));
    if (magnitude > 1e-300 && std::isfinite(magnitude))
      stages[0].applyScale(layout.normalGain / magnitude);
  }

  // A single section given directly (the cookbook designs).
  void setSingleStage(const Biquad& stage)
  {
    stages[0] = stage;
    numStages = 1;
  }

protected:
  ComplexT responseAt(double w) const
  {
    if (w == 0)
    {
      // z = 1: plain sums, the common case when a low-pass glides.
      double h = 1;
      for (int i = 0; i < numStages; ++i)
      {
        const Biquad& s = stages[i];
        h *= (s.b0 + s.b1 + s.b2) / (1 + s.a1 + s.a2);
      }
      return h;
    }
    if (w == std::numbers::pi)
    {
      double h = 1;
      for (int i = 0; i < numStages; ++i)
      {
        const Biquad& s = stages[i];
        h *= (s.b0 - s.b1 + s.b2) / (1 - s.a1 + s.a2);
      }
      return h;
    }
    const ComplexT czn1 = std::polar(1.0, -w);
    ComplexT h = 1;
    for (int i = 0; i < numStages; ++i)
      h *= stages[i].response(czn1);
    return h;
  }

  Biquad stages[kMaxStages];
  int numStages = 1;
};

} // namespace Dsp
