// Synth sounds, programs 99 to 127: saw, square and super-saw leads, the hardcore and
// hardstyle leads, chip tunes on the arpeggiator, effect-laden leads, vibes and a plain
// sine. Like the instruments they play at concert pitch (the keyboard an octave down).
#include "synth/programs/ProgramDesign.h"

#include <array>

namespace Korvane::Programs
{
namespace
{
// Vibrato: the LFO on the tune, a fraction of a semitone.
void Vibrato(Program& p, int osc, double hz, double depth) { Lfo(p, osc, hz, 0.0, depth, 0.0); }

void Lead(Program& p, Wave wave)
{
  Mode(p, kOctaveDown);
  NoPitchEnv(p);
  Osc(p, 0, wave);
  VolumeEnv(p, 0.004, 0.4, 0.8, 0.12);
  FilterEnv(p, 0.0, 0.2, 0.6, 0.1);
  Output(p, 0.45);
}

void SynthHeading(Program& p)
{
  // The section's calling card: a saw lead with a square an octave above, doubled
  // and spread, with an echo behind it.
  Lead(p, kSaw);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.6, 0.2);
  Osc(p, 1, kPulse, 0.2);
  Pitch(p, 1, 12.0);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.45, 0.2);
  Unison(p, 0.15);
  Delay(p, 0.18, 0.3);
}

void SawLead1(Program& p)
{
  Lead(p, kSaw);
  p.Set(P::Osc(0, P::kOscSaturation), 0.12); // a little bite in the saw
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.75, 0.25);
  Vibrato(p, 0, 5.5, 0.03);
  Delay(p, 0.15, 0.3);
}

void SawLead2Detuned(Program& p)
{
  SawLead1(p);
  Osc(p, 1, kSaw); // a second saw, 15 cents sharp
  Pitch(p, 1, 0.0, 15.0);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.75, 0.25);
  Output(p, 0.36);
}

void SawLead3Modulated(Program& p)
{
  SawLead1(p);
  Lfo(p, 0, 4.0, 0.0, 0.04, 0.45); // wah and a touch of vibrato
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.55, 0.45);
}

void SuperSawLead1(Program& p)
{
  SawLead1(p);
  Unison(p, 0.3); // every saw doubled and spread
  Osc(p, 1, kSaw, 0.8);
  Pitch(p, 1, 0.0, -12.0);
  Osc(p, 2, kSaw, 0.6);
  Pitch(p, 2, 12.0, 8.0);
  p.Set(P::Osc(1, P::kOscPan), 0.25);
  p.Set(P::Osc(2, P::kOscPan), 0.75);
  Delay(p, 0.25, 0.4);
}

void SuperSawLead2(Program& p)
{
  SawLead2Detuned(p);
  Unison(p, 0.45); // wider still
  Osc(p, 2, kSaw, 0.7);
  Pitch(p, 2, 0.0, -20.0);
  p.Set(P::Osc(1, P::kOscPan), 0.2);
  p.Set(P::Osc(2, P::kOscPan), 0.8);
  Phaser(p, 0.2, 0.3, 0.25);
  Output(p, 0.32);
}

void ClassicHardcoreLead(Program& p)
{
  Lead(p, kSaw);
  Osc(p, 1, kPulse, 0.8);
  Pitch(p, 1, -12.0, 10.0); // the hoover-ish octave beneath
  Unison(p, 0.35);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.7, 0.2);
  PitchEnv(p, 0.02, 0.08, 0.3); // a little scoop into the note
  Disto(p, kHardOverload, 0.35);
  Lfo(p, 1, 5.0, 0.0, 0.1, 0.0);
}

void CyberRealizm(Program& p)
{
  Lead(p, kKic);
  Osc(p, 1, kSaw, 0.6);
  Pitch(p, 1, 0.0, 7.0);
  OscFilter(p, 0, kPkLowPass, kPkBandPass, 0.3, 0.6, 0.5);
  Ring(p, 0.25, 440.0, 1); // cold, metallic edge
  Delay(p, 0.2, 0.35);
}

void ExothermicHardstyleLead(Program& p)
{
  SuperSawLead1(p);
  PitchEnv(p, 0.03, 0.06, 0.4); // the hardstyle pitch-in
  Disto(p, kTube, 0.3);         // hot, but the saws stay tonal
  Eq(p, 0.45, 0.6, 0.55);
  Delay(p, 0.3, 0.45);
}

void EndothermicHardcoreLead(Program& p)
{
  Lead(p, kSaw);
  Osc(p, 1, kSaw, 0.9);
  Pitch(p, 1, 0.0, -14.0);
  Unison(p, 0.4);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.5, 0.35);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.5, 0.35);
  Disto(p, kHardcoreFuzz1, 0.25);
  MasterFilter(p, kRbjLowPass, kChebyLowPass12, 0.0, 0.78, 0.5); // colder top
}

void SquareLead1(Program& p)
{
  SawLead1(p);
  Osc(p, 0, kPulse); // the same lead on a square
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.7, 0.2);
}

void SquareLead2Detuned(Program& p)
{
  SquareLead1(p);
  Osc(p, 1, kPulse, 0.9);
  Pitch(p, 1, 0.0, -15.0);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.7, 0.2);
  Output(p, 0.32);
}

// Chip tunes: square waves stepping through a triad, crushed like an 8-bit sound chip.
void ChipTune(Program& p, NoteMode arp, Wave wave, double rate, double quantize)
{
  Mode(p, arp);
  Osc(p, 0, wave);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 1.0, 0.0);
  FilterEnv(p, 0.0, 0.1, 1.0, 0.05);
  Crush(p, rate, quantize);
  Delay(p, 0.0, 0.0);
}

// The sound chip's triangle channel an octave below the arpeggio, as its bass.
void TriangleChannel(Program& p)
{
  Osc(p, 1, kTriangle, 0.35);
  Pitch(p, 1, -12.0);
}

// A second square channel an octave above, a little to one side, and the echo the
// tracker fakes: the retro arpeggio's shimmer.
void RetroShimmer(Program& p, Wave wave)
{
  Osc(p, 1, wave, 0.25);
  Pitch(p, 1, 12.0);
  p.Set(P::Osc(0, P::kOscPan), 0.4);
  p.Set(P::Osc(1, P::kOscPan), 0.65);
  Delay(p, 0.2, 0.3);
}

void ChipTuneGeistD16(Program& p)
{
  SawLead1(p);
  ChipTune(p, kArpMajor, kPulse, 0.96, 0.33); // 8 bit, ~ 8.8 kHz
  TriangleChannel(p);
}

void ChipTuneGeistM16(Program& p)
{
  SawLead1(p);
  ChipTune(p, kArpMinor, kQuadPulse, 0.96, 0.33);
  TriangleChannel(p);
}

void EightBitRetroMajor(Program& p)
{
  Lead(p, kQuadPulse);
  ChipTune(p, kArpMajor, kQuadPulse, 0.95, 0.3); // 6.6 bit, ~ 7.4 kHz
  RetroShimmer(p, kPulse);
  VolumeEnv(p, 0.0, 0.3, 0.7, 0.05);
}

void EightBitRetroMinor(Program& p)
{
  Lead(p, kQuadPulse);
  ChipTune(p, kArpMinor, kOctPulse, 0.95, 0.3);
  RetroShimmer(p, kQuadPulse);
  VolumeEnv(p, 0.0, 0.3, 0.7, 0.05);
}

void GameNation1980(Program& p)
{
  Lead(p, kPulse);
  ChipTune(p, kStandard, kPulse, 0.97, 0.3);
  Mode(p, kOctaveDown);
  Osc(p, 1, kPulse, 0.3); // a second channel doubling an octave up
  Pitch(p, 1, 12.0);
  PitchEnv(p, 0.05, 0.015, 0.5);  // the blip at the start of each note
  Lfo(p, 0, 7.0, 0.0, 0.15, 0.0); // the console's vibrato
  VolumeEnv(p, 0.0, 0.25, 0.6, 0.05);
}

void TamsinsHappyChord(Program& p)
{
  Lead(p, kSaw); // a major chord on one key
  Osc(p, 1, kSaw, 0.7);
  Pitch(p, 1, 4.0);
  Osc(p, 2, kSaw, 0.7);
  Pitch(p, 2, 7.0);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.55, 0.2);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.55, 0.2);
  OscFilter(p, 2, kPkLowPass, kBwHighPass, 0.0, 0.55, 0.2);
  VolumeEnv(p, 0.01, 0.6, 0.6, 0.3);
  Delay(p, 0.25, 0.4);
}

void PositiveDubMadness(Program& p)
{
  Lead(p, kTriangle);
  Osc(p, 1, kPulse, 0.4);
  Pitch(p, 1, 12.0);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.5, 0.3);
  VolumeEnv(p, 0.002, 0.25, 0.3, 0.2);
  Delay(p, 0.6, 0.7, 0.45, 0.9); // the dub echo does the rest
}

void HighAboveTheSky(Program& p)
{
  Lead(p, kSaw);
  Osc(p, 1, kTriangle, 0.6);
  Pitch(p, 1, 12.0);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.85, 0.1);
  Lfo(p, 0, 5.5, 0.0, 0.08, 0.0);
  VolumeEnv(p, 0.03, 0.5, 0.8, 0.5);
  Delay(p, 0.4, 0.55, 0.6, 0.9);
  Eq(p, 0.45, 0.5, 0.6);
}

void DarkPhutureLead(Program& p)
{
  Lead(p, kSaw);
  Osc(p, 1, kSaw, 0.9);
  Pitch(p, 1, -12.0, 6.0);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.4, 0.6);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.4, 0.6);
  FilterEnv(p, 0.0, 0.25, 0.4, 0.1);
  Disto(p, kTube, 0.3);
}

void EventHorizonLeadPhased(Program& p)
{
  Lead(p, kSaw);
  Osc(p, 1, kPulse, 0.7);
  Pitch(p, 1, 0.0, 10.0);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.7, 0.3);
  Phaser(p, 0.8, 0.45, 0.35); // the phasing swallows the lead
  Delay(p, 0.25, 0.4);
  Output(p, 0.15);
}

void HardDnBLead1(Program& p)
{
  Lead(p, kSaw);
  Osc(p, 1, kSaw, 0.9);
  Pitch(p, 1, 0.0, -22.0);
  Unison(p, 0.3);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.6, 0.4);
  Disto(p, kFuzzDrive, 0.3);
  MasterFilter(p, kRbjBandPass, kChebyLowPass12, 0.0, 0.72, 0.45);
}

void FilterSynth(Program& p)
{
  Lead(p, kSaw);
  Osc(p, 1, kPulse, 0.6);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.8, 0.75); // a resonant sweep
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.8, 0.75);
  FilterEnv(p, 0.1, 0.4, 0.15, 0.2);
  Lfo(p, 0, 0.5, 0.0, 0.0, 0.3); // the sweep keeps breathing while held
  VolumeEnv(p, 0.005, 0.5, 0.8, 0.2);
  Delay(p, 0.2, 0.35);
  Output(p, 0.3);
}

void QFlintAYSynth(Program& p)
{
  Lead(p, kPulse);
  Osc(p, 1, kPulse, 0.5);
  Pitch(p, 1, 12.0, 3.0); // an AY chip's two square channels
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 1.0, 0.0);
  p.Set(P::Osc(0, P::kOscPan), 0.35); // the chip's channels left and right
  p.Set(P::Osc(1, P::kOscPan), 0.65);
  Crush(p, 0.96, 0.4);
  VolumeEnv(p, 0.0, 0.3, 0.75, 0.06);
}

void BigPitcher(Program& p)
{
  Lead(p, kSaw);
  Osc(p, 1, kPulse, 0.6);
  PitchEnv(p, 0.25, 0.2, 0.15); // a wide swoop down into the note
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.8, 0.3);
  Disto(p, kSoftTube, 0.3);
}

void Vibes(Program& p, Wave overtone, double tremolo)
{
  Mode(p, kOctaveDown);
  NoPitchEnv(p);
  Osc(p, 0, kSine);
  Osc(p, 1, overtone, 0.25);
  Pitch(p, 1, 12.0);
  Lfo(p, 0, 5.0, tremolo, 0.0, 0.0); // the motor's tremolo
  Lfo(p, 1, 5.0, tremolo, 0.0, 0.0);
  FilterEnv(p, 0.0, 0.1, 1.0, 0.1);
  VolumeEnv(p, 0.0, 1.6, 0.0, 0.8); // struck, long ring
  p.Set(P::kAdsrShape, 0.2);
  Output(p, 0.55);
}
void Vibes1(Program& p)
{
  Vibes(p, kSine, 0.35);
  p.Set(P::Osc(0, P::kOscPan), 0.45); // bar and resonator tube a little apart
  p.Set(P::Osc(1, P::kOscPan), 0.6);
}
void Vibes2(Program& p)
{
  Vibes(p, kTriangle, 0.2);
  Delay(p, 0.25, 0.4);
}

void BasicSineWave(Program& p)
{
  Mode(p, kOctaveDown);
  NoPitchEnv(p);
  Osc(p, 0, kSine);
  FilterEnv(p, 0.0, 0.1, 1.0, 0.1);
  VolumeEnv(p, 0.005, 0.1, 1.0, 0.05);
  Output(p, 0.5);
}

constexpr std::array<Definition, 29> kSynths = {{
    {"#SYNTH SOUNDS#", SynthHeading},
    {"Saw Lead 1", SawLead1},
    {"Saw Lead 2 (detuned)", SawLead2Detuned},
    {"Saw Lead 3 (modulated)", SawLead3Modulated},
    {"Super Saw Lead 1", SuperSawLead1},
    {"Super Saw Lead 2", SuperSawLead2},
    {"Classic Hardcore Lead", ClassicHardcoreLead},
    {"Cyber Realizm", CyberRealizm},
    {"Exothermic Hardstyle Lead", ExothermicHardstyleLead},
    {"Endothermic Hardcore Lead", EndothermicHardcoreLead},
    {"Square Lead 1", SquareLead1},
    {"Square Lead 2 (detuned)", SquareLead2Detuned},
    {"Chip-Tune-Geist D-16", ChipTuneGeistD16},
    {"Chip-Tune-Geist M-16", ChipTuneGeistM16},
    {"8-bit Retro (major)", EightBitRetroMajor},
    {"8-bit Retro (minor)", EightBitRetroMinor},
    {"1980 Game-Nation", GameNation1980},
    {"Tamsin's Happy Chord", TamsinsHappyChord},
    {"Positive Dub Madness", PositiveDubMadness},
    {"High above the sky", HighAboveTheSky},
    {"Dark Phuture Lead", DarkPhutureLead},
    {"Event Horizon Lead (phased)", EventHorizonLeadPhased},
    {"Hard-D&B-Lead 1", HardDnBLead1},
    {"Filter Synth", FilterSynth},
    {"Q.Flint A-Y-Synth", QFlintAYSynth},
    {"Big Pitcher", BigPitcher},
    {"Vibes 1", Vibes1},
    {"Vibes 2", Vibes2},
    {"Basic Sine wave", BasicSineWave},
}};
} // namespace

std::span<const Definition> Synths() { return kSynths; }

} // namespace Korvane::Programs
