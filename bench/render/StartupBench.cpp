// Start-up time as a host sees it: the module's entry point builds an instance, the
// host opens it, announces sample rate and block size and switches processing on.
#include "host/PluginInstance.h"
#include "host/platform/ModuleLoader.h"

#include <benchmark/benchmark.h>

namespace
{
intptr_t VSTCALLBACK QuietHost(Vst::AEffect*, int32_t, int32_t, intptr_t, void*, float)
{
  return 0;
}

// Entry point to a started instance, the module already loaded (a host creating a
// second instance).
void BM_CreateAndStart(benchmark::State& state)
{
  VstHost::ModuleLoader module;
  if (!module.Open(TG_MODULE_PATH))
  {
    state.SkipWithError(module.Error().c_str());
    return;
  }
  using Entry = Vst::AEffect*(VSTCALLBACK*)(Vst::HostCallback);
  auto entry = reinterpret_cast<Entry>(module.Symbol("VSTPluginMain"));
  for (auto _ : state)
  {
    Vst::AEffect* e = entry(QuietHost);
    e->dispatcher(e, Vst::effOpen, 0, 0, nullptr, 0.0f);
    e->dispatcher(e, Vst::effSetSampleRate, 0, 0, nullptr, 44100.0f);
    e->dispatcher(e, Vst::effSetBlockSize, 0, 512, nullptr, 0.0f);
    e->dispatcher(e, Vst::effMainsChanged, 0, 1, nullptr, 0.0f);
    benchmark::DoNotOptimize(e);
    state.PauseTiming();
    e->dispatcher(e, Vst::effClose, 0, 0, nullptr, 0.0f);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_CreateAndStart)->Unit(benchmark::kMillisecond);

// The same from a cold module: load, create, start, close, unload.
void BM_LoadCreateStartUnload(benchmark::State& state)
{
  for (auto _ : state)
  {
    VstHost::PluginInstance plug;
    if (!plug.Load(TG_MODULE_PATH))
    {
      state.SkipWithError(plug.Error().c_str());
      return;
    }
    plug.Start(44100.0, 512);
    plug.Unload();
  }
}
BENCHMARK(BM_LoadCreateStartUnload)->Unit(benchmark::kMillisecond);
} // namespace
