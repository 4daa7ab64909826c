#pragma once

#include "effects/oscfilter/TweakedButterworthBiquad.h"

namespace Korvane
{

// Second-order Butterworth high-pass whose damping falls linearly with the
// resonance: resonance 0 is a plain Butterworth response, resonance 1 removes the
// damping entirely (the self-oscillating edge). The resonance is not limited here.
template <typename Sample>
class BiquadTweakedButterworthHP final
  : public TweakedButterworthBiquad<Sample, BiquadTweakedButterworthHP<Sample>>
{
  using Base = TweakedButterworthBiquad<Sample, BiquadTweakedButterworthHP<Sample>>;
  friend Base;

  double damping(double resonanceIn) const { return Base::kSqrt2 - resonanceIn * Base::kSqrt2; }

  void design(double k, double d)
  {
    const double kk = k * k;
    const double n = 1.0 / (1.0 + d * k + kk);
    this->b0 = Sample(n);
    this->b1 = Sample(-2.0 * n);
    this->b2 = Sample(n);
    this->a1 = Sample(2.0 * (kk - 1.0) * n);
    this->a2 = Sample((1.0 - d * k + kk) * n);
  }
};

extern template class BiquadTweakedButterworthHP<double>;

} // namespace Korvane
