// Cost of the master filter per stereo sample, as the master chain runs it: 1024-sample
// blocks of noise through the input drive, the two selected designs and the balance
// crossfade; settled, and while the cutoff glides (a new cutoff every block, so every
// sample of the glide recomputes the designs in full).
#include "effects/masterfilter/FilterUnit.h"

#include "bench/effects/EffectBench.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace
{

using EffectBench::kBlock;
using EffectBench::noiseBlock;

// range(0): filter B position; range(1): 1 = the cutoff moves every block.
void BM_FilterUnit(benchmark::State& state)
{
  auto unit = std::make_unique<Korvane::FilterUnit>();
  unit->setTypeA(0.0);
  unit->setTypeB(double(state.range(0)) / 5.0);
  unit->setBalance(0.5);
  unit->setInputDrive(0.3);
  unit->setCutoff(0.6);
  unit->setResonance(0.5);
  const bool gliding = state.range(1) != 0;
  const auto inLeft = noiseBlock(5);
  const auto inRight = noiseBlock(9);
  std::vector<double> left(kBlock), right(kBlock);
  for (int i = 0; i < 4; ++i) // past the glides of construction
  {
    left = inLeft;
    right = inRight;
    unit->process(left.data(), right.data(), kBlock);
  }
  bool high = false;
  for (auto _ : state)
  {
    if (gliding)
    {
      high = !high;
      unit->setCutoff(high ? 0.7 : 0.6);
    }
    left = inLeft;
    right = inRight;
    unit->process(left.data(), right.data(), kBlock);
    benchmark::DoNotOptimize(left.data());
    benchmark::DoNotOptimize(right.data());
  }
  EffectBench::reportPerSample(state, "per_stereo_sample");
}

} // namespace

BENCHMARK(BM_FilterUnit)->Name("FilterUnit/steady/CH-LP24")->Args({3, 0});
BENCHMARK(BM_FilterUnit)->Name("FilterUnit/steady/BW-BP12")->Args({4, 0});
BENCHMARK(BM_FilterUnit)->Name("FilterUnit/gliding/CH-LP24")->Args({3, 1});
BENCHMARK(BM_FilterUnit)->Name("FilterUnit/gliding/BW-BP12")->Args({4, 1});
