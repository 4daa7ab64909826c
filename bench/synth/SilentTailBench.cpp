// The block's cost during a long silent tail after notes against its cost while the
// notes sound, at 44.1 kHz in blocks of 512 with 8 voices, through the host's double
// callback (which flushes denormal numbers) and through ProcessBlock called directly
// (which does not). A tail that decays into denormal numbers costs many times the active
// block when nothing flushes them.
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <utility>
#include <vector>

namespace
{
namespace P = ParamIndex;
constexpr double kRate = 44100.0;
constexpr int kBlock = 512;
constexpr int kVoices = 8;
// The tail is measured from this long after the notes end.
constexpr double kTailStartSeconds = 20.0;

enum class Phase
{
  Active,
  Tail,
};

enum class Path
{
  Callback,
  Direct,
};

// Long release; the whole effect chain engaged, its recursions (filters, phaser, delay
// feedback) ringing on after the voices stop.
void MakeSound(Thumpgeist& plug)
{
  const std::pair<int, double> settings[] = {
      {P::kVolEnvSustain, 1.0},    {P::kVolEnvRelease, 0.6},    {P::kDistortion, 0.3},
      {P::kFilterOnOff, 0.0},      {P::kModFxOnOff, 1.0},       {P::kPhaserAmount, 0.6},
      {P::kPhaserFeedback, 0.8},   {P::kEqBass, 0.7},           {P::kEqHigh, 0.6},
      {P::kDumpExpand, 0.6},       {P::kTempoDelayAmount, 0.5}, {P::kTempoDelayFeedback, 0.7},
      {P::kOutputSaturation, 0.3},
  };
  for (const auto& [index, value] : settings)
  {
    plug.GetParam(index)->SetNormalized(value);
    plug.OnParameterChange(index);
  }
}

void Render(benchmark::State& state, Phase phase, Path path)
{
  IPlugVST* plug = new Thumpgeist(nullptr);
  Vst::AEffect* e = plug->GetAEffect();
  e->dispatcher(e, Vst::effOpen, 0, 0, nullptr, 0.0f);
  e->dispatcher(e, Vst::effSetSampleRate, 0, 0, nullptr, float(kRate));
  e->dispatcher(e, Vst::effSetBlockSize, 0, kBlock, nullptr, 0.0f);
  e->dispatcher(e, Vst::effMainsChanged, 0, 1, nullptr, 0.0f);
  MakeSound(static_cast<Thumpgeist&>(*plug));

  std::vector<double> left(kBlock), right(kBlock);
  double* outs[] = {left.data(), right.data()};
  auto block = [&]
  {
    if (path == Path::Callback)
      e->processDoubleReplacing(e, nullptr, outs, kBlock);
    else
      plug->ProcessBlock(nullptr, outs, kBlock);
  };
  for (int v = 0; v < kVoices; ++v)
    plug->ProcessMidiMessage(MidiMessage{v, 0x90, uint8_t(36 + 5 * v), 100});
  for (int i = 0; i < 40; ++i)
    block();
  if (phase == Phase::Tail)
  {
    for (int v = 0; v < kVoices; ++v)
      plug->ProcessMidiMessage(MidiMessage{v, 0x80, uint8_t(36 + 5 * v), 0});
    for (int i = 0; i < int(kTailStartSeconds * kRate) / kBlock; ++i)
      block();
  }
  double peak = 0.0;
  int subnormal = 0;
  for (auto _ : state)
  {
    block();
    benchmark::DoNotOptimize(left.data());
  }
  for (int k = 0; k < kBlock; ++k)
  {
    peak = std::max({peak, std::fabs(left[size_t(k)]), std::fabs(right[size_t(k)])});
    subnormal += std::fpclassify(left[size_t(k)]) == FP_SUBNORMAL ? 1 : 0;
  }
  state.counters["peak"] = peak;
  state.counters["subnormal"] = subnormal;
  state.counters["realtime"] =
      benchmark::Counter(double(state.iterations()) * kBlock / kRate, benchmark::Counter::kIsRate);
  e->dispatcher(e, Vst::effClose, 0, 0, nullptr, 0.0f);
}

void BM_ActiveSound(benchmark::State& state) { Render(state, Phase::Active, Path::Callback); }
void BM_SilentTail(benchmark::State& state) { Render(state, Phase::Tail, Path::Callback); }
void BM_ActiveSoundUnflushed(benchmark::State& state)
{
  Render(state, Phase::Active, Path::Direct);
}
void BM_SilentTailUnflushed(benchmark::State& state) { Render(state, Phase::Tail, Path::Direct); }

BENCHMARK(BM_ActiveSound)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SilentTail)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ActiveSoundUnflushed)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SilentTailUnflushed)->Unit(benchmark::kMicrosecond);
} // namespace
