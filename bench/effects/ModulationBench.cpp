// Cost per stereo sample of the modulation section as the master chain runs it:
// 1024-sample blocks of noise on both channels through the ring modulator (each
// carrier mode) and the phaser (sweeping, with feedback), processed in place.
#include "effects/modulation/Phaser.h"
#include "effects/modulation/RingModulator.h"

#include "bench/effects/EffectBench.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{

using EffectBench::kBlock;
using EffectBench::noiseBlock;

// range(0): carrier mode 0..4.
void BM_RingModulator(benchmark::State& state)
{
  Korvane::RingModulator ring;
  ring.setSampleRate(44100.0);
  ring.setWaveform(double(state.range(0)) / 4.0);
  ring.setFrequency(0.15);
  ring.setAmount(0.8);
  const auto inL = noiseBlock(5), inR = noiseBlock(9);
  std::vector<double> l(kBlock), r(kBlock);
  for (auto _ : state)
  {
    l = inL; // the unit works in place; start every block from the same signal
    r = inR;
    ring.process(l.data(), r.data(), kBlock);
    benchmark::DoNotOptimize(l.data());
    benchmark::DoNotOptimize(r.data());
  }
  EffectBench::reportPerSample(state, "per_stereo_sample");
}

void BM_Phaser(benchmark::State& state)
{
  Korvane::Phaser phaser;
  phaser.setSampleRate(44100.0);
  phaser.setDepth(0.8);
  phaser.setFeedback(0.6);
  phaser.setRate(0.2);
  const auto inL = noiseBlock(5), inR = noiseBlock(9);
  std::vector<double> l(kBlock), r(kBlock);
  for (auto _ : state)
  {
    l = inL;
    r = inR;
    phaser.process(l.data(), r.data(), kBlock);
    benchmark::DoNotOptimize(l.data());
    benchmark::DoNotOptimize(r.data());
  }
  EffectBench::reportPerSample(state, "per_stereo_sample");
}

} // namespace

BENCHMARK(BM_RingModulator)->Name("RingModulator/Sine")->Args({0});
BENCHMARK(BM_RingModulator)->Name("RingModulator/Pulse")->Args({1});
BENCHMARK(BM_RingModulator)->Name("RingModulator/Saw")->Args({2});
BENCHMARK(BM_RingModulator)->Name("RingModulator/Sine2")->Args({3});
BENCHMARK(BM_RingModulator)->Name("RingModulator/Sine3")->Args({4});
BENCHMARK(BM_Phaser)->Name("Phaser/sweeping");
