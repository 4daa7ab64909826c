#include "effects/meter/EnvFollower.h"

#include <cmath>

namespace Korvane
{

// ---------------------------------------------------------------------------------
// Called when the plug-in is constructed and from its reset, under the plug-in mutex.

EnvFollower::EnvFollower() { setSampleRate(sampleRate); }

void EnvFollower::setSampleRate(double rate)
{
  if (!std::isfinite(rate) || !(rate > 0.0))
    return;
  AudioProcessingUnit::setSampleRate(rate);
  attackCoef = std::exp(-1.0 / (rate * attack));
  releaseCoef = std::exp(-1.0 / (rate * release));
}

void EnvFollower::setTimes(double attackSeconds, double releaseSeconds)
{
  if (!(attackSeconds > 0.0) || !(releaseSeconds > 0.0) || !std::isfinite(attackSeconds) ||
      !std::isfinite(releaseSeconds))
    return;
  attack = attackSeconds;
  release = releaseSeconds;
  setSampleRate(sampleRate);
}

// ---------------------------------------------------------------------------------
// Called from the audio thread, never blocks and never allocates.

double EnvFollower::follow(double env, double x) const
{
  double v = std::fabs(x);
  if (!(v <= 1.0))
    v = v > 1.0 ? 1.0 : 0.0; // infinity counts as full scale, NaN as silence
  const double k = env < v ? attackCoef : releaseCoef;
  return (1.0 - k) * v + k * env;
}

void EnvFollower::process(const double* left, const double* right, int frames)
{
  if (isFadedOut() || left == nullptr || right == nullptr)
    return;
  for (int i = 0; i < frames; ++i)
  {
    envLeft = follow(envLeft, left[i]);
    envRight = follow(envRight, right[i]);
  }
}

// ---------------------------------------------------------------------------------
// Called from the editor's timer on the main thread.

void EnvFollower::decay()
{
  const double steps = std::trunc(std::trunc(release * sampleRate) / 20.0);
  for (double n = 0.0; n < steps; n += 1.0)
  {
    envLeft *= releaseCoef;
    envRight *= releaseCoef;
  }
}

} // namespace Korvane
