#include "synth/programs/ProgramDesign.h"

#include <algorithm>

namespace Korvane::Programs
{
namespace
{
constexpr double kWaveformSteps = 39.0;
constexpr double kFilterTypeSteps = 4.0;
constexpr double kNoteModeSteps = 9.0;
constexpr double kDistoTypeSteps = 35.0;
constexpr double kFilterASteps = 3.0;
constexpr double kFilterBSteps = 5.0;
constexpr double kLfoMaxHz = 20.0;
constexpr double kRingMaxHz = 4000.0;
constexpr double kPhaserMaxHz = 10.0;
constexpr double kPitchSpan = 24.0; // "Osc Pitch" covers -12..+12 semitones
// "Osc Tune" moves the ratio linearly by up to one semitone each way; near the centre
// one cent is 1/100 of that.
constexpr double kTuneSpan = 200.0;
// The default "Volume Env. Duration" gives one second per unit of a time value.
constexpr double kVolumeSecondsPerUnit = 1.0;
} // namespace

void Osc(Program& p, int osc, Wave wave, double volume)
{
  p.Set(P::Osc(osc, P::kOscOnOff), 1.0);
  p.Set(P::Osc(osc, P::kOscWaveform), int(wave) / kWaveformSteps);
  p.Set(P::Osc(osc, P::kOscVolume), volume);
}

void Pitch(Program& p, int osc, double semitones, double cents)
{
  p.Set(P::Osc(osc, P::kOscPitch), 0.5 + semitones / kPitchSpan);
  p.Set(P::Osc(osc, P::kOscTune), 0.5 + cents / kTuneSpan);
}

void OscFilter(Program& p, int osc, OscFilterType left, OscFilterType right, double balance,
               double cutoff, double resonance)
{
  p.Set(P::Osc(osc, P::kOscFilterTypeLeft), int(left) / kFilterTypeSteps);
  p.Set(P::Osc(osc, P::kOscFilterTypeRight), int(right) / kFilterTypeSteps);
  p.Set(P::Osc(osc, P::kOscFilterBalance), balance);
  p.Set(P::Osc(osc, P::kOscFilterCutoff), cutoff);
  p.Set(P::Osc(osc, P::kOscFilterReso), resonance);
}

void Lfo(Program& p, int osc, double hz, double toVolume, double toTune, double toFilter,
         double toPan)
{
  p.Set(P::Osc(osc, P::kOscLfoFreq), hz / kLfoMaxHz);
  p.Set(P::Osc(osc, P::kOscLfoTempoSync), 0.0);
  p.Set(P::Osc(osc, P::kOscLfoToVolume), toVolume);
  p.Set(P::Osc(osc, P::kOscLfoToTune), toTune);
  p.Set(P::Osc(osc, P::kOscLfoToFilter), toFilter);
  p.Set(P::Osc(osc, P::kOscLfoToPan), toPan);
}

void VolumeEnv(Program& p, double attack, double decay, double sustain, double release)
{
  p.Set(P::kVolEnvAttack, attack / kVolumeSecondsPerUnit);
  p.Set(P::kVolEnvDecay, decay / kVolumeSecondsPerUnit);
  p.Set(P::kVolEnvSustain, sustain);
  p.Set(P::kVolEnvRelease, release / kVolumeSecondsPerUnit);
  p.Set(P::kVolEnvDuration, 0.2);
}

void FilterEnv(Program& p, double attack, double decay, double sustain, double release)
{
  p.Set(P::kFilterEnvAttack, attack);
  p.Set(P::kFilterEnvDecay, decay);
  p.Set(P::kFilterEnvSustain, sustain);
  p.Set(P::kFilterEnvRelease, release);
}

void PitchEnv(Program& p, double amount, double duration, double power, double down)
{
  p.Set(P::kPitchEnvOnOff, 1.0);
  p.Set(P::kPitchAmount, amount);
  p.Set(P::kPitchDuration, duration);
  p.Set(P::kPitchPower, power);
  p.Set(P::kPitchDown, down);
}

void NoPitchEnv(Program& p)
{
  p.Set(P::kPitchEnvOnOff, 0.0);
  p.Set(P::kPitchAmount, 0.0);
  p.Set(P::kPitchDown, 0.0);
}

void Disto(Program& p, DistoType type, double drive, int mode)
{
  p.Set(P::kDistoOnOff, 1.0);
  p.Set(P::kDistoType, int(type) / kDistoTypeSteps);
  p.Set(P::kDistortion, drive);
  p.Set(P::kDistoMode, mode / 2.0);
}

void Crush(Program& p, double sampleRate, double quantize)
{
  p.Set(P::kSampleRateReduction, sampleRate);
  p.Set(P::kBitCrushQuantize, quantize);
}

void MasterFilter(Program& p, FilterA a, FilterB b, double balance, double cutoff, double resonance)
{
  p.Set(P::kFilterOnOff, 1.0);
  p.Set(P::kFilterType1, int(a) / kFilterASteps);
  p.Set(P::kFilterType2, int(b) / kFilterBSteps);
  p.Set(P::kFilterBalance, balance);
  p.Set(P::kFilterCutoff, cutoff);
  p.Set(P::kFilterReso, resonance);
}

void Eq(Program& p, double bass, double mid, double high)
{
  p.Set(P::kEqBass, bass);
  p.Set(P::kEqMid, mid);
  p.Set(P::kEqHigh, high);
}

void Delay(Program& p, double amount, double feedback, double dump, double spread)
{
  p.Set(P::kTempoDelayAmount, amount);
  p.Set(P::kTempoDelayFeedback, feedback);
  p.Set(P::kTempoDelayDump, dump);
  p.Set(P::kTempoDelaySpread, spread);
}

void Ring(Program& p, double amount, double hz, int waveform)
{
  p.Set(P::kModFxOnOff, 1.0);
  p.Set(P::kRingAmount, amount);
  p.Set(P::kRingFreq, hz / kRingMaxHz);
  p.Set(P::kRingWaveform, waveform / 4.0);
}

void Phaser(Program& p, double depth, double feedback, double hz)
{
  p.Set(P::kModFxOnOff, 1.0);
  p.Set(P::kPhaserAmount, depth);
  p.Set(P::kPhaserFeedback, feedback);
  p.Set(P::kPhaserRate, hz / kPhaserMaxHz);
}

void Unison(Program& p, double detune)
{
  p.Set(P::kUnisonVoices, 1.0); // two voices per oscillator
  p.Set(P::kUnisonDetune, detune);
}

void Mode(Program& p, NoteMode mode) { p.Set(P::kNoteTransposeMode, int(mode) / kNoteModeSteps); }

void Output(Program& p, double volume, double saturation)
{
  p.Set(P::kOutputVolume, volume);
  p.Set(P::kOutputSaturation, saturation);
}

} // namespace Korvane::Programs
