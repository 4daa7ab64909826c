#include "effects/modulation/Phaser.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace Korvane
{

namespace
{
constexpr double kTwoPi = 2.0 * std::numbers::pi;
}

// ---------------------------------------------------------------------------------
// Called from the plug-in's reset and from parameter routing under the plug-in mutex.

void Phaser::setSampleRate(double rate)
{
  if (!std::isfinite(rate) || !(rate > 0.0))
    return;
  lfoIncrement = lfoIncrement * sampleRate / rate;
  AudioProcessingUnit::setSampleRate(rate);
}

void Phaser::setDepth(double value)
{
  if (std::isfinite(value))
    depthTarget = value;
}

void Phaser::setFeedback(double value)
{
  if (std::isfinite(value))
    feedback = std::clamp(value, 0.0, 1.0) * maxFeedback;
}

void Phaser::setRate(double value)
{
  const double increment = value / sampleRate * kTwoPi * kMaxRate;
  if (std::isfinite(value) && std::isfinite(increment))
    lfoIncrement = increment;
}

// ---------------------------------------------------------------------------------
// Called from the audio thread, never blocks and never allocates.

double Phaser::allPassChain(std::array<double, kStages>& state,
                            const std::array<double, kStages>& coefficient, double& last, double fb,
                            double x)
{
  if (!std::isfinite(x))
    x = 0.0; // passes through dry, never enters the memories
  double u = x + last * fb;
  for (int k = 0; k < kStages; ++k)
  {
    const double y = state[k] - coefficient[k] * u;
    state[k] = coefficient[k] * y + u;
    u = y;
  }
  if (!std::isfinite(u))
  {
    state.fill(0.0);
    u = 0.0;
  }
  last = u;
  return u;
}

void Phaser::process(double* left, double* right, int frames)
{
  if (isFadedOut() || depthTarget == 0.0)
    return;
  for (int i = 0; i < frames; ++i)
  {
    const double s = std::sin(lfoPhase);
    lfoPhase += lfoIncrement;
    if (lfoPhase >= kTwoPi)
    {
      lfoPhase -= kTwoPi;
      if (lfoPhase >= kTwoPi) // an increment of more than a cycle per sample
        lfoPhase = std::fmod(lfoPhase, kTwoPi);
    }
    else if (lfoPhase < 0.0)
      lfoPhase = std::fmod(lfoPhase, kTwoPi) + kTwoPi;

    const double d = minDelay + (maxDelay - minDelay) * (s + 1.0) / 2.0;
    const double a = (1.0 - d) / (1.0 + d);
    coefficientsLeft.fill(a);
    coefficientsRight.fill(a);
    const double yl = allPassChain(stateLeft, coefficientsLeft, lastLeft, feedback, left[i]);
    const double yr = allPassChain(stateRight, coefficientsRight, lastRight, feedback, right[i]);

    depth = depthGain * depthTarget + depthPole * depth;
    left[i] += wet * depth * yl;
    right[i] += wet * depth * yr;
    advanceFade();
  }
}

} // namespace Korvane
