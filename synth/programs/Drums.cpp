// Drums and effect sounds, programs 61 to 70: a drum body, cymbals and hi-hats made of
// noise and high-pass filters, a snare, and four effect sounds.
#include "synth/programs/ProgramDesign.h"

#include <array>

namespace Korvane::Programs
{
namespace
{
// A filter envelope that opens at once and stays open (the cutoff set on the oscillator
// filter is then the cutoff heard).
void OpenFilter(Program& p) { FilterEnv(p, 0.0, 0.1, 1.0, 0.05); }

// Noise through the oscillator's Butterworth high-pass: the metal of the cymbals.
void NoiseHighPass(Program& p, int osc, Wave noise, double cutoff, double resonance, double volume)
{
  Osc(p, osc, noise, volume);
  OscFilter(p, osc, kBwHighPass, kBwHighPass, 0.0, cutoff, resonance);
}

void DrumHeading(Program& p)
{
  // The heading sounds as a short tom, a drum and an effect at once: a body on the
  // drum-body pitch, the stick's snap in noise, and an echo that answers the hit.
  p.KickBase(kDrumBody);
  Osc(p, 0, kSine);
  PitchEnv(p, 0.15, 0.05, 0.3);
  Osc(p, 1, kWhiteNoise, 0.1);
  OscFilter(p, 1, kPkBandPass, kBwHighPass, 0.0, 0.35, 0.3); // the snap, closing fast
  VolumeEnv(p, 0.0, 0.22, 0.0, 0.01);
  Delay(p, 0.15, 0.2, 0.5, 0.75);
  Output(p, 0.6);
}

void DrumBodyByMerrow(Program& p)
{
  p.KickBase(kDrumBody); // 64.84 Hz
  Osc(p, 0, kSine);
  Osc(p, 1, kTriangle, 0.35); // the shell an octave up
  Pitch(p, 1, 12.0);
  PitchEnv(p, 0.18, 0.06, 0.3, 0.02);
  VolumeEnv(p, 0.0, 0.3, 0.0, 0.01);
  p.Set(P::kBassLayerClick, 0.15);
  Output(p, 0.6);
}

void RideCymbalByPellOstrin(Program& p)
{
  NoPitchEnv(p);
  NoiseHighPass(p, 0, kWhiteNoise, 0.3, 0.4, 0.8); // ~ 6 kHz and up
  Osc(p, 1, kBrickBreaker, 0.35);                  // the bell: an inharmonic cycle high up
  Pitch(p, 1, 12.0);
  OscFilter(p, 1, kBwHighPass, kBwHighPass, 0.0, 0.2, 0.2);
  OpenFilter(p);
  VolumeEnv(p, 0.0, 1.2, 0.0, 0.6); // a long wash
  p.Set(P::kAdsrShape, 0.25);
  Eq(p, 0.3, 0.5, 0.6);
  Output(p, 0.4);
}

void ClosedHihatByDovik(Program& p)
{
  NoPitchEnv(p);
  NoiseHighPass(p, 0, kWhiteNoise, 0.38, 0.3, 1.0); // ~ 8 kHz
  Osc(p, 1, kBrickBreaker, 0.6);                    // the metal of the closed plates, high up
  Pitch(p, 1, 12.0);
  OscFilter(p, 1, kBwHighPass, kBwHighPass, 0.0, 0.25, 0.2);
  p.Set(P::Osc(0, P::kOscPan), 0.45); // the pair a little apart
  p.Set(P::Osc(1, P::kOscPan), 0.6);
  OpenFilter(p);
  VolumeEnv(p, 0.0, 0.06, 0.0, 0.03); // a tick
  p.Set(P::kAdsrShape, 0.2);
  Eq(p, 0.2, 0.5, 0.55);
  Output(p, 0.85);
}

void OpenHihatByMerrow(Program& p)
{
  NoPitchEnv(p);
  NoiseHighPass(p, 0, kWhiteNoise, 0.33, 0.35, 1.0);
  NoiseHighPass(p, 1, kNoize, 0.45, 0.2, 0.3);
  OpenFilter(p);
  VolumeEnv(p, 0.0, 0.45, 0.0, 0.2); // rings open
  p.Set(P::kAdsrShape, 0.3);
  Eq(p, 0.2, 0.5, 0.55);
  Output(p, 0.4);
}

void SnareDrum(Program& p)
{
  p.KickBase(kDrumBody);
  Osc(p, 0, kTriangle); // the head, an octave above the drum pitch
  Pitch(p, 0, 12.0);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 1.0, 0.0);
  PitchEnv(p, 0.08, 0.03, 0.3);
  Osc(p, 1, kWhiteNoise, 0.7); // the wires: a band and a hiss
  OscFilter(p, 1, kPkBandPass, kBwHighPass, 0.5, 0.3, 0.2);
  OpenFilter(p);
  VolumeEnv(p, 0.0, 0.2, 0.0, 0.08);
  p.Set(P::kAdsrShape, 0.25);
  Disto(p, kSoftKneeCompressor, 0.3);
  Output(p, 0.6);
}

void ACoderAteMyPigeon(Program& p)
{
  Osc(p, 0, kSynapsis);               // a chirping, warbling bird of code
  Lfo(p, 0, 7.5, 0.3, 0.8, 0.0, 0.4); // fluttering from side to side
  Osc(p, 1, kGeoChirp, 0.3);          // and a second bird a fifth above
  Pitch(p, 1, 7.0);
  p.Set(P::kFmAmount, 0.25);
  PitchEnv(p, 0.15, 0.15, 0.2);
  VolumeEnv(p, 0.01, 0.5, 0.3, 0.3);
  Crush(p, 0.8, 0.5);
  Delay(p, 0.3, 0.4);
  Output(p, 0.45);
}

void SilverSubmarine(Program& p)
{
  Osc(p, 0, kSine); // the sonar ping
  Osc(p, 1, kSine, 0.15);
  Pitch(p, 1, 12.0);                  // its metallic overtone
  Lfo(p, 0, 0.2, 0.0, 0.0, 0.0, 0.5); // the ping circles the hull
  Mode(p, kOctaveDown);
  VolumeEnv(p, 0.002, 0.8, 0.0, 0.5);
  p.Set(P::kAdsrShape, 0.2);
  Phaser(p, 0.5, 0.6, 0.3);
  Delay(p, 0.5, 0.55, 0.5, 0.8); // the echo off the hull
  Eq(p, 0.5, 0.5, 0.4);          // under water: a dull top
  Output(p, 0.55);
}

void LaserFx(Program& p)
{
  Osc(p, 0, kSaw, 0.6);
  Osc(p, 1, kSine);
  PitchEnv(p, 0.6, 0.18, 0.12, 0.3); // the zap: from 13 times the pitch down
  VolumeEnv(p, 0.0, 0.45, 0.0, 0.1);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 1.0, 0.3);
  FilterEnv(p, 0.0, 0.1, 1.0, 0.1);
  Delay(p, 0.35, 0.35);
  Output(p, 0.6);
}

void OceanWavesByHalvard(Program& p)
{
  NoPitchEnv(p);
  Osc(p, 0, kPinkNoise); // the surf
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.35, 0.2);
  Lfo(p, 0, 0.15, 0.8, 0.0, 0.8, 0.6); // slow swells, left and right
  p.Set(P::Osc(0, P::kOscPan), 0.35);
  Osc(p, 1, kPinkNoise, 0.6); // a second wave rolling in from the other side
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.3, 0.2);
  Lfo(p, 1, 0.11, 0.9, 0.0, 0.6); // on a slower swell of its own
  p.Set(P::Osc(1, P::kOscPan), 0.7);
  FilterEnv(p, 0.3, 0.5, 0.8, 0.5);
  VolumeEnv(p, 1.2, 1.0, 0.8, 1.5);
  Output(p, 1.0);
  p.Set(P::kEqBass, 0.6);
}

constexpr std::array<Definition, 10> kDrums = {{
    {"#DRUM AND FX SECTION#", DrumHeading},
    {"Drum Body by Merrow", DrumBodyByMerrow},
    {"Ride Cymbal by Pell_Ostrin", RideCymbalByPellOstrin},
    {"Closed Hihat by Dovik", ClosedHihatByDovik},
    {"Open Hihat by Merrow", OpenHihatByMerrow},
    {"Snare-Drum", SnareDrum},
    {"A Coder Ate My Pigeon", ACoderAteMyPigeon},
    {"Silver Submarine", SilverSubmarine},
    {"Laser FX", LaserFx},
    {"Ocean-Waves by Halvard", OceanWavesByHalvard},
}};
} // namespace

std::span<const Definition> Drums() { return kDrums; }

} // namespace Korvane::Programs
