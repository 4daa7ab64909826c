#pragma once
// A host that drives the instrument through its VST 2.4 effect record in this process:
// the dispatcher, the parameter callbacks and the three process callbacks, exactly as a
// host calls them, so that the allocation counter sees the plug-in's allocations and
// the thread sanitizer instruments its code. Its host callback answers the version and
// a fixed time record (120 BPM, playing) and nothing else; it never allocates.
#include "host/PluginInstance.h"
#include "plugin/IPlugVST.h"
#include "synth/Thumpgeist.h"
#include "vst/Vst24.h"

#include <cstdint>
#include <cstring>
#include <vector>

enum class ProcessPath
{
  Double,
  FloatReplacing,
  FloatAccumulating,
};

inline const char* PathName(ProcessPath path)
{
  switch (path)
  {
  case ProcessPath::Double:
    return "Double";
  case ProcessPath::FloatReplacing:
    return "Replacing";
  case ProcessPath::FloatAccumulating:
    return "Accumulating";
  }
  return "";
}

class InProcessHost
{
public:
  static constexpr int kMaxEvents = 256;

  InProcessHost(double rate, int blockSize) : effect((new Thumpgeist(&HostCallback))->GetAEffect())
  {
    Dispatch(Vst::effOpen);
    Dispatch(Vst::effSetSampleRate, 0, 0, nullptr, float(rate));
    Dispatch(Vst::effSetBlockSize, 0, blockSize);
    Dispatch(Vst::effMainsChanged, 0, 1);
    events.reserve(kMaxEvents);
    record.resize(sizeof(Vst::VstEvents) + kMaxEvents * sizeof(Vst::VstEvent*));
  }
  ~InProcessHost() { Dispatch(Vst::effClose); }
  InProcessHost(const InProcessHost&) = delete;
  InProcessHost& operator=(const InProcessHost&) = delete;

  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f)
  {
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
  }
  void SetParameter(int index, float value) { effect->setParameter(effect, index, value); }
  float GetParameter(int index) { return effect->getParameter(effect, index); }

  std::vector<uint8_t> GetChunk(bool bank)
  {
    void* data = nullptr;
    const intptr_t size = Dispatch(Vst::effGetChunk, bank ? 0 : 1, 0, &data);
    const auto* bytes = static_cast<const uint8_t*>(data);
    return size > 0 && bytes ? std::vector<uint8_t>(bytes, bytes + size) : std::vector<uint8_t>{};
  }
  intptr_t SetChunk(std::vector<uint8_t>& data, bool bank)
  {
    return Dispatch(Vst::effSetChunk, bank ? 0 : 1, intptr_t(data.size()), data.data());
  }

  // Queues a MIDI message for the next SendEvents (dropped beyond kMaxEvents).
  void Midi(int offset, uint8_t status, uint8_t data1, uint8_t data2)
  {
    if (events.size() >= size_t(kMaxEvents))
      return;
    events.push_back(VstHost::PluginInstance::MidiEvent(offset, status, data1, data2));
  }
  void SendEvents()
  {
    if (events.empty())
      return;
    auto* list = reinterpret_cast<Vst::VstEvents*>(record.data());
    list->numEvents = int32_t(events.size());
    list->reserved = 0;
    for (size_t i = 0; i < events.size(); ++i)
      list->events[i] = reinterpret_cast<Vst::VstEvent*>(&events[i]);
    Dispatch(Vst::effProcessEvents, 0, 0, list);
    events.clear();
  }

  // One process call of frames samples into left and right (double for the double path,
  // float otherwise). The accumulating path adds to what the buffers hold.
  void Process(ProcessPath path, void* left, void* right, int frames)
  {
    if (path == ProcessPath::Double)
    {
      double* outs[] = {static_cast<double*>(left), static_cast<double*>(right)};
      effect->processDoubleReplacing(effect, nullptr, outs, frames);
      return;
    }
    float* outs[] = {static_cast<float*>(left), static_cast<float*>(right)};
    if (path == ProcessPath::FloatReplacing)
      effect->processReplacing(effect, nullptr, outs, frames);
    else
      effect->process(effect, nullptr, outs, frames);
  }

private:
  static intptr_t VSTCALLBACK HostCallback(Vst::AEffect*, int32_t opcode, int32_t, intptr_t, void*,
                                           float)
  {
    static const Vst::VstTimeInfo kTime = []
    {
      Vst::VstTimeInfo t{};
      t.tempo = 120.0;
      t.timeSigNumerator = 4;
      t.timeSigDenominator = 4;
      t.flags = Vst::kVstTransportPlaying | Vst::kVstTempoValid | Vst::kVstTimeSigValid;
      return t;
    }();
    if (opcode == Vst::audioMasterVersion)
      return Vst::kVstVersion;
    if (opcode == Vst::audioMasterGetTime)
      return reinterpret_cast<intptr_t>(&kTime);
    return 0;
  }

  Vst::AEffect* effect;
  std::vector<Vst::VstMidiEvent> events;
  std::vector<uint8_t> record;
};
