#pragma once
// The fixed indices of the instrument's 160 parameters. Host automation, stored
// chunks and factory programs address parameters by these numbers; they never change.

namespace ParamIndex
{
constexpr int kNumParams = 160;
constexpr int kNumOscillators = 3;

// Each oscillator has 21 parameters; oscillator k (0-based) starts at 21 * k.
constexpr int kOscStride = 21;
enum EOscParam : int
{
  kOscOnOff = 0,
  kOscWaveform,
  kOscStartPhase,
  kOscTune,
  kOscVolume,
  kOscSaturation,
  kOscPan,
  kOscPitch,
  kOscFilterBalance,
  kOscFilterCutoff,
  kOscFilterReso,
  kOscFilterTypeLeft,
  kOscFilterTypeRight,
  kOscLfoFreq,
  kOscLfoLinkAll,
  kOscLfoTempoSync,
  kOscLfoMode,
  kOscLfoToVolume,
  kOscLfoToTune,
  kOscLfoToFilter,
  kOscLfoToPan,
};
constexpr int Osc(int osc, EOscParam param) { return osc * kOscStride + param; }

enum EParam : int
{
  kVolEnvAttack = 63,
  kVolEnvDecay,
  kVolEnvSustain,
  kVolEnvRelease,
  kVolEnvDuration,
  kVolEnvVelocity,
  kVolEnvAmount,
  kFilterEnvAttack, // 70
  kFilterEnvDecay,
  kFilterEnvSustain,
  kFilterEnvRelease,
  kFilterEnvDuration,
  kFilterEnvVelocity,
  kFilterEnvAmount,
  kFilterEnvToDistortion,
  kFilterEnvToDynShaper,
  kAdsrShape,
  kBassLayerAmount, // 80
  kBassLayerSolo,
  kBassLayerToFilter,
  kBassLayerToFm,
  kBassLayerClick,
  kGlobalTranspose,
  kNoteTransposeMode,
  kPitchBendRange,
  kPitchEnvOnOff,
  kPitchAmount,
  kPitchDuration, // 90
  kPitchPower,
  kPitchDown,
  kUnisonVoices,
  kUnisonDetune,
  kFmAmount,
  kEqBass,
  kEqMid,
  kEqHigh,
  kDumpExpand,
  kDistoOnOff, // 100
  kDistortion,
  kDistoType,
  kDistoMode,
  kDistoInterpolation,
  kDynShaperAmount,
  kDynShaperInvert,
  kDynShaperType,
  kDynShaperMode,
  kDynShaperPosNeg,
  kBitCrushQuantize, // 110
  kSampleRateReduction,
  kGateCrack,
  kFilterOnOff,
  kFilterInputDrive,
  kFilterBalance,
  kFilterCutoff,
  kFilterReso,
  kFilterType1,
  kFilterType2,
  kFilterTransition, // 120
  kModFxOnOff,
  kRingAmount,
  kRingFreq,
  kRingWaveform,
  kPhaserAmount,
  kPhaserFeedback,
  kPhaserRate,
  kTempoDelayAmount,
  kTempoDelayFeedback,
  kTempoDelayDump, // 130
  kTempoDelaySpread,
  kBypassAllEffects,
  kLimitOutput,
  kOutputPan,
  kOutputSaturation,
  kDryWet,
  kHqFilter, // never initialised: keeps the record's construction defaults
  kOutputVolume,
  kFirstReserved, // 139
  kLastReserved = kNumParams - 1,
};
} // namespace ParamIndex
