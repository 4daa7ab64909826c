// Render speed of the whole block, as a realtime factor (seconds of audio rendered per
// second of computing), at 44.1 kHz in blocks of 512 with 1, 8 and 64 sounding voices.
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <utility>
#include <vector>

namespace
{
constexpr double kRate = 44100.0;
constexpr int kBlock = 512;

void SetParam(Thumpgeist& plug, int index, double normalized)
{
  plug.GetParam(index)->SetNormalized(normalized);
  plug.OnParameterChange(index);
}

// Three table oscillators, unison 2, FM, the bass layer and its click.
void MakeHeavy(Thumpgeist& plug)
{
  namespace P = ParamIndex;
  const double tables[] = {0.55, 0.7, 0.85};
  for (int osc = 0; osc < 3; ++osc)
    SetParam(plug, P::Osc(osc, P::kOscWaveform), tables[osc]);
  SetParam(plug, P::kUnisonVoices, 1.0);
  SetParam(plug, P::kFmAmount, 0.5);
  SetParam(plug, P::kBassLayerAmount, 0.8);
  SetParam(plug, P::kBassLayerClick, 0.5);
}

// Every effect of the master chain engaged: distortion with its quantizer and shaper,
// the filter, ring modulator and phaser, equaliser, dump/expand, the tempo delay and
// the output saturation.
void EngageChain(Thumpgeist& plug)
{
  namespace P = ParamIndex;
  const std::pair<int, double> settings[] = {
      {P::kDistortion, 0.7},      {P::kDistoType, 0.3},     {P::kBitCrushQuantize, 0.9},
      {P::kSampleRateReduction, 0.8}, {P::kGateCrack, 0.2}, {P::kDynShaperAmount, 0.5},
      {P::kFilterCutoff, 0.6},    {P::kFilterReso, 0.4},    {P::kFilterBalance, 0.5},
      {P::kModFxOnOff, 1.0},      {P::kRingAmount, 0.5},    {P::kRingFreq, 0.1},
      {P::kPhaserAmount, 0.6},    {P::kEqBass, 0.7},        {P::kEqMid, 0.4},
      {P::kEqHigh, 0.6},          {P::kDumpExpand, 0.6},    {P::kTempoDelayAmount, 0.4},
      {P::kOutputSaturation, 0.3},
  };
  for (const auto& [index, value] : settings)
    SetParam(plug, index, value);
}

enum class Sound
{
  Default,
  Heavy,
  FullChain,
};

void Render(benchmark::State& state, Sound sound)
{
  auto plug = std::make_unique<Thumpgeist>(nullptr);
  plug->GetAEffect()->dispatcher(plug->GetAEffect(), Vst::effSetSampleRate, 0, 0, nullptr,
                                 float(kRate));
  plug->GetAEffect()->dispatcher(plug->GetAEffect(), Vst::effSetBlockSize, 0, kBlock, nullptr,
                                 0.0f);
  if (sound == Sound::Heavy)
    MakeHeavy(*plug);
  if (sound == Sound::FullChain)
    EngageChain(*plug);
  const int voices = int(state.range(0));
  for (int v = 0; v < voices; ++v)
    plug->ProcessMidiMessage(MidiMessage{v % kBlock, 0x90, uint8_t(24 + v), 100});

  std::vector<double> left(kBlock), right(kBlock);
  double* outs[] = {left.data(), right.data()};
  // The attack is over before measuring: every voice sounds.
  for (int i = 0; i < 10; ++i)
    plug->ProcessBlock(nullptr, outs, kBlock);
  for (auto _ : state)
  {
    plug->ProcessBlock(nullptr, outs, kBlock);
    benchmark::DoNotOptimize(left.data());
  }
  state.counters["voices"] = double(plug->Voices().activeCount());
  state.counters["realtime"] =
      benchmark::Counter(double(state.iterations()) * kBlock / kRate, benchmark::Counter::kIsRate);
}

void BM_ProcessBlockDefault(benchmark::State& state) { Render(state, Sound::Default); }
void BM_ProcessBlockHeavy(benchmark::State& state) { Render(state, Sound::Heavy); }
void BM_ProcessBlockFullChain(benchmark::State& state) { Render(state, Sound::FullChain); }

BENCHMARK(BM_ProcessBlockDefault)->Arg(1)->Arg(8)->Arg(64)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProcessBlockHeavy)->Arg(1)->Arg(8)->Arg(64)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ProcessBlockFullChain)->Arg(1)->Arg(8)->Arg(64)->Unit(benchmark::kMicrosecond);
} // namespace
