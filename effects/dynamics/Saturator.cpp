#include "effects/dynamics/Saturator.h"

#include "effects/dynamics/SaturationTables.h"

#include <algorithm>
#include <cmath>

namespace Korvane
{

// --- Called from the main thread at construction --------------------------------------

Saturator::Saturator(int tableKind) : kind(tableKind)
{
  curve.points = SaturationTables::table(tableKind);
  curve.interpolation = DistortionCurve::kLinear;
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

void Saturator::process(double* left, double* right, int count)
{
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
