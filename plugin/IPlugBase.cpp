#include "plugin/IPlugBase.h"

#include "plugin/IEditor.h"
#include "plugin/ProgramFile.h"
#include "plugin/TextUtil.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

IPlugBase::IPlugBase(const PlugInfo& info)
  : uniqueID(info.uniqueID), version(info.version), keepsStateInChunks(info.keepsStateInChunks),
    isInstrument(info.isInstrument), doesMidi(info.doesMidi)
{
  params.resize(size_t(std::max(info.nParams, 0)));
  presets.resize(size_t(std::max(info.nPresets, 0)));
  CopyText(effectName, info.effectName, kNameLength);
  CopyText(productName, info.productName, kNameLength);
  CopyText(vendorName, info.vendorName, kNameLength);
  ParseChannelIO(info.channelIOText);
}

IPlugBase::~IPlugBase()
{
  // The editor goes first, while everything it may look at still exists.
  graphics.reset();
}

void IPlugBase::ParseChannelIO(const char* text)
{
  int maxIn = 0, maxOut = 0;
  const char* p = text ? text : "";
  while (*p)
  {
    while (*p == ' ')
      ++p;
    if (!*p)
      break;
    ChannelIOPair pair;
    if (std::sscanf(p, "%d-%d", &pair.nIn, &pair.nOut) == 2)
    {
      channelIO.push_back(pair);
      maxIn = std::max(maxIn, pair.nIn);
      maxOut = std::max(maxOut, pair.nOut);
    }
    while (*p && *p != ' ')
      ++p;
  }
  inData.assign(size_t(maxIn), nullptr);
  outData.assign(size_t(maxOut), nullptr);
  inChannels.resize(size_t(maxIn));
  outChannels.resize(size_t(maxOut));
  for (int i = 0; i < maxIn; ++i)
    inChannels[size_t(i)].slot = &inData[size_t(i)];
  for (int i = 0; i < maxOut; ++i)
    outChannels[size_t(i)].slot = &outData[size_t(i)];
}

void IPlugBase::SetChannelConnected(ChannelRecord& channel, bool connected)
{
  channel.connected = connected;
  if (!connected)
    *channel.slot = channel.scratch.data();
}

void IPlugBase::SetBlockSize(int frames)
{
  // A block of no samples cannot be rendered in pieces; keep the size we have.
  if (frames <= 0 || frames == blockSize)
    return;
  for (auto* list : {&inChannels, &outChannels})
  {
    for (ChannelRecord& channel : *list)
    {
      channel.scratch.assign(size_t(frames), 0.0);
      if (!channel.connected)
        *channel.slot = channel.scratch.data();
    }
  }
  blockSize = frames;
}

int32_t IPlugBase::GetPlugVersionDecimal() const
{
  return ((version >> 16) & 0xFFFF) * 10000 + ((version >> 8) & 0xFF) * 100 + (version & 0xFF);
}

// --- Overridable defaults ---------------------------------------------------------

void IPlugBase::Reset() { PlatformLockGuard lock(mutex); }

void IPlugBase::OnParameterChange(int paramIdx) { PlatformLockGuard lock(mutex); }

void IPlugBase::OnActivate(bool active) { PlatformLockGuard lock(mutex); }

namespace
{
// The base's pass-through in either sample type: each input to the output of the same
// index, silence on the other outputs.
template <typename Sample>
void PassThrough(Sample** inputs, Sample** outputs, int frames, int nIn, int nOut)
{
  for (int c = 0; c < nOut; ++c)
  {
    if (!outputs || !outputs[c])
      continue;
    if (c < nIn && inputs && inputs[c])
      std::copy_n(inputs[c], frames, outputs[c]);
    else
      std::fill_n(outputs[c], frames, Sample(0));
  }
}
} // namespace

void IPlugBase::ProcessBlock(double** inputs, double** outputs, int frames)
{
  PassThrough(inputs, outputs, frames, NInChannels(), NOutChannels());
}

void IPlugBase::ProcessBlockFloat(float** inputs, float** outputs, int frames)
{
  PassThrough(inputs, outputs, frames, NInChannels(), NOutChannels());
}

void IPlugBase::ProcessMidiMessage(const MidiMessage& msg) { SendMidiMessage(msg); }

bool IPlugBase::GetMidiNoteName(int key, char* text)
{
  if (text)
    text[0] = 0;
  return false;
}

bool IPlugBase::SerializeState(ByteBuffer& chunk) { return SerializeParams(chunk); }

int IPlugBase::UnserializeState(const ByteBuffer& chunk, int position)
{
  return UnserializeParams(chunk, position);
}

bool IPlugBase::CompareState(const ByteBuffer& chunk, int position)
{
  for (const IParameter& param : params)
  {
    double stored = 0.0;
    position = chunk.GetDouble(&stored, position);
    if (position < 0 || stored != param.Value())
      return false;
  }
  return true;
}

void IPlugBase::GetTimeSignature(int* numerator, int* denominator)
{
  *numerator = 0;
  *denominator = 0;
}

// --- Parameters -------------------------------------------------------------------

IParameter* IPlugBase::GetParam(int paramIdx)
{
  if (paramIdx < 0 || paramIdx >= NParams())
    return nullptr;
  return &params[size_t(paramIdx)];
}

void IPlugBase::SetParameterFromEditor(int paramIdx, double normalized)
{
  PlatformLockGuard lock(mutex);
  IParameter* param = GetParam(paramIdx);
  if (!param || !std::isfinite(normalized))
    return;
  param->SetNormalized(normalized);
  // The host hears what the parameter now holds (within 0..1), not what was asked
  // for: a tempo-synchronised rate above the top of its range is held there.
  NotifyHostOfParameterChange(paramIdx, param->GetNormalized());
  OnParameterChange(paramIdx);
}

void IPlugBase::OnParameterReset()
{
  for (int i = 0; i < NParams(); ++i)
    OnParameterChange(i);
}

void IPlugBase::InformHostOfAllParameters()
{
  PlatformLockGuard lock(mutex);
  for (int i = 0; i < NParams(); ++i)
    NotifyHostOfParameterChange(i, params[size_t(i)].GetNormalized());
}

void IPlugBase::RedrawParameterControls()
{
  if (!graphics)
    return;
  for (int i = 0; i < NParams(); ++i)
    graphics->SetParameterFromPlug(i, params[size_t(i)].Value(), false);
}

void IPlugBase::AttachEditor(IEditor* editor)
{
  PlatformLockGuard lock(mutex);
  for (int i = 0; i < NParams(); ++i)
    editor->SetParameterFromPlug(i, params[size_t(i)].GetNormalized(), true);
  editor->PrepDraw();
  graphics.reset(editor);
}

bool IPlugBase::SerializeParams(ByteBuffer& chunk)
{
  PlatformLockGuard lock(mutex);
  bool grew = true;
  for (const IParameter& param : params)
  {
    const int before = chunk.Size();
    chunk.PutDouble(param.Value());
    grew = grew && chunk.Size() > before;
  }
  return grew;
}

void IPlugBase::LoadParameterValue(IParameter& param, double value)
{
  if (std::isfinite(value))
  {
    param.Set(param.Clamp(value));
    return;
  }
  param.Set(param.Default());
  rejectedValue = true;
}

bool IPlugBase::ConsumeRejectedValue()
{
  const bool rejected = rejectedValue;
  rejectedValue = false;
  return rejected;
}

int IPlugBase::UnserializeParams(const ByteBuffer& chunk, int position)
{
  PlatformLockGuard lock(mutex);
  for (IParameter& param : params)
  {
    double value = 0.0;
    position = chunk.GetDouble(&value, position);
    if (position < 0)
    {
      // The state ran out here: this parameter falls back to 0 (within its range)
      // and the ones after it keep their values.
      param.Set(param.Clamp(0.0));
      break;
    }
    LoadParameterValue(param, value);
  }
  OnParameterReset();
  return position;
}

// --- Programs ---------------------------------------------------------------------

const Preset* IPlugBase::GetPreset(int index) const
{
  if (index < 0 || index >= NPresets())
    return nullptr;
  return &presets[size_t(index)];
}

std::string IPlugBase::GetPresetName(int index) const
{
  const Preset* preset = GetPreset(index);
  return preset ? preset->name : std::string();
}

void IPlugBase::FillEmptyPresets(int n)
{
  for (int k = 0; k < n; ++k)
  {
    auto slot = std::find_if(presets.begin(), presets.end(),
                             [](const Preset& p) { return !p.initialised; });
    if (slot == presets.end())
      return;
    slot->initialised = true;
    slot->name = "Empty";
    slot->state.Clear();
    SerializeState(slot->state);
  }
}

bool IPlugBase::FillNextEmptyPreset(const char* name, const ByteBuffer& state)
{
  auto slot =
      std::find_if(presets.begin(), presets.end(), [](const Preset& p) { return !p.initialised; });
  if (slot == presets.end())
    return false;
  slot->initialised = true;
  slot->name.assign(name ? name : "", name ? strnlen(name, Preset::kMaxNameLength) : 0);
  slot->state.Clear();
  slot->state.PutBuffer(state);
  return true;
}

bool IPlugBase::RestorePreset(int index)
{
  if (index < 0 || index >= NPresets())
    return false;
  Preset& preset = presets[size_t(index)];
  bool ok = false;
  if (preset.initialised)
  {
    ok = UnserializeState(preset.state, 0) > 0;
  }
  else
  {
    const auto n = std::count_if(presets.begin(), presets.end(),
                                 [](const Preset& p)
                                 { return p.name.find("user preset") != std::string::npos; });
    char name[64];
    std::snprintf(name, sizeof name, "%s %d", "user preset", int(n) + 1);
    preset.initialised = true;
    preset.name = name;
    preset.state.Clear();
    ok = SerializeState(preset.state);
  }
  if (ok)
  {
    currentPresetIdx = index;
    OnPresetsModified();
    RedrawParameterControls();
  }
  return ok;
}

void IPlugBase::ModifyCurrentPreset(const char* name)
{
  Preset* preset = currentPresetIdx >= 0 && currentPresetIdx < NPresets()
                       ? &presets[size_t(currentPresetIdx)]
                       : nullptr;
  if (!preset)
    return;
  preset->state.Clear();
  // A slot that receives a state holds it from now on, also in banks.
  preset->initialised = SerializeState(preset->state) || preset->initialised;
  if (name && name[0])
    preset->name.assign(name, strnlen(name, Preset::kMaxNameLength));
}

bool IPlugBase::SerializePresets(ByteBuffer& chunk)
{
  for (const Preset& preset : presets)
  {
    chunk.PutString(preset.name);
    chunk.PutByte(preset.initialised ? 1 : 0);
    if (preset.initialised)
      chunk.PutBuffer(preset.state);
  }
  return true;
}

int IPlugBase::UnserializePresets(const ByteBuffer& chunk, int position)
{
  for (Preset& preset : presets)
  {
    if (position < 0)
      break;
    std::string name;
    position = chunk.GetString(&name, position);
    uint8_t flag = 0;
    position = chunk.GetByte(&flag, position);
    if (position < 0)
      break; // this slot and the ones after it keep what they had
    if (name.size() > size_t(Preset::kMaxNameLength))
      name.resize(size_t(Preset::kMaxNameLength));
    // The slot takes the bank's name, also when its state then fails part-way.
    preset.name = name;
    if (flag == 0)
    {
      preset.initialised = false;
      preset.state.Clear();
      continue;
    }
    position = UnserializeState(chunk, position);
    if (position > 0)
    {
      // The slot holds exactly what was applied.
      preset.initialised = true;
      preset.state.Clear();
      SerializeState(preset.state);
    }
  }
  RestorePreset(currentPresetIdx);
  return position;
}

bool IPlugBase::SaveProgramFile(const char* path)
{
  if (!path || !path[0])
    return false;
  ByteBuffer state;
  state.PutInt32(ProgramFile::kChunkMagic);
  state.PutInt32(ProgramFile::kChunkVersion);
  SerializeState(state);
  const std::vector<uint8_t> file = ProgramFile::Write(uniqueID, GetPlugVersionDecimal(), NParams(),
                                                       GetPresetName(currentPresetIdx), state);
  std::FILE* f = std::fopen(path, "wb");
  if (!f)
    return false;
  const bool written = std::fwrite(file.data(), 1, file.size(), f) == file.size();
  const bool closed = std::fclose(f) == 0;
  return written && closed;
}

bool IPlugBase::LoadProgramFile(const char* path)
{
  if (!path || !path[0])
    return false;
  std::vector<uint8_t> bytes;
  if (!ProgramFile::ReadWholeFile(path, &bytes))
    return false;
  ProgramFile::Contents contents;
  if (!ProgramFile::Parse(bytes, uniqueID, NParams(), &contents))
    return false;

  ConsumeRejectedValue();
  if (contents.isChunk)
  {
    // A chunk with no state after its header changes nothing.
    if (contents.statePosition >= contents.state.Size())
      return false;
    const int end = UnserializeState(contents.state, contents.statePosition);
    if (ConsumeRejectedValue() || end < 0)
    {
      // What was read before the failure stays applied; the host shows it.
      NotifyHostOfProgramChange();
      return false;
    }
    ModifyCurrentPreset(contents.name.c_str());
  }
  else
  {
    bool rejected = false;
    for (int i = 0; i < NParams(); ++i)
    {
      IParameter& param = params[size_t(i)];
      const double normalized = contents.normalized[size_t(i)];
      if (std::isfinite(normalized))
        param.SetNormalized(normalized);
      else
        param.Set(param.Default());
      rejected = rejected || !std::isfinite(normalized);
    }
    if (rejected)
    {
      // Like a state that fails part-way: what was read stays, is routed and shown.
      OnParameterReset();
      NotifyHostOfProgramChange();
      return false;
    }
    ModifyCurrentPreset(contents.name.c_str());
    RestorePreset(currentPresetIdx);
  }
  NotifyHostOfProgramChange();
  return true;
}
