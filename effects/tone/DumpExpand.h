#pragma once

#include "dsp/CpuFeatures.h"
#include "effects/AudioProcessingUnit.h"

#include "dsp/ChebyshevIHighPass.h"
#include "dsp/ChebyshevILowPass.h"
#include "dsp/DirectFormI.h"
#include "dsp/SmoothedFilterDesign.h"

#include <array>

namespace Korvane
{

class Equalizer;

// The one-knob tone sweep "LoPass/HiPass": below the centre it closes a low-pass (the
// "dump" side), above the centre it raises a high-pass (the "expand" side). Both are
// order-2 Chebyshev I designs (0.01 dB ripple, Direct Form I, two channels) in series,
// and each setting glides over 512 samples. At 0.5 the high-pass sits at 20 Hz and the
// low-pass at 21000 Hz.
//
// Cutoffs follow 10 * 2204^x Hz (10..22040 Hz); up to 44.1 kHz they are limited to
// 20..21000 Hz. The unit works in 1024-sample pieces; a longer block is processed piece
// by piece, so it sounds exactly as the same samples given in blocks of 1024.
// Non-finite input never enters a filter, and a filter whose output runs away is
// cleared, so the state stays finite.
class DumpExpand final : public AudioProcessingUnit
{
public:
  static constexpr int kBufferSize = kWorkBufferSize;
  static constexpr int kCurvePoints = 30;
  static constexpr int kOrder = 2;
  static constexpr double kRippleDb = 0.01;
  static constexpr double kInitialLowPass = 21000.0;
  static constexpr double kInitialHighPass = 20.0;
  static constexpr double kLowestLimited = 20.0;
  static constexpr double kHighestLimited = 21000.0;
  // Sample rates up to this one limit the cutoffs to 20..21000 Hz.
  static constexpr double kLimitedRate = 44100.0;

  using LowPassDesign = Dsp::SmoothedFilterDesign<Dsp::ChebyshevI::LowPass, 2, Dsp::DirectFormI>;
  using HighPassDesign = Dsp::SmoothedFilterDesign<Dsp::ChebyshevI::HighPass, 2, Dsp::DirectFormI>;

  DumpExpand();

  // Called from the plug-in's reset on the main thread, under the plug-in mutex.
  //
  // Stores the rate and gives it to both designs, with the cutoffs of the current
  // value worked out again for it (so the 20..21000 Hz limit always matches the rate).
  // A rate that is not finite or not above 0 is refused.
  void setSampleRate(double rate) override;
  // Clears both filters' memories (the settings stay).
  void reset();

  // Called from parameter routing under the plug-in mutex (main or audio thread);
  // never allocates. A non-finite value is refused and changes nothing.
  //
  // "LoPass/HiPass": high-pass at 10 * 2204^hp Hz with hp = clamp((x - 0.5) * 2, 0, 1),
  // low-pass at 10 * 2204^lp Hz with lp = clamp(2x, 0, 1).
  void setValue(double x);

  // Called from the editor's timer on the main thread.
  //
  // Magnitude of the active filter (the high-pass from 0.5 up, the low-pass below) at
  // the normalised frequencies (i / 30)^2 * 0.5; above 0.5 the last point is 1.
  void responseCurve(std::array<double, kCurvePoints>& curve) const;

  // Called from the audio thread, never blocks and never allocates.
  //
  // In place; returns at once when switched off and faded out.
  void process(double* left, double* right, int frames);

  double getValue() const { return value; }
  int getBypassFilters() const { return bypassFilters; }
  double getLowPassCutoff() const;
  double getHighPassCutoff() const;
  const LowPassDesign& getLowPass() const { return lowPass; }
  const HighPassDesign& getHighPass() const { return highPass; }

private:
  // Runs the two tone units together, on their filters and fade.
  friend bool processToneChain(Equalizer& eq, DumpExpand& dump, double* left, double* right,
                               int frames, Dsp::Kernel widest);

  // Gives both designs the rate and the cutoffs of `x` in one parameter set each.
  void applySettings(double x);
  void processPiece(double* left, double* right, int frames);

  LowPassDesign lowPass;
  HighPassDesign highPass;
  double value = 0.5;
  int bypassFilters = 0; // nothing sets it
  double buffer[2][kBufferSize] = {};
};

} // namespace Korvane
