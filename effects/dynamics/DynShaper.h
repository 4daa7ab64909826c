#pragma once

#include "effects/AudioProcessingUnit.h"

#include <span>

namespace Korvane
{

// The dynamic shaper: adds a movable bump to the transfer function. A window of fixed
// width in the signal's magnitude is filled with a sine, triangle or pulse shape; as
// the drive b rises from 0 to 1 the window slides from magnitudes 0.75..1 down to
// 0..0.25, so turning the amount up reshapes ever quieter parts of the waveform.
//
// Modes: 0 "Shaper" adds the bump; 1 "Sat.Shaper" scales it by 4b, limited to at most
// 1 from above only; 2 "Boost Shaper" first multiplies the signal by 5b and clips it
// to -1..+1; 3 "Boost+Sat.Shaper" does both. Polarity 1 shapes the positive
// half-waves only, 2 the negative ones only (zero counts as positive).
//
// Switching the unit off does not blend: the fade scales the drive down to 0, after
// which the block passes untouched.
class DynShaper final : public AudioProcessingUnit
{
public:
  enum ShapeType
  {
    kSine = 0,
    kTriangle = 1,
    kPulse = 2
  };
  enum ShaperMode
  {
    kShaper = 0,
    kSatShaper = 1,
    kBoostShaper = 2,
    kBoostSatShaper = 3
  };
  enum Polarity
  {
    kBothHalves = 0,
    kPositiveOnly = 1,
    kNegativeOnly = 2
  };

  static constexpr double kBumpHeight = 0.777; // bump peak per unit of drive
  static constexpr double kSatScale = 4.0;     // modes 1 and 3: the bump times 4b
  static constexpr double kBoostScale = 5.0;   // modes 2 and 3: the input times 5b
  static constexpr int kPreviewCurvePoints = 128;
  static constexpr int kPreviewSinePoints = 120;

  DynShaper() = default;

  // Called from parameter routing under the plug-in mutex (main or audio thread);
  // each takes the parameter's value. A non-finite value is refused and changes
  // nothing.
  //
  // "Dynamic Shaper Amount": amount = value^2, approached by the smoother.
  void setAmount(double value);
  // "Invert Shape": the bump is subtracted when value is not 0.
  void setInvert(double value);
  // "Shaper Type": floor(2 * clamp(value, 0, 1) + 0.5), 0 sine, 1 triangle, 2 pulse.
  void setShapeType(double value);
  // "Shaper Mode": floor(3 * clamp(value, 0, 1) + 0.5), the four modes above.
  void setShaperMode(double value);
  // "Shaper Pos-Neg": floor(2 * clamp(value, 0, 1) + 0.5), 0 both half-waves,
  // 1 positive only, 2 negative only.
  void setPolarity(double value);

  // Called from the audio thread, never blocks and never allocates.
  //
  // In place. `envelope` (the filter envelope, or null) multiplies the drive per
  // sample. Returns at once when the unit is faded out or the amount is 0 (the
  // smoother then holds its state).
  void process(double* left, double* right, const double* envelope, int frames);

  // The static transfer of the shaping stage for input a and drive b (the boost of
  // modes 2 and 3 is not part of it). Pure; any thread.
  double shape(double a, double b) const;

  // Called under the plug-in mutex when a shaper parameter changes, on the editor's
  // copy of the shaper; never allocates. With b = amount (unsmoothed, no envelope):
  // transfer[i] is the output for input (i/128 - 0.5) * 2, sine[i] for sin(2 pi i/120),
  // each through the boost of modes 2 and 3 and the shape.
  void renderPreview(std::span<double, kPreviewCurvePoints> transfer,
                     std::span<double, kPreviewSinePoints> sine) const;

  // Names the editor shows: "Sine", "Triangle", "Pulse"; "Shaper", "Sat.Shaper",
  // "Boost Shaper", "Boost+Sat.Shaper" (an empty text for any other index).
  static const char* shapeTypeName(int index);
  static const char* shaperModeName(int index);

  double getAmount() const { return amount; }
  double getSmoothedAmount() const { return smoothedAmount; }
  double getWidth() const { return width; }
  int getShapeType() const { return shapeType; }
  bool isInverted() const { return invert; }
  int getShaperMode() const { return shaperMode; }
  int getPolarity() const { return polarity; }

private:
  // One sample of the whole shaper for drive b: boost (modes 2 and 3), then shape.
  double shapeSample(double x, double b) const;
  static int selector(double value, int highest);

  double amountPole = 0.99;
  double amountGain = 1.0 - 0.99;
  double smoothedAmount = 0.0;
  double amount = 0.0; // the amount parameter squared
  double width = 0.25; // width of the window in magnitude
  int shapeType = kSine;
  bool invert = false;
  int shaperMode = kShaper;
  int polarity = kBothHalves;
};

} // namespace Korvane
