// Cost per stereo sample of the equaliser, the dump/expand sweep and the level
// follower as the master chain runs them: 1024-sample blocks of noise on both
// channels, processed in place, with the settings either held or changed before every
// block (a 512-sample glide, the filters redesigned on each of its samples).
#include "effects/meter/EnvFollower.h"
#include "effects/tone/DumpExpand.h"
#include "effects/tone/Equalizer.h"
#include "effects/tone/ToneChain.h"

#include "bench/effects/EffectBench.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace
{

using EffectBench::kBlock;
using EffectBench::noiseBlock;

// range(0): "Mid" in hundredths (75 band-pass path, 25 band-stop path, 50 no mid path);
// range(1): 1 = "Bass" changes before every block.
void BM_Equalizer(benchmark::State& state)
{
  Korvane::Equalizer eq;
  eq.setSampleRate(44100.0);
  eq.setBass(0.7);
  eq.setMid(double(state.range(0)) / 100.0);
  eq.setHigh(0.3);
  const bool glide = state.range(1) != 0;
  const auto inL = noiseBlock(5), inR = noiseBlock(9);
  std::vector<double> l(kBlock), r(kBlock);
  bool up = false;
  for (auto _ : state)
  {
    if (glide)
      eq.setBass((up = !up) ? 0.8 : 0.6);
    l = inL;
    r = inR;
    eq.process(l.data(), r.data(), kBlock);
    benchmark::DoNotOptimize(l.data());
    benchmark::DoNotOptimize(r.data());
  }
  EffectBench::reportPerSample(state, "per_stereo_sample");
}

// range(0): 1 = the knob moves before every block.
void BM_DumpExpand(benchmark::State& state)
{
  Korvane::DumpExpand unit;
  unit.setSampleRate(44100.0);
  unit.setValue(0.3);
  const bool glide = state.range(0) != 0;
  const auto inL = noiseBlock(5), inR = noiseBlock(9);
  std::vector<double> l(kBlock), r(kBlock);
  bool up = false;
  for (auto _ : state)
  {
    if (glide)
      unit.setValue((up = !up) ? 0.35 : 0.25);
    l = inL;
    r = inR;
    unit.process(l.data(), r.data(), kBlock);
    benchmark::DoNotOptimize(l.data());
    benchmark::DoNotOptimize(r.data());
  }
  EffectBench::reportPerSample(state, "per_stereo_sample");
}

// The equaliser and the dump/expand as the master chain runs them together, settled;
// range(0): "Mid" in hundredths (50: no mid path).
void BM_ToneChain(benchmark::State& state)
{
  Korvane::Equalizer eq;
  Korvane::DumpExpand dump;
  eq.setSampleRate(44100.0);
  dump.setSampleRate(44100.0);
  eq.setBass(0.7);
  eq.setMid(double(state.range(0)) / 100.0);
  eq.setHigh(0.3);
  dump.setValue(0.3);
  const auto inL = noiseBlock(5), inR = noiseBlock(9);
  std::vector<double> l = inL, r = inR;
  eq.process(l.data(), r.data(), kBlock); // the glides to these settings end
  dump.process(l.data(), r.data(), kBlock);
  for (auto _ : state)
  {
    l = inL;
    r = inR;
    if (!Korvane::processToneChain(eq, dump, l.data(), r.data(), kBlock))
      state.SkipWithError("the tone chain did not run together");
    benchmark::DoNotOptimize(l.data());
    benchmark::DoNotOptimize(r.data());
  }
  EffectBench::reportPerSample(state, "per_stereo_sample");
}

void BM_EnvFollower(benchmark::State& state)
{
  Korvane::EnvFollower follower;
  follower.setSampleRate(44100.0);
  const auto inL = noiseBlock(5), inR = noiseBlock(9);
  for (auto _ : state)
  {
    follower.process(inL.data(), inR.data(), kBlock);
    benchmark::DoNotOptimize(follower.getEnvLeft());
  }
  EffectBench::reportPerSample(state, "per_stereo_sample");
}

} // namespace

BENCHMARK(BM_Equalizer)->Name("Equalizer/mid-boost")->Args({75, 0});
BENCHMARK(BM_Equalizer)->Name("Equalizer/mid-cut")->Args({25, 0});
BENCHMARK(BM_Equalizer)->Name("Equalizer/mid-flat")->Args({50, 0});
BENCHMARK(BM_Equalizer)->Name("Equalizer/mid-boost/bass-gliding")->Args({75, 1});
BENCHMARK(BM_DumpExpand)->Name("DumpExpand/steady")->Args({0});
BENCHMARK(BM_DumpExpand)->Name("DumpExpand/gliding")->Args({1});
BENCHMARK(BM_ToneChain)->Name("ToneChain/mid-flat")->Arg(50);
BENCHMARK(BM_ToneChain)->Name("ToneChain/mid-boost")->Arg(75);
BENCHMARK(BM_EnvFollower)->Name("EnvFollower");
