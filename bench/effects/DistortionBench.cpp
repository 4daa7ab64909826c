// Cost of the distortion section per stereo sample, as the master chain runs it:
// 1024-sample blocks of noise through sample-rate reduction, the quantizer, the gate
// and the curve stage (all four on), with and without the filter envelope; and of the
// master saturator.
#include "effects/distortion/Distortion.h"
#include "effects/distortion/Quantizer.h"
#include "effects/dynamics/Saturator.h"

#include "bench/effects/EffectBench.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace
{

using EffectBench::kBlock;
using EffectBench::noiseBlock;

// range(0): interpolation value x 4; range(1): 1 = filter envelope given.
void BM_DistortionSection(benchmark::State& state)
{
  auto distortion = std::make_unique<Korvane::Distortion>();
  Korvane::Quantizer quantizer;
  distortion->setType(18.0 / 35.0);
  distortion->setAmount(0.8);
  distortion->setLoudnessMode(1.0);
  distortion->setInterpolation(double(state.range(0)) / 4.0);
  distortion->setSampleRateReduction(0.9);
  distortion->setGate(0.2);
  quantizer.setResolution(0.6);
  const bool withEnvelope = state.range(1) != 0;
  const auto inLeft = noiseBlock(5);
  const auto inRight = noiseBlock(9);
  std::vector<double> envelope(kBlock, 0.7);
  std::vector<double> left(kBlock), right(kBlock);
  for (auto _ : state)
  {
    left = inLeft;
    right = inRight;
    distortion->processSampleRate(left.data(), right.data(), kBlock);
    quantizer.process(left.data(), right.data(), kBlock);
    distortion->processGate(left.data(), right.data(), kBlock);
    distortion->processCurve(left.data(), right.data(), withEnvelope ? envelope.data() : nullptr,
                             kBlock);
    benchmark::DoNotOptimize(left.data());
    benchmark::DoNotOptimize(right.data());
  }
  EffectBench::reportPerSample(state, "per_stereo_sample");
}

void BM_Saturator(benchmark::State& state)
{
  Korvane::Saturator saturator(int(state.range(0)));
  saturator.setDrive(double(state.range(1)) / 10.0);
  const auto inLeft = noiseBlock(5);
  const auto inRight = noiseBlock(9);
  std::vector<double> left(kBlock), right(kBlock);
  for (auto _ : state)
  {
    left = inLeft;
    right = inRight;
    saturator.process(left.data(), right.data(), kBlock);
    benchmark::DoNotOptimize(left.data());
    benchmark::DoNotOptimize(right.data());
  }
  EffectBench::reportPerSample(state, "per_stereo_sample");
}

} // namespace

BENCHMARK(BM_DistortionSection)->Name("DistortionSection/hermite")->Args({4, 0});
BENCHMARK(BM_DistortionSection)->Name("DistortionSection/hermite/envelope")->Args({4, 1});
BENCHMARK(BM_DistortionSection)->Name("DistortionSection/linear")->Args({1, 0});
BENCHMARK(BM_DistortionSection)->Name("DistortionSection/cosine")->Args({2, 0});
BENCHMARK(BM_Saturator)->Name("Saturator/master/drive0.3")->Args({0, 3});
BENCHMARK(BM_Saturator)->Name("Saturator/filter/drive0.8")->Args({1, 8});
