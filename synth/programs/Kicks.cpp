// Kicks and bass drums, programs 0 to 60: the clean basic and oldschool drums, then the
// hardcore section (mainstream, darkcore, rawstyle, terrorcore, speedcore, frenchcore,
// gabber, Amiga and noise-core kicks). Every kick plays one fixed pitch on any key
// (the kick base's note mode) and ends within half a second or so.
#include "synth/programs/ProgramDesign.h"

#include <array>

namespace Korvane::Programs
{
namespace
{
// One sine (or other) body on oscillator 1, fully open filter, no LFO.
void Body(Program& p, Wave wave, double volume = 1.0)
{
  Osc(p, 0, wave, volume);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 1.0, 0.0);
}

// The hardcore kick's chassis: a body, a punchy sweep, a long decay and drive that
// follows the filter envelope.
void HardcoreBody(Program& p, NoteMode mode, double decay)
{
  p.KickBase(mode);
  Body(p, kSine);
  VolumeEnv(p, 0.0, decay, 0.0, 0.01);
  FilterEnv(p, 0.0, 0.3, 0.0, 0.005);
  p.Set(P::kFilterEnvToDistortion, 0.0);
  Output(p, 0.6);
}

// --- Basic and oldschool ----------------------------------------------------------

void BasicBassDrum1(Program& p)
{
  p.KickBase(kMidKick);                // fixed 44 Hz
  p.Set(P::kPitchAmount, 0.2);         // sweep from five times the pitch
  p.Set(P::Osc(1, P::kOscOnOff), 0.0); // one oscillator only
  p.Set(P::Osc(2, P::kOscOnOff), 0.0);
  p.Set(P::Osc(0, P::kOscTune), 0.5);
  p.Set(P::Osc(0, P::kOscSaturation), 0.0);
  p.Set(P::Osc(0, P::kOscFilterBalance), 0.5);
  p.Set(P::Osc(0, P::kOscPitch), 0.5);
  p.Set(P::Osc(0, P::kOscWaveform), 0.0); // sine
  p.Set(P::Osc(1, P::kOscWaveform), 0.0);
  p.Set(P::Osc(2, P::kOscWaveform), 0.0);
  p.Set(P::Osc(0, P::kOscFilterCutoff), 0.0);
  p.Set(P::Osc(0, P::kOscFilterTypeLeft), 0.0);
  p.Set(P::Osc(0, P::kOscLfoFreq), 0.0);
  p.Set(P::Osc(0, P::kOscLfoToVolume), 0.0);
  p.Set(P::Osc(0, P::kOscLfoToTune), 0.0);
  p.Set(P::Osc(0, P::kOscLfoToFilter), 0.0);
  p.Set(P::Osc(0, P::kOscOnOff), 1.0);
  p.Set(P::Osc(0, P::kOscVolume), 1.0);
  p.Set(P::Osc(0, P::kOscFilterReso), 1.0);
  p.Set(P::kPitchEnvOnOff, 1.0);
  p.Set(P::kPitchPower, 0.25);
  p.Set(P::kPitchDown, 0.75);
}

void BasicBassDrum2(Program& p)
{
  p.KickBase(kMidKick);
  Body(p, kSine);
  PitchEnv(p, 0.22, 0.045, 0.3);   // a quick drop from ~240 Hz
  p.Set(P::kBassLayerClick, 0.15); // a short click on top
  p.Set(P::kBassLayerAmount, 0.2); // a sub sine that carries the body under the click
  VolumeEnv(p, 0.0, 0.32, 0.0, 0.01);
  Eq(p, 0.5, 0.5, 0.56); // a little air on the click
  Output(p, 0.6);
}

void BasicBassDrum3(Program& p)
{
  p.KickBase(kElectroKick);
  Body(p, kSine);
  PitchEnv(p, 0.3, 0.04, 0.35);
  p.Set(P::kBassLayerClick, 0.45);           // a harder click shape
  p.Set(P::Osc(0, P::kOscSaturation), 0.15); // a denser, rounder body
  VolumeEnv(p, 0.0, 0.28, 0.0, 0.01);
  Eq(p, 0.5, 0.46, 0.58); // the boxy mids scooped, the click snaps
  Output(p, 0.6);
}

void BasicKickDrum1(Program& p)
{
  p.KickBase(kHighKick);
  Body(p, kSine);
  PitchEnv(p, 0.25, 0.03, 0.3);
  p.Set(P::Osc(0, P::kOscStartPhase), 0.75); // starts on the crest: a firm knock
  p.Set(P::kBassLayerClick, 0.08);           // and a faint tick of the beater
  VolumeEnv(p, 0.0, 0.2, 0.0, 0.01);         // shorter than a bass drum
  Eq(p, 0.5, 0.45, 0.5);                     // less cardboard in the mids
  Output(p, 0.6);
}

void BasicKickDrum2(Program& p)
{
  p.KickBase(kHighKick);
  Body(p, kTriangle); // a little more edge than the sine
  PitchEnv(p, 0.3, 0.025, 0.4);
  p.Set(P::kBassLayerClick, 0.1);
  VolumeEnv(p, 0.0, 0.18, 0.0, 0.01);
  Output(p, 0.55);
}

void ElectronicKick(Program& p)
{
  p.KickBase(kElectroKick);
  Body(p, kSine);
  PitchEnv(p, 0.35, 0.06, 0.25);   // the long 808-style sweep
  p.Set(P::kBassLayerAmount, 0.4); // sub sine under the body
  VolumeEnv(p, 0.0, 0.4, 0.0, 0.02);
  Disto(p, kSoftTube, 0.15);
  Output(p, 0.55);
}

void TightKickByMerrow(Program& p)
{
  p.KickBase(kHighKick);
  Body(p, kSine);
  PitchEnv(p, 0.28, 0.02, 0.45); // very short, snappy sweep
  p.Set(P::kBassLayerClick, 0.3);
  VolumeEnv(p, 0.0, 0.14, 0.0, 0.005);
  Disto(p, kSoftKneeCompressor, 0.3);
  Output(p, 0.65);
}

void LaserKick(Program& p)
{
  p.KickBase(kElectroKick);
  Body(p, kSine);
  PitchEnv(p, 0.9, 0.08, 0.2);              // the zap: from 18 times the pitch
  p.Set(P::Osc(0, P::kOscSaturation), 0.2); // the zap gets an edge
  p.Set(P::kFmAmount, 0.12);                // and a glassy shimmer while it falls
  VolumeEnv(p, 0.0, 0.3, 0.0, 0.01);
  Eq(p, 0.5, 0.5, 0.58); // sizzle on top of the sweep
  Output(p, 0.55);
}

void PulseBeat(Program& p)
{
  p.KickBase(kMidKick);
  Body(p, kPulse, 0.8);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.35, 0.2); // the pulse darkened
  PitchEnv(p, 0.25, 0.04, 0.3);
  VolumeEnv(p, 0.0, 0.25, 0.0, 0.01);
  Output(p, 0.55);
}

// Oldschool bass drums: a clean sine, a soft tube touch, no clicks beyond a tick.
void OldschoolBassDrum(Program& p, NoteMode mode, double sweep, double fall, double decay,
                       double tube)
{
  p.KickBase(mode);
  Body(p, kSine);
  PitchEnv(p, sweep, fall, 0.3);
  VolumeEnv(p, 0.0, decay, 0.0, 0.01);
  Disto(p, kSoftTube, tube);
  Output(p, 0.6);
}
void OldschoolBassDrum1(Program& p) { OldschoolBassDrum(p, kMidKick, 0.2, 0.05, 0.3, 0.1); }
void OldschoolBassDrum2(Program& p) { OldschoolBassDrum(p, kElectroKick, 0.25, 0.06, 0.35, 0.15); }
void OldschoolBassDrum3(Program& p) { OldschoolBassDrum(p, kLowKick, 0.3, 0.07, 0.4, 0.2); }
void OldschoolBassDrum4(Program& p)
{
  OldschoolBassDrum(p, kHighKick, 0.18, 0.04, 0.26, 0.1);
  p.Set(P::kBassLayerClick, 0.2);
}
void OldschoolBassDrum5(Program& p)
{
  OldschoolBassDrum(p, kMidKick, 0.35, 0.05, 0.33, 0.25);
  Body(p, kTriangle);
}

// --- Hardcore -------------------------------------------------------------------------

void HardcoreHeading(Program& p)
{
  ElectronicKick(p); // the heading plays the electronic kick, hot
  Disto(p, kHardOverload, 0.45);
  p.Set(P::kPitchAmount, 0.4);
}

// Mainstream: the long, tuned, round hardcore kick with a curve drive.
void MainstreamBassDrum(Program& p, NoteMode mode, DistoType curve, double drive, double decay)
{
  HardcoreBody(p, mode, decay);
  PitchEnv(p, 0.3, 0.09, 0.3, 0.05);
  Disto(p, curve, drive);
  p.Set(P::kBassLayerClick, 0.25);
  Eq(p, 0.55, 0.5, 0.5);
}
void MainstreamBassDrum1(Program& p)
{
  MainstreamBassDrum(p, kElectroKick, kHardcoreFuzz1, 0.4, 0.45);
}
void MainstreamBassDrum2(Program& p) { MainstreamBassDrum(p, kMidKick, kHardcoreFuzz2, 0.45, 0.5); }
void MainstreamBassDrum3(Program& p)
{
  MainstreamBassDrum(p, kHighKick, kKorvaneDrive1, 0.5, 0.42);
}

void NextMilleniumKick(Program& p)
{
  HardcoreBody(p, kElectroKick, 0.4);
  PitchEnv(p, 0.45, 0.07, 0.35, 0.08);
  Disto(p, kKorvaneDrive2, 0.5);
  p.Set(P::kBassLayerClick, 0.5);
  MasterFilter(p, kRbjLowPass, kChebyLowPass12, 0.0, 0.85, 0.55); // a peak in the top
}

// Darkcore: low, slow and dark; the filter closes with the decay.
void DarkcoreBassDrum(Program& p, NoteMode mode, DistoType curve)
{
  HardcoreBody(p, mode, 0.5);
  PitchEnv(p, 0.25, 0.12, 0.25, 0.05);
  Disto(p, curve, 0.4);
  MasterFilter(p, kRbjLowPass, kChebyLowPass12, 0.0, 0.62, 0.5); // ~ 1.2 kHz
}
void DarkcoreBassDrum1(Program& p) { DarkcoreBassDrum(p, kLowKick, kToskFuzz); }
void DarkcoreBassDrum2(Program& p)
{
  DarkcoreBassDrum(p, kMidKick, kGrimHowl3);
  p.Set(P::kFilterEnvToDistortion, 1.0); // the howl fades with the envelope
}

void RawstyleKick(Program& p)
{
  HardcoreBody(p, kHighKick, 0.38);
  PitchEnv(p, 0.4, 0.05, 0.4, 0.1);
  Disto(p, kMadDog, 0.7); // the screeching mid tail
  p.Set(P::kBassLayerClick, 0.6);
  MasterFilter(p, kRbjLowPass, kChebyLowPass12, 0.0, 0.9, 0.3);
  Eq(p, 0.6, 0.6, 0.45);
}

void DrennBassDrum(Program& p)
{
  HardcoreBody(p, kMidKick, 0.45);
  PitchEnv(p, 0.3, 0.08, 0.3, 0.05);
  Disto(p, kDrennFuzz1, 0.55);
}

void DrennKickDrum(Program& p)
{
  HardcoreBody(p, kHighKick, 0.3);
  PitchEnv(p, 0.35, 0.05, 0.35, 0.05);
  Disto(p, kDrennFuzz2, 0.6);
  p.Set(P::kBassLayerClick, 0.35);
}

void PlexiDrum(Program& p)
{
  HardcoreBody(p, kElectroKick, 0.35);
  Osc(p, 1, kTriangle, 0.4); // a second body an octave up
  Pitch(p, 1, 12.0);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.6, 0.1);
  PitchEnv(p, 0.3, 0.06, 0.3);
  Disto(p, kFuzzDrive, 0.35);
}

void IndustrialBassDrum(Program& p)
{
  HardcoreBody(p, kMidKick, 0.4);
  PitchEnv(p, 0.3, 0.07, 0.3, 0.05);
  Disto(p, kIndustrialFuzz, 0.6);
  Osc(p, 1, kNoize, 0.25); // metallic grit
  OscFilter(p, 1, kPkBandPass, kBwHighPass, 0.0, 0.4, 0.4);
  Crush(p, 0.9, 1.0);
}

void LowQBassDrum(Program& p, Wave grit, double gritVolume)
{
  HardcoreBody(p, kLowKick, 0.45);
  PitchEnv(p, 0.28, 0.08, 0.3, 0.04);
  Disto(p, kHardOverload, 0.45);
  Osc(p, 1, grit, gritVolume); // a low-Q noise cycle at the pitch
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.5, 0.0);
}
void LowQBassDrum1(Program& p) { LowQBassDrum(p, kLowQNoise1, 0.3); }
void LowQBassDrum2(Program& p) { LowQBassDrum(p, kLowQNoise2, 0.4); }

void ReBorn(Program& p)
{
  HardcoreBody(p, kElectroKick, 0.42);
  PitchEnv(p, 0.38, 0.1, 0.28, 0.06);
  Disto(p, kKorvaneDrive3, 0.45);
  p.Set(P::kBassLayerAmount, 0.3);
  Phaser(p, 0.3, 0.4, 0.2); // a slow sheen on the tail
}

void ToskDoomcoreKick(Program& p)
{
  HardcoreBody(p, kLowKick, 0.6); // low and long
  PitchEnv(p, 0.25, 0.15, 0.22, 0.08);
  Disto(p, kToskFuzz, 0.65);
  MasterFilter(p, kRbjLowPass, kChebyLowPass12, 0.0, 0.58, 0.55); // doom: ~ 900 Hz
  Eq(p, 0.6, 0.45, 0.4);
}

void DeepUndergroundBeat(Program& p)
{
  HardcoreBody(p, kLowKick, 0.5);
  PitchEnv(p, 0.2, 0.1, 0.3, 0.03);
  Disto(p, kSoftTube, 0.4);
  p.Set(P::kBassLayerAmount, 0.5);
  MasterFilter(p, kRbjLowPass, kChebyLowPass12, 0.0, 0.52, 0.4);
}

void BassMegastructure(Program& p)
{
  HardcoreBody(p, kMidKick, 0.55);
  Osc(p, 1, kSaw, 0.3); // a saw body under the sine
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.3, 0.3);
  PitchEnv(p, 0.3, 0.09, 0.3, 0.05);
  Disto(p, kBigFatDrive, 0.55);
  p.Set(P::kBassLayerAmount, 0.4);
}

// Terrorcore and speedcore: short, loud and crushed.
void TerrorcoreBeat(Program& p, DistoType curve, double decay)
{
  HardcoreBody(p, kHighKick, decay);
  PitchEnv(p, 0.4, 0.04, 0.4, 0.05);
  Disto(p, curve, 0.8);
  p.Set(P::kBassLayerClick, 0.7);
  Output(p, 0.7);
}
void TerrorcoreBeat1(Program& p) { TerrorcoreBeat(p, kFullClip, 0.2); }
void TerrorcoreBeat2(Program& p)
{
  TerrorcoreBeat(p, kHardcoreFuzz3, 0.22);
  Crush(p, 0.92, 1.0);
}

void KillerBeat(Program& p)
{
  HardcoreBody(p, kElectroKick, 0.3);
  PitchEnv(p, 0.45, 0.05, 0.35, 0.05);
  Disto(p, kViciousViper, 0.7);
  p.Set(P::kBassLayerClick, 0.55);
}

void DirtyBeat(Program& p)
{
  HardcoreBody(p, kMidKick, 0.35);
  PitchEnv(p, 0.3, 0.06, 0.3, 0.05);
  Disto(p, kBigBadDrive, 0.6);
  Osc(p, 1, kPinkNoise, 0.15); // dirt under the body
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.4, 0.0);
}

void FrenchcoreKick(Program& p)
{
  HardcoreBody(p, kHighKick, 0.25); // fast tempo: short
  PitchEnv(p, 0.45, 0.045, 0.4, 0.08);
  Disto(p, kHardcoreFuzz2, 0.75);
  p.Set(P::kBassLayerClick, 0.65);
  Eq(p, 0.55, 0.6, 0.5);
  Output(p, 0.7);
}

void SpeedcoreKick1(Program& p)
{
  HardcoreBody(p, kHighKick, 0.15); // 300 BPM and up
  PitchEnv(p, 0.5, 0.03, 0.45, 0.05);
  Disto(p, kFullClip, 0.85);
  p.Set(P::kBassLayerClick, 0.8);
  Output(p, 0.7);
}

void SpeedcoreKick2(Program& p)
{
  HardcoreBody(p, kHighKick, 0.13);
  PitchEnv(p, 0.55, 0.025, 0.5, 0.05);
  Disto(p, kAssKicking, 0.85);
  Crush(p, 0.9, 0.9);
  Output(p, 0.7);
}

void BounceKick(Program& p, double sweep, DistoType curve)
{
  HardcoreBody(p, kElectroKick, 0.3);
  PitchEnv(p, sweep, 0.11, 0.15, 0.02); // a soft, bouncing slide
  Disto(p, curve, 0.35);
}
void BounceKick1(Program& p) { BounceKick(p, 0.3, kSoftTube); }
void BounceKick2(Program& p) { BounceKick(p, 0.4, kTube); }

void NoiseCoreKick(Program& p)
{
  HardcoreBody(p, kMidKick, 0.3);
  PitchEnv(p, 0.35, 0.05, 0.35, 0.05);
  Osc(p, 1, kWhiteNoise, 0.5); // the noise that gives it its name
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.7, 0.0);
  Disto(p, kHardOverload, 0.7);
  p.Set(P::kFilterEnvToDistortion, 1.0);
}

// Amiga 8-bit: the body through a coarse quantiser and a held sample rate.
void AmigaPowerkick(Program& p, double quantize, double rate)
{
  HardcoreBody(p, kElectroKick, 0.3);
  PitchEnv(p, 0.35, 0.06, 0.3, 0.03);
  Disto(p, kHardOverload, 0.3);
  Crush(p, rate, quantize);
}
void AmigaPowerkick1(Program& p) { AmigaPowerkick(p, 0.33, 0.93); } // 8 bit, ~5.5 kHz
void AmigaPowerkick2(Program& p) { AmigaPowerkick(p, 0.28, 0.9); }  // 6 bit, ~3.7 kHz

void BrannowKickDrum(Program& p, NoteMode mode, DistoType curve, double decay)
{
  HardcoreBody(p, mode, decay);
  PitchEnv(p, 0.32, 0.08, 0.3, 0.06);
  Disto(p, curve, 0.5);
  p.Set(P::kBassLayerClick, 0.3);
}
void BrannowKickDrum1(Program& p) { BrannowKickDrum(p, kElectroKick, kHardcoreFuzz4, 0.4); }
void BrannowKickDrum2(Program& p) { BrannowKickDrum(p, kMidKick, kTigersBlood, 0.45); }

void VeskoKickDrum(Program& p, DistoType curve, double sweep)
{
  HardcoreBody(p, kHighKick, 0.35);
  PitchEnv(p, sweep, 0.07, 0.32, 0.05);
  Disto(p, curve, 0.55);
  Eq(p, 0.55, 0.55, 0.45);
}
void VeskoKickDrum1(Program& p) { VeskoKickDrum(p, kKorvaneDrive4, 0.3); }
void VeskoKickDrum2(Program& p) { VeskoKickDrum(p, kGrimHowl1, 0.38); }

void DaThumpPusher(Program& p)
{
  HardcoreBody(p, kElectroKick, 0.45);
  PitchEnv(p, 0.28, 0.09, 0.28, 0.04);
  Disto(p, kSigmoid1, 0.5);
  p.Set(P::kBassLayerAmount, 0.35);
  p.Set(P::kBassLayerClick, 0.2);
}

// Gabber: the overdriven 909 body, loud and short, with its hollow mid tone.
void GabberKick(Program& p, NoteMode mode, DistoType curve, double decay)
{
  HardcoreBody(p, mode, decay);
  PitchEnv(p, 0.4, 0.05, 0.35, 0.06);
  Disto(p, curve, 0.85, 2);
  p.Set(P::kBassLayerClick, 0.4);
  Eq(p, 0.5, 0.62, 0.45);
  Output(p, 0.65);
}
void GabberKick1(Program& p) { GabberKick(p, kHighKick, kHardOverload, 0.3); }
void GabberKick2(Program& p) { GabberKick(p, kElectroKick, kFuzzDrive, 0.33); }
void GabberKick3(Program& p) { GabberKick(p, kHighKick, kHardcoreFuzz1, 0.27); }

void KorvaneKickDrum(Program& p, DistoType curve, double sweep, double decay)
{
  HardcoreBody(p, kElectroKick, decay);
  PitchEnv(p, sweep, 0.08, 0.3, 0.05);
  Disto(p, curve, 0.55);
  p.Set(P::kBassLayerClick, 0.35);
}
void KorvaneKickDrum1(Program& p) { KorvaneKickDrum(p, kKorvaneDrive1, 0.3, 0.4); }
void KorvaneKickDrum2(Program& p) { KorvaneKickDrum(p, kKorvaneDrive2, 0.35, 0.38); }
void KorvaneKickDrum3(Program& p) { KorvaneKickDrum(p, kKorvaneDrive3, 0.4, 0.36); }
void KorvaneKickDrum4(Program& p) { KorvaneKickDrum(p, kKorvaneDrive4, 0.45, 0.34); }

void ThumpGeisterKick(Program& p)
{
  HardcoreBody(p, kMidKick, 0.42);
  PitchEnv(p, 0.33, 0.08, 0.3, 0.05);
  Disto(p, kHardcoreFuzz4, 0.5);
  p.Set(P::kBassLayerAmount, 0.3);
  p.Set(P::kBassLayerClick, 0.3);
}

void DarkMatterDetector(Program& p)
{
  HardcoreBody(p, kLowKick, 0.55);
  PitchEnv(p, 0.5, 0.12, 0.2, 0.05);
  Disto(p, kGrimHowl2, 0.5);
  Ring(p, 0.2, 180.0); // a metallic ring on the attack
}

void IndustrialCrunch(Program& p)
{
  HardcoreBody(p, kMidKick, 0.35);
  PitchEnv(p, 0.35, 0.06, 0.35, 0.05);
  Disto(p, kIndustrialFuzz, 0.7);
  Crush(p, 0.8, 0.7);
  p.Set(P::kGateCrack, 0.2); // the crunch: one half-wave gated
}

void QFlintBassDrum(Program& p, NoteMode mode, double sweep)
{
  HardcoreBody(p, mode, 0.4);
  PitchEnv(p, sweep, 0.07, 0.3, 0.04);
  Disto(p, kTube, 0.45);
  p.Set(P::kBassLayerClick, 0.25);
}
void QFlintBassDrum1(Program& p) { QFlintBassDrum(p, kElectroKick, 0.3); }
void QFlintBassDrum2(Program& p) { QFlintBassDrum(p, kHighKick, 0.36); }

constexpr std::array<Definition, 61> kKicks = {{
    {"Basic Bass Drum 1", BasicBassDrum1},
    {"Basic Bass Drum 2 (click)", BasicBassDrum2},
    {"Basic Bass Drum 3 (click)", BasicBassDrum3},
    {"Basic Kick Drum 1", BasicKickDrum1},
    {"Basic Kick Drum 2", BasicKickDrum2},
    {"Electronic Kick", ElectronicKick},
    {"Tight Kick by Merrow", TightKickByMerrow},
    {"Laser Kick", LaserKick},
    {"Pulse Beat", PulseBeat},
    {"Oldschool Bass Drum 1", OldschoolBassDrum1},
    {"Oldschool Bass Drum 2", OldschoolBassDrum2},
    {"Oldschool Bass Drum 3", OldschoolBassDrum3},
    {"Oldschool Bass Drum 4", OldschoolBassDrum4},
    {"Oldschool Bass Drum 5", OldschoolBassDrum5},
    {"#HARDCORE BASS DRUMS#", HardcoreHeading},
    {"Mainstream Bass Drum 1", MainstreamBassDrum1},
    {"Mainstream Bass Drum 2", MainstreamBassDrum2},
    {"Mainstream Bass Drum 3", MainstreamBassDrum3},
    {"Next-Millenium Kick", NextMilleniumKick},
    {"Darkcore Bass Drum 1", DarkcoreBassDrum1},
    {"Darkcore Bass Drum 2", DarkcoreBassDrum2},
    {"Rawstyle Kick", RawstyleKick},
    {"Drenn Bass Drum", DrennBassDrum},
    {"Drenn Kick Drum", DrennKickDrum},
    {"Plexi-Drum", PlexiDrum},
    {"Industrial Bass Drum", IndustrialBassDrum},
    {"Low Q Bass Drum 1", LowQBassDrum1},
    {"Low Q Bass Drum 2", LowQBassDrum2},
    {"Re-Born", ReBorn},
    {"Tosk Doomcore-Kick", ToskDoomcoreKick},
    {"Deep-Underground-Beat", DeepUndergroundBeat},
    {"Bass-Megastructure", BassMegastructure},
    {"Terrorcore Beat 1", TerrorcoreBeat1},
    {"Terrorcore Beat 2", TerrorcoreBeat2},
    {"Killer Beat", KillerBeat},
    {"Dirty Beat", DirtyBeat},
    {"Frenchcore Kick", FrenchcoreKick},
    {"Speedcore Kick 1", SpeedcoreKick1},
    {"Speedcore Kick 2", SpeedcoreKick2},
    {"Bounce Kick 1", BounceKick1},
    {"Bounce Kick 2", BounceKick2},
    {"NoiseCore Kick", NoiseCoreKick},
    {"Amiga 8-bit Powerkick 1", AmigaPowerkick1},
    {"Amiga 8-bit Powerkick 2", AmigaPowerkick2},
    {"Brannow Kick Drum 1", BrannowKickDrum1},
    {"Brannow Kick Drum 2", BrannowKickDrum2},
    {"Vesko Kick Drum 1", VeskoKickDrum1},
    {"Vesko Kick Drum 2", VeskoKickDrum2},
    {"Da Thump Pusher", DaThumpPusher},
    {"Gabber Kick 1", GabberKick1},
    {"Gabber Kick 2", GabberKick2},
    {"Gabber Kick 3", GabberKick3},
    {"Korvane Kick Drum 1", KorvaneKickDrum1},
    {"Korvane Kick Drum 2", KorvaneKickDrum2},
    {"Korvane Kick Drum 3", KorvaneKickDrum3},
    {"Korvane Kick Drum 4", KorvaneKickDrum4},
    {"Thump-Geister Kick", ThumpGeisterKick},
    {"Dark Matter Detector", DarkMatterDetector},
    {"Industrial Crunch", IndustrialCrunch},
    {"Q.Flint Bass Drum 1", QFlintBassDrum1},
    {"Q.Flint Bass Drum 2", QFlintBassDrum2},
}};
} // namespace

std::span<const Definition> Kicks() { return kKicks; }

} // namespace Korvane::Programs
