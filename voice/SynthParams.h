#pragma once

namespace Korvane
{

// The current values of the synthesis parameters, as the voices read them: 168 doubles,
// written only by the instrument's parameter routing. Slot j holds one parameter's
// normalised value (see slotOf for which); slot 167 holds the global transpose ratio
// derived from "Global transpose". This slot layout is what the voices read and, later,
// the value block of a factory program record. The host's state chunks, banks and
// program files do not use it: they store the 160 parameter values in parameter-index
// order (IPlugBase::SerializeParams).
struct SynthParams
{
  static constexpr int kSlotCount = 168;
  static constexpr int kOscStride = 21;

  // Slots of one oscillator's parameters; oscillator k (0..2) adds 21 * k.
  // Note that the pitch (parameter 7) and the tune (parameter 3) swap places.
  enum OscSlot : int
  {
    kOscOn = 0,
    kOscWaveform = 1,
    kOscStartPhase = 2,
    kOscPitch = 3,
    kOscTune = 4,
    kOscVolume = 5,
    kOscSaturation = 6,
    kOscPan = 7,
    kOscFilterBalance = 8,
    kOscCutoff = 9,
    kOscResonance = 10,
    kOscFilterTypeLeft = 11,
    kOscFilterTypeRight = 12,
    kOscLfoFrequency = 13,
    kOscLfoLinkAll = 14,
    kOscLfoTempoSync = 15,
    kOscLfoMode = 16,
    kOscLfoToVolume = 17,
    kOscLfoToTune = 18,
    kOscLfoToFilter = 19,
    kOscLfoToPan = 20,
  };

  // Slots of the voice-wide parameters the voices and the block read.
  enum Slot : int
  {
    kVolumeEnvAttack = 63,
    kVolumeEnvVelocity = 68,
    kVolumeEnvAmount = 69,
    kFilterEnvVelocity = 75,
    kFilterEnvAmount = 76,
    kBassLayerAmount = 80,
    kBassLayerSolo = 81,
    kBassLayerToFilter = 82,
    kBassLayerToFm = 83,
    kBassLayerClick = 84,
    kPitchEnvOnOff = 85,
    kUnisonVoices = 90,
    kUnisonDetune = 91,
    kFmAmount = 92,
    kGlobalTranspose = 93,
    kNoteTransposeMode = 94,
    kPitchBendRange = 95,
    kTransposeRatio = 167,
  };

  static constexpr int osc(int k, OscSlot s) noexcept { return k * kOscStride + s; }

  // The slot that holds parameter `parameterIndex` (0..159), or -1 for the parameters
  // without one (137 and 139..159) and for indices out of range.
  static int slotOf(int parameterIndex) noexcept;

  SynthParams() noexcept
  {
    for (double& v : values)
      v = 0.0;
    values[kTransposeRatio] = 1.0;
  }

  double operator[](int slot) const noexcept { return values[slot]; }
  double& operator[](int slot) noexcept { return values[slot]; }

  double values[kSlotCount];
};

} // namespace Korvane

static_assert(sizeof(Korvane::SynthParams) == Korvane::SynthParams::kSlotCount * sizeof(double),
              "the parameter block is exactly its 168 doubles");
