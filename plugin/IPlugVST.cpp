#include "plugin/IPlugVST.h"

#include "plugin/DenormalGuard.h"
#include "plugin/IEditor.h"
#include "plugin/ProgramFile.h"
#include "plugin/TextUtil.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
// Sizes of the host's text buffers that we write into.
constexpr int kParamTextSize = IParameter::kTextLength;
constexpr int kProgramNameSize = 64;
constexpr int kVendorTextSize = 64;
// A chunk larger than this is not a state of ours.
constexpr intptr_t kMaxChunkSize = 64 << 20;
constexpr intptr_t kVendorSpecificAnswer = 0xBEEF;
constexpr intptr_t kCockosAnswer = intptr_t(0xBEEF0000);
constexpr int32_t kIdentify = Vst::FourCC('N', 'v', 'E', 'f');
constexpr int kDefaultBlockSize = 1024;

struct HostKey
{
  const char* key;
  int id;
};

// Tried in this order; the first key found in the product string wins.
constexpr HostKey kHostKeys[] = {
    {"cubase", IPlugVST::kHostCubase},
    {"reaper", IPlugVST::kHostReaper},
    {"nuendo", IPlugVST::kHostNuendo},
    {"cakewalk", IPlugVST::kHostSonar},
    {"samplitude", IPlugVST::kHostSamplitude},
    {"fruity", IPlugVST::kHostFL},
    {"live", IPlugVST::kHostAbletonLive},
    {"melodyne", IPlugVST::kHostMelodyne},
    {"vstmanlib", IPlugVST::kHostVSTScanner},
    {"aulab", IPlugVST::kHostAULab},
    {"garageband", IPlugVST::kHostGarageBand},
    {"forte", IPlugVST::kHostForte},
    {"chainer", IPlugVST::kHostChainer},
    {"audition", IPlugVST::kHostAudition},
    {"orion", IPlugVST::kHostOrion},
    {"sawstudio", IPlugVST::kHostSAWStudio},
    {"logic", IPlugVST::kHostLogic},
    {"digital", IPlugVST::kHostDigitalPerformer},
    {"audiomulch", IPlugVST::kHostAudioMulch},
    {"presonus", IPlugVST::kHostStudioOne},
    {"vst3plugintesthost", IPlugVST::kHostVST3TestHost},
    {"protools", IPlugVST::kHostProTools},
    {"ardour", IPlugVST::kHostArdour},
    {"renoise", IPlugVST::kHostRenoise},
    {"openmpt", IPlugVST::kHostOpenMPT},
    {"standalone", IPlugVST::kHostStandalone},
};

// Called from the audio thread, never blocks: n doubles rounded to float into dst (or
// added to it), four at a time in vector lanes with the rounding and the float sums of
// the one-by-one loop.
using FourDoubles = double __attribute__((vector_size(4 * sizeof(double))));
using FourFloats = float __attribute__((vector_size(4 * sizeof(float))));

FourFloats LoadAsFloats(const double* src)
{
  FourDoubles v;
  std::memcpy(&v, src, sizeof v);
  return __builtin_convertvector(v, FourFloats);
}

void StoreAsFloats(const double* src, float* dst, int n)
{
  int s = 0;
  for (; s + 4 <= n; s += 4)
  {
    const FourFloats f = LoadAsFloats(src + s);
    std::memcpy(dst + s, &f, sizeof f);
  }
  for (; s < n; ++s)
    dst[s] = float(src[s]);
}

void AddAsFloats(const double* src, float* dst, int n)
{
  int s = 0;
  for (; s + 4 <= n; s += 4)
  {
    FourFloats f;
    std::memcpy(&f, dst + s, sizeof f);
    f += LoadAsFloats(src + s);
    std::memcpy(dst + s, &f, sizeof f);
  }
  for (; s < n; ++s)
    dst[s] += float(src[s]);
}
} // namespace

IPlugVST::IPlugVST(const PlugInfo& info, Vst::HostCallback callback)
  : IPlugBase(info), hostCallback(callback)
{
  std::memset(&aEffect, 0, sizeof aEffect);
  std::memset(&inputSpeakers, 0, sizeof inputSpeakers);
  std::memset(&outputSpeakers, 0, sizeof outputSpeakers);

  aEffect.magic = Vst::kEffectMagic;
  aEffect.dispatcher = VSTDispatcher;
  aEffect.process = VSTProcess;
  aEffect.setParameter = VSTSetParameter;
  aEffect.getParameter = VSTGetParameter;
  aEffect.numPrograms = NPresets();
  aEffect.numParams = NParams();
  aEffect.numInputs = NInChannels();
  aEffect.numOutputs = NOutChannels();
  aEffect.flags =
      Vst::effFlagsCanReplacing | Vst::effFlagsProgramChunks | Vst::effFlagsCanDoubleReplacing;
  if (IsInstrument())
    aEffect.flags |= Vst::effFlagsIsSynth;
  for (const ChannelIOPair& pair : ChannelIOPairs())
    if (pair.nIn == 1)
      aEffect.flags |= Vst::effFlagsCanMono;
  aEffect.ioRatio = 1.0f;
  aEffect.object = this;
  aEffect.uniqueID = GetUniqueID();
  aEffect.version = GetPlugVersionDecimal();
  aEffect.processReplacing = VSTProcessReplacing;
  aEffect.processDoubleReplacing = VSTProcessDoubleReplacing;

  SetArrangement(inputSpeakers, aEffect.numInputs);
  SetArrangement(outputSpeakers, aEffect.numOutputs);

  SetBlockSize(kDefaultBlockSize);
  for (int i = 0; i < NInChannels(); ++i)
    SetChannelConnected(InChannel(i), i < aEffect.numInputs);
  for (int i = 0; i < NOutChannels(); ++i)
    SetChannelConnected(OutChannel(i), i < aEffect.numOutputs);
}

IPlugVST::~IPlugVST() = default;

void IPlugVST::SetArrangement(Vst::VstSpeakerArrangement& arrangement, int nChannels)
{
  arrangement.numChannels = nChannels;
  switch (nChannels)
  {
  case 0:
    arrangement.type = Vst::kSpeakerArrEmpty;
    break;
  case 1:
    arrangement.type = Vst::kSpeakerArrMono;
    break;
  case 2:
    arrangement.type = Vst::kSpeakerArrStereo;
    break;
  default:
    arrangement.type = Vst::kSpeakerArrUserDefined;
    break;
  }
}

intptr_t IPlugVST::CallHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
  return hostCallback ? hostCallback(&aEffect, opcode, index, value, ptr, opt) : 0;
}

// --- Host services ----------------------------------------------------------------

void IPlugVST::BeginParameterEdit(int paramIdx) { CallHost(Vst::audioMasterBeginEdit, paramIdx); }

void IPlugVST::NotifyHostOfParameterChange(int paramIdx, double normalized)
{
  CallHost(Vst::audioMasterAutomate, paramIdx, 0, nullptr, float(normalized));
}

void IPlugVST::EndParameterEdit(int paramIdx) { CallHost(Vst::audioMasterEndEdit, paramIdx); }

void IPlugVST::NotifyHostOfProgramChange() { CallHost(Vst::audioMasterUpdateDisplay); }

bool IPlugVST::IsRenderingOffline()
{
  return CallHost(Vst::audioMasterGetCurrentProcessLevel) == Vst::kProcessLevelOffline;
}

const Vst::VstTimeInfo* IPlugVST::HostTime(intptr_t flags)
{
  return reinterpret_cast<const Vst::VstTimeInfo*>(CallHost(Vst::audioMasterGetTime, 0, flags));
}

int IPlugVST::GetSamplePosition()
{
  const Vst::VstTimeInfo* t = HostTime(0);
  if (!t || !(t->samplePos >= 0.0))
    return 0;
  return int(t->samplePos + 0.5);
}

double IPlugVST::GetTempo()
{
  const Vst::VstTimeInfo* t = HostTime(Vst::kVstTempoValid);
  if (t && (t->flags & Vst::kVstTempoValid) && t->tempo >= 0.0)
    return t->tempo;
  return 0.0;
}

void IPlugVST::GetTimeSignature(int* numerator, int* denominator)
{
  *numerator = *denominator = 0;
  const Vst::VstTimeInfo* t = HostTime(Vst::kVstTimeSigValid);
  if (t && (t->flags & Vst::kVstTimeSigValid) && t->timeSigNumerator >= 0 &&
      t->timeSigDenominator >= 0)
  {
    *numerator = t->timeSigNumerator;
    *denominator = t->timeSigDenominator;
  }
}

void IPlugVST::GetTimeInfo(TimeInfo* info)
{
  constexpr int32_t kAsked = Vst::kVstPpqPosValid | Vst::kVstTempoValid | Vst::kVstBarsValid |
                             Vst::kVstCyclePosValid | Vst::kVstTimeSigValid;
  const Vst::VstTimeInfo* t = HostTime(kAsked);
  if (!t || !(t->flags & kAsked))
    return;
  info->samplePos = t->samplePos;
  if ((t->flags & Vst::kVstPpqPosValid) && t->ppqPos >= 0.0)
    info->ppqPos = t->ppqPos;
  if ((t->flags & Vst::kVstTempoValid) && t->tempo > 0.0)
    info->tempo = t->tempo;
  if ((t->flags & Vst::kVstBarsValid) && t->barStartPos >= 0.0)
    info->lastBar = t->barStartPos;
  if ((t->flags & Vst::kVstCyclePosValid) && t->cycleStartPos >= 0.0 && t->cycleEndPos >= 0.0)
  {
    info->cycleStart = t->cycleStartPos;
    info->cycleEnd = t->cycleEndPos;
  }
  if ((t->flags & Vst::kVstTimeSigValid) && t->timeSigNumerator > 0 && t->timeSigDenominator > 0)
  {
    info->numerator = t->timeSigNumerator;
    info->denominator = t->timeSigDenominator;
  }
  info->transportPlaying = (t->flags & Vst::kVstTransportPlaying) != 0;
  info->transportLoop = (t->flags & Vst::kVstTransportCycleActive) != 0;
}

int IPlugVST::HostIdFromProductString(const char* product)
{
  std::string lower = product ? product : "";
  if (lower.empty())
    return kHostUnknown;
  for (char& c : lower)
    c = char(std::tolower(static_cast<unsigned char>(c)));
  for (const HostKey& k : kHostKeys)
    if (lower.find(k.key) != std::string::npos)
      return k.id;
  return kHostUnknown;
}

int IPlugVST::PackedHostVersion(int v) { return v + (v % 10000) / 100 * 156 + v / 10000 * 55536; }

int IPlugVST::GetHost()
{
  if (IPlugBase::GetHost() == kHostUninit)
  {
    char product[256] = {};
    CallHost(Vst::audioMasterGetProductString, 0, 0, product);
    product[sizeof product - 1] = 0;
    int reportedVersion = 0;
    if (product[0])
      reportedVersion = PackedHostVersion(int(CallHost(Vst::audioMasterGetVendorVersion)));
    SetHost(HostIdFromProductString(product), reportedVersion);
  }
  return IPlugBase::GetHost();
}

int IPlugVST::ConnectedChannels(bool input)
{
  int n = 0;
  const int count = input ? NInChannels() : NOutChannels();
  for (int i = 0; i < count; ++i)
    n += (input ? InChannel(i) : OutChannel(i)).connected ? 1 : 0;
  return n;
}

void IPlugVST::UpdateIOCounts()
{
  aEffect.numInputs = ConnectedChannels(true);
  aEffect.numOutputs = ConnectedChannels(false);
  inputSpeakers.numChannels = aEffect.numInputs;
  outputSpeakers.numChannels = aEffect.numOutputs;
}

void IPlugVST::HostSpecificInit()
{
  if (hostInitDone)
    return;
  hostInitDone = true;
  const int detectedHost = GetHost();
  if (detectedHost == kHostForte || detectedHost == kHostAudition || detectedHost == kHostOrion ||
      detectedHost == kHostSAWStudio)
  {
    for (int i = 2; i < NInChannels(); ++i)
      SetChannelConnected(InChannel(i), false);
    if (NOutChannels() >= 3)
      for (int i = 2; i < NOutChannels(); ++i)
        OutChannel(i).connected = true;
  }
  UpdateIOCounts();
}

void IPlugVST::ResizeEditor()
{
  if (IEditor* gui = GetGUI())
  {
    editRect.bottom = int16_t(gui->Height());
    editRect.right = int16_t(gui->Width());
  }
  OnWindowResize();
}

void IPlugVST::AttachEditor(IEditor* editor)
{
  IPlugBase::AttachEditor(editor);
  aEffect.flags |= Vst::effFlagsHasEditor;
  editRect.top = editRect.left = 0;
  editRect.bottom = int16_t(editor->Height());
  editRect.right = int16_t(editor->Width());
}

void IPlugVST::SetLatency(int samples)
{
  aEffect.initialDelay = samples;
  IPlugBase::SetLatency(samples);
}

bool IPlugVST::SendMidiMessage(const MidiMessage& msg)
{
  Vst::VstMidiEvent event{};
  event.type = Vst::kVstMidiType;
  event.byteSize = sizeof event;
  event.deltaFrames = msg.offset;
  event.midiData[0] = char(msg.status);
  event.midiData[1] = char(msg.data1);
  event.midiData[2] = char(msg.data2);
  Vst::VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<Vst::VstEvent*>(&event);
  return CallHost(Vst::audioMasterProcessEvents, 0, 0, &events) == 1;
}

bool IPlugVST::SendSysEx(const SysExMessage& msg)
{
  Vst::VstMidiSysexEvent event{};
  event.type = Vst::kVstSysExType;
  event.byteSize = sizeof event;
  event.deltaFrames = msg.offset;
  event.dumpBytes = msg.size;
  event.sysexDump = const_cast<char*>(reinterpret_cast<const char*>(msg.data));
  Vst::VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<Vst::VstEvent*>(&event);
  return CallHost(Vst::audioMasterProcessEvents, 0, 0, &events) == 1;
}

// --- Audio ------------------------------------------------------------------------

void IPlugVST::WantMidi()
{
  if (DoesMidi())
    CallHost(Vst::audioMasterWantMidi, 0, 1);
}

// The host may pass more frames than it announced as its block size; the block is
// then rendered in pieces that fit the buffers allocated for that size.
void IPlugVST::ProcessDouble(double** inputs, double** outputs, int frames)
{
  const int block = std::max(GetBlockSize(), 1);
  int done = 0;
  do
  {
    const int n = std::min(frames - done, block);
    for (int i = 0; i < NInChannels(); ++i)
    {
      ChannelRecord& ch = InChannel(i);
      const bool given = ch.connected && inputs && inputs[i];
      *ch.slot = given ? inputs[i] + done : ch.scratch.data();
    }
    for (int i = 0; i < NOutChannels(); ++i)
    {
      ChannelRecord& ch = OutChannel(i);
      const bool given = ch.connected && outputs && outputs[i];
      *ch.slot = given ? outputs[i] + done : ch.scratch.data();
    }
    ProcessBlock(InData(), OutData(), n);
    done += n;
  } while (done < frames);
}

void IPlugVST::ProcessFloat(float** inputs, float** outputs, int frames, bool accumulate)
{
  const int block = std::max(GetBlockSize(), 1);
  int done = 0;
  do
  {
    const int n = std::min(frames - done, block);
    for (int i = 0; i < NInChannels(); ++i)
    {
      ChannelRecord& ch = InChannel(i);
      if (ch.connected && inputs && inputs[i])
        std::copy_n(inputs[i] + done, n, ch.scratch.data());
      *ch.slot = ch.scratch.data();
    }
    for (int i = 0; i < NOutChannels(); ++i)
      *OutChannel(i).slot = OutChannel(i).scratch.data();
    ProcessBlock(InData(), OutData(), n);
    for (int i = 0; i < NOutChannels(); ++i)
    {
      ChannelRecord& ch = OutChannel(i);
      if (!ch.connected || !outputs || !outputs[i])
        continue;
      float* dst = outputs[i] + done;
      const double* src = ch.scratch.data();
      if (accumulate)
        AddAsFloats(src, dst, n);
      else
        StoreAsFloats(src, dst, n);
    }
    done += n;
  } while (done < frames);
}

// Every audio callback holds the mutex, asks the host for MIDI, ignores negative frame
// counts and renders with denormal numbers flushed to zero (the host's floating-point
// control register is given back as it was).
template <typename Render>
void IPlugVST::RunAudioCallback(Vst::AEffect* effect, int32_t frames, Render render)
{
  IPlugVST* plug = FromAEffect(effect);
  if (!plug)
    return;
  PlatformLockGuard lock(plug->Mutex());
  const DenormalGuard flushDenormals;
  plug->WantMidi();
  if (frames >= 0)
    render(*plug);
}

void VSTCALLBACK IPlugVST::VSTProcessDoubleReplacing(Vst::AEffect* effect, double** inputs,
                                                     double** outputs, int32_t frames)
{
  RunAudioCallback(effect, frames, [&](IPlugVST& p) { p.ProcessDouble(inputs, outputs, frames); });
}

void VSTCALLBACK IPlugVST::VSTProcessReplacing(Vst::AEffect* effect, float** inputs,
                                               float** outputs, int32_t frames)
{
  RunAudioCallback(effect, frames,
                   [&](IPlugVST& p) { p.ProcessFloat(inputs, outputs, frames, false); });
}

void VSTCALLBACK IPlugVST::VSTProcess(Vst::AEffect* effect, float** inputs, float** outputs,
                                      int32_t frames)
{
  RunAudioCallback(effect, frames,
                   [&](IPlugVST& p) { p.ProcessFloat(inputs, outputs, frames, true); });
}

// --- Parameters -------------------------------------------------------------------

float VSTCALLBACK IPlugVST::VSTGetParameter(Vst::AEffect* effect, int32_t index)
{
  IPlugVST* plug = FromAEffect(effect);
  if (!plug)
    return 0.0f;
  PlatformLockGuard lock(plug->Mutex());
  IParameter* param = plug->GetParam(index);
  return param ? float(param->GetNormalized()) : 0.0f;
}

void VSTCALLBACK IPlugVST::VSTSetParameter(Vst::AEffect* effect, int32_t index, float value)
{
  IPlugVST* plug = FromAEffect(effect);
  if (!plug)
    return;
  PlatformLockGuard lock(plug->Mutex());
  IParameter* param = plug->GetParam(index);
  // A value that is not a finite number would reach the sound and stay there.
  if (!param || !std::isfinite(value))
    return;
  if (IEditor* gui = plug->GetGUI())
    gui->SetParameterFromPlug(index, value, true);
  param->SetNormalized(value);
  plug->OnParameterChange(index);
}

intptr_t IPlugVST::String2Parameter(int paramIdx, const char* text)
{
  IParameter* param = GetParam(paramIdx);
  if (!param)
    return 0;
  if (!text)
    return 1;
  double value = 0.0;
  if (param->NDisplayTexts() > 0)
  {
    if (!param->MapDisplayText(text, &value))
      return 0;
  }
  else
  {
    value = std::strtod(text, nullptr);
    // "nan", "inf" or a number beyond the double range is refused.
    if (!std::isfinite(value))
      return 0;
    if (param->NegateDisplay())
      value = -value;
  }
  if (IEditor* gui = GetGUI())
    gui->SetParameterFromPlug(paramIdx, value, false);
  param->Set(param->Clamp(value));
  OnParameterChange(paramIdx);
  return 1;
}

// --- Chunks -----------------------------------------------------------------------

intptr_t IPlugVST::GetChunk(void** data, bool isBank)
{
  if (!data)
    return 0;
  ByteBuffer& chunk = isBank ? bankState : state;
  chunk.Clear();
  chunk.PutInt32(ProgramFile::kChunkMagic);
  chunk.PutInt32(ProgramFile::kChunkVersion);
  bool ok;
  if (isBank)
  {
    ModifyCurrentPreset();
    ok = SerializePresets(chunk);
  }
  else
  {
    ok = SerializeState(chunk);
  }
  if (!ok || chunk.Size() == 0)
    return 0;
  *data = chunk.Data();
  return chunk.Size();
}

intptr_t IPlugVST::SetChunk(const void* data, intptr_t size, bool isBank)
{
  // Nothing is read from a null pointer or a size that cannot be a state.
  if (!data || size < 0 || size > kMaxChunkSize)
    return 0;
  ByteBuffer& chunk = isBank ? bankState : state;
  chunk.Clear();
  chunk.PutBytes(data, int(size));

  int32_t reportedVersion = 0;
  int position = 0;
  int32_t magic = 0;
  if (chunk.GetInt32(&magic, 0) > 0 && magic == ProgramFile::kChunkMagic)
    position = chunk.GetInt32(&reportedVersion, 4);
  // A chunk that carries no state (no bytes at all, or a header and nothing behind it)
  // changes nothing; a state that is there but short loads as far as it goes.
  if (position < 0 || position >= chunk.Size())
    return 0;

  ConsumeRejectedValue();
  bool rejected = false;
  if (isBank && reportedVersion >= ProgramFile::kChunkVersion)
  {
    position = UnserializePresets(chunk, position);
    rejected = ConsumeRejectedValue();
  }
  else
  {
    position = UnserializeState(chunk, position);
    rejected = ConsumeRejectedValue();
    // Only a state that loaded completely replaces what the current slot holds.
    if (position >= 0 && !rejected)
      ModifyCurrentPreset();
  }
  // A value that was not a finite number took its parameter's default: the load fails.
  if (position < 0 || rejected)
    return 0;
  RedrawParameterControls();
  return 1;
}

// --- Events, pins, speakers ---------------------------------------------------------

void IPlugVST::ProcessEvents(const Vst::VstEvents* events)
{
  // The record declares room for two pointers but carries numEvents of them: hosts
  // allocate it as long as their list, so the pointers are read from the array's start.
  Vst::VstEvent* const* list = events->events;
  for (int32_t i = 0; i < events->numEvents; ++i)
  {
    const Vst::VstEvent* event = list[i];
    if (!event)
      continue;
    if (event->type == Vst::kVstMidiType)
    {
      const auto* midi = reinterpret_cast<const Vst::VstMidiEvent*>(event);
      MidiMessage msg;
      msg.offset = midi->deltaFrames;
      msg.status = uint8_t(midi->midiData[0]);
      msg.data1 = uint8_t(midi->midiData[1]);
      msg.data2 = uint8_t(midi->midiData[2]);
      ProcessMidiMessage(msg);
    }
    // A record typed as system exclusive but shorter than that record is passed over:
    // its dump fields would lie beyond what the host gave.
    else if (event->type == Vst::kVstSysExType &&
             event->byteSize >= int32_t(sizeof(Vst::VstMidiSysexEvent)))
    {
      const auto* sysex = reinterpret_cast<const Vst::VstMidiSysexEvent*>(event);
      SysExMessage msg;
      msg.offset = sysex->deltaFrames;
      msg.size = sysex->dumpBytes;
      msg.data = reinterpret_cast<const uint8_t*>(sysex->sysexDump);
      ProcessSysEx(msg);
    }
  }
}

intptr_t IPlugVST::GetPinProperties(bool input, int index, Vst::VstPinProperties* props)
{
  const int count = input ? aEffect.numInputs : aEffect.numOutputs;
  if (!props || index < 0 || index >= count)
    return 0;
  props->flags = Vst::kVstPinIsActive;
  if (index % 2 == 0 && index < count - 1)
    props->flags |= Vst::kVstPinIsStereo;
  const int nRecords = input ? NInChannels() : NOutChannels();
  const std::string* label = nullptr;
  if (index < nRecords)
    label = &(input ? InChannel(index) : OutChannel(index)).label;
  if (label && !label->empty())
    CopyText(props->label, label->c_str(), sizeof props->label);
  else
    std::snprintf(props->label, sizeof props->label, input ? "Input %d" : "Output %d", index + 1);
  return 1;
}

void IPlugVST::ConnectFromArrangement(const Vst::VstSpeakerArrangement* arrangement, bool input)
{
  if (!arrangement)
    return;
  const int count = input ? NInChannels() : NOutChannels();
  const int n = std::min(std::max(arrangement->numChannels, 0), count);
  for (int i = 0; i < count; ++i)
    SetChannelConnected(input ? InChannel(i) : OutChannel(i), i < n);
}

intptr_t IPlugVST::CanDo(const char* query)
{
  if (!query)
    return 0;
  if (std::strcmp(query, "receiveVstTimeInfo") == 0)
    return 1;
  if (DoesMidi())
  {
    for (const char* q :
         {"sendVstEvents", "sendVstMidiEvent", "receiveVstEvents", "receiveVstMidiEvent"})
      if (std::strcmp(query, q) == 0)
        return 1;
  }
  if (std::strcmp(query, "hasCockosExtensions") == 0)
  {
    hostCapabilities |= kHostHasCockosExtensions;
    return kCockosAnswer;
  }
  if (std::strcmp(query, "hasCockosViewAsConfig") == 0)
  {
    hostCapabilities |= kHostHasCockosViewAsConfig;
    return kCockosAnswer;
  }
  return 0;
}

// --- The dispatcher -----------------------------------------------------------------

intptr_t VSTCALLBACK IPlugVST::VSTDispatcher(Vst::AEffect* effect, int32_t opcode, int32_t index,
                                             intptr_t value, void* ptr, float opt)
{
  IPlugVST* plug = FromAEffect(effect);
  if (!plug)
    return 0;
  if (opcode == Vst::effClose)
  {
    // Any call still inside the plug-in finishes before it goes away.
    plug->Mutex().Enter();
    plug->Mutex().Leave();
    delete plug;
    return 0;
  }
  if (opcode == Vst::effEditIdle)
  {
    // The editor's idle work (its window's events and redraws, a popup menu's own loop
    // on systems whose window has no timer) runs outside the mutex, as a window's timer
    // does, so the audio thread never waits for the editor. Controls take the mutex
    // when they change a parameter; the plug-in's own idle work takes it here.
    try
    {
      if (IEditor* gui = plug->GetGUI(); gui && gui->IsWindowOpen())
        gui->Idle();
      PlatformLockGuard lock(plug->Mutex());
      plug->OnIdle();
    }
    catch (...)
    {
    }
    return 0;
  }
  PlatformLockGuard lock(plug->Mutex());
  try
  {
    return plug->Dispatch(opcode, index, value, ptr, opt);
  }
  catch (...)
  {
    // Nothing the plug-in throws reaches the host; the request simply fails.
    return 0;
  }
}

intptr_t IPlugVST::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
  char* text = static_cast<char*>(ptr);
  switch (opcode)
  {
  case Vst::effOpen:
    HostSpecificInit();
    OnParameterReset();
    return 0;

  case Vst::effSetProgram:
    if (!KeepsStateInChunks())
      ModifyCurrentPreset();
    RestorePreset(value >= 0 && value < NPresets() ? int(value) : -1);
    return 0;

  case Vst::effGetProgram:
    return GetCurrentPresetIdx();

  case Vst::effSetProgramName:
    if (text)
    {
      char name[Preset::kMaxNameLength + 1];
      CopyText(name, text, sizeof name);
      ModifyCurrentPreset(name);
      OnPresetsModified();
    }
    return 0;

  case Vst::effGetProgramName:
    if (text)
      CopyText(text, GetPresetName(GetCurrentPresetIdx()).c_str(), kProgramNameSize);
    return 0;

  case Vst::effGetParamLabel:
    if (IParameter* param = GetParam(index); param && text)
      CopyText(text, param->GetLabelText(), kParamTextSize);
    return 0;

  case Vst::effGetParamDisplay:
    if (IParameter* param = GetParam(index); param && text)
      param->GetDisplayText(param->Value(), false, text, true);
    return 0;

  case Vst::effGetParamName:
    if (IParameter* param = GetParam(index); param && text)
      CopyText(text, param->Name(), kParamTextSize);
    return 0;

  case Vst::effSetSampleRate:
    SetSampleRate(double(opt));
    Reset();
    return 0;

  case Vst::effSetBlockSize:
    SetBlockSize(int(value));
    Reset();
    return 0;

  case Vst::effMainsChanged:
    if (value)
    {
      OnActivate(true);
    }
    else
    {
      OnActivate(false);
      Reset();
    }
    return 0;

  case Vst::effEditGetRect:
    if (ptr && GetGUI())
    {
      *static_cast<EditorRect**>(ptr) = &editRect;
      return 1;
    }
    return 0;

  case Vst::effEditOpen:
    if (IEditor* gui = GetGUI(); gui && gui->OpenWindow(ptr))
    {
      OnEditorOpen();
      return 1;
    }
    return 0;

  case Vst::effEditClose:
    if (IEditor* gui = GetGUI())
    {
      OnEditorClose();
      gui->CloseWindow();
      return 1;
    }
    return 0;

  case Vst::effEditIdle:
    if (IEditor* gui = GetGUI(); gui && gui->IsWindowOpen())
      gui->Idle();
    OnIdle();
    return 0;

  case Vst::effIdle:
    OnIdle();
    return 0;

  case Vst::effIdentify:
    return kIdentify;

  case Vst::effGetChunk:
    return GetChunk(static_cast<void**>(ptr), index == 0);

  case Vst::effSetChunk:
    return SetChunk(ptr, value, index == 0);

  case Vst::effProcessEvents:
    if (!ptr)
      return 0;
    ProcessEvents(static_cast<const Vst::VstEvents*>(ptr));
    return 1;

  case Vst::effCanBeAutomated:
    return 1;

  case Vst::effString2Parameter:
    return String2Parameter(index, text);

  case Vst::effGetProgramNameIndexed:
  {
    const std::string name = GetPresetName(index);
    if (text)
      CopyText(text, name.c_str(), kProgramNameSize);
    return name.empty() ? 0 : 1;
  }

  case Vst::effGetInputProperties:
    return GetPinProperties(true, index, static_cast<Vst::VstPinProperties*>(ptr));

  case Vst::effGetOutputProperties:
    return GetPinProperties(false, index, static_cast<Vst::VstPinProperties*>(ptr));

  case Vst::effGetPlugCategory:
    return IsInstrument() ? Vst::kPlugCategorySynth : Vst::kPlugCategoryEffect;

  case Vst::effSetSpeakerArrangement:
    ConnectFromArrangement(reinterpret_cast<const Vst::VstSpeakerArrangement*>(value), true);
    ConnectFromArrangement(static_cast<const Vst::VstSpeakerArrangement*>(ptr), false);
    return 1;

  case Vst::effGetEffectName:
    if (!text)
      return 0;
    CopyText(text, GetEffectName(), kVendorTextSize);
    return 1;

  case Vst::effGetVendorString:
    if (!text)
      return 0;
    CopyText(text, GetVendorName(), kVendorTextSize);
    return 1;

  case Vst::effGetProductString:
    if (!text)
      return 0;
    CopyText(text, GetProductName(), kVendorTextSize);
    return 1;

  case Vst::effVendorSpecific:
    if (index == 7)
    {
      if (!text)
        return 0;
      if (IParameter* param = GetParam(int(value)))
        param->GetDisplayText(double(opt), true, text, true);
      return kVendorSpecificAnswer;
    }
    if (index == 8)
    {
      const IParameter* param = GetParam(int(value));
      return param && param->Type() != IParameter::kTypeDouble ? kVendorSpecificAnswer : 0;
    }
    return 0;

  case Vst::effCanDo:
    return CanDo(text);

  case Vst::effGetVstVersion:
    return Vst::kVstVersion;

  case Vst::effGetMidiKeyName:
  {
    auto* key = static_cast<Vst::MidiKeyName*>(ptr);
    if (!key)
      return 0;
    key->keyName[0] = 0;
    return GetMidiNoteName(key->thisKeyNumber, key->keyName) ? 1 : 0;
  }

  case Vst::effGetSpeakerArrangement:
    if (value)
      *reinterpret_cast<Vst::VstSpeakerArrangement**>(value) = &inputSpeakers;
    if (ptr)
      *static_cast<Vst::VstSpeakerArrangement**>(ptr) = &outputSpeakers;
    return 1;

  default:
    return 0;
  }
}
