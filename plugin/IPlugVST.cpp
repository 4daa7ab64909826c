#include "plugin/IPlugVST.h"

#include "editor/IGraphics.h"
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
constexpr int32_t kIdentify = vst::FourCC('N', 'v', 'E', 'f');
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
} // namespace

IPlugVST::IPlugVST(const PlugInfo& info, vst::HostCallback hostCallback)
  : IPlugBase(info), mHostCallback(hostCallback)
{
  std::memset(&mAEffect, 0, sizeof mAEffect);
  std::memset(&mInputSpeakers, 0, sizeof mInputSpeakers);
  std::memset(&mOutputSpeakers, 0, sizeof mOutputSpeakers);

  mAEffect.magic = vst::kEffectMagic;
  mAEffect.dispatcher = VSTDispatcher;
  mAEffect.process = VSTProcess;
  mAEffect.setParameter = VSTSetParameter;
  mAEffect.getParameter = VSTGetParameter;
  mAEffect.numPrograms = NPresets();
  mAEffect.numParams = NParams();
  mAEffect.numInputs = NInChannels();
  mAEffect.numOutputs = NOutChannels();
  mAEffect.flags =
      vst::effFlagsCanReplacing | vst::effFlagsProgramChunks | vst::effFlagsCanDoubleReplacing;
  if (IsInstrument())
    mAEffect.flags |= vst::effFlagsIsSynth;
  for (const ChannelIOPair& pair : ChannelIOPairs())
    if (pair.nIn == 1)
      mAEffect.flags |= vst::effFlagsCanMono;
  mAEffect.ioRatio = 1.0f;
  mAEffect.object = this;
  mAEffect.uniqueID = GetUniqueID();
  mAEffect.version = GetPlugVersionDecimal();
  mAEffect.processReplacing = VSTProcessReplacing;
  mAEffect.processDoubleReplacing = VSTProcessDoubleReplacing;

  SetArrangement(mInputSpeakers, mAEffect.numInputs);
  SetArrangement(mOutputSpeakers, mAEffect.numOutputs);

  SetBlockSize(kDefaultBlockSize);
  for (int i = 0; i < NInChannels(); ++i)
    SetChannelConnected(InChannel(i), i < mAEffect.numInputs);
  for (int i = 0; i < NOutChannels(); ++i)
    SetChannelConnected(OutChannel(i), i < mAEffect.numOutputs);
}

IPlugVST::~IPlugVST() = default;

void IPlugVST::SetArrangement(vst::VstSpeakerArrangement& arrangement, int nChannels)
{
  arrangement.numChannels = nChannels;
  switch (nChannels)
  {
  case 0:
    arrangement.type = vst::kSpeakerArrEmpty;
    break;
  case 1:
    arrangement.type = vst::kSpeakerArrMono;
    break;
  case 2:
    arrangement.type = vst::kSpeakerArrStereo;
    break;
  default:
    arrangement.type = vst::kSpeakerArrUserDefined;
    break;
  }
}

intptr_t IPlugVST::CallHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
  return mHostCallback ? mHostCallback(&mAEffect, opcode, index, value, ptr, opt) : 0;
}

// --- Host services ----------------------------------------------------------------

void IPlugVST::BeginParameterEdit(int paramIdx) { CallHost(vst::audioMasterBeginEdit, paramIdx); }

void IPlugVST::NotifyHostOfParameterChange(int paramIdx, double normalized)
{
  CallHost(vst::audioMasterAutomate, paramIdx, 0, nullptr, float(normalized));
}

void IPlugVST::EndParameterEdit(int paramIdx) { CallHost(vst::audioMasterEndEdit, paramIdx); }

void IPlugVST::NotifyHostOfProgramChange() { CallHost(vst::audioMasterUpdateDisplay); }

bool IPlugVST::IsRenderingOffline()
{
  return CallHost(vst::audioMasterGetCurrentProcessLevel) == vst::kProcessLevelOffline;
}

const vst::VstTimeInfo* IPlugVST::HostTime(intptr_t flags)
{
  return reinterpret_cast<const vst::VstTimeInfo*>(CallHost(vst::audioMasterGetTime, 0, flags));
}

int IPlugVST::GetSamplePosition()
{
  const vst::VstTimeInfo* t = HostTime(0);
  if (!t || !(t->samplePos >= 0.0))
    return 0;
  return int(t->samplePos + 0.5);
}

double IPlugVST::GetTempo()
{
  const vst::VstTimeInfo* t = HostTime(vst::kVstTempoValid);
  if (t && (t->flags & vst::kVstTempoValid) && t->tempo >= 0.0)
    return t->tempo;
  return 0.0;
}

void IPlugVST::GetTimeSignature(int* numerator, int* denominator)
{
  *numerator = *denominator = 0;
  const vst::VstTimeInfo* t = HostTime(vst::kVstTimeSigValid);
  if (t && (t->flags & vst::kVstTimeSigValid) && t->timeSigNumerator >= 0 &&
      t->timeSigDenominator >= 0)
  {
    *numerator = t->timeSigNumerator;
    *denominator = t->timeSigDenominator;
  }
}

void IPlugVST::GetTimeInfo(TimeInfo* info)
{
  constexpr int32_t kAsked = vst::kVstPpqPosValid | vst::kVstTempoValid | vst::kVstBarsValid |
                             vst::kVstCyclePosValid | vst::kVstTimeSigValid;
  const vst::VstTimeInfo* t = HostTime(kAsked);
  if (!t || !(t->flags & kAsked))
    return;
  info->samplePos = t->samplePos;
  if ((t->flags & vst::kVstPpqPosValid) && t->ppqPos >= 0.0)
    info->ppqPos = t->ppqPos;
  if ((t->flags & vst::kVstTempoValid) && t->tempo > 0.0)
    info->tempo = t->tempo;
  if ((t->flags & vst::kVstBarsValid) && t->barStartPos >= 0.0)
    info->lastBar = t->barStartPos;
  if ((t->flags & vst::kVstCyclePosValid) && t->cycleStartPos >= 0.0 && t->cycleEndPos >= 0.0)
  {
    info->cycleStart = t->cycleStartPos;
    info->cycleEnd = t->cycleEndPos;
  }
  if ((t->flags & vst::kVstTimeSigValid) && t->timeSigNumerator > 0 && t->timeSigDenominator > 0)
  {
    info->numerator = t->timeSigNumerator;
    info->denominator = t->timeSigDenominator;
  }
  info->transportPlaying = (t->flags & vst::kVstTransportPlaying) != 0;
  info->transportLoop = (t->flags & vst::kVstTransportCycleActive) != 0;
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
    CallHost(vst::audioMasterGetProductString, 0, 0, product);
    product[sizeof product - 1] = 0;
    int version = 0;
    if (product[0])
      version = PackedHostVersion(int(CallHost(vst::audioMasterGetVendorVersion)));
    SetHost(HostIdFromProductString(product), version);
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
  mAEffect.numInputs = ConnectedChannels(true);
  mAEffect.numOutputs = ConnectedChannels(false);
  mInputSpeakers.numChannels = mAEffect.numInputs;
  mOutputSpeakers.numChannels = mAEffect.numOutputs;
}

void IPlugVST::HostSpecificInit()
{
  if (mHostInitDone)
    return;
  mHostInitDone = true;
  const int host = GetHost();
  if (host == kHostForte || host == kHostAudition || host == kHostOrion || host == kHostSAWStudio)
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
  if (IGraphics* gui = GetGUI())
  {
    mEditRect.bottom = int16_t(gui->Height());
    mEditRect.right = int16_t(gui->Width());
  }
  OnWindowResize();
}

void IPlugVST::AttachEditor(IGraphics* editor)
{
  IPlugBase::AttachEditor(editor);
  mAEffect.flags |= vst::effFlagsHasEditor;
  mEditRect.top = mEditRect.left = 0;
  mEditRect.bottom = int16_t(editor->Height());
  mEditRect.right = int16_t(editor->Width());
}

void IPlugVST::SetLatency(int samples)
{
  mAEffect.initialDelay = samples;
  IPlugBase::SetLatency(samples);
}

bool IPlugVST::SendMidiMessage(const MidiMessage& msg)
{
  vst::VstMidiEvent event{};
  event.type = vst::kVstMidiType;
  event.byteSize = sizeof event;
  event.deltaFrames = msg.offset;
  event.midiData[0] = char(msg.status);
  event.midiData[1] = char(msg.data1);
  event.midiData[2] = char(msg.data2);
  vst::VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<vst::VstEvent*>(&event);
  return CallHost(vst::audioMasterProcessEvents, 0, 0, &events) == 1;
}

bool IPlugVST::SendSysEx(const SysExMessage& msg)
{
  vst::VstMidiSysexEvent event{};
  event.type = vst::kVstSysExType;
  event.byteSize = sizeof event;
  event.deltaFrames = msg.offset;
  event.dumpBytes = msg.size;
  event.sysexDump = const_cast<char*>(reinterpret_cast<const char*>(msg.data));
  vst::VstEvents events{};
  events.numEvents = 1;
  events.events[0] = reinterpret_cast<vst::VstEvent*>(&event);
  return CallHost(vst::audioMasterProcessEvents, 0, 0, &events) == 1;
}

// --- Audio ------------------------------------------------------------------------

void IPlugVST::WantMidi()
{
  if (DoesMidi())
    CallHost(vst::audioMasterWantMidi, 0, 1);
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
        for (int s = 0; s < n; ++s)
          dst[s] += float(src[s]);
      else
        for (int s = 0; s < n; ++s)
          dst[s] = float(src[s]);
    }
    done += n;
  } while (done < frames);
}

// Every audio callback holds the mutex, asks the host for MIDI and ignores negative
// frame counts.
template <typename Render>
void IPlugVST::RunAudioCallback(vst::AEffect* effect, int32_t frames, Render render)
{
  IPlugVST* plug = FromAEffect(effect);
  if (!plug)
    return;
  PlatformLockGuard lock(plug->Mutex());
  plug->WantMidi();
  if (frames >= 0)
    render(*plug);
}

void VSTCALLBACK IPlugVST::VSTProcessDoubleReplacing(vst::AEffect* effect, double** inputs,
                                                     double** outputs, int32_t frames)
{
  RunAudioCallback(effect, frames, [&](IPlugVST& p) { p.ProcessDouble(inputs, outputs, frames); });
}

void VSTCALLBACK IPlugVST::VSTProcessReplacing(vst::AEffect* effect, float** inputs,
                                               float** outputs, int32_t frames)
{
  RunAudioCallback(effect, frames,
                   [&](IPlugVST& p) { p.ProcessFloat(inputs, outputs, frames, false); });
}

void VSTCALLBACK IPlugVST::VSTProcess(vst::AEffect* effect, float** inputs, float** outputs,
                                      int32_t frames)
{
  RunAudioCallback(effect, frames,
                   [&](IPlugVST& p) { p.ProcessFloat(inputs, outputs, frames, true); });
}

// --- Parameters -------------------------------------------------------------------

float VSTCALLBACK IPlugVST::VSTGetParameter(vst::AEffect* effect, int32_t index)
{
  IPlugVST* plug = FromAEffect(effect);
  if (!plug)
    return 0.0f;
  PlatformLockGuard lock(plug->Mutex());
  IParameter* param = plug->GetParam(index);
  return param ? float(param->GetNormalized()) : 0.0f;
}

void VSTCALLBACK IPlugVST::VSTSetParameter(vst::AEffect* effect, int32_t index, float value)
{
  IPlugVST* plug = FromAEffect(effect);
  if (!plug)
    return;
  PlatformLockGuard lock(plug->Mutex());
  IParameter* param = plug->GetParam(index);
  if (!param)
    return;
  if (IGraphics* gui = plug->GetGUI())
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
    if (param->NegateDisplay())
      value = -value;
  }
  if (IGraphics* gui = GetGUI())
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
  ByteBuffer& chunk = isBank ? mBankState : mState;
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
  ByteBuffer& chunk = isBank ? mBankState : mState;
  chunk.Clear();
  chunk.PutBytes(data, int(size));

  int32_t version = 0;
  int position = 0;
  int32_t magic = 0;
  if (chunk.GetInt32(&magic, 0) > 0 && magic == ProgramFile::kChunkMagic)
    position = chunk.GetInt32(&version, 4);
  if (position < 0)
    return 0; // a header with nothing behind it changes nothing

  if (isBank && version >= ProgramFile::kChunkVersion)
  {
    position = UnserializePresets(chunk, position);
  }
  else
  {
    position = UnserializeState(chunk, position);
    // Only a state that loaded completely replaces what the current slot holds.
    if (position >= 0)
      ModifyCurrentPreset();
  }
  if (position < 0)
    return 0;
  RedrawParameterControls();
  return 1;
}

// --- Events, pins, speakers ---------------------------------------------------------

void IPlugVST::ProcessEvents(const vst::VstEvents* events)
{
  for (int32_t i = 0; i < events->numEvents; ++i)
  {
    const vst::VstEvent* event = events->events[i];
    if (!event)
      continue;
    if (event->type == vst::kVstMidiType)
    {
      const auto* midi = reinterpret_cast<const vst::VstMidiEvent*>(event);
      MidiMessage msg;
      msg.offset = midi->deltaFrames;
      msg.status = uint8_t(midi->midiData[0]);
      msg.data1 = uint8_t(midi->midiData[1]);
      msg.data2 = uint8_t(midi->midiData[2]);
      ProcessMidiMessage(msg);
    }
    else if (event->type == vst::kVstSysExType)
    {
      const auto* sysex = reinterpret_cast<const vst::VstMidiSysexEvent*>(event);
      SysExMessage msg;
      msg.offset = sysex->deltaFrames;
      msg.size = sysex->dumpBytes;
      msg.data = reinterpret_cast<const uint8_t*>(sysex->sysexDump);
      ProcessSysEx(msg);
    }
  }
}

intptr_t IPlugVST::GetPinProperties(bool input, int index, vst::VstPinProperties* props)
{
  const int count = input ? mAEffect.numInputs : mAEffect.numOutputs;
  if (!props || index < 0 || index >= count)
    return 0;
  props->flags = vst::kVstPinIsActive;
  if (index % 2 == 0 && index < count - 1)
    props->flags |= vst::kVstPinIsStereo;
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

void IPlugVST::ConnectFromArrangement(const vst::VstSpeakerArrangement* arrangement, bool input)
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
    mHostCapabilities |= kHostHasCockosExtensions;
    return kCockosAnswer;
  }
  if (std::strcmp(query, "hasCockosViewAsConfig") == 0)
  {
    mHostCapabilities |= kHostHasCockosViewAsConfig;
    return kCockosAnswer;
  }
  return 0;
}

// --- The dispatcher -----------------------------------------------------------------

intptr_t VSTCALLBACK IPlugVST::VSTDispatcher(vst::AEffect* effect, int32_t opcode, int32_t index,
                                             intptr_t value, void* ptr, float opt)
{
  IPlugVST* plug = FromAEffect(effect);
  if (!plug)
    return 0;
  if (opcode == vst::effClose)
  {
    // Any call still inside the plug-in finishes before it goes away.
    plug->Mutex().Enter();
    plug->Mutex().Leave();
    delete plug;
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
  case vst::effOpen:
    HostSpecificInit();
    OnParameterReset();
    return 0;

  case vst::effSetProgram:
    if (!KeepsStateInChunks())
      ModifyCurrentPreset();
    RestorePreset(value >= 0 && value < NPresets() ? int(value) : -1);
    return 0;

  case vst::effGetProgram:
    return GetCurrentPresetIdx();

  case vst::effSetProgramName:
    if (text)
    {
      char name[Preset::kMaxNameLength + 1];
      CopyText(name, text, sizeof name);
      ModifyCurrentPreset(name);
      OnPresetsModified();
    }
    return 0;

  case vst::effGetProgramName:
    if (text)
      CopyText(text, GetPresetName(GetCurrentPresetIdx()).c_str(), kProgramNameSize);
    return 0;

  case vst::effGetParamLabel:
    if (IParameter* param = GetParam(index); param && text)
      CopyText(text, param->GetLabelText(), kParamTextSize);
    return 0;

  case vst::effGetParamDisplay:
    if (IParameter* param = GetParam(index); param && text)
      param->GetDisplayText(param->Value(), false, text, true);
    return 0;

  case vst::effGetParamName:
    if (IParameter* param = GetParam(index); param && text)
      CopyText(text, param->Name(), kParamTextSize);
    return 0;

  case vst::effSetSampleRate:
    SetSampleRate(double(opt));
    Reset();
    return 0;

  case vst::effSetBlockSize:
    SetBlockSize(int(value));
    Reset();
    return 0;

  case vst::effMainsChanged:
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

  case vst::effEditGetRect:
    if (ptr && GetGUI())
    {
      *static_cast<EditorRect**>(ptr) = &mEditRect;
      return 1;
    }
    return 0;

  case vst::effEditOpen:
    if (IGraphics* gui = GetGUI(); gui && gui->OpenWindow(ptr))
    {
      OnEditorOpen();
      return 1;
    }
    return 0;

  case vst::effEditClose:
    if (IGraphics* gui = GetGUI())
    {
      OnEditorClose();
      gui->CloseWindow();
      return 1;
    }
    return 0;

  case vst::effEditIdle:
  case vst::effIdle:
    OnIdle();
    return 0;

  case vst::effIdentify:
    return kIdentify;

  case vst::effGetChunk:
    return GetChunk(static_cast<void**>(ptr), index == 0);

  case vst::effSetChunk:
    return SetChunk(ptr, value, index == 0);

  case vst::effProcessEvents:
    if (!ptr)
      return 0;
    ProcessEvents(static_cast<const vst::VstEvents*>(ptr));
    return 1;

  case vst::effCanBeAutomated:
    return 1;

  case vst::effString2Parameter:
    return String2Parameter(index, text);

  case vst::effGetProgramNameIndexed:
  {
    const std::string name = GetPresetName(index);
    if (text)
      CopyText(text, name.c_str(), kProgramNameSize);
    return name.empty() ? 0 : 1;
  }

  case vst::effGetInputProperties:
    return GetPinProperties(true, index, static_cast<vst::VstPinProperties*>(ptr));

  case vst::effGetOutputProperties:
    return GetPinProperties(false, index, static_cast<vst::VstPinProperties*>(ptr));

  case vst::effGetPlugCategory:
    return IsInstrument() ? vst::kPlugCategorySynth : vst::kPlugCategoryEffect;

  case vst::effSetSpeakerArrangement:
    ConnectFromArrangement(reinterpret_cast<const vst::VstSpeakerArrangement*>(value), true);
    ConnectFromArrangement(static_cast<const vst::VstSpeakerArrangement*>(ptr), false);
    return 1;

  case vst::effGetEffectName:
    if (!text)
      return 0;
    CopyText(text, GetEffectName(), kVendorTextSize);
    return 1;

  case vst::effGetVendorString:
    if (!text)
      return 0;
    CopyText(text, GetVendorName(), kVendorTextSize);
    return 1;

  case vst::effGetProductString:
    if (!text)
      return 0;
    CopyText(text, GetProductName(), kVendorTextSize);
    return 1;

  case vst::effVendorSpecific:
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

  case vst::effCanDo:
    return CanDo(text);

  case vst::effGetVstVersion:
    return vst::kVstVersion;

  case vst::effGetMidiKeyName:
  {
    auto* key = static_cast<vst::MidiKeyName*>(ptr);
    if (!key)
      return 0;
    key->keyName[0] = 0;
    return GetMidiNoteName(key->thisKeyNumber, key->keyName) ? 1 : 0;
  }

  case vst::effGetSpeakerArrangement:
    if (value)
      *reinterpret_cast<vst::VstSpeakerArrangement**>(value) = &mInputSpeakers;
    if (ptr)
      *static_cast<vst::VstSpeakerArrangement**>(ptr) = &mOutputSpeakers;
    return 1;

  default:
    return 0;
  }
}
