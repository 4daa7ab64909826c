// Render cost of one voice per sample, both passes (renderSamples, then mixBlock per block
// of 512): a default voice with one PolyBLEP sine, and a heavy voice with three table
// oscillators in unison 2, FM, bass layer and click. "per_voice_sample" is the time of
// one voice for one sample.
#include "voice/PitchEnvelope.h"
#include "voice/SynthParams.h"
#include "voice/VoicePool.h"
#include "voice/WaveformProvider.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace
{

using Korvane::SynthParams;
using S = SynthParams;

constexpr int kBlock = 512;

const Korvane::WaveformProvider& provider()
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

struct Bench
{
  SynthParams params;
  Korvane::PitchEnvelope pitch;
  double bend = 1.0;
  std::unique_ptr<Korvane::VoicePool> pool = std::make_unique<Korvane::VoicePool>();
  std::vector<double> left = std::vector<double>(kBlock), right = left, bass = left, env = left,
                      filterEnv = left, lfo = std::vector<double>(kBlock * 5);

  explicit Bench(bool heavy)
  {
    Korvane::VoiceBinding b;
    b.params = &params;
    b.bendRatio = &bend;
    b.provider = &provider();
    b.pitchEnvelope = &pitch;
    pool->bind(b);
    pool->reset(44100.0, kBlock);
    params[S::kVolumeEnvVelocity] = params[S::kVolumeEnvAmount] = 1.0;
    params[S::kFilterEnvVelocity] = params[S::kFilterEnvAmount] = 1.0;
    const int oscillators = heavy ? 3 : 1;
    for (int k = 0; k < oscillators; ++k)
    {
      params[S::osc(k, S::kOscOn)] = 1.0;
      params[S::osc(k, S::kOscVolume)] = 0.8;
      params[S::osc(k, S::kOscPan)] = 0.5;
      params[S::osc(k, S::kOscCutoff)] = 0.7;
      params[S::osc(k, S::kOscFilterBalance)] = 0.5;
      params[S::osc(k, S::kOscStartPhase)] = 0.5;
    }
    pitch.setOnOff(1.0);
    pitch.setAmount(0.2);
    pitch.setDuration(0.1);
    for (int k = 0; k < 3; ++k)
      pool->selectWaveform(k, heavy ? (10.0 + 5 * k) / 39.0 : 0.0);
    if (heavy)
    {
      pool->setUnisonCount(2);
      pool->setUnisonDetune(0.2);
      pool->setFmAmount(0.3);
      params[S::kBassLayerAmount] = 1.0;
      params[S::kBassLayerClick] = 0.7;
    }
    pool->noteOn(36, 110, 0);
  }

  void block()
  {
    // The block as the instrument renders it when no event arrives: all samples at once.
    pool->renderSamples(kBlock);
    pool->mixBlock(
        {left.data(), right.data(), bass.data(), env.data(), filterEnv.data(), lfo.data()}, kBlock);
    // Keep the note sounding: restart it when it has run out.
    if (pool->activeCount() == 0)
      pool->noteOn(36, 110, 0);
  }
};

void run(benchmark::State& state, bool heavy)
{
  Bench b(heavy);
  for (auto _ : state)
  {
    b.block();
    benchmark::DoNotOptimize(b.left.data());
    benchmark::ClobberMemory();
  }
  state.counters["per_voice_sample"] = benchmark::Counter(
      double(kBlock), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_DefaultVoice(benchmark::State& state) { run(state, false); }
void BM_HeavyVoice(benchmark::State& state) { run(state, true); }

// The per-sample pass alone for 64 heavy voices: what the sample loop of a block costs.
void BM_SixtyFourHeavyVoices(benchmark::State& state)
{
  Bench b(true);
  for (int i = 1; i < 64; ++i)
    b.pool->noteOn(36 + i % 24, 100, 0);
  for (auto _ : state)
  {
    b.block();
    benchmark::DoNotOptimize(b.left.data());
  }
  state.counters["per_voice_sample"] = benchmark::Counter(
      double(kBlock) * b.pool->activeCount(),
      benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace

BENCHMARK(BM_DefaultVoice);
BENCHMARK(BM_HeavyVoice);
BENCHMARK(BM_SixtyFourHeavyVoices);
