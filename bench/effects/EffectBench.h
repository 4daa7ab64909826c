#pragma once
// What the effect benchmarks share: blocks of the size the master chain and the voices
// run, filled with reproducible noise, and the counter that turns a benchmark's time
// into a cost per (stereo) sample.
#include <benchmark/benchmark.h>

#include <vector>

namespace EffectBench
{

constexpr int kBlock = 1024;

// kBlock samples of white noise in -1..+1 from the 15-bit generator with this seed.
inline std::vector<double> noiseBlock(unsigned seed)
{
  std::vector<double> v(kBlock);
  for (auto& x : v)
  {
    seed = seed * 214013u + 2531011u;
    x = double((seed >> 16) & 0x7fff) / 16384.0 - 1.0;
  }
  return v;
}

// Reports the time per sample of one kBlock block under the counter's name.
inline void reportPerSample(benchmark::State& state, const char* name)
{
  state.counters[name] = benchmark::Counter(
      double(kBlock), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

} // namespace EffectBench
