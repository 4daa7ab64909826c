#include "effects/distortion/Distortion.h"

#include "dsp/Lanes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Korvane
{

namespace
{

// sin(pi/2 y) for y in -1..+1 (NaN stays NaN), lane by lane: an odd polynomial of degree
// 15 fitted at the Chebyshev nodes of y^2, within 5e-16 of the exact sine. Pure.
Dsp::Pair quarterTurnSine(Dsp::Pair y)
{
  const Dsp::Pair u = y * y;
  Dsp::Pair p = -6.4494695282673422e-10 * u + 5.6883180007240992e-08;
  p = p * u - 3.5988107053839989e-06;
  p = p * u + 0.00016044116956241851;
  p = p * u - 0.0046817541314467951;
  p = p * u + 0.07969262624568331;
  p = p * u - 0.64596409750622319;
  p = p * u + 1.5707963267948963;
  return p * y;
}

} // namespace

// --- Called from the main thread at construction -------------------------------------

Distortion::Distortion()
{
  for (int type = 0; type < DistortionTypes::kCount; ++type)
  {
    curves[type].points = DistortionTypes::initialCurve(type);
  }
}

// --- Called from reset and parameter routing under the plug-in mutex -----------------

void Distortion::setSampleRate(double rate)
{
  if (!std::isfinite(rate) || rate <= 0.0)
    return;
  sampleRate = rate;
  updateHoldPeriod();
}

void Distortion::reset()
{
  sampleCounter = 0;
  heldLeft = 0.0;
  heldRight = 0.0;
  smoothedAmount = 0.0;
}

bool Distortion::setAmount(double value)
{
  if (!std::isfinite(value))
    return false;
  amount = value;
  return true;
}

bool Distortion::setType(double value)
{
  if (!std::isfinite(value))
    return false;
  setTypeIndex(static_cast<int>(std::floor(35.0 * std::clamp(value, 0.0, 1.0) + 0.5)));
  return true;
}

void Distortion::setTypeIndex(int index)
{
  typeIndex = index;
  activeCurve = index >= 0 && index < DistortionTypes::kCount ? &curves[index] : &curves[0];
}

bool Distortion::setLoudnessMode(double value)
{
  if (!std::isfinite(value))
    return false;
  loudnessMode = static_cast<int>(std::floor(2.0 * std::clamp(value, 0.0, 1.0) + 0.5));
  return true;
}

bool Distortion::setInterpolation(double value)
{
  if (!std::isfinite(value))
    return false;
  // Values outside 0..1 give modes outside 0..4, which interpolate cubically; the
  // limit only keeps the conversion to int defined.
  interpolationMode = static_cast<int>(std::floor(4.0 * std::clamp(value, -1e6, 1e6) + 0.5));
  for (DistortionCurve& c : curves)
    c.interpolation = interpolationMode;
  return true;
}

bool Distortion::setSampleRateReduction(double value)
{
  if (!std::isfinite(value))
    return false;
  srAmount = value;
  updateHoldPeriod();
  return true;
}

bool Distortion::setGate(double value)
{
  if (!std::isfinite(value))
    return false;
  gateAmount = value;
  gateThreshold = value * value * value * value;
  return true;
}

void Distortion::updateHoldPeriod()
{
  const double period = std::trunc(sampleRate / 44100.0 * (1.0 - srAmount) * 127.0);
  holdPeriod = static_cast<int>(std::clamp(period, -1e9, 1e9));
}

// --- Called from the audio thread, never blocks ---------------------------------------

void Distortion::processSampleRate(double* left, double* right, int count)
{
  if (off || count <= 0)
    return;
  if (holdPeriod <= 0 || srAmount == 1.0)
  {
    // Nothing is held: every sample stays as it is, and the last one is the held value.
    heldLeft = left[count - 1];
    heldRight = right[count - 1];
    sampleCounter += static_cast<std::uint32_t>(count);
    return;
  }
  for (int i = 0; i < count; ++i)
  {
    // A period below 1 (a value above 1) holds nothing, like 0.
    if (holdPeriod <= 0 || srAmount == 1.0 ||
        sampleCounter % static_cast<std::uint32_t>(holdPeriod) == 0)
    {
      heldLeft = left[i];
      heldRight = right[i];
    }
    left[i] = heldLeft;
    right[i] = heldRight;
    ++sampleCounter;
  }
}

void Distortion::processGate(double* left, double* right, int count) const
{
  if (off || gateAmount == 0.0)
    return;
  // Signed on purpose: every negative sample is silenced, positive ones below the
  // threshold as well.
  for (int i = 0; i < count; ++i)
  {
    if (gateThreshold > left[i])
      left[i] = 0.0;
    if (gateThreshold > right[i])
      right[i] = 0.0;
  }
}

double Distortion::shape(double a, double b) const
{
  if (b == 0.0)
    return a;
  double e = 2.0 * b;
  if (loudnessMode != 0)
  {
    e = driveRange * b + 1.0;
    if (typeIndex == 2)
      e *= 0.5;
    else if (typeIndex == 3)
      e *= 0.777;
  }
  double y = std::clamp(activeCurve->lookup(a) * e, -1.0, 1.0);
  if (loudnessMode == 2)
    y = 2.0 * std::sin(std::numbers::pi / 2.0 * y);
  if (b < 0.5)
    return (1.0 - 2.0 * b) * a + 2.0 * b * y;
  return y;
}

void Distortion::processCurve(double* left, double* right, const double* envelope, int count)
{
  if (off || amount == 0.0)
    return;
  if (!(left + count <= right || right + count <= left))
  {
    // Overlapping channels are shaped one after the other, as the same samples go
    // through the curve twice.
    for (int i = 0; i < count; ++i)
    {
      smoothedAmount = drivePole * smoothedAmount + driveGain * amount;
      const double b = envelope ? smoothedAmount * envelope[i] : smoothedAmount;
      left[i] = shape(left[i], b);
      right[i] = shape(right[i], b);
    }
    return;
  }
  switch (activeCurve->interpolation)
  {
  case DistortionCurve::kNoInterpolation:
    processCurveLanes<DistortionCurve::kNoInterpolation>(left, right, envelope, count);
    break;
  case DistortionCurve::kLinear:
    processCurveLanes<DistortionCurve::kLinear>(left, right, envelope, count);
    break;
  case DistortionCurve::kCosine:
    processCurveLanes<DistortionCurve::kCosine>(left, right, envelope, count);
    break;
  case DistortionCurve::kHermite:
    processCurveLanes<DistortionCurve::kHermite>(left, right, envelope, count);
    break;
  default:
    processCurveLanes<DistortionCurve::kCubic>(left, right, envelope, count);
    break;
  }
}

template <int Mode>
void Distortion::processCurveLanes(double* left, double* right, const double* envelope, int count)
{
  using Dsp::Pair;
  DistortionCurve::PaddedPoints padded;
  activeCurve->padPoints(padded);
  // shape()'s gain e for drive b, as (slope * b + offset) * factor: 2b + 0 in mode 0
  // (b is never 0 there, so adding 0 keeps every bit), and the type's share of
  // driveRange * b + 1 in modes 1 and 2 (a factor of 1 keeps every bit).
  const double slope = loudnessMode != 0 ? driveRange : 2.0;
  const double offset = loudnessMode != 0 ? 1.0 : 0.0;
  double factor = 1.0;
  if (loudnessMode != 0 && typeIndex == 2)
    factor = 0.5;
  else if (loudnessMode != 0 && typeIndex == 3)
    factor = 0.777;
  const bool sine = loudnessMode == 2;
  const bool exactSine = referenceSine;
  const double pull = driveGain * amount;
  double smoothed = smoothedAmount;
  // In stretches, each in two passes: the drive and the curve's output first, then the
  // sine and the blend, so that the long chain of one sample's arithmetic is cut in two
  // and the processor overlaps the samples of each pass.
  constexpr int kStretch = 128;
  double drive[kStretch];
  Pair curved[kStretch];
  for (int from = 0; from < count; from += kStretch)
  {
    const int n = std::min(kStretch, count - from);
    double* l = left + from;
    double* r = right + from;
    const double* env = envelope ? envelope + from : nullptr;
    for (int i = 0; i < n; ++i)
    {
      smoothed = drivePole * smoothed + pull;
      const double b = env ? smoothed * env[i] : smoothed;
      const double e = (slope * b + offset) * factor;
      drive[i] = b;
      curved[i] = Dsp::clampLanes(DistortionCurve::lookupLanes<Mode>(padded, Pair{l[i], r[i]}) * e,
                                  -1.0, 1.0);
    }
    for (int i = 0; i < n; ++i)
    {
      const double b = drive[i];
      if (b == 0.0)
        continue;
      Pair y = curved[i];
      if (sine)
      {
        if (exactSine)
          y = 2.0 * Pair{std::sin(std::numbers::pi / 2.0 * y[0]),
                         std::sin(std::numbers::pi / 2.0 * y[1])};
        else
          y = 2.0 * quarterTurnSine(y);
      }
      if (b < 0.5)
        y = (1.0 - 2.0 * b) * Pair{l[i], r[i]} + 2.0 * b * y;
      l[i] = y[0];
      r[i] = y[1];
    }
  }
  smoothedAmount = smoothed;
}

// --- Curve operations on the active curve ---------------------------------------------

bool Distortion::applyCommand(int code)
{
  // An index outside 0..35 works on the type-0 curve and restores the type-0 table.
  return activeCurve->applyCommand(code, &DistortionTypes::storedTable(typeIndex));
}

// --- Called from the editor's timer on the preview chain -------------------------------

void Distortion::renderPreview(std::array<double, kPreviewCurvePoints>& curveValues,
                               std::array<double, kPreviewSinePoints>& sineValues) const
{
  for (int i = 0; i < kPreviewCurvePoints; ++i)
    curveValues[i] = activeCurve->lookup((double(i) / kPreviewCurvePoints - 0.5) * 2.0);
  for (int i = 0; i < kPreviewSinePoints; ++i)
    sineValues[i] =
        shape(std::sin(2.0 * std::numbers::pi * double(i) / kPreviewSinePoints), amount);
}

} // namespace Korvane
