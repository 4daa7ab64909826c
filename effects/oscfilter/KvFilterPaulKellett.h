#pragma once

#include "dsp/Lanes.h"
#include "effects/oscfilter/IKvFilter.h"

#include <bit>
#include <cstdint>

namespace Korvane
{

// Paul Kellett's resonant four-stage one-pole filter. The response is chosen by
// `type`: 0 low-pass, 1 high-pass, 2 band-pass (any other type outputs silence).
// An input of exactly 0.0 returns 0.0 without advancing the stages, so a signal
// that resumes after digital silence continues from the old state.
class KvFilterPaulKellett final : public IKvFilter
{
public:
  enum Type
  {
    kLowPass = 0,
    kHighPass = 1,
    kBandPass = 2
  };

  explicit KvFilterPaulKellett(int initialType = kLowPass);

  double process(double input, double cutoffIn, double resonanceIn) override
  {
    cutoff = shapeCutoff(cutoffIn, cutoffCurve);
    resonance = resonanceIn;
    const double f = effectiveCutoff();
    // The quotient is kept for the exact cutoff and resonance (bit for bit, so that a
    // signed zero is not taken for the other) it was computed from.
    const std::uint64_t fBits = std::bit_cast<std::uint64_t>(f);
    const std::uint64_t rBits = std::bit_cast<std::uint64_t>(resonance);
    if (fBits != feedbackCutoffBits || rBits != feedbackResonanceBits)
    {
      feedbackCutoffBits = fBits;
      feedbackResonanceBits = rBits;
      feedbackOfKey = resonance / (1.0 - f) + resonance;
    }
    feedback = feedbackOfKey;
    if (input == 0.0)
      return 0.0;
    s0 = s0 + f * ((input - s0) + feedback * (s0 - s1));
    s1 = s1 + f * (s0 - s1);
    s2 = s2 + f * (s1 - s2);
    s3 = s3 + f * (s2 - s3);
    switch (type)
    {
    case kLowPass:
      return s3;
    case kHighPass:
      return input - s3;
    case kBandPass:
      return s0 - s3;
    default:
      return 0.0;
    }
  }

  // n samples of process (the same values bit for bit), with the state held in
  // registers: input and cutoffIn per sample, out may be input.
  void processBlock(const double* input, const double* cutoffIn, double resonanceIn, double* out,
                    int n)
  {
    KvFilterPaulKellett local = *this;
    for (int j = 0; j < n; ++j)
      out[j] = local.process(input[j], cutoffIn[j], resonanceIn);
    *this = local;
  }

  // What process() leaves besides the stages after a sample with this shaped cutoff,
  // resonance, effective cutoff and feedback (for filters run side by side in lanes).
  void setLastSample(double shapedCutoff, double resonanceIn, double effective,
                     double feedbackIn) noexcept
  {
    cutoff = shapedCutoff;
    resonance = resonanceIn;
    feedback = feedbackIn;
    feedbackCutoffBits = std::bit_cast<std::uint64_t>(effective);
    feedbackResonanceBits = std::bit_cast<std::uint64_t>(resonanceIn);
    feedbackOfKey = feedbackIn;
  }

  // True when this filter gives the same samples as `other` for any input from now on
  // and ends in the same state: the same response, cutoff curve and offset, and stages
  // bit for bit (what the last sample left besides the stages never changes an output).
  bool runsAs(const KvFilterPaulKellett& other) const noexcept
  {
    using Dsp::sameBits;
    return type == other.type && cutoffCurve == other.cutoffCurve &&
           sameBits(cutoffOffset, other.cutoffOffset) && sameBits(s0, other.s0) &&
           sameBits(s1, other.s1) && sameBits(s2, other.s2) && sameBits(s3, other.s3);
  }
  void setSampleRate(double rate) override { sampleRate = rate; }
  void setType(int newType) override { type = newType; }
  void reset() override { s0 = s1 = s2 = s3 = 0.0; }

  // The cutoff actually used: cutoff + cutoffOffset limited to 0.01..0.99 (an
  // undefined value falls to 0.99 rather than poisoning the stages).
  double effectiveCutoff() const
  {
    double f = cutoff + cutoffOffset;
    if (!(f <= 0.99))
      f = 0.99;
    else if (f < 0.01)
      f = 0.01;
    return f;
  }

  int type = kLowPass;
  int cutoffCurve = kCurveLinear;
  double cutoff = 0.99; // shaped cutoff of the last sample
  double resonance = 0.0;
  double feedback = 0.0;     // derived from cutoff and resonance
  double cutoffOffset = 0.0; // added to the cutoff before limiting
  double sampleRate = 44100.0;
  double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;

private:
  // The effective cutoff lies in 0.01..0.99 or is 0.99, so the all-ones pattern (a NaN)
  // never matches before the first sample.
  std::uint64_t feedbackCutoffBits = ~std::uint64_t(0);
  std::uint64_t feedbackResonanceBits = ~std::uint64_t(0);
  double feedbackOfKey = 0.0;
};

} // namespace Korvane
