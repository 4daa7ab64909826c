#include "host/PluginInstance.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace VstHost
{
namespace
{
using EntryProc = Vst::AEffect*(VSTCALLBACK*)(Vst::HostCallback);

// The instance whose plug-in is being constructed: its callback may arrive before
// the host has the effect record in hand.
thread_local PluginInstance* tConstructing = nullptr;

constexpr int kTextBufferSize = 512;
constexpr int kHostOpcodeCount = 64;
} // namespace

PluginInstance::PluginInstance() : hostCalls(kHostOpcodeCount, 0)
{
  timeInfo.timeSigNumerator = 4;
  timeInfo.timeSigDenominator = 4;
  timeInfo.tempo = 120.0;
}

PluginInstance::~PluginInstance() { Unload(); }

bool PluginInstance::Load(const std::string& modulePath)
{
  Unload();
  if (!module.Open(modulePath))
  {
    error = module.Error();
    return false;
  }
  auto entry = reinterpret_cast<EntryProc>(module.Symbol("VSTPluginMain"));
  if (!entry)
    entry = reinterpret_cast<EntryProc>(module.Symbol("main"));
  if (!entry)
  {
    error = "the module exports neither VSTPluginMain nor main";
    module.Close();
    return false;
  }
  tConstructing = this;
  effect = entry(HostCallback);
  tConstructing = nullptr;
  if (!effect || effect->magic != Vst::kEffectMagic)
  {
    error = effect ? "the entry point returned a record without the VstP magic"
                   : "the entry point returned no effect record";
    effect = nullptr;
    module.Close();
    return false;
  }
  effect->user = this;
  error.clear();
  return true;
}

void PluginInstance::Unload()
{
  if (effect)
  {
    effect->dispatcher(effect, Vst::effClose, 0, 0, nullptr, 0.0f);
    effect = nullptr;
  }
  module.Close();
}

void PluginInstance::Start(double rate, int blockSize)
{
  sampleRate = rate;
  Dispatch(Vst::effOpen);
  Dispatch(Vst::effSetSampleRate, 0, 0, nullptr, float(rate));
  Dispatch(Vst::effSetBlockSize, 0, blockSize);
  Dispatch(Vst::effMainsChanged, 0, 1);
}

intptr_t PluginInstance::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt)
{
  if (!effect)
    return 0;
  if (opcode == Vst::effSetSampleRate)
    sampleRate = opt;
  else if (opcode == Vst::effSetBlockSize)
    maxFrames = int(value);
  return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

std::string PluginInstance::DispatchText(int32_t opcode, int32_t index, intptr_t value, float opt,
                                         intptr_t* result)
{
  char text[kTextBufferSize] = {};
  const intptr_t r = Dispatch(opcode, index, value, text, opt);
  if (result)
    *result = r;
  text[kTextBufferSize - 1] = 0;
  return text;
}

intptr_t PluginInstance::SetParameterText(int index, const std::string& text)
{
  std::string copy = text;
  return Dispatch(Vst::effString2Parameter, index, 0, copy.data());
}

int PluginInstance::FindParameter(const std::string& name)
{
  for (int i = 0; i < NumParams(); ++i)
    if (ParamName(i) == name)
      return i;
  return -1;
}

void PluginInstance::SetProgramName(const std::string& name)
{
  std::string copy = name;
  Dispatch(Vst::effSetProgramName, 0, 0, copy.data());
}

int PluginInstance::FindProgram(const std::string& name)
{
  for (int i = 0; i < NumPrograms(); ++i)
    if (ProgramNameIndexed(i) == name)
      return i;
  return -1;
}

std::vector<uint8_t> PluginInstance::GetChunk(bool bank)
{
  void* data = nullptr;
  const intptr_t size = Dispatch(Vst::effGetChunk, bank ? 0 : 1, 0, &data);
  if (size <= 0 || !data)
    return {};
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

intptr_t PluginInstance::SetChunk(const std::vector<uint8_t>& data, bool bank)
{
  std::vector<uint8_t> copy = data;
  return Dispatch(Vst::effSetChunk, bank ? 0 : 1, intptr_t(copy.size()),
                  copy.empty() ? nullptr : copy.data());
}

Vst::VstMidiEvent PluginInstance::MidiEvent(int offset, uint8_t status, uint8_t data1,
                                            uint8_t data2)
{
  Vst::VstMidiEvent event{};
  event.type = Vst::kVstMidiType;
  event.byteSize = sizeof event;
  event.deltaFrames = offset;
  event.midiData[0] = char(status);
  event.midiData[1] = char(data1);
  event.midiData[2] = char(data2);
  return event;
}

void PluginInstance::QueueMidi(int offset, uint8_t status, uint8_t data1, uint8_t data2)
{
  pendingMidi.push_back(MidiEvent(offset, status, data1, data2));
}

void PluginInstance::NoteOn(int offset, int note, int velocity, int channel)
{
  QueueMidi(offset, uint8_t(0x90 | (channel & 15)), uint8_t(note & 127), uint8_t(velocity & 127));
}

void PluginInstance::NoteOff(int offset, int note, int channel)
{
  QueueMidi(offset, uint8_t(0x80 | (channel & 15)), uint8_t(note & 127), 0);
}

void PluginInstance::PitchBend(int offset, double bend, int channel)
{
  const int value = std::clamp(int(std::lround(8192.0 + bend * 8192.0)), 0, 16383);
  QueueMidi(offset, uint8_t(0xE0 | (channel & 15)), uint8_t(value & 127), uint8_t(value >> 7));
}

intptr_t PluginInstance::SendEvents()
{
  if (pendingMidi.empty())
    return 0;
  // The events record: count, reserved word, then one pointer per event.
  const size_t n = pendingMidi.size();
  eventsRecord.assign(offsetof(Vst::VstEvents, events) + n * sizeof(Vst::VstEvent*), 0);
  auto* events = reinterpret_cast<Vst::VstEvents*>(eventsRecord.data());
  events->numEvents = int32_t(n);
  for (size_t i = 0; i < n; ++i)
    events->events[i] = reinterpret_cast<Vst::VstEvent*>(&pendingMidi[i]);
  const intptr_t r = Dispatch(Vst::effProcessEvents, 0, 0, events);
  pendingMidi.clear();
  return r;
}

void PluginInstance::Render(std::vector<std::vector<double>>& outputs, int frames, ProcessMode mode)
{
  const int nOut = effect ? std::max(effect->numOutputs, 0) : 0;
  if (int(outputs.size()) < nOut)
    outputs.resize(size_t(nOut));
  for (auto& channel : outputs)
    if (int(channel.size()) < frames)
      channel.resize(size_t(frames));

  if (mode == ProcessMode::Double)
  {
    std::vector<double*> ptrs;
    for (auto& channel : outputs)
      ptrs.push_back(channel.data());
    RenderDouble(ptrs.data(), frames);
    return;
  }
  const size_t stride = size_t(frames);
  floatScratch.assign(stride * outputs.size(), 0.0f);
  std::vector<float*> ptrs;
  for (size_t c = 0; c < outputs.size(); ++c)
  {
    float* dst = floatScratch.data() + c * stride;
    if (mode == ProcessMode::FloatAccumulating)
      for (int s = 0; s < frames; ++s)
        dst[s] = float(outputs[c][size_t(s)]);
    ptrs.push_back(dst);
  }
  RenderFloat(ptrs.data(), frames, mode == ProcessMode::FloatAccumulating);
  for (size_t c = 0; c < outputs.size(); ++c)
    for (int s = 0; s < frames; ++s)
      outputs[c][size_t(s)] = floatScratch[c * stride + size_t(s)];
}

void PluginInstance::RenderDouble(double** outputs, int frames)
{
  SendEvents();
  effect->processDoubleReplacing(effect, nullptr, outputs, frames);
  samplePos += frames;
}

void PluginInstance::RenderFloat(float** outputs, int frames, bool accumulate)
{
  SendEvents();
  if (accumulate)
    effect->process(effect, nullptr, outputs, frames);
  else
    effect->processReplacing(effect, nullptr, outputs, frames);
  samplePos += frames;
}

void PluginInstance::SetTimeSignature(int numerator, int denominator)
{
  timeInfo.timeSigNumerator = numerator;
  timeInfo.timeSigDenominator = denominator;
}

int PluginInstance::HostCallCount(int32_t opcode) const
{
  return opcode >= 0 && opcode < int32_t(hostCalls.size()) ? hostCalls[size_t(opcode)] : 0;
}

const Vst::VstTimeInfo* PluginInstance::FillTimeInfo()
{
  if (!timeInfoAvailable)
    return nullptr;
  Vst::VstTimeInfo& t = timeInfo;
  t.samplePos = samplePos;
  t.sampleRate = sampleRate;
  // Quarter notes since the start, and the start of the current bar.
  t.ppqPos = samplePos / sampleRate * t.tempo / 60.0;
  const double quartersPerBar =
      t.timeSigDenominator > 0 ? 4.0 * t.timeSigNumerator / t.timeSigDenominator : 4.0;
  t.barStartPos = quartersPerBar > 0 ? std::floor(t.ppqPos / quartersPerBar) * quartersPerBar : 0.0;
  t.flags = Vst::kVstPpqPosValid | Vst::kVstTempoValid | Vst::kVstBarsValid | Vst::kVstTimeSigValid;
  if (playing)
    t.flags |= Vst::kVstTransportPlaying;
  return &t;
}

intptr_t VSTCALLBACK PluginInstance::HostCallback(Vst::AEffect* effect, int32_t opcode,
                                                  int32_t index, intptr_t value, void* ptr,
                                                  float opt)
{
  PluginInstance* self =
      effect && effect->user ? static_cast<PluginInstance*>(effect->user) : tConstructing;
  return self ? self->OnHostCall(opcode, index, value, ptr, opt) : 0;
}

intptr_t PluginInstance::OnHostCall(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                    float opt)
{
  if (opcode >= 0 && opcode < int32_t(hostCalls.size()))
    ++hostCalls[size_t(opcode)];
  switch (opcode)
  {
  case Vst::audioMasterVersion:
    return Vst::kVstVersion;
  case Vst::audioMasterGetSampleRate:
    return intptr_t(sampleRate);
  case Vst::audioMasterGetBlockSize:
    return maxFrames;
  case Vst::audioMasterAutomate:
  case Vst::audioMasterBeginEdit:
  case Vst::audioMasterEndEdit:
    automation.push_back({opcode, index, opt});
    return 1;
  case Vst::audioMasterGetTime:
    return reinterpret_cast<intptr_t>(FillTimeInfo());
  case Vst::audioMasterProcessEvents:
  {
    const auto* events = static_cast<const Vst::VstEvents*>(ptr);
    if (!events)
      return 0;
    for (int32_t i = 0; i < events->numEvents; ++i)
      if (events->events[i] && events->events[i]->type == Vst::kVstMidiType)
        midiOut.push_back(*reinterpret_cast<const Vst::VstMidiEvent*>(events->events[i]));
    return 1;
  }
  case Vst::audioMasterGetCurrentProcessLevel:
    return processLevel;
  case Vst::audioMasterGetProductString:
    if (ptr)
    {
      char* text = static_cast<char*>(ptr);
      const size_t n = std::min<size_t>(productString.size(), 63);
      std::memcpy(text, productString.data(), n);
      text[n] = 0;
      return 1;
    }
    return 0;
  case Vst::audioMasterGetVendorVersion:
    return vendorVersion;
  case Vst::audioMasterWantMidi:
  case Vst::audioMasterUpdateDisplay:
    return 1;
  default:
    return 0;
  }
}
} // namespace VstHost
