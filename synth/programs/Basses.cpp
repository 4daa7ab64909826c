// Basses, programs 71 to 80. They play the keyboard an octave down, so that the keys
// around C2 give the usual bass register; most are held notes with a filter pluck.
#include "synth/programs/ProgramDesign.h"

#include <array>

namespace Korvane::Programs
{
namespace
{
// The bass chassis: keyboard an octave down, no pitch sweep, held with a short release.
void BassBody(Program& p, Wave wave, double decay, double sustain)
{
  Mode(p, kOctaveDown);
  NoPitchEnv(p);
  Osc(p, 0, wave);
  VolumeEnv(p, 0.003, decay, sustain, 0.08);
  p.Set(P::kAdsrShape, 0.3);
  Output(p, 0.45);
}

void BassHeading(Program& p)
{
  // The section's calling card: a saw and a square a few cents apart, plucked by the
  // filter, a sine sub under them and a warm tube.
  BassBody(p, kSaw, 0.4, 0.7);
  p.Set(P::Osc(0, P::kOscSaturation), 0.2);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.35, 0.2);
  Osc(p, 1, kPulse, 0.5);
  Pitch(p, 1, 0.0, 7.0);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.35, 0.2);
  FilterEnv(p, 0.0, 0.2, 0.5, 0.05);
  p.Set(P::kBassLayerAmount, 0.35);
  Disto(p, kSoftTube, 0.15);
  Output(p, 0.28);
}

void RawBassground(Program& p)
{
  BassBody(p, kSaw, 0.5, 0.8);
  Osc(p, 1, kPulse, 0.6);
  Pitch(p, 1, -12.0); // a square sub an octave below
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.4, 0.3);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.3, 0.0);
  FilterEnv(p, 0.0, 0.15, 0.45, 0.05);
  p.Set(P::Osc(0, P::kOscSaturation), 0.25); // the saw frayed
  Disto(p, kHardOverload, 0.3);              // raw edge
  Eq(p, 0.56, 0.55, 0.5);                    // weight and a growl in the mids
  Output(p, 0.32);
}

void TheShadowOutOfBass(Program& p)
{
  BassBody(p, kSaw, 0.8, 0.9);
  Osc(p, 1, kSaw);
  Pitch(p, 1, 0.0, 12.0); // a reese: two saws 12 cents apart
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.22, 0.35);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.22, 0.35);
  FilterEnv(p, 0.0, 0.5, 0.9, 0.1);
  Lfo(p, 0, 0.4, 0.0, 0.0, 0.4); // the shadow moves slowly
  Output(p, 0.36);
}

void UndergroundDubBass(Program& p)
{
  BassBody(p, kSine, 0.6, 0.85);
  Osc(p, 1, kTriangle, 0.4); // round body with a little edge
  Pitch(p, 1, 12.0);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.4, 0.1);
  FilterEnv(p, 0.0, 0.5, 0.8, 0.1);
  Lfo(p, 1, 2.0, 0.5, 0.0, 0.3); // the dub wobble on the upper layer
  p.Set(P::kBassLayerAmount, 0.3);
  Disto(p, kSoftTube, 0.2);
}

void TheSorceryOfDnBBass(Program& p)
{
  BassBody(p, kSaw, 0.8, 0.85);
  Osc(p, 1, kSaw, 0.8);
  Pitch(p, 1, 0.0, -18.0);
  Unison(p, 0.2); // a wide reese
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.3, 0.3);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.3, 0.3);
  FilterEnv(p, 0.0, 0.4, 0.8, 0.1);
  Phaser(p, 0.4, 0.5, 0.15);
  Disto(p, kSoftTube, 0.25);
  Output(p, 0.45);
}

void DeadlySpellDnBBass(Program& p)
{
  BassBody(p, kSaw, 0.8, 0.85);
  Osc(p, 1, kPulse, 0.7);
  Pitch(p, 1, 0.0, 9.0);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.35, 0.5);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.35, 0.5);
  FilterEnv(p, 0.0, 0.4, 0.85, 0.1);
  Lfo(p, 0, 3.0, 0.0, 0.0, 0.7); // the spell: a growling wobble
  Lfo(p, 1, 3.0, 0.0, 0.0, 0.7);
  Disto(p, kKorvaneDrive1, 0.35);
  Output(p, 0.45);
}

void TheHolyThump(Program& p)
{
  BassBody(p, kSine, 0.5, 0.6); // a kick that plays the note
  PitchEnv(p, 0.2, 0.05, 0.3);
  p.Set(P::kBassLayerClick, 0.2);
  p.Set(P::kBassLayerAmount, 0.35); // the sub that makes it holy
  Osc(p, 1, kTriangle, 0.3);        // a tone an octave above the thump, plucked
  Pitch(p, 1, 12.0);
  OscFilter(p, 1, kPkLowPass, kBwHighPass, 0.0, 0.5, 0.15);
  FilterEnv(p, 0.0, 0.2, 0.4, 0.1);
  Disto(p, kSoftTube, 0.3);
  Eq(p, 0.56, 0.5, 0.5);
  Output(p, 0.3);
}

void FusionBass1(Program& p)
{
  BassBody(p, kPulse, 0.35, 0.4); // a slapped, funky pluck
  p.Set(P::Osc(0, P::kOscSaturation), 0.15);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.6, 0.45);
  FilterEnv(p, 0.0, 0.1, 0.2, 0.05);
  PitchEnv(p, 0.03, 0.02, 0.4); // the string's pop as the thumb hits it
  Osc(p, 1, kSine, 0.7);
  Eq(p, 0.5, 0.56, 0.55);    // the slap's honk and snap
  Phaser(p, 0.25, 0.4, 0.3); // the fusion-era phaser
}

void FusionBass2(Program& p)
{
  BassBody(p, kTriangle, 0.4, 0.5);
  p.Set(P::kFmAmount, 0.35); // electric-piano-like FM bite
  p.Set(P::Osc(0, P::kOscSaturation), 0.1);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.7, 0.2);
  FilterEnv(p, 0.0, 0.15, 0.3, 0.05);
  Unison(p, 0.08);                 // a chorused, fretless shimmer
  p.Set(P::kBassLayerAmount, 0.3); // and a round sub beneath
  Disto(p, kSoftTube, 0.15);
  Eq(p, 0.55, 0.54, 0.5);
  Output(p, 0.3);
}

void AcidTubeBassByMerrow(Program& p)
{
  BassBody(p, kSaw, 0.3, 0.6);
  OscFilter(p, 0, kPkLowPass, kBwHighPass, 0.0, 0.55, 0.8); // the squelch
  FilterEnv(p, 0.0, 0.08, 0.1, 0.03);
  Disto(p, kTube, 0.35);
  Delay(p, 0.15, 0.3);
}

constexpr std::array<Definition, 10> kBasses = {{
    {"#BASS SECTION#", BassHeading},
    {"Raw Bassground", RawBassground},
    {"The shadow out of bass", TheShadowOutOfBass},
    {"Underground Dub Bass", UndergroundDubBass},
    {"The Sorcery of D&B Bass", TheSorceryOfDnBBass},
    {"Deadly Spell D&B Bass", DeadlySpellDnBBass},
    {"The Holy Thump", TheHolyThump},
    {"Fusion Bass 1", FusionBass1},
    {"Fusion Bass 2", FusionBass2},
    {"Acid Tube Bass by Merrow", AcidTubeBassByMerrow},
}};
} // namespace

std::span<const Definition> Basses() { return kBasses; }

} // namespace Korvane::Programs
