#pragma once

#include "effects/AudioProcessingUnit.h"
#include "effects/distortion/DistortionCurve.h"

namespace Korvane
{

// A curve saturator with a smoothed drive: below `mixThreshold` it blends from dry
// towards the saturated signal, above it the output is fully saturated. The master
// chain ends with one (kind 0, "Saturation"); each master filter drives its input
// through one (kind 1). It always runs: the base's bypass fade does not apply, and a
// drive of 0 is transparent once the smoother has settled.
class Saturator final : public AudioProcessingUnit
{
public:
  double mixThreshold = 0.5; // below this drive the output is a dry/wet blend
  double mixFactor = 2.0;    // blend share per unit of drive
  double driveTarget = 0.0;  // the drive parameter, 0..1
  double outputGain = 4.0;   // gain after the curve, per unit of drive
  double drivePole = 0.9777;
  double driveGain = 1.0 - 0.9777;
  double drive = 0.0; // smoothed drive
  int kind = 0;

  // --- Called from the main thread at construction ---------------------------------

  // Kind 0 or 1 selects the table; any other kind takes kind 0's.
  explicit Saturator(int tableKind);

  // --- Called from reset and parameter routing under the plug-in mutex -------------

  // Clears the drive smoother.
  void reset() { drive = 0.0; }
  // A non-finite target is refused (false) and the smoother keeps its course.
  bool setDrive(double target);
  // The master filters' variant blends up to a drive of 0.25 (threshold 0.25, factor 4).
  bool setMix(double threshold, double factor);
  // Replaces the table the curve reads (linear interpolation between its points).
  void setCurvePoints(const DistortionCurve::Points& points);
  const DistortionCurve& getCurve() const { return curve; }

  // --- Called from the audio thread, never blocks ----------------------------------

  // Runs the shortcut whenever passesUnchanged() holds: the output is then the same
  // bit for bit without reading the curve per sample.
  void process(double* left, double* right, int count);

  // True when the drive and its target are zeros and the settings make every output the
  // input itself (but for the sign of a zero input, which the block keeps exact).
  bool passesUnchanged() const;
  // While passesUnchanged() holds: moves the drive on over a block as process() does and
  // returns the zero that process() adds to every sample of it (its output is then
  // x + zero, bit for bit), for callers that fold the block into their own loop.
  double passUnchanged();

private:
  DistortionCurve curve;
  // Every point lies within -1..+1 (found when the points are set).
  bool pointsWithinUnit = false;
};

} // namespace Korvane
