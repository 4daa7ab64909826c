#pragma once

#include <bit>
#include <cstdint>
#include <span>
#include <string>

namespace Korvane
{

// Exponential ADSR envelope. Each segment approaches a target beyond its end level
// (1 + ratioA for the attack, level - ratioDR for decay and release) and stops when
// it crosses the end level; small ratios give sharply curved segments, large ones
// nearly straight ones. Times are parameter values scaled by `timeScale` seconds.
//
// The owning voice starts the envelope by writing state = kAttack and output = 0,
// releases it by writing state = kRelease when it is not idle, and reads `output`
// before calling tick() for the sample.
class AdsrEnvelope
{
public:
  enum State : std::int32_t
  {
    kIdle = 0,
    kAttack = 1,
    kDecay = 2,
    kSustain = 3,
    kRelease = 4
  };

  static constexpr int kPreviewPoints = 116;
  static constexpr double kInitialRatioA = 0.5400019800523;
  static constexpr double kInitialRatioDR = 0.1080019800523;

  explicit AdsrEnvelope(std::string envelopeName);

  // Times: t is the parameter value; the segment lasts t * timeScale * sampleRate
  // samples. A running envelope uses a new time from its next sample on.
  void setAttack(double t);
  void setDecay(double t);
  void setRelease(double t);
  void setSustain(double level);

  // Time scale = max(v, 0.001) * 5 seconds per unit; the three times keep their
  // parameter values and are recomputed with the new scale.
  void setDuration(double v);

  // Curvature of all segments: ratioA = 20 s^3, ratioDR = 4 s^3 (plus a tiny floor).
  void setShape(double s);
  void setRatioA(double r);
  void setRatioDR(double r);

  // Changes the sample rate keeping every segment's length in seconds. (Writing
  // `sampleRate` alone keeps the lengths in samples until a time is set again.)
  void setSampleRate(double rate);

  // Advances one sample and returns the new output.
  double tick()
  {
    switch (state)
    {
    case kAttack:
      output = attackBase + output * attackCoef;
      if (output >= 1.0)
      {
        output = 1.0;
        state = kDecay;
      }
      break;
    case kDecay:
      output = decayBase + output * decayCoef;
      if (output <= sustainLevel)
      {
        output = sustainLevel;
        sustainState = sustainLevel;
        state = kSustain;
      }
      break;
    case kSustain:
      output = sustainLevel * sustainGain + sustainPole * sustainState;
      sustainState = output;
      break;
    case kRelease:
      output = releaseBase + output * releaseCoef;
      if (output <= 0.0)
      {
        output = 0.0;
        state = kIdle;
      }
      break;
    default:
      break;
    }
    return output;
  }

  // True when tick() leaves everything as it is, now and for every sample after until
  // the envelope is written to: idle, or sustaining at the level its smoothing step
  // returns bit for bit.
  bool isHeld() const noexcept
  {
    if (state == kIdle)
      return true;
    if (state != kSustain)
      return false;
    const double next = sustainLevel * sustainGain + sustainPole * sustainState;
    return std::bit_cast<std::uint64_t>(next) == std::bit_cast<std::uint64_t>(sustainState) &&
           std::bit_cast<std::uint64_t>(output) == std::bit_cast<std::uint64_t>(sustainState);
  }

  // The editor's curve: attack and release each take up to a third of the
  // points, the decay/sustain part the rest; every point is level * scale, and
  // the first and last points are 0.
  void preview(std::span<double, kPreviewPoints> points, double scale) const;

  // Per-sample multiplier for a segment of n samples approaching a target r
  // beyond its end (0 for n <= 0).
  static double coefficient(double n, double r);

  std::int32_t state = kIdle;
  double output = 0.0;
  double attackSamples = 0.0;
  double decaySamples = 0.0;
  double releaseSamples = 0.0;
  double attackCoef = 0.0;
  double decayCoef = 0.0;
  double releaseCoef = 0.0;
  double sustainLevel = 1.0;
  double ratioA = kInitialRatioA;
  double ratioDR = kInitialRatioDR;
  double attackBase = 0.0;
  double decayBase = 0.0;
  double releaseBase = 0.0;
  double sampleRate = 44100.0;
  double timeScale = 0.2;
  double shape = 0.3;
  std::string name;
  double sustainPole = 0.99;
  double sustainGain = 0.01;
  double sustainState = 0.0;

private:
  void updateAttack();
  void updateDecay();
  void updateRelease();
  // Parameter value of a time held in samples under the current scale and rate.
  double timeValue(double samples) const;
};

} // namespace Korvane
