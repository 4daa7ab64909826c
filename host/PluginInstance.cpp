#include "host/PluginInstance.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace tghost
{
namespace
{
using EntryProc = vst::AEffect*(VSTCALLBACK*)(vst::HostCallback);

// The instance whose plug-in is being constructed: its callback may arrive before
// the host has the effect record in hand.
thread_local PluginInstance* tConstructing = nullptr;

constexpr int kTextBufferSize = 512;
constexpr int kHostOpcodeCount = 64;
} // namespace

PluginInstance::PluginInstance() : mHostCalls(kHostOpcodeCount, 0)
{
  mTimeInfo.timeSigNumerator = 4;
  mTimeInfo.timeSigDenominator = 4;
  mTimeInfo.tempo = 120.0;
}

PluginInstance::~PluginInstance() { Unload(); }

bool PluginInstance::Load(const std::string& modulePath)
{
  Unload();
  if (!mModule.Open(modulePath))
  {
    mError = mModule.Error();
    return false;
  }
  auto entry = reinterpret_cast<EntryProc>(mModule.Symbol("VSTPluginMain"));
  if (!entry)
    entry = reinterpret_cast<EntryProc>(mModule.Symbol("main"));
  if (!entry)
  {
    mError = "the module exports neither VSTPluginMain nor main";
    mModule.Close();
    return false;
  }
  tConstructing = this;
  mEffect = entry(HostCallback);
  tConstructing = nullptr;
  if (!mEffect || mEffect->magic != vst::kEffectMagic)
  {
    mError = mEffect ? "the entry point returned a record without the VstP magic"
                     : "the entry point returned no effect record";
    mEffect = nullptr;
    mModule.Close();
    return false;
  }
  mEffect->user = this;
  mError.clear();
  return true;
}

void PluginInstance::Unload()
{
  if (mEffect)
  {
    mEffect->dispatcher(mEffect, vst::effClose, 0, 0, nullptr, 0.0f);
    mEffect = nullptr;
  }
  mModule.Close();
}

void PluginInstance::Start(double sampleRate, int blockSize)
{
  mSampleRate = sampleRate;
  Dispatch(vst::effOpen);
  Dispatch(vst::effSetSampleRate, 0, 0, nullptr, float(sampleRate));
  Dispatch(vst::effSetBlockSize, 0, blockSize);
  Dispatch(vst::effMainsChanged, 0, 1);
}

intptr_t PluginInstance::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt)
{
  if (!mEffect)
    return 0;
  if (opcode == vst::effSetSampleRate)
    mSampleRate = opt;
  return mEffect->dispatcher(mEffect, opcode, index, value, ptr, opt);
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
  return Dispatch(vst::effString2Parameter, index, 0, copy.data());
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
  Dispatch(vst::effSetProgramName, 0, 0, copy.data());
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
  const intptr_t size = Dispatch(vst::effGetChunk, bank ? 0 : 1, 0, &data);
  if (size <= 0 || !data)
    return {};
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

intptr_t PluginInstance::SetChunk(const std::vector<uint8_t>& data, bool bank)
{
  std::vector<uint8_t> copy = data;
  return Dispatch(vst::effSetChunk, bank ? 0 : 1, intptr_t(copy.size()),
                  copy.empty() ? nullptr : copy.data());
}

void PluginInstance::QueueMidi(int offset, uint8_t status, uint8_t data1, uint8_t data2)
{
  vst::VstMidiEvent event{};
  event.type = vst::kVstMidiType;
  event.byteSize = sizeof event;
  event.deltaFrames = offset;
  event.midiData[0] = char(status);
  event.midiData[1] = char(data1);
  event.midiData[2] = char(data2);
  mPendingMidi.push_back(event);
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
  if (mPendingMidi.empty())
    return 0;
  // The events record: count, reserved word, then one pointer per event.
  const size_t n = mPendingMidi.size();
  mEventsRecord.assign(offsetof(vst::VstEvents, events) + n * sizeof(vst::VstEvent*), 0);
  auto* events = reinterpret_cast<vst::VstEvents*>(mEventsRecord.data());
  events->numEvents = int32_t(n);
  for (size_t i = 0; i < n; ++i)
    events->events[i] = reinterpret_cast<vst::VstEvent*>(&mPendingMidi[i]);
  const intptr_t r = Dispatch(vst::effProcessEvents, 0, 0, events);
  mPendingMidi.clear();
  return r;
}

void PluginInstance::Render(std::vector<std::vector<double>>& outputs, int frames, ProcessMode mode)
{
  const int nOut = mEffect ? std::max(mEffect->numOutputs, 0) : 0;
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
  mFloatScratch.assign(stride * outputs.size(), 0.0f);
  std::vector<float*> ptrs;
  for (size_t c = 0; c < outputs.size(); ++c)
  {
    float* dst = mFloatScratch.data() + c * stride;
    if (mode == ProcessMode::FloatAccumulating)
      for (int s = 0; s < frames; ++s)
        dst[s] = float(outputs[c][size_t(s)]);
    ptrs.push_back(dst);
  }
  RenderFloat(ptrs.data(), frames, mode == ProcessMode::FloatAccumulating);
  for (size_t c = 0; c < outputs.size(); ++c)
    for (int s = 0; s < frames; ++s)
      outputs[c][size_t(s)] = mFloatScratch[c * stride + size_t(s)];
}

void PluginInstance::RenderDouble(double** outputs, int frames)
{
  SendEvents();
  mEffect->processDoubleReplacing(mEffect, nullptr, outputs, frames);
  mSamplePos += frames;
}

void PluginInstance::RenderFloat(float** outputs, int frames, bool accumulate)
{
  SendEvents();
  if (accumulate)
    mEffect->process(mEffect, nullptr, outputs, frames);
  else
    mEffect->processReplacing(mEffect, nullptr, outputs, frames);
  mSamplePos += frames;
}

void PluginInstance::SetTimeSignature(int numerator, int denominator)
{
  mTimeInfo.timeSigNumerator = numerator;
  mTimeInfo.timeSigDenominator = denominator;
}

int PluginInstance::HostCallCount(int32_t opcode) const
{
  return opcode >= 0 && opcode < int32_t(mHostCalls.size()) ? mHostCalls[size_t(opcode)] : 0;
}

const vst::VstTimeInfo* PluginInstance::FillTimeInfo()
{
  if (!mTimeInfoAvailable)
    return nullptr;
  vst::VstTimeInfo& t = mTimeInfo;
  t.samplePos = mSamplePos;
  t.sampleRate = mSampleRate;
  // Quarter notes since the start, and the start of the current bar.
  t.ppqPos = mSamplePos / mSampleRate * t.tempo / 60.0;
  const double quartersPerBar =
      t.timeSigDenominator > 0 ? 4.0 * t.timeSigNumerator / t.timeSigDenominator : 4.0;
  t.barStartPos = quartersPerBar > 0 ? std::floor(t.ppqPos / quartersPerBar) * quartersPerBar : 0.0;
  t.flags = vst::kVstPpqPosValid | vst::kVstTempoValid | vst::kVstBarsValid | vst::kVstTimeSigValid;
  if (mPlaying)
    t.flags |= vst::kVstTransportPlaying;
  return &t;
}

intptr_t VSTCALLBACK PluginInstance::HostCallback(vst::AEffect* effect, int32_t opcode,
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
  if (opcode >= 0 && opcode < int32_t(mHostCalls.size()))
    ++mHostCalls[size_t(opcode)];
  switch (opcode)
  {
  case vst::audioMasterAutomate:
  case vst::audioMasterBeginEdit:
  case vst::audioMasterEndEdit:
    mAutomation.push_back({opcode, index, opt});
    return 1;
  case vst::audioMasterGetTime:
    return reinterpret_cast<intptr_t>(FillTimeInfo());
  case vst::audioMasterProcessEvents:
  {
    const auto* events = static_cast<const vst::VstEvents*>(ptr);
    if (!events)
      return 0;
    for (int32_t i = 0; i < events->numEvents; ++i)
      if (events->events[i] && events->events[i]->type == vst::kVstMidiType)
        mMidiOut.push_back(*reinterpret_cast<const vst::VstMidiEvent*>(events->events[i]));
    return 1;
  }
  case vst::audioMasterGetCurrentProcessLevel:
    return mProcessLevel;
  case vst::audioMasterGetProductString:
    if (ptr)
    {
      char* text = static_cast<char*>(ptr);
      const size_t n = std::min<size_t>(mProductString.size(), 63);
      std::memcpy(text, mProductString.data(), n);
      text[n] = 0;
      return 1;
    }
    return 0;
  case vst::audioMasterGetVendorVersion:
    return mVendorVersion;
  case vst::audioMasterWantMidi:
  case vst::audioMasterUpdateDisplay:
    return 1;
  default:
    return 0;
  }
}
} // namespace tghost
