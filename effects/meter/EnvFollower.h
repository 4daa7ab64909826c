#pragma once

#include "effects/AudioProcessingUnit.h"

namespace Korvane
{

// The output level for the editor's level display: per channel a peak follower that
// rises with the attack coefficient and falls with the release coefficient (both
// exp(-1 / (rate * 0.3 s))). It only reads the block.
class EnvFollower final : public AudioProcessingUnit
{
public:
  static constexpr double kAttackSeconds = 0.3;
  static constexpr double kReleaseSeconds = 0.3;

  EnvFollower();

  // Called from the plug-in's reset on the main thread, under the plug-in mutex.
  //
  // Stores the rate and works out both coefficients; a rate that is not finite or
  // not above 0 is refused.
  void setSampleRate(double rate) override;
  // The attack and release times in seconds (the master chain's meter uses 0.01 and
  // 0.5); both coefficients are worked out again. Times that are not finite or not
  // above 0 are refused.
  void setTimes(double attackSeconds, double releaseSeconds);

  // Called from the audio thread, never blocks and never allocates.
  //
  // Follows |x| limited to 0..1 (a non-finite sample counts as full scale when
  // infinite and as silence when not a number); the block is not changed. Returns at
  // once when switched off and faded out.
  void process(const double* left, const double* right, int frames);

  // Called from the level display on the editor's timer when no audio arrives.
  //
  // Multiplies both envelopes by the release coefficient trunc(trunc(release * rate)
  // / 20) times, about e^(-1/20) per call.
  void decay();

  double getAttack() const { return attack; }
  double getRelease() const { return release; }
  double getAttackCoef() const { return attackCoef; }
  double getReleaseCoef() const { return releaseCoef; }
  double getEnvLeft() const { return envLeft; }
  double getEnvRight() const { return envRight; }

private:
  double follow(double env, double x) const;

  double attack = kAttackSeconds;
  double release = kReleaseSeconds;
  double attackCoef = 0.0;
  double releaseCoef = 0.0;
  double envLeft = 0.0;
  double envRight = 0.0;
};

} // namespace Korvane
