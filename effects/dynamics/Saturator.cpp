#include "effects/dynamics/Saturator.h"

#include "effects/dynamics/SaturationTables.h"

#include "dsp/Lanes.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace Korvane
{

// --- Called from the main thread at construction --------------------------------------

Saturator::Saturator(int tableKind) : kind(tableKind)
{
  curve.interpolation = DistortionCurve::kLinear;
  setCurvePoints(SaturationTables::table(tableKind));
}

void Saturator::setCurvePoints(const DistortionCurve::Points& points)
{
  curve.points = points;
  pointsWithinUnit =
      std::all_of(points.begin(), points.end(), [](double p) { return std::fabs(p) <= 1.0; });
}

// --- Called from reset and parameter routing under the plug-in mutex ------------------

bool Saturator::setDrive(double target)
{
  if (!std::isfinite(target))
    return false;
  driveTarget = target;
  return true;
}

bool Saturator::setMix(double threshold, double factor)
{
  if (!std::isfinite(threshold) || !std::isfinite(factor))
    return false;
  mixThreshold = threshold;
  mixFactor = factor;
  return true;
}

// --- Called from the audio thread, never blocks -----------------------------------------

bool Saturator::passesUnchanged() const
{
  // A drive and target of zero (of either sign) stay a zero of one fixed sign through
  // the positive pole; a finite gain and factor keep g and m zeros; the blend branch is
  // taken; and a linear curve between points within -1..+1 reads a finite value for any
  // input, so its product with g and m is a zero as well.
  return drive == 0.0 && driveTarget == 0.0 && drivePole > 0.0 && std::isfinite(drivePole) &&
         std::isfinite(driveGain) && std::isfinite(outputGain) && std::isfinite(mixFactor) &&
         0.0 < mixThreshold && curve.interpolation == DistortionCurve::kLinear && pointsWithinUnit;
}

double Saturator::passUnchanged()
{
  // Every sample becomes x * (1 - m) + yl * m with m a zero (so 1 - m is 1) and yl * m a
  // zero whose sign only matters for an input of -0: that zero is worked out once, from
  // the input -0. The drive stays a zero of the sign its first step gives it.
  drive = drivePole * drive + driveGain * driveTarget;
  const double g = drive * outputGain;
  const double m = drive * mixFactor;
  return std::clamp(curve.lookup(-0.0) * g, -1.0, 1.0) * m;
}

void Saturator::process(double* left, double* right, int count)
{
  if (count > 0 && passesUnchanged())
  {
    // x * 1 + -0 is x itself, bit for bit (a -0 too).
    if (!Dsp::sameBits(passUnchanged(), -0.0))
      for (double* samples : {left, right})
        Dsp::addPlusZero(samples, count);
    return;
  }
  for (int i = 0; i < count; ++i)
  {
    drive = drivePole * drive + driveGain * driveTarget;
    const double g = drive * outputGain;
    const double yl = std::clamp(curve.lookup(left[i]) * g, -1.0, 1.0);
    const double yr = std::clamp(curve.lookup(right[i]) * g, -1.0, 1.0);
    if (drive < mixThreshold)
    {
      const double m = drive * mixFactor;
      left[i] = left[i] * (1.0 - m) + yl * m;
      right[i] = right[i] * (1.0 - m) + yr * m;
    }
    else
    {
      left[i] = yl;
      right[i] = yr;
    }
  }
}

} // namespace Korvane
