#pragma once

#include "effects/oscfilter/ButterworthTangent.h"
#include "effects/oscfilter/IKvFilter.h"

namespace Korvane
{

// What the tweaked Butterworth high-pass and low-pass share: the shaped and limited
// cutoff, the direct-form-I memories and the per-sample step. The coefficients follow
// the cutoff every sample; when neither the cutoff nor the damping moved since the
// last sample the previous set is reused (it would come out identical). Filter
// supplies damping(resonance) and design(k, d), which fills b0..a2 for k = tan(pi fc).
template <typename Sample, typename Filter>
class TweakedButterworthBiquad : public IKvFilter
{
public:
  double process(double input, double cutoffIn, double resonanceIn) override
  {
    return processAt(input, cutoffFraction(cutoffIn), resonanceIn, ownTangent);
  }

  // The shaped cutoff as a fraction of the sample rate: between minFraction and
  // half of maxFraction (a cutoff above 1, or shaped above 1, would otherwise pass
  // the Nyquist frequency).
  double cutoffFraction(double cutoffIn) const
  {
    const double c = shapeCutoff(cutoffIn, cutoffCurve);
    const double fc = c * 0.5 * maxFraction;
    if (!(fc >= minFraction))
      return minFraction;
    if (fc > 0.5 * maxFraction)
      return 0.5 * maxFraction;
    return fc;
  }

  // One sample at the fraction fc, taking tan(pi * fc) from `tangent` (which an
  // owner may share between filters that see the same cutoff).
  double processAt(double input, double fc, double resonanceIn, ButterworthTangent& tangent)
  {
    prepareAt(fc, resonanceIn, tangent);
    const Sample x = Sample(input);
    const Sample y = b0 * x + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
    x2 = x1;
    x1 = x;
    y2 = y1;
    y1 = y;
    return double(y);
  }

  // The coefficients for the fraction fc and this resonance, as processAt sets them
  // before its sample (a filter whose fraction and resonance hold needs them once).
  void prepareAt(double fc, double resonanceIn, ButterworthTangent& tangent)
  {
    Filter& self = static_cast<Filter&>(*this);
    const double d = self.damping(resonanceIn);
    if (fc != lastFraction || d != lastDamping)
    {
      lastFraction = fc;
      lastDamping = d;
      self.design(tangent.of(fc), d);
    }
  }

  void setSampleRate(double rate) override { sampleRate = rate; }
  void setType(int) override {}
  void reset() override
  {
    x1 = x2 = y1 = y2 = Sample(0);
    b0 = b1 = b2 = a1 = a2 = Sample(0);
    lastFraction = -1.0;
    lastDamping = -1.0;
    ownTangent.forget();
  }

  static constexpr double kSqrt2 = 1.4142135623730951;

  double maxFraction = 0.957;
  double minFraction = 1e-4;
  int cutoffCurve = kCurveLinear;
  double sampleRate = 44100.0;
  Sample x1 = 0, x2 = 0, y1 = 0, y2 = 0;
  Sample b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0;

private:
  // Inputs of the coefficient set held above; -1 never matches a real one.
  double lastFraction = -1.0;
  double lastDamping = -1.0;
  ButterworthTangent ownTangent;
};

} // namespace Korvane
