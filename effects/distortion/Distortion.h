#pragma once

#include "dsp/CpuFeatures.h"
#include "effects/distortion/CurveStage.h"
#include "effects/distortion/DistortionCurve.h"
#include "effects/distortion/DistortionTypes.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace Korvane
{

// The distortion section's own stages on the stereo master signal: sample-rate
// reduction, the one-sided gate and the waveshaper that drives the signal through the
// transfer curve of the selected type (the quantizer runs between the first two; the
// master chain calls the four in order). Each of the 36 types owns its curve; edits
// stay with the type until "Restore Curve".
class Distortion
{
public:
  static constexpr int kPreviewCurvePoints = 128;
  static constexpr int kPreviewSinePoints = 120;

  double sampleRate = 44100.0;
  double srAmount = 1.0;           // "Sample-Rate Reduction", 1 = no holding
  std::uint32_t sampleCounter = 0; // shared by both channels, wraps freely
  int holdPeriod = 1;              // samples per held value
  double gateAmount = 0.0;         // "Gate-Crack"
  double gateThreshold = 0.0;      // gateAmount^4
  bool off = false;                // "Disto On/Off" is 0
  int loudnessMode = 1;            // "Disto-Mode": 0, 1 or 2
  double heldLeft = 0.0;
  double heldRight = 0.0;
  double driveRange = 14.44; // gain slope of loudness modes 1 and 2
  double amount = 0.0;       // "Distortion", the drive target
  int typeIndex = 0;         // "Disto-Type", 0..35
  std::array<DistortionCurve, DistortionTypes::kCount> curves;
  DistortionCurve* activeCurve = &curves[0];
  int interpolationMode = 0; // last "Disto Interpolation"
  double drivePole = 0.9777;
  double driveGain = 1.0 - 0.9777;
  double smoothedAmount = 0.0;

  // Loudness mode 2 takes std::sin (the reference the tests compare against) instead of
  // the polynomial sine of processCurve. For all instances.
  static inline bool referenceSine = false;
  // The widest instruction set the curve stage's block loop may take where the processor
  // has it (the same bits; the tests compare the kernels). For all instances.
  static inline Dsp::Kernel widestCurve = Dsp::widestKernel();

  // --- Called from the main thread at construction ---------------------------------

  // Fills every type's curve: the stored tables, the generated curves of 16 to 24.
  Distortion();
  Distortion(const Distortion&) = delete;
  Distortion& operator=(const Distortion&) = delete;

  // --- Called from reset and parameter routing under the plug-in mutex -------------

  // Stores the rate and recomputes the hold period for it.
  void setSampleRate(double rate);
  // Clears the hold, the sample counter and the drive smoother.
  void reset();

  // Setters return false and change nothing for a non-finite value.
  void setOff(bool isOff) { off = isOff; }
  bool setAmount(double value);
  // typeIndex = floor(35 * clamp(value, 0, 1) + 0.5); the type's curve becomes active.
  bool setType(double value);
  // A type by index (preset texts name their type); outside 0..35 the type-0 curve
  // is active.
  void setTypeIndex(int index);
  bool setLoudnessMode(double value);
  // interpolationMode = floor(4 * value + 0.5), written into all 36 curves.
  bool setInterpolation(double value);
  bool setSampleRateReduction(double value);
  bool setGate(double value);

  // --- Called from the audio thread, never blocks ----------------------------------

  void processSampleRate(double* left, double* right, int count);
  void processGate(double* left, double* right, int count) const;
  // `envelope` is the filter-envelope buffer (count values) or null. Both channels go
  // through the curve side by side, the interpolation chosen once for the block: every
  // sample the same bits as shape() gives it, but for loudness mode 2, whose sine is a
  // polynomial within 5e-16 of std::sin unless referenceSine is set.
  void processCurve(double* left, double* right, const double* envelope, int count);

  // --- Curve operations on the active curve: from the audio thread (commands the
  // --- master chain deferred to the block start) or the main thread ----------------

  // Curve-menu codes 0 (restore the type's stored table), 1, 3, 8 and 12; any other
  // code changes nothing and returns false.
  bool applyCommand(int code);
  std::string exportText() const { return activeCurve->exportText(); } // allocates
  bool importText(std::string_view text) { return activeCurve->importText(text); }
  bool importValues(const double* values, int count)
  {
    return activeCurve->importValues(values, count);
  }

  // --- Called from the editor's timer on the preview chain -------------------------

  // The active curve at 128 inputs (i/128 - 0.5) * 2, and one sine period of 120
  // samples through the shaper at the unsmoothed amount.
  void renderPreview(std::array<double, kPreviewCurvePoints>& curveValues,
                     std::array<double, kPreviewSinePoints>& sineValues) const;

private:
  // The curve stage for input a at drive b: gain, curve, loudness and blend.
  double shape(double a, double b) const;
  // The curve stage of this block in `stage`: false, filling nothing, when it passes the
  // block unchanged (off or at amount 0).
  bool beginCurve(CurveStage& stage, const double* envelope) const;
  void updateHoldPeriod();
};

} // namespace Korvane
