// Cost of one oscillator's dual filter per sample, both sides running, as a voice
// runs it: 1024-sample blocks of noise, cutoff either swept every sample (as under a
// filter envelope) or held.
#include "effects/oscfilter/OscFilterUnit.h"

#include "bench/effects/EffectBench.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{

using EffectBench::kBlock;
using EffectBench::noiseBlock;

// range(0), range(1): left and right type values; range(2): 1 = cutoff sweeps.
void BM_OscFilterUnit(benchmark::State& state)
{
  Korvane::OscFilterUnit unit;
  unit.setLeftType(double(state.range(0)) / 4.0);
  unit.setRightType(double(state.range(1)) / 4.0);
  unit.balanceTarget = 0.5;
  const bool sweep = state.range(2) != 0;
  const auto in = noiseBlock(5);
  std::vector<double> cutoff(kBlock);
  for (int i = 0; i < kBlock; ++i)
    cutoff[i] = sweep ? 0.9 * (1.0 - double(i) / kBlock) + 0.05 : 0.5;
  double sink = 0.0;
  for (auto _ : state)
  {
    for (int i = 0; i < kBlock; ++i)
      sink += unit.process(in[i], cutoff[i], 0.4);
    benchmark::DoNotOptimize(sink);
  }
  EffectBench::reportPerSample(state, "per_sample");
}

} // namespace

// Default types: Kellett low-pass left, Butterworth high-pass right.
BENCHMARK(BM_OscFilterUnit)->Name("OscFilterUnit/KellettLP+ButterworthHP/sweep")->Args({0, 3, 1});
BENCHMARK(BM_OscFilterUnit)->Name("OscFilterUnit/KellettLP+ButterworthHP/held")->Args({0, 3, 0});
// Most expensive pair: two biquads, each computing its coefficients per sample.
BENCHMARK(BM_OscFilterUnit)
    ->Name("OscFilterUnit/ButterworthLP+ButterworthHP/sweep")
    ->Args({4, 3, 1});
BENCHMARK(BM_OscFilterUnit)
    ->Name("OscFilterUnit/ButterworthLP+ButterworthHP/held")
    ->Args({4, 3, 0});
// Cheapest pair: two Kellett filters.
BENCHMARK(BM_OscFilterUnit)->Name("OscFilterUnit/KellettLP+KellettBP/sweep")->Args({0, 2, 1});
