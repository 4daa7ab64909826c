#pragma once
// The VST 2.4 host adapter: the effect record the host sees, the dispatcher that
// answers every host request, the audio and parameter callbacks, MIDI intake and the
// host services the plug-in calls back (automation, transport and tempo, MIDI out).
//
// Threads. Three contexts call in:
//  - the host's audio thread: the three process callbacks, and in most hosts
//    effProcessEvents just before them;
//  - the host's main thread: every other dispatcher opcode (open and close, sample rate
//    and block size, processing on/off, chunks, programs, editor open, close and idle),
//    and setParameter/getParameter, which hosts also call from the audio thread;
//  - the editor's timer, on the main thread, through the instrument's own calls.
// Each callback takes the plug-in mutex (IPlugBase) for its whole duration, so audio
// processing, parameter routing, chunk loads and program changes never overlap. The
// mutex is recursive: a dispatcher call may route parameters that take it again. The
// editor's drawing reads display data the audio thread writes without taking it.
#include "plugin/IPlugBase.h"
#include "vst/Vst24.h"

#include <cstdint>

// The editor rectangle as the host reads it.
struct EditorRect
{
  int16_t top = 0;
  int16_t left = 0;
  int16_t bottom = 0;
  int16_t right = 0;
};

class IPlugVST : public IPlugBase
{
public:
  // Host ids found from the host's product string.
  enum EHost
  {
    kHostUninit = -1,
    kHostUnknown = 0,
    kHostReaper = 1,
    kHostProTools = 2,
    kHostCubase = 3,
    kHostNuendo = 4,
    kHostSonar = 5,
    kHostFL = 7,
    kHostSamplitude = 8,
    kHostAbletonLive = 9,
    kHostMelodyne = 12,
    kHostVSTScanner = 13,
    kHostAULab = 14,
    kHostForte = 15,
    kHostChainer = 16,
    kHostAudition = 17,
    kHostOrion = 18,
    kHostSAWStudio = 20,
    kHostLogic = 21,
    kHostGarageBand = 22,
    kHostDigitalPerformer = 23,
    kHostStandalone = 24,
    kHostAudioMulch = 25,
    kHostStudioOne = 26,
    kHostVST3TestHost = 27,
    kHostArdour = 28,
    kHostRenoise = 29,
    kHostOpenMPT = 30,
  };

  // Host capability bits learnt from the host's canDo questions.
  enum EHostCapability
  {
    kHostHasCockosExtensions = 1 << 0,
    kHostHasCockosViewAsConfig = 1 << 1,
  };

  IPlugVST(const PlugInfo& info, Vst::HostCallback hostCallback);
  ~IPlugVST() override;

  Vst::AEffect* GetAEffect() { return &aEffect; }
  static IPlugVST* FromAEffect(Vst::AEffect* effect)
  {
    return effect ? static_cast<IPlugVST*>(effect->object) : nullptr;
  }

  // Host services. Called by the plug-in under its mutex, from whichever thread it is
  // on; each is one host callback and never blocks on the plug-in's side.
  void BeginParameterEdit(int paramIdx) override;
  void NotifyHostOfParameterChange(int paramIdx, double normalized) override;
  void EndParameterEdit(int paramIdx) override;
  void NotifyHostOfProgramChange() override;
  bool IsRenderingOffline() override;
  int GetSamplePosition() override;
  double GetTempo() override;
  void GetTimeSignature(int* numerator, int* denominator) override;
  void GetTimeInfo(TimeInfo* info) override;
  int GetHost() override;
  void ResizeEditor() override;
  void HostSpecificInit() override;
  void AttachEditor(IEditor* editor) override;
  void SetLatency(int samples) override;
  bool SendMidiMessage(const MidiMessage& msg) override;
  bool SendSysEx(const SysExMessage& msg) override;

  int HostCapabilities() const { return hostCapabilities; }

  // The host id for a product string (matched lower-cased, first key wins).
  static int HostIdFromProductString(const char* product);
  // The host's decimal version (major*10000 + minor*100 + patch) in packed form.
  static int PackedHostVersion(int decimalVersion);

private:
  // The effect record's entry points: each finds the plug-in, takes the mutex and
  // forwards. VSTDispatcher runs on the main thread (effProcessEvents also on the audio
  // thread); the process callbacks on the audio thread, where nothing allocates;
  // VSTSetParameter and VSTGetParameter on either.
  static intptr_t VSTCALLBACK VSTDispatcher(Vst::AEffect* effect, int32_t opcode, int32_t index,
                                            intptr_t value, void* ptr, float opt);
  static void VSTCALLBACK VSTProcess(Vst::AEffect* effect, float** inputs, float** outputs,
                                     int32_t frames);
  static void VSTCALLBACK VSTProcessReplacing(Vst::AEffect* effect, float** inputs, float** outputs,
                                              int32_t frames);
  static void VSTCALLBACK VSTProcessDoubleReplacing(Vst::AEffect* effect, double** inputs,
                                                    double** outputs, int32_t frames);
  static void VSTCALLBACK VSTSetParameter(Vst::AEffect* effect, int32_t index, float value);
  static float VSTCALLBACK VSTGetParameter(Vst::AEffect* effect, int32_t index);

  template <typename Render>
  static void RunAudioCallback(Vst::AEffect* effect, int32_t frames, Render render);
  intptr_t Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  intptr_t CallHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);
  const Vst::VstTimeInfo* HostTime(intptr_t flags);

  void ProcessDouble(double** inputs, double** outputs, int frames);
  void ProcessFloat(float** inputs, float** outputs, int frames, bool accumulate);
  void WantMidi();

  intptr_t GetChunk(void** data, bool isBank);
  intptr_t SetChunk(const void* data, intptr_t size, bool isBank);
  intptr_t String2Parameter(int paramIdx, const char* text);
  intptr_t GetPinProperties(bool input, int index, Vst::VstPinProperties* props);
  intptr_t CanDo(const char* query);
  void ProcessEvents(const Vst::VstEvents* events);
  void ConnectFromArrangement(const Vst::VstSpeakerArrangement* arrangement, bool input);
  int ConnectedChannels(bool input);
  void UpdateIOCounts();
  static void SetArrangement(Vst::VstSpeakerArrangement& arrangement, int nChannels);

  Vst::HostCallback hostCallback;
  Vst::AEffect aEffect;
  EditorRect editRect;
  Vst::VstSpeakerArrangement inputSpeakers;
  Vst::VstSpeakerArrangement outputSpeakers;
  bool hostInitDone = false;
  int hostCapabilities = 0;
  ByteBuffer state{4096};
  ByteBuffer bankState{4096};
};

// The instrument provides this: constructs the plug-in for a host. Defined once per
// module; the exported entry points call it.
IPlugVST* MakePlug(Vst::HostCallback hostCallback);
