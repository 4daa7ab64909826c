#include "effects/dynamics/DynShaper.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Korvane
{

// ---------------------------------------------------------------------------------
// Called from parameter routing under the plug-in mutex.

int DynShaper::selector(double value, int highest)
{
  return int(std::floor(double(highest) * std::clamp(value, 0.0, 1.0) + 0.5));
}

void DynShaper::setAmount(double value)
{
  if (std::isfinite(value))
    amount = value * value;
}

void DynShaper::setInvert(double value)
{
  if (std::isfinite(value))
    invert = value != 0.0;
}

void DynShaper::setShapeType(double value)
{
  if (std::isfinite(value))
    shapeType = selector(value, 2);
}

void DynShaper::setShaperMode(double value)
{
  if (std::isfinite(value))
    shaperMode = selector(value, 3);
}

void DynShaper::setPolarity(double value)
{
  if (std::isfinite(value))
    polarity = selector(value, 2);
}

const char* DynShaper::shapeTypeName(int index)
{
  static const char* const kNames[] = {"Sine", "Triangle", "Pulse"};
  if (index < 0 || index > kPulse)
    return "";
  return kNames[index];
}

const char* DynShaper::shaperModeName(int index)
{
  static const char* const kNames[] = {"Shaper", "Sat.Shaper", "Boost Shaper", "Boost+Sat.Shaper"};
  if (index < 0 || index > kBoostSatShaper)
    return "";
  return kNames[index];
}

// ---------------------------------------------------------------------------------
// Pure: called from the audio thread and, for the previews, under the plug-in mutex.

double DynShaper::shape(double a, double b) const
{
  if (width == 0.0 || b == 0.0 || (a < 0.0 && polarity == kPositiveOnly) ||
      (a >= 0.0 && polarity == kNegativeOnly))
    return a;
  const double h = width / 2.0;
  // The window's centre: 1 - h at b = 0 (0.875), h at b = 1 (0.125).
  const double centre = h + (1.0 - b) * (1.0 - 2.0 * h);
  const double m = std::fabs(a);
  double f = 0.0; // 0..1 across the window
  if (m > centre - h && m < centre + h)
    f = (m - (centre - h)) / width;

  double l = 0.0;
  const double k = kBumpHeight * b;
  switch (shapeType)
  {
  case kSine:
    l = std::sin(std::numbers::pi * f) * k;
    break;
  case kTriangle:
    l = f < 0.5 ? 2.0 * f * k : (1.0 - 2.0 * (f - 0.5)) * k;
    break;
  case kPulse:
    l = (f > 0.0 && f < 0.5) ? k : 0.0;
    break;
  default:
    break;
  }
  if (invert)
    l = -l;
  if (shaperMode == kSatShaper || shaperMode == kBoostSatShaper)
    l = std::min(l * kSatScale * b, 1.0); // no lower limit: an inverted bump may flip the sign
  const double s = a < 0.0 ? -1.0 : 1.0;
  return (m + l) * s;
}

double DynShaper::shapeSample(double x, double b) const
{
  if (shaperMode == kBoostShaper || shaperMode == kBoostSatShaper)
    x = std::clamp(x * kBoostScale * b, -1.0, 1.0);
  return shape(x, b);
}

void DynShaper::renderPreview(std::span<double, kPreviewCurvePoints> transfer,
                              std::span<double, kPreviewSinePoints> sine) const
{
  for (int i = 0; i < kPreviewCurvePoints; ++i)
    transfer[std::size_t(i)] = shapeSample((double(i) / kPreviewCurvePoints - 0.5) * 2.0, amount);
  for (int i = 0; i < kPreviewSinePoints; ++i)
    sine[std::size_t(i)] =
        shapeSample(std::sin(2.0 * std::numbers::pi * double(i) / kPreviewSinePoints), amount);
}

// ---------------------------------------------------------------------------------
// Called from the audio thread, never blocks and never allocates.

void DynShaper::process(double* left, double* right, const double* envelope, int frames)
{
  if (isFadedOut() || amount == 0.0)
    return;
  for (int i = 0; i < frames; ++i)
  {
    smoothedAmount = amountPole * smoothedAmount + amountGain * amount;
    // The fade scales the drive instead of blending dry and shaped signal.
    double b = smoothedAmount * wet;
    if (envelope != nullptr)
      b *= envelope[i];
    left[i] = shapeSample(left[i], b);
    right[i] = shapeSample(right[i], b);
    advanceFade();
  }
}

} // namespace Korvane
