#pragma once
// The host-independent plug-in base: it owns the plug-in mutex, the identity strings,
// the parameter records, the program slots, the channel records and the attached
// editor, and defines the operations the instrument overrides and the host adapter
// implements.
#include "plugin/ByteBuffer.h"
#include "plugin/IParameter.h"
#include "plugin/MidiMessage.h"
#include "plugin/Preset.h"
#include "plugin/TimeInfo.h"
#include "plugin/platform/PlatformLock.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IEditor;

// Identity and layout of a plug-in, given to the base at construction.
struct PlugInfo
{
  int nParams = 0;
  int nPresets = 0;
  const char* channelIOText = "";
  const char* effectName = "";
  const char* productName = "";
  const char* vendorName = "";
  int32_t uniqueID = 0;
  int32_t version = 0; // major << 16 | minor << 8 | patch
  bool isInstrument = false;
  bool keepsStateInChunks = true;
  bool doesMidi = false;
};

struct ChannelIOPair
{
  int nIn = 0;
  int nOut = 0;
};

// One input or output channel: whether the host connected it, the slot in the
// pointer array handed to ProcessBlock, a label, and a scratch buffer of block-size
// doubles used when the channel is not connected or the host works in float.
struct ChannelRecord
{
  bool connected = false;
  double** slot = nullptr;
  std::string label;
  std::vector<double> scratch;
};

class IPlugBase
{
public:
  static constexpr int kNameLength = 128;

  explicit IPlugBase(const PlugInfo& info);
  virtual ~IPlugBase();
  IPlugBase(const IPlugBase&) = delete;
  IPlugBase& operator=(const IPlugBase&) = delete;

  // --- Operations the instrument overrides -----------------------------------------
  virtual void Reset();
  virtual void OnParameterChange(int paramIdx);
  // Renders frames samples; frames never exceeds the block size.
  virtual void ProcessBlock(double** inputs, double** outputs, int frames);
  virtual void ProcessBlockFloat(float** inputs, float** outputs, int frames);
  virtual void OnEditorOpen() {}
  virtual void OnEditorClose() {}
  virtual void OnIdle() {}
  virtual void OnActivate(bool active);
  virtual void ProcessMidiMessage(const MidiMessage& msg);
  virtual void ProcessSysEx(const SysExMessage& msg) {}
  virtual bool GetMidiNoteName(int key, char* text);
  virtual bool SerializeState(ByteBuffer& chunk);
  // Reads a state from position; returns the position after it, or -1.
  virtual int UnserializeState(const ByteBuffer& chunk, int position);
  // Whether the parameter values stored at position equal the current ones.
  virtual bool CompareState(const ByteBuffer& chunk, int position);
  virtual void OnWindowResize() {}
  virtual bool OptionalQuery() { return false; }
  virtual void OptionalHookA() {}
  virtual void OptionalHookB() {}
  virtual void SetParameterFromEditor(int paramIdx, double normalized);

  // --- Host services (the host adapter implements them) -----------------------------
  virtual void BeginParameterEdit(int paramIdx) {}
  virtual void NotifyHostOfParameterChange(int paramIdx, double normalized) {}
  virtual void EndParameterEdit(int paramIdx) {}
  virtual void NotifyHostOfProgramChange() {}
  virtual bool IsRenderingOffline() { return false; }
  virtual int GetSamplePosition() { return 0; }
  virtual double GetTempo() { return 0.0; }
  virtual void GetTimeSignature(int* numerator, int* denominator);
  virtual void GetTimeInfo(TimeInfo* info) {}
  virtual int GetHost() { return host; }
  virtual int StoredHostValue() { return storedHostValue; }
  virtual void ResizeEditor() {}
  virtual void HostSpecificInit() {}
  virtual void AttachEditor(IEditor* editor);
  virtual void SetLatency(int samples) { latency = samples; }
  virtual bool SendMidiMessage(const MidiMessage& msg) { return false; }
  virtual bool SendSysEx(const SysExMessage& msg) { return false; }
  virtual void RedrawParameterControls();
  virtual void OptionalHookC() {}
  virtual void OnPresetsModified() {}
  virtual void SetBlockSize(int frames);

  // --- Parameters ------------------------------------------------------------------
  int NParams() const { return int(params.size()); }
  IParameter* GetParam(int paramIdx);
  // OnParameterChange for every parameter in order.
  void OnParameterReset();
  void InformHostOfAllParameters();
  bool SerializeParams(ByteBuffer& chunk);
  // Reads one value per parameter, each clamped to its range; a parameter whose stored
  // value is not a finite number takes its default (see ConsumeRejectedValue). Stops
  // at the first missing value, which becomes 0 within its range; then routes every
  // parameter. Returns the position after the values, or -1.
  int UnserializeParams(const ByteBuffer& chunk, int position);
  // Whether a state read since the last call held a value that is not a finite number
  // (the parameter took its default instead); clears the mark. A load that meets one
  // reports failure.
  bool ConsumeRejectedValue();

  // --- Programs --------------------------------------------------------------------
  int NPresets() const { return int(presets.size()); }
  int GetCurrentPresetIdx() const { return currentPresetIdx; }
  const Preset* GetPreset(int index) const;
  std::string GetPresetName(int index) const;
  void FillEmptyPresets(int n);
  // Gives the first slot that holds no state the name (at most 255 characters) and a
  // copy of the state, and marks it initialised; the current program and the
  // parameters do not change. The state is taken as it is: it must be what
  // SerializeState writes, since RestorePreset reads it back with UnserializeState.
  // false when every slot already holds a state. Main thread (construction).
  bool FillNextEmptyPreset(const char* name, const ByteBuffer& state);
  bool RestorePreset(int index);
  // Stores the current state in the current slot; a non-empty name renames it.
  void ModifyCurrentPreset(const char* name = nullptr);
  bool SerializePresets(ByteBuffer& chunk);
  int UnserializePresets(const ByteBuffer& chunk, int position);
  bool SaveProgramFile(const char* path);
  bool LoadProgramFile(const char* path);

  // --- Identity, channels and timing ------------------------------------------------
  int32_t GetUniqueID() const { return uniqueID; }
  int32_t GetPlugVersion() const { return version; }
  // The version in the host's decimal form, major*10000 + minor*100 + patch.
  int32_t GetPlugVersionDecimal() const;
  const char* GetEffectName() const { return effectName; }
  const char* GetProductName() const { return productName; }
  const char* GetVendorName() const { return vendorName; }
  bool IsInstrument() const { return isInstrument; }
  bool DoesMidi() const { return doesMidi; }
  bool KeepsStateInChunks() const { return keepsStateInChunks; }
  double GetSampleRate() const { return sampleRate; }
  int GetBlockSize() const { return blockSize; }
  int GetLatency() const { return latency; }
  int NInChannels() const { return int(inChannels.size()); }
  int NOutChannels() const { return int(outChannels.size()); }
  const std::vector<ChannelIOPair>& ChannelIOPairs() const { return channelIO; }
  IEditor* GetGUI() const { return graphics.get(); }
  PlatformLock& Mutex() { return mutex; }

protected:
  void SetSampleRate(double rate) { sampleRate = rate; }
  void SetHost(int hostId, int hostVersionNumber)
  {
    host = hostId;
    hostVersion = hostVersionNumber;
  }
  int GetHostVersion() const { return hostVersion; }
  void SetCurrentPresetIdx(int index) { currentPresetIdx = index; }
  ChannelRecord& InChannel(int i) { return inChannels[size_t(i)]; }
  ChannelRecord& OutChannel(int i) { return outChannels[size_t(i)]; }
  double** InData() { return inData.empty() ? nullptr : inData.data(); }
  double** OutData() { return outData.empty() ? nullptr : outData.data(); }
  // Points a channel's slot at its own scratch buffer and marks it (dis)connected.
  void SetChannelConnected(ChannelRecord& channel, bool connected);
  // Gives a parameter a value read from a state or program file: clamped to its range,
  // or its default (marking the load as failed) when the value is not a finite number.
  void LoadParameterValue(IParameter& param, double value);
  // Marks the state being read as damaged (a value that was not a finite number was
  // replaced): the load then reports failure, as with a parameter value.
  void RejectLoadedValue() { rejectedValue = true; }

private:
  void ParseChannelIO(const char* text);

  // The mutex is created first and destroyed last.
  PlatformLock mutex;
  int32_t uniqueID;
  int32_t version;
  int host = -1;
  int hostVersion = 0;
  bool keepsStateInChunks;
  bool isInstrument;
  bool doesMidi;
  int currentPresetIdx = 0;
  double sampleRate = 44100.0;
  int blockSize = 0;
  int latency = 0;
  int storedHostValue = 0;
  bool rejectedValue = false;
  char effectName[kNameLength] = {};
  char productName[kNameLength] = {};
  char vendorName[kNameLength] = {};
  std::vector<ChannelIOPair> channelIO;
  std::vector<double*> inData;
  std::vector<double*> outData;
  std::vector<ChannelRecord> inChannels;
  std::vector<ChannelRecord> outChannels;
  std::vector<Preset> presets;
  std::vector<IParameter> params;
  // Released before everything else.
  std::unique_ptr<IEditor> graphics;
};
