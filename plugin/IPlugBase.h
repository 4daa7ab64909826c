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

class IGraphics;

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
  virtual int GetHost() { return mHost; }
  virtual int StoredHostValue() { return mStoredHostValue; }
  virtual void ResizeEditor() {}
  virtual void HostSpecificInit() {}
  virtual void AttachEditor(IGraphics* editor);
  virtual void SetLatency(int samples) { mLatency = samples; }
  virtual bool SendMidiMessage(const MidiMessage& msg) { return false; }
  virtual bool SendSysEx(const SysExMessage& msg) { return false; }
  virtual void RedrawParameterControls();
  virtual void OptionalHookC() {}
  virtual void OnPresetsModified() {}
  virtual void SetBlockSize(int frames);

  // --- Parameters ------------------------------------------------------------------
  int NParams() const { return int(mParams.size()); }
  IParameter* GetParam(int paramIdx);
  // OnParameterChange for every parameter in order.
  void OnParameterReset();
  void InformHostOfAllParameters();
  bool SerializeParams(ByteBuffer& chunk);
  int UnserializeParams(const ByteBuffer& chunk, int position);

  // --- Programs --------------------------------------------------------------------
  int NPresets() const { return int(mPresets.size()); }
  int GetCurrentPresetIdx() const { return mCurrentPresetIdx; }
  const Preset* GetPreset(int index) const;
  std::string GetPresetName(int index) const;
  void FillEmptyPresets(int n);
  bool RestorePreset(int index);
  // Stores the current state in the current slot; a non-empty name renames it.
  void ModifyCurrentPreset(const char* name = nullptr);
  bool SerializePresets(ByteBuffer& chunk);
  int UnserializePresets(const ByteBuffer& chunk, int position);
  bool SaveProgramFile(const char* path);
  bool LoadProgramFile(const char* path);

  // --- Identity, channels and timing ------------------------------------------------
  int32_t GetUniqueID() const { return mUniqueID; }
  int32_t GetPlugVersion() const { return mVersion; }
  // The version in the host's decimal form, major*10000 + minor*100 + patch.
  int32_t GetPlugVersionDecimal() const;
  const char* GetEffectName() const { return mEffectName; }
  const char* GetProductName() const { return mProductName; }
  const char* GetVendorName() const { return mVendorName; }
  bool IsInstrument() const { return mIsInstrument; }
  bool DoesMidi() const { return mDoesMidi; }
  bool KeepsStateInChunks() const { return mKeepsStateInChunks; }
  double GetSampleRate() const { return mSampleRate; }
  int GetBlockSize() const { return mBlockSize; }
  int GetLatency() const { return mLatency; }
  int NInChannels() const { return int(mInChannels.size()); }
  int NOutChannels() const { return int(mOutChannels.size()); }
  const std::vector<ChannelIOPair>& ChannelIOPairs() const { return mChannelIO; }
  IGraphics* GetGUI() const { return mGraphics.get(); }
  PlatformLock& Mutex() { return mMutex; }

protected:
  void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }
  void SetHost(int host, int version)
  {
    mHost = host;
    mHostVersion = version;
  }
  int GetHostVersion() const { return mHostVersion; }
  void SetCurrentPresetIdx(int index) { mCurrentPresetIdx = index; }
  ChannelRecord& InChannel(int i) { return mInChannels[size_t(i)]; }
  ChannelRecord& OutChannel(int i) { return mOutChannels[size_t(i)]; }
  double** InData() { return mInData.empty() ? nullptr : mInData.data(); }
  double** OutData() { return mOutData.empty() ? nullptr : mOutData.data(); }
  // Points a channel's slot at its own scratch buffer and marks it (dis)connected.
  void SetChannelConnected(ChannelRecord& channel, bool connected);

private:
  void ParseChannelIO(const char* text);

  // The mutex is created first and destroyed last.
  PlatformLock mMutex;
  int32_t mUniqueID;
  int32_t mVersion;
  int mHost = -1;
  int mHostVersion = 0;
  bool mKeepsStateInChunks;
  bool mIsInstrument;
  bool mDoesMidi;
  int mCurrentPresetIdx = 0;
  double mSampleRate = 44100.0;
  int mBlockSize = 0;
  int mLatency = 0;
  int mStoredHostValue = 0;
  char mEffectName[kNameLength] = {};
  char mProductName[kNameLength] = {};
  char mVendorName[kNameLength] = {};
  std::vector<ChannelIOPair> mChannelIO;
  std::vector<double*> mInData;
  std::vector<double*> mOutData;
  std::vector<ChannelRecord> mInChannels;
  std::vector<ChannelRecord> mOutChannels;
  std::vector<Preset> mPresets;
  std::vector<IParameter> mParams;
  // Released before everything else.
  std::unique_ptr<IGraphics> mGraphics;
};
