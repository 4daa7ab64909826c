// Cost per stereo sample of the dynamic shaper and the tempo delay as the master chain
// runs them: 1024-sample blocks of noise on both channels, processed in place.
#include "effects/delay/TempoDelay.h"
#include "effects/dynamics/DynShaper.h"

#include "bench/effects/EffectBench.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{

using EffectBench::kBlock;
using EffectBench::noiseBlock;

// range(0): shape type 0..2; range(1): mode 0..3; range(2): 1 = filter envelope given.
void BM_DynShaper(benchmark::State& state)
{
  Korvane::DynShaper shaper;
  shaper.setAmount(0.7);
  shaper.setShapeType(double(state.range(0)) / 2.0);
  shaper.setShaperMode(double(state.range(1)) / 3.0);
  const auto inL = noiseBlock(5), inR = noiseBlock(9);
  std::vector<double> envelope(kBlock);
  for (int i = 0; i < kBlock; ++i)
    envelope[i] = 1.0 - double(i) / kBlock;
  const double* env = state.range(2) != 0 ? envelope.data() : nullptr;
  std::vector<double> l(kBlock), r(kBlock);
  for (auto _ : state)
  {
    l = inL; // the shaper works in place; start every block from the same signal
    r = inR;
    shaper.process(l.data(), r.data(), env, kBlock);
    benchmark::DoNotOptimize(l.data());
    benchmark::DoNotOptimize(r.data());
  }
  EffectBench::reportPerSample(state, "per_stereo_sample");
}

// range(0): 1 = feedback path always busy (noise input), 0 = silence after the echoes
// died (every sum an exact zero, the damping bypassed).
void BM_TempoDelay(benchmark::State& state)
{
  Korvane::TempoDelay delay;
  delay.setSampleRate(44100.0);
  delay.setTempo(128.0);
  delay.setSpread(0.7);
  delay.setAmount(0.4);
  delay.setFeedback(0.6);
  delay.setDump(0.6);
  const bool busy = state.range(0) != 0;
  const auto inL = busy ? noiseBlock(5) : std::vector<double>(kBlock, 0.0);
  const auto inR = busy ? noiseBlock(9) : std::vector<double>(kBlock, 0.0);
  std::vector<double> l(kBlock), r(kBlock);
  for (auto _ : state)
  {
    l = inL;
    r = inR;
    delay.process(l.data(), r.data(), kBlock);
    benchmark::DoNotOptimize(l.data());
    benchmark::DoNotOptimize(r.data());
  }
  EffectBench::reportPerSample(state, "per_stereo_sample");
}

} // namespace

BENCHMARK(BM_DynShaper)->Name("DynShaper/Sine/Shaper")->Args({0, 0, 0});
BENCHMARK(BM_DynShaper)->Name("DynShaper/Sine/Shaper/envelope")->Args({0, 0, 1});
BENCHMARK(BM_DynShaper)->Name("DynShaper/Triangle/Sat.Shaper")->Args({1, 1, 0});
BENCHMARK(BM_DynShaper)->Name("DynShaper/Pulse/Boost+Sat.Shaper")->Args({2, 3, 0});
BENCHMARK(BM_TempoDelay)->Name("TempoDelay/busy")->Args({1});
BENCHMARK(BM_TempoDelay)->Name("TempoDelay/silent")->Args({0});
