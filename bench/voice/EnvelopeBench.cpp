// Cost of one envelope step as a voice pays it once per sample: an ADSR envelope
// cycling through all its segments, and the shared pitch envelope evaluated at the
// voice's time.
#include "voice/AdsrEnvelope.h"
#include "voice/PitchEnvelope.h"

#include <benchmark/benchmark.h>

namespace
{

constexpr int kBlock = 1024;

void perSample(benchmark::State& state)
{
  state.counters["per_sample"] = benchmark::Counter(
      double(kBlock), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_AdsrEnvelopeTick(benchmark::State& state)
{
  Korvane::AdsrEnvelope env("Volume Envelope");
  env.setAttack(0.002); // about 18 samples each, so every segment is visited
  env.setDecay(0.002);
  env.setSustain(0.5);
  env.setRelease(0.002);
  int n = 0;
  double sink = 0.0;
  for (auto _ : state)
  {
    for (int i = 0; i < kBlock; ++i, ++n)
    {
      if (env.state == Korvane::AdsrEnvelope::kIdle)
      {
        env.state = Korvane::AdsrEnvelope::kAttack;
        env.output = 0.0;
        n = 0;
      }
      else if (n == 200)
      {
        env.state = Korvane::AdsrEnvelope::kRelease;
      }
      sink += env.tick();
    }
    benchmark::DoNotOptimize(sink);
  }
  perSample(state);
}
BENCHMARK(BM_AdsrEnvelopeTick);

void BM_PitchEnvelopeEvaluate(benchmark::State& state)
{
  Korvane::PitchEnvelope env;
  env.setAmount(0.35);
  env.setDuration(0.45);
  env.setPower(0.75);
  env.setDown(0.2);
  long long sample = 0;
  double sink = 0.0;
  for (auto _ : state)
  {
    for (int i = 0; i < kBlock; ++i)
    {
      sink += env.evaluate(double(sample) / 44100.0);
      sample = (sample + 1) % 44100; // the first second: rise, fall and hold
    }
    benchmark::DoNotOptimize(sink);
  }
  perSample(state);
}
BENCHMARK(BM_PitchEnvelopeEvaluate);

} // namespace
