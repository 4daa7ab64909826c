// Plucked and bowed strings, winds, an organ and the pads, programs 81 to 98. They play
// the keyboard an octave down (concert pitch: note 69 is 440 Hz) without a pitch sweep.
#include "synth/programs/ProgramDesign.h"

#include <array>

namespace Korvane::Programs
{
namespace
{
void Tonal(Program& p, Wave wave, double volume = 1.0)
{
  Mode(p, kOctaveDown);
  NoPitchEnv(p);
  Osc(p, 0, wave, volume);
  Output(p, 0.5);
}

// Vibrato: the LFO on the tune, a fraction of a semitone.
void Vibrato(Program& p, int osc, double hz, double depth) { Lfo(p, osc, hz, 0.0, depth, 0.0); }

// --- Strings ------------------------------------------------------------------------

void StringHeading(Program& p)
{
  // The section's calling card: a plucked string with its octave ringing above, a
  // wooden body in the EQ and the slight waver of a hand on the neck.
  Tonal(p, kSaw);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.5, 0.1);
  Osc(p, 1, kTriangle, 0.3);
  Pitch(p, 1, 12.0);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.45, 0.1);
  Vibrato(p, 0, 5.0, 0.04);
  FilterEnv(p, 0.0, 0.2, 0.2, 0.1);
  VolumeEnv(p, 0.002, 0.9, 0.0, 0.3);
  p.Set(P::kAdsrShape, 0.25);
  Eq(p, 0.45, 0.55, 0.5);
}

void GuitarByHalvard(Program& p)
{
  Tonal(p, kSaw, 0.7);
  Osc(p, 1, kQuadPulse, 0.5); // the body of a plucked string
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.55, 0.15);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.45, 0.1);
  FilterEnv(p, 0.0, 0.25, 0.1, 0.1); // bright pick, darkening ring
  VolumeEnv(p, 0.001, 1.4, 0.0, 0.25);
  p.Set(P::kAdsrShape, 0.25);
  Disto(p, kSoftTube, 0.12);
}

void OsricVaelsViolin(Program& p)
{
  Tonal(p, kSaw);
  OscFilter(p, 0, kPkBandPass, kPkLowPass, 0.6, 0.6, 0.2); // a bowed, nasal body
  Vibrato(p, 0, 5.5, 0.12);
  p.Set(P::Osc(0, P::kOscLfoToVolume), 0.05);
  FilterEnv(p, 0.1, 0.3, 0.8, 0.2);
  VolumeEnv(p, 0.12, 0.3, 0.85, 0.25); // the bow sets in
  Eq(p, 0.45, 0.55, 0.5);
}

void VirtualCello(Program& p)
{
  Tonal(p, kSaw);
  Pitch(p, 0, -12.0); // a cello's register
  Osc(p, 1, kTriangle, 0.4);
  Pitch(p, 1, -12.0);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.4, 0.25);
  Vibrato(p, 0, 4.8, 0.1);
  FilterEnv(p, 0.1, 0.3, 0.8, 0.2);
  VolumeEnv(p, 0.15, 0.4, 0.85, 0.3);
  Eq(p, 0.55, 0.5, 0.45);
}

void VirtualBanjo(Program& p)
{
  Tonal(p, kQuadPulse, 0.8);
  Osc(p, 1, kOctPulse, 0.4); // the twang
  Pitch(p, 1, 12.0);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.8, 0.2);
  FilterEnv(p, 0.0, 0.08, 0.15, 0.05);
  VolumeEnv(p, 0.0, 0.45, 0.0, 0.1); // short, snappy decay
  p.Set(P::kAdsrShape, 0.2);
  Eq(p, 0.4, 0.55, 0.55);
}

// --- Winds and organ ------------------------------------------------------------------

void WindHeading(Program& p)
{
  // The section's calling card: a soft reed-less tone that the breath opens, with the
  // breath itself in band-passed noise and the player's vibrato and swell.
  Tonal(p, kTriangle);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.6, 0.1);
  Osc(p, 1, kWhiteNoise, 0.03);
  OscFilter(p, 1, kPkBandPass, kBwHighPass, 0.0, 0.35, 0.4);
  Vibrato(p, 0, 5.0, 0.08);
  p.Set(P::Osc(0, P::kOscLfoToVolume), 0.04);
  FilterEnv(p, 0.05, 0.3, 0.9, 0.2);
  VolumeEnv(p, 0.06, 0.3, 0.85, 0.15);
}

void ChineseFluteBySenna(Program& p)
{
  Tonal(p, kSine);
  Osc(p, 1, kWhiteNoise, 0.08); // breath
  OscFilter(p, 1, kPkBandPass, kBwHighPass, 0.0, 0.3, 0.5);
  Osc(p, 2, kTriangle, 0.25);
  Pitch(p, 2, 12.0);
  Vibrato(p, 0, 5.5, 0.15);
  FilterEnv(p, 0.05, 0.3, 0.9, 0.2);
  VolumeEnv(p, 0.08, 0.3, 0.8, 0.2);
  Delay(p, 0.12, 0.3);
}

void VirtualHorn(Program& p)
{
  Tonal(p, kSaw);
  Osc(p, 1, kPulse, 0.5);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.3, 0.1);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.3, 0.1);
  FilterEnv(p, 0.08, 0.3, 0.7, 0.2); // the brass swell opens the filter
  VolumeEnv(p, 0.09, 0.3, 0.85, 0.2);
  Vibrato(p, 0, 5.0, 0.05);
}

void VirtualHarmonica(Program& p)
{
  Tonal(p, kQuadPulse);
  OscFilter(p, 0, kPkBandPass, kPkLowPass, 0.3, 0.5, 0.4); // the reed's nasal band
  FilterEnv(p, 0.03, 0.3, 0.8, 0.1);
  Lfo(p, 0, 6.0, 0.25, 0.05, 0.1);          // hand tremolo, the cupped hand a little wah
  p.Set(P::Osc(0, P::kOscSaturation), 0.2); // the reed's buzz
  VolumeEnv(p, 0.05, 0.3, 0.8, 0.12);
  Eq(p, 0.5, 0.56, 0.5);
}

void HarmonicaByHalvard(Program& p)
{
  Tonal(p, kPulse);
  p.Set(P::Osc(0, P::kOscSaturation), 0.3);
  OscFilter(p, 0, kPkBandPass, kPkLowPass, 0.5, 0.45, 0.5);
  Osc(p, 1, kQuadPulse, 0.4); // the second reed, tuned sharp: a tremolo harmonica's beat
  Pitch(p, 1, 0.0, 6.0);
  OscFilter(p, 1, kPkBandPass, kPkLowPass, 0.5, 0.45, 0.5);
  FilterEnv(p, 0.02, 0.3, 0.75, 0.1);
  Vibrato(p, 0, 5.2, 0.15);
  VolumeEnv(p, 0.04, 0.3, 0.8, 0.1);
}

void DarkOrganByCorvinAsh(Program& p)
{
  Tonal(p, kSine, 0.8); // drawbars: 8', 4' and 16'
  Osc(p, 1, kSine, 0.5);
  Pitch(p, 1, 12.0);
  Osc(p, 2, kTriangle, 0.45);
  Pitch(p, 2, -12.0);
  Lfo(p, 1, 6.5, 0.2, 0.03, 0.0, 0.3); // the rotating speaker
  FilterEnv(p, 0.0, 0.1, 1.0, 0.1);
  VolumeEnv(p, 0.005, 0.1, 1.0, 0.08); // organ: on and off
  Disto(p, kSoftTube, 0.15);
  Phaser(p, 0.2, 0.3, 0.6);
}

// --- Pads: slow attacks, long releases and movement -----------------------------------

void Pad(Program& p, Wave a, Wave b, double attack, double release)
{
  Tonal(p, a, 0.7);
  Osc(p, 1, b, 0.6);
  Pitch(p, 1, 0.0, 8.0);
  VolumeEnv(p, attack, 1.0, 0.85, release);
  FilterEnv(p, attack, 0.5, 0.8, release);
  p.Set(P::kAdsrShape, 0.4);
  Output(p, 0.4);
}

void PadHeading(Program& p)
{
  // The section's calling card: a slow saw and triangle spread apart, turning in a
  // gentle phaser.
  Pad(p, kSaw, kTriangle, 0.5, 1.0);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.35, 0.1);
  p.Set(P::Osc(0, P::kOscPan), 0.35);
  p.Set(P::Osc(1, P::kOscPan), 0.65);
  Phaser(p, 0.3, 0.35, 0.15);
}

void SynthChoirByMerrow(Program& p)
{
  Pad(p, kSReceptor, kSaw, 0.4, 1.0);
  OscFilter(p, 0, kPkBandPass, kPkLowPass, 0.4, 0.35, 0.5); // a vowel-like formant
  OscFilter(p, 1, kPkBandPass, kPkLowPass, 0.4, 0.3, 0.5);
  Vibrato(p, 0, 5.0, 0.08);
  Unison(p, 0.15);
  Delay(p, 0.2, 0.4);
}

void RelicPad(Program& p)
{
  Pad(p, kWaveGarden, kSaw, 0.8, 1.5);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.3, 0.2);
  Lfo(p, 1, 0.25, 0.0, 0.0, 0.5); // a slow filter tide
  Phaser(p, 0.35, 0.4, 0.12);
}

void RawStructuredPad(Program& p)
{
  Pad(p, kSaw, kSaw, 0.6, 1.2);
  Unison(p, 0.25);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.3, 0.3);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.3, 0.3);
  Lfo(p, 0, 0.5, 0.0, 0.0, 0.4);
  Disto(p, kSoftTube, 0.2);
}

void SpaceCutPad(Program& p)
{
  Pad(p, kPulse, kQuadPulse, 0.7, 1.5);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.4, 0.3);
  Lfo(p, 0, 0.3, 0.0, 0.0, 0.5, 0.5);
  Phaser(p, 0.6, 0.35, 0.2); // the cut through space
  Delay(p, 0.35, 0.5);
  Output(p, 0.16);
}

void ProphecyPad(Program& p)
{
  Pad(p, kGeoChirp, kTriangle, 1.0, 1.8);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.45, 0.2);
  Lfo(p, 0, 0.2, 0.0, 0.0, 0.3, 0.8); // drifts across the stereo field
  Lfo(p, 1, 0.13, 0.3, 0.0, 0.0, 0.8);
  Delay(p, 0.4, 0.55, 0.5, 0.9);
}

void DeliriumPad(Program& p)
{
  Pad(p, kSynapsis, kSaw, 0.7, 1.5);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.35, 0.3);
  Lfo(p, 0, 0.7, 0.0, 0.3, 0.0); // the delirium: a wandering tune
  Ring(p, 0.15, 220.0);
  Delay(p, 0.3, 0.5);
}

constexpr std::array<Definition, 18> kInstruments = {{
    {"#STRING INSTRUMENTS#", StringHeading},
    {"Guitar by Halvard", GuitarByHalvard},
    {"Osric Vael's Violin", OsricVaelsViolin},
    {"Virtual Cello", VirtualCello},
    {"Virtual Banjo", VirtualBanjo},
    {"#WIND INSTRUMENTS#", WindHeading},
    {"Chinese Flute by Senna", ChineseFluteBySenna},
    {"Virtual Horn", VirtualHorn},
    {"Virtual Harmonica", VirtualHarmonica},
    {"Harmonica by Halvard", HarmonicaByHalvard},
    {"Dark Organ by Corvin Ash", DarkOrganByCorvinAsh},
    {"#PAD SECTION#", PadHeading},
    {"Synth Choir by Merrow", SynthChoirByMerrow},
    {"Relic Pad", RelicPad},
    {"Raw Structured Pad", RawStructuredPad},
    {"Space-Cut Pad", SpaceCutPad},
    {"Prophecy Pad", ProphecyPad},
    {"Delirium Pad", DeliriumPad},
}};
} // namespace

std::span<const Definition> Instruments() { return kInstruments; }

} // namespace Korvane::Programs
