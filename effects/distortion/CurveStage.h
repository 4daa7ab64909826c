#pragma once

#include "dsp/Lanes.h"
#include "effects/distortion/DistortionCurve.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <type_traits>

namespace Korvane
{

// The distortion's waveshaper for one block: what Distortion reads off itself at the
// block's start (the drive smoother, the gain of the loudness mode, the active curve with
// its ends padded), and the arithmetic of a sample in two halves, lane by lane, so that
// the block loops built for SSE2 and for AVX2 share it and give the same bits. Called
// from the audio thread; nothing here allocates. The vector functions are only ever
// inlined, so that no call passes a vector across the instruction sets.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"
class CurveStage
{
public:
  // The padded curve points (4 KiB), kept apart from the per-sample values below so that
  // a block loop can copy those into registers.
  DistortionCurve::PaddedPoints padded;

  struct Values
  {
    double slope = 2.0, offset = 0.0, factor = 1.0; // shape()'s gain (slope * b + offset) * factor
    double pole = 0.0, pull = 0.0;                  // smoothed = pole * smoothed + pull
    double smoothed = 0.0;
    const double* envelope = nullptr; // multiplies the smoothed drive per sample, or null
    bool sine = false;                // loudness mode 2
    bool exactSine = false;           // std::sin instead of the polynomial
    int interpolation = DistortionCurve::kHermite; // the active curve's
  } values;

  // Calls use(std::integral_constant<int, Mode>) with the lookup Mode of `interpolation`:
  // none, linear, cosine and Hermite by their codes, cubic for every other value.
  template <class Use>
  static decltype(auto) withMode(int interpolation, Use&& use)
  {
    switch (interpolation)
    {
    case DistortionCurve::kNoInterpolation:
      return use(std::integral_constant<int, DistortionCurve::kNoInterpolation>{});
    case DistortionCurve::kLinear:
      return use(std::integral_constant<int, DistortionCurve::kLinear>{});
    case DistortionCurve::kCosine:
      return use(std::integral_constant<int, DistortionCurve::kCosine>{});
    case DistortionCurve::kHermite:
      return use(std::integral_constant<int, DistortionCurve::kHermite>{});
    default:
      return use(std::integral_constant<int, DistortionCurve::kCubic>{});
    }
  }

  // sin(pi/2 y) for y in -1..+1 (NaN stays NaN), lane by lane for any vector V: an odd
  // polynomial of degree 15 fitted at the Chebyshev nodes of y^2, within 5e-16 of the
  // exact sine.
  template <class V>
  __attribute__((always_inline)) static V quarterTurnSine(V y)
  {
    const V u = y * y;
    V p = -6.4494695282673422e-10 * u + 5.6883180007240992e-08;
    p = p * u - 3.5988107053839989e-06;
    p = p * u + 0.00016044116956241851;
    p = p * u - 0.0046817541314467951;
    p = p * u + 0.07969262624568331;
    p = p * u - 0.64596409750622319;
    p = p * u + 1.5707963267948963;
    return p * y;
  }

  // The drive b of sample i: the smoother advanced by one sample, times the envelope.
  __attribute__((always_inline)) static double drive(Values& v, int i)
  {
    v.smoothed = v.pole * v.smoothed + v.pull;
    return v.envelope ? v.smoothed * v.envelope[i] : v.smoothed;
  }

  // The drives of samples from .. from + n - 1 into `into`, as n calls of drive. Once the
  // smoother lands on its fixed point (one step leaves every bit of it as it was), every
  // later step would too, so the rest of the stretch takes that value without the chain
  // of multiplies and adds. Returns true when the smoother sat on that point from the
  // start and no envelope moves the drive: every drive of the stretch is then into[0].
  static bool drives(Values& v, int from, int n, double* into)
  {
    int i = 0;
    for (; i < n; ++i)
    {
      const double before = v.smoothed;
      into[i] = v.smoothed = v.pole * v.smoothed + v.pull;
      if (std::bit_cast<std::uint64_t>(before) == std::bit_cast<std::uint64_t>(v.smoothed))
        break;
    }
    for (int k = i + 1; k < n; ++k)
      into[k] = v.smoothed;
    if (v.envelope)
      for (int k = 0; k < n; ++k)
        into[k] *= v.envelope[from + k];
    return i == 0 && v.envelope == nullptr;
  }

  // The first half, lane by lane for any vector V of the curve's outputs `looked` (from
  // DistortionCurve::lookupLanes or lookupQuad) and drives b: the output times the gain of the
  // drive, clamped to -1..+1 as Dsp::clampLanes clamps.
  template <class V>
  __attribute__((always_inline)) static V curved(const Values& v, V looked, V b)
  {
    const V zero{};
    const V e = (v.slope * b + v.offset) * v.factor;
    const V y = looked * e;
    const V low = zero - 1.0 > y ? zero - 1.0 : y;
    return zero + 1.0 < low ? zero + 1.0 : low;
  }

  // The second half, lane by lane for any vector V of inputs x, drives b and first
  // halves y (a lane whose b is 0 is the caller's to keep): the loudness mode's sine, and
  // below b = 0.5 the blend with the input.
  template <class V>
  __attribute__((always_inline)) static V finish(const Values& v, V x, V b, V y)
  {
    return blend(x, b, loudness(v, y));
  }

  // The loudness mode's sine of the first halves y, the first part of finish.
  template <class V>
  __attribute__((always_inline)) static V loudness(const Values& v, V y)
  {
    if (v.sine)
    {
      if (v.exactSine)
        for (int k = 0; k < int(sizeof(V) / sizeof(double)); ++k)
          y[k] = 2.0 * std::sin(std::numbers::pi / 2.0 * y[k]);
      else
        y = 2.0 * quarterTurnSine(y);
    }
    return y;
  }

  // The rest of finish: below b = 0.5 the input x blended with y, else y. A drive of at
  // least 0.5 (and not NaN) leaves y as it is.
  template <class V>
  __attribute__((always_inline)) static V blend(V x, V b, V y)
  {
    const V zero{};
    return b < zero + 0.5 ? (1.0 - 2.0 * b) * x + 2.0 * b * y : y;
  }
};
#pragma GCC diagnostic pop

} // namespace Korvane
