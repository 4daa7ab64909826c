#pragma once

#include "effects/AudioProcessingUnit.h"

#include <array>
#include <numbers>

namespace Korvane
{

// The stereo phaser of the modulation section: six first-order all-pass stages per
// channel with feedback from the chain's output, swept by a sine LFO of 0..10 Hz, and
// the chain's output added to the dry signal. Where the six stages turn the phase by
// an odd multiple of half a cycle the sum cancels: the notches. The dry signal is
// always kept; "Phaser Amount" scales only the added part (smoothed with the pole
// 0.9777), and amount 0 leaves the block untouched.
//
// The sweep spans all-pass delays of 440/22050 to 1600/22050 (each stage turns a
// quarter cycle at 2 * atan(delay) radians per sample), fixed at construction: the
// notches sit at other frequencies at other sample rates. The LFO keeps its rate in
// Hz across sample-rate changes.
//
// Switching the unit off does not blend: the fade scales the added part down to 0.
class Phaser final : public AudioProcessingUnit
{
public:
  static constexpr int kStages = 6;
  static constexpr double kMinDelay = 440.0 / 22050.0;
  static constexpr double kMaxDelay = 1600.0 / 22050.0;
  static constexpr double kMaxFeedback = 0.999;
  static constexpr double kMaxRate = 10.0; // Hz at "Phaser Rate" 1
  static constexpr double kDepthPole = 0.9777;

  Phaser() = default;

  // Called from the plug-in's reset under the plug-in mutex; never allocates.
  //
  // Stores the rate and rescales the LFO increment so the sweep keeps its rate in Hz.
  // A rate that is not finite or not above 0 is refused.
  void setSampleRate(double rate) override;

  // Called from parameter routing under the plug-in mutex (main or audio thread);
  // each takes the parameter's value. A non-finite value is refused and changes
  // nothing.
  //
  // "Phaser Amount": the target of the depth smoother.
  void setDepth(double value);
  // "Phaser Feedback": feedback = clamp(value, 0, 1) * 0.999, so the loop gain stays
  // below 1.
  void setFeedback(double value);
  // "Phaser Rate": the LFO runs at 10 * value Hz; 0 freezes the sweep where it is.
  // A value whose increment would not be finite is refused too.
  void setRate(double value);

  // Called from the audio thread, never blocks and never allocates.
  //
  // In place: each channel becomes x + wet * depth * y with y the all-pass chain's
  // output. A non-finite input sample passes through but never enters the all-pass
  // memories; a chain that overflows starts again from silence.
  void process(double* left, double* right, int frames);

  double getDepthTarget() const { return depthTarget; }
  double getDepth() const { return depth; }
  double getFeedback() const { return feedback; }
  double getLfoIncrement() const { return lfoIncrement; }

private:
  // One channel through the six stages with coefficient a; returns the chain's output.
  static double allPassChain(std::array<double, kStages>& state,
                             const std::array<double, kStages>& coefficient, double& last,
                             double fb, double x);

  std::array<double, kStages> stateLeft{};
  std::array<double, kStages> stateRight{};
  std::array<double, kStages> coefficientsLeft{};
  std::array<double, kStages> coefficientsRight{};
  double minDelay = kMinDelay;
  double maxDelay = kMaxDelay;
  double feedback = 0.5;
  double lfoPhase = 0.0;                                        // radians, 0..2 pi
  double lfoIncrement = 2.0 * std::numbers::pi * 2.0 / 44100.0; // radians per sample, 2 Hz
  double depthTarget = 0.0;
  double depthPole = kDepthPole;
  double depthGain = 1.0 - kDepthPole;
  double depth = 0.0;
  double maxFeedback = kMaxFeedback;
  double lastLeft = 0.0;
  double lastRight = 0.0;
};

} // namespace Korvane
