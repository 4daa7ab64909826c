#include "voice/Fft.h"
#include "voice/WaveformProvider.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <vector>

using Korvane::Fft;
using Korvane::WaveformProvider;

// What the plug-in pays at construction: every cycle computed, no user folder, all sets
// band-limited.
static void BM_WaveformProviderConstruction(benchmark::State& state)
{
  for (auto _ : state)
  {
    WaveformProvider provider;
    provider.buildBaseWaveforms();
    provider.buildSets();
    benchmark::DoNotOptimize(provider.set(39).tables[0].samples.get());
  }
  state.SetLabel("construct + buildBaseWaveforms + buildSets");
}
BENCHMARK(BM_WaveformProviderConstruction)->Unit(benchmark::kMillisecond);

static void BM_FftForwardReal4096(benchmark::State& state)
{
  Fft fft(4096);
  std::vector<double> x(4096);
  for (int i = 0; i < 4096; ++i)
    x[static_cast<std::size_t>(i)] = std::sin(0.01 * i * i);
  std::vector<std::complex<double>> spectrum(2049);
  for (auto _ : state)
  {
    fft.forwardReal(x.data(), spectrum.data());
    benchmark::DoNotOptimize(spectrum.data());
  }
}
BENCHMARK(BM_FftForwardReal4096)->Unit(benchmark::kMicrosecond);

static void BM_FftInverseReal4096(benchmark::State& state)
{
  Fft fft(4096);
  std::vector<std::complex<double>> spectrum(2049);
  for (int k = 1; k < 2048; ++k)
    spectrum[static_cast<std::size_t>(k)] = {1.0 / k, 0.5 / k};
  std::vector<double> y(4096);
  for (auto _ : state)
  {
    fft.inverseReal(spectrum.data(), y.data());
    benchmark::DoNotOptimize(y.data());
  }
}
BENCHMARK(BM_FftInverseReal4096)->Unit(benchmark::kMicrosecond);

static void BM_SetFromFullBandwidthCycle(benchmark::State& state)
{
  WaveformProvider provider;
  provider.buildBaseWaveforms();
  Korvane::WaveTableSet set;
  for (auto _ : state)
  {
    provider.setFromCycle(set, provider.baseCycle(WaveformProvider::kNoize));
    benchmark::DoNotOptimize(set.tables[0].samples.get());
  }
}
BENCHMARK(BM_SetFromFullBandwidthCycle)->Unit(benchmark::kMicrosecond);

static void BM_WaveformProviderConstructorOnly(benchmark::State& state)
{
  for (auto _ : state)
  {
    WaveformProvider provider;
    benchmark::DoNotOptimize(provider.userCycle(0));
  }
}
BENCHMARK(BM_WaveformProviderConstructorOnly)->Unit(benchmark::kMillisecond);

static void BM_BuildBaseWaveforms(benchmark::State& state)
{
  WaveformProvider provider;
  for (auto _ : state)
  {
    provider.buildBaseWaveforms();
    benchmark::DoNotOptimize(provider.baseCycle(WaveformProvider::kNoize));
  }
}
BENCHMARK(BM_BuildBaseWaveforms)->Unit(benchmark::kMillisecond);
