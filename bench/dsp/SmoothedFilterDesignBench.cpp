// Cost per sample of the master filter's heaviest design: a two-channel smoothed
// Chebyshev I low-pass of order 4, Direct Form II, while a cutoff glide is running
// (a full redesign every sample) and while steady. Time per sample is the
// "per_sample" counter in seconds (one sample = both channels).

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "dsp/ChebyshevILowPass.h"
#include "dsp/DirectFormII.h"
#include "dsp/SmoothedFilterDesign.h"

namespace
{

using Design = Dsp::SmoothedFilterDesign<Dsp::ChebyshevI::LowPass, 2, Dsp::DirectFormII>;

constexpr int kBlockSize = 512;

Dsp::Params params(double fc, double ripple)
{
  Dsp::Params p;
  p[0] = 44100;
  p[1] = 4;
  p[2] = fc;
  p[3] = ripple;
  return p;
}

struct Fixture
{
  std::vector<double> left = std::vector<double>(kBlockSize);
  std::vector<double> right = std::vector<double>(kBlockSize);
  Design filter;

  Fixture()
  {
    for (int i = 0; i < kBlockSize; ++i)
      left[i] = right[i] = std::sin(0.05 * i);
    filter.setParams(params(1000, 1));
  }
  void run()
  {
    double* ch[2] = {left.data(), right.data()};
    filter.process(kBlockSize, ch);
    benchmark::DoNotOptimize(left.data());
    benchmark::DoNotOptimize(right.data());
  }
};

void report(benchmark::State& state)
{
  state.SetItemsProcessed(state.iterations() * kBlockSize);
  // Seconds per sample, printed with its SI prefix (for example "58.5n").
  state.counters["per_sample"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kBlockSize,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Every block glides: the cutoff alternates, each change starting a new 512-sample
// glide that the block then runs through completely.
void BM_ChebyshevI4Gliding(benchmark::State& state)
{
  Fixture f;
  bool up = false;
  for (auto _ : state)
  {
    f.filter.setParam(Dsp::kIdFrequency, up ? 4000 : 1000);
    up = !up;
    f.run();
  }
  report(state);
}
BENCHMARK(BM_ChebyshevI4Gliding);

// Cutoff and ripple glide together: the prototype itself changes every sample.
void BM_ChebyshevI4GlidingRipple(benchmark::State& state)
{
  Fixture f;
  bool up = false;
  for (auto _ : state)
  {
    f.filter.setParams(up ? params(4000, 6) : params(1000, 0.5));
    up = !up;
    f.run();
  }
  report(state);
}
BENCHMARK(BM_ChebyshevI4GlidingRipple);

void BM_ChebyshevI4Steady(benchmark::State& state)
{
  Fixture f;
  for (auto _ : state)
    f.run();
  report(state);
}
BENCHMARK(BM_ChebyshevI4Steady);

// The redesign alone, as the glide does it once per sample.
void BM_ChebyshevI4Redesign(benchmark::State& state)
{
  Dsp::ChebyshevI::LowPass design;
  double fc = 1000;
  for (auto _ : state)
  {
    fc = fc < 4000 ? fc + 1.5 : 1000;
    design.setParams(params(fc, 1));
    benchmark::DoNotOptimize(design);
  }
}
BENCHMARK(BM_ChebyshevI4Redesign);

} // namespace
