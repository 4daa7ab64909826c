#pragma once
// One VST 2.4 plug-in loaded from a module file and driven as a host drives it:
// the host callback answers the VST version (2.4), the sample rate and block size
// last set, time info (with a settable tempo and transport), the product string,
// vendor version and process level, and records the plug-in's
// automation notifications and other requests; MIDI is sent with sample offsets;
// audio is rendered in double, float-replacing and float-accumulating form.
#include "host/platform/ModuleLoader.h"
#include "vst/Vst24.h"

#include <cstdint>
#include <string>
#include <vector>

namespace VstHost
{
// What the plug-in reported through the host callback's automation opcodes.
struct AutomationEvent
{
  int32_t opcode; // audioMasterAutomate, audioMasterBeginEdit or audioMasterEndEdit
  int32_t index;
  float value;
};

class PluginInstance
{
public:
  PluginInstance();
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  // Loads the module and calls its entry point ("VSTPluginMain", else "main").
  // false with Error() set when the module, the entry or the effect record is missing.
  bool Load(const std::string& modulePath);
  // Closes the plug-in (effClose) and unloads the module.
  void Unload();
  bool IsLoaded() const { return effect != nullptr; }
  const std::string& Error() const { return error; }
  Vst::AEffect* Effect() const { return effect; }

  // The usual start-up: effOpen, sample rate, block size, then processing switched on.
  void Start(double sampleRate, int blockSize);

  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);
  // The text a plug-in writes for an opcode whose ptr is a text buffer.
  std::string DispatchText(int32_t opcode, int32_t index = 0, intptr_t value = 0, float opt = 0.0f,
                           intptr_t* result = nullptr);

  // Identity.
  std::string EffectName() { return DispatchText(Vst::effGetEffectName); }
  std::string VendorString() { return DispatchText(Vst::effGetVendorString); }
  std::string ProductString() { return DispatchText(Vst::effGetProductString); }
  intptr_t CanDo(const char* query)
  {
    return Dispatch(Vst::effCanDo, 0, 0, const_cast<char*>(query));
  }

  // Parameters.
  int NumParams() const { return effect ? effect->numParams : 0; }
  int NumOutputs() const { return effect ? effect->numOutputs : 0; }
  float GetParameter(int index) { return effect->getParameter(effect, index); }
  void SetParameter(int index, float value) { effect->setParameter(effect, index, value); }
  std::string ParamName(int index) { return DispatchText(Vst::effGetParamName, index); }
  std::string ParamLabel(int index) { return DispatchText(Vst::effGetParamLabel, index); }
  std::string ParamDisplay(int index) { return DispatchText(Vst::effGetParamDisplay, index); }
  // effString2Parameter; returns the plug-in's answer.
  intptr_t SetParameterText(int index, const std::string& text);
  // The index of the parameter with this name, or -1.
  int FindParameter(const std::string& name);

  // Programs.
  int NumPrograms() const { return effect ? effect->numPrograms : 0; }
  void SetProgram(intptr_t index) { Dispatch(Vst::effSetProgram, 0, index); }
  int GetProgram() { return int(Dispatch(Vst::effGetProgram)); }
  std::string ProgramName() { return DispatchText(Vst::effGetProgramName); }
  std::string ProgramNameIndexed(int index)
  {
    return DispatchText(Vst::effGetProgramNameIndexed, index);
  }
  void SetProgramName(const std::string& name);
  // The index of the program with this name, or -1.
  int FindProgram(const std::string& name);

  // Chunks: a copy of what the plug-in hands out (empty when it answers 0), and
  // the plug-in's answer to a set-chunk request.
  std::vector<uint8_t> GetChunk(bool bank);
  intptr_t SetChunk(const std::vector<uint8_t>& data, bool bank);

  // MIDI: events are queued with their sample offsets and sent together by
  // SendEvents (or by the next Render call).
  void QueueMidi(int offset, uint8_t status, uint8_t data1, uint8_t data2);
  // The event record of one MIDI message at a frame offset, as hosts send it.
  static Vst::VstMidiEvent MidiEvent(int offset, uint8_t status, uint8_t data1, uint8_t data2);
  void NoteOn(int offset, int note, int velocity, int channel = 0);
  void NoteOff(int offset, int note, int channel = 0);
  // bend in -1..+1 (14-bit pitch-bend message)
  void PitchBend(int offset, double bend, int channel = 0);
  intptr_t SendEvents();

  // Rendering: outputs holds numOutputs buffers of at least frames samples. Queued
  // MIDI is sent first; the sample position advances by frames afterwards.
  enum class ProcessMode
  {
    Double,
    FloatReplacing,
    FloatAccumulating,
  };
  void Render(std::vector<std::vector<double>>& outputs, int frames,
              ProcessMode mode = ProcessMode::Double);
  void RenderDouble(double** outputs, int frames);
  void RenderFloat(float** outputs, int frames, bool accumulate);

  // Host state the plug-in can ask for.
  void SetTempo(double bpm) { timeInfo.tempo = bpm; }
  void SetTransportPlaying(bool isPlaying) { playing = isPlaying; }
  void SetTimeSignature(int numerator, int denominator);
  void SetSamplePosition(double samples) { samplePos = samples; }
  double SamplePosition() const { return samplePos; }
  void SetProductString(const std::string& product) { productString = product; }
  void SetVendorVersion(int version) { vendorVersion = version; }
  void SetProcessLevel(int level) { processLevel = level; }
  // Whether the host answers audioMasterGetTime with a record at all.
  void SetTimeInfoAvailable(bool available) { timeInfoAvailable = available; }

  // What the plug-in asked of the host.
  const std::vector<AutomationEvent>& Automation() const { return automation; }
  void ClearAutomation() { automation.clear(); }
  int HostCallCount(int32_t opcode) const;
  void ClearHostCalls() { hostCalls.assign(hostCalls.size(), 0); }
  // MIDI the plug-in sent to the host (audioMasterProcessEvents).
  const std::vector<Vst::VstMidiEvent>& MidiFromPlugin() const { return midiOut; }

private:
  static intptr_t VSTCALLBACK HostCallback(Vst::AEffect* effect, int32_t opcode, int32_t index,
                                           intptr_t value, void* ptr, float opt);
  intptr_t OnHostCall(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  const Vst::VstTimeInfo* FillTimeInfo();

  ModuleLoader module;
  Vst::AEffect* effect = nullptr;
  std::string error;

  Vst::VstTimeInfo timeInfo{};
  double sampleRate = 44100.0;
  int maxFrames = 512; // the block size last set
  double samplePos = 0.0;
  bool playing = true;
  bool timeInfoAvailable = true;
  std::string productString = "Thumpgeist Test Host";
  int vendorVersion = 10000;
  int processLevel = 0;

  std::vector<Vst::VstMidiEvent> pendingMidi;
  std::vector<uint8_t> eventsRecord;
  std::vector<AutomationEvent> automation;
  std::vector<int> hostCalls;
  std::vector<Vst::VstMidiEvent> midiOut;
  std::vector<float> floatScratch;
};
} // namespace VstHost
