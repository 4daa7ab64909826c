#pragma once

#include "effects/oscfilter/TweakedButterworthBiquad.h"

namespace Korvane
{

// Second-order Butterworth low-pass whose damping falls linearly with the
// resonance, keeping 1 % of it at resonance 1 (`resonanceScale` 0.99).
template <typename Sample>
class BiquadTweakedButterworthLP final
  : public TweakedButterworthBiquad<Sample, BiquadTweakedButterworthLP<Sample>>
{
  using Base = TweakedButterworthBiquad<Sample, BiquadTweakedButterworthLP<Sample>>;
  friend Base;

public:
  double resonanceScale = 0.99;

private:
  double damping(double resonanceIn) const
  {
    return Base::kSqrt2 - resonanceIn * resonanceScale * Base::kSqrt2;
  }

  void design(double k, double d)
  {
    const double cc = 1.0 / k;
    const double c2 = cc * cc;
    const double n = 1.0 / (1.0 + d * cc + c2);
    this->b0 = Sample(n);
    this->b1 = Sample(2.0 * n);
    this->b2 = Sample(n);
    this->a1 = Sample(2.0 * (1.0 - c2) * n);
    this->a2 = Sample((1.0 - d * cc + c2) * n);
  }
};

extern template class BiquadTweakedButterworthLP<double>;

} // namespace Korvane
