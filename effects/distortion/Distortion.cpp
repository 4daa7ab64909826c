#include "effects/distortion/Distortion.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Korvane
{

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
  if (off)
    return;
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
  for (int i = 0; i < count; ++i)
  {
    smoothedAmount = drivePole * smoothedAmount + driveGain * amount;
    const double b = envelope ? smoothedAmount * envelope[i] : smoothedAmount;
    left[i] = shape(left[i], b);
    right[i] = shape(right[i], b);
  }
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
