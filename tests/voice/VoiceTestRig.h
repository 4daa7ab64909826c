#pragma once
// A voice pool bound to a parameter block, a waveform provider and a pitch envelope, as
// the instrument binds it, with helpers that render blocks and measure what comes out.

#include "voice/PitchEnvelope.h"
#include "voice/SynthParams.h"
#include "voice/VoicePool.h"
#include "voice/WaveformProvider.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace VoiceTest
{

using Korvane::SynthParams;

inline const Korvane::WaveformProvider& provider()
{
  static const std::unique_ptr<Korvane::WaveformProvider> kP = []
  {
    auto w = std::make_unique<Korvane::WaveformProvider>();
    w->buildBaseWaveforms();
    w->buildSets();
    return w;
  }();
  return *kP;
}

struct Block
{
  std::vector<double> left, right, bass, env, filterEnv, lfo;
  explicit Block(int n)
    : left(n), right(n), bass(n), env(n), filterEnv(n),
      lfo(std::size_t(n) * Korvane::VoiceMixTargets::kLfoRecordStride)
  {
  }
  Korvane::VoiceMixTargets targets()
  {
    return {left.data(), right.data(), bass.data(), env.data(), filterEnv.data(), lfo.data()};
  }
};

struct Rig
{
  static constexpr int kOsc1 = 0;

  SynthParams params;
  Korvane::PitchEnvelope pitchEnvelope;
  double bendRatio = 1.0;
  double tempo = 120.0;
  // The rig's own generator for the noise oscillators (the instrument's is its provider's).
  Korvane::Random15 random{1};
  std::unique_ptr<Korvane::VoicePool> pool = std::make_unique<Korvane::VoicePool>();

  static double hostTempo(void* owner) { return static_cast<Rig*>(owner)->tempo; }

  explicit Rig(double sampleRate = 44100.0, int blockSize = 512)
  {
    using S = SynthParams;
    params[S::osc(0, S::kOscOn)] = 1.0;
    params[S::osc(0, S::kOscVolume)] = 1.0;
    params[S::osc(0, S::kOscPan)] = 0.5;
    params[S::osc(0, S::kOscStartPhase)] = 0.5;
    params[S::osc(0, S::kOscCutoff)] = 1.0;
    params[S::kVolumeEnvVelocity] = 1.0;
    params[S::kVolumeEnvAmount] = 1.0;
    params[S::kFilterEnvVelocity] = 1.0;
    params[S::kFilterEnvAmount] = 1.0;
    for (int k = 0; k < 3; ++k)
      params[S::osc(k, S::kOscFilterBalance)] = 0.0; // the Kellett low-pass side only
    pitchEnvelope.setOnOff(0.0);
    Korvane::VoiceBinding b;
    b.params = &params;
    b.bendRatio = &bendRatio;
    b.provider = &provider();
    b.pitchEnvelope = &pitchEnvelope;
    b.random = &random;
    b.owner = this;
    b.tempo = &Rig::hostTempo;
    pool->bind(b);
    pool->reset(sampleRate, blockSize);
    for (int k = 0; k < 3; ++k)
      pool->selectWaveform(k, 0.0);
  }

  double& p(int slot) { return params[slot]; }
  double& osc(int k, SynthParams::OscSlot s) { return params[SynthParams::osc(k, s)]; }

  // Renders one block of n samples (n no larger than the block size of the reset).
  void renderBlock(Block& b, int n)
  {
    for (int k = 0; k < n; ++k)
      pool->renderSample();
    pool->mixBlock(b.targets(), n);
  }

  // Renders `total` samples in blocks of `block`; returns the left channel (or the
  // right channel or the bass bus).
  enum Channel
  {
    kLeft,
    kRight,
    kBass
  };
  std::vector<double> render(int total, int block = 512, Channel c = kLeft)
  {
    std::vector<double> out;
    out.reserve(std::size_t(total));
    while (total > 0)
    {
      const int n = std::min(block, total);
      Block b(n);
      renderBlock(b, n);
      const auto& src = c == kLeft ? b.left : c == kRight ? b.right : b.bass;
      out.insert(out.end(), src.begin(), src.begin() + n);
      total -= n;
    }
    return out;
  }
};

// Frequency from rising zero crossings (linearly interpolated), skipping `skip` samples.
inline double zeroCrossingFrequency(const std::vector<double>& x, double sampleRate,
                                    std::size_t skip = 0)
{
  double first = -1.0, last = -1.0;
  int count = 0;
  for (std::size_t i = std::max<std::size_t>(skip, 1); i < x.size(); ++i)
  {
    if (x[i - 1] < 0.0 && x[i] >= 0.0)
    {
      const double t = double(i - 1) + (-x[i - 1]) / (x[i] - x[i - 1]);
      if (first < 0.0)
        first = t;
      last = t;
      ++count;
    }
  }
  if (count < 2)
    return 0.0;
  return (count - 1) / (last - first) * sampleRate;
}

inline double peak(const std::vector<double>& x, std::size_t from = 0,
                   std::size_t to = ~std::size_t(0))
{
  double m = 0.0;
  for (std::size_t i = from; i < std::min(to, x.size()); ++i)
    m = std::max(m, std::abs(x[i]));
  return m;
}

} // namespace VoiceTest
