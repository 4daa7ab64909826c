#pragma once
// The vocabulary the factory programs are written in: waveform, filter, note-mode and
// distortion positions by name, and helpers that set a group of values in the units a
// sound designer thinks in (semitones, seconds, envelope stages). Every helper writes
// plain parameter values into the program; nothing here is heard by itself.
#include "synth/ParamIndex.h"
#include "synth/VstXSynthProgram.h"

#include <span>

namespace Korvane::Programs
{
namespace P = ParamIndex;
using Program = VstXSynthProgram;

// A factory program: its name and the code that sets its values on a program that
// holds the program defaults.
struct Definition
{
  const char* name;
  void (*define)(Program& p);
};

// The sections, in program order (each file holds one).
std::span<const Definition> Kicks();       // 0..60
std::span<const Definition> Drums();       // 61..70
std::span<const Definition> Basses();      // 71..80
std::span<const Definition> Instruments(); // 81..98
std::span<const Definition> Synths();      // 99..127

// Oscillator waveforms (positions of the waveform menu).
enum Wave : int
{
  kSine = 0,
  kSaw = 1,
  kPulse = 2,
  kQuadPulse = 3,
  kOctPulse = 4,
  kTriangle = 5,
  kTrapez = 6,
  kXTrapez = 7,
  kWhiteNoise = 8,
  kPinkNoise = 9,
  kNoize = 10,
  kLowQNoise1 = 11,
  kLowQNoise2 = 12,
  kLowQNoise3 = 13,
  kPyrokinesis = 14,
  kSReceptor = 15,
  kDReceptor = 16,
  kShikoku = 17,
  kKic = 18,
  kSynapsis = 19,
  kBrickBreaker = 20,
  kWavescape = 21,
  kGeoChirp = 22,
  kWaveGarden = 23,
};

// Oscillator filter types (each side of an oscillator's dual filter).
enum OscFilterType : int
{
  kPkLowPass = 0,
  kPkHighPass = 1,
  kPkBandPass = 2,
  kBwHighPass = 3,
  kBwLowPass = 4,
};

// Note transpose modes: the keyboard, or one fixed kick pitch for every key.
enum NoteMode : int
{
  kStandard = 0, // note 69 sounds at 880 Hz
  kOctaveDown = 1,
  kOctaveUp = 2,
  kLowKick = 3,     // 39.2 Hz
  kMidKick = 4,     // 44 Hz
  kElectroKick = 5, // 50 Hz
  kHighKick = 6,    // 56 Hz
  kDrumBody = 7,    // 64.84 Hz
  kArpMajor = 8,    // sixteenth steps through a major triad
  kArpMinor = 9,
};

// Distortion types (the curve the drive pushes the signal through).
enum DistoType : int
{
  kLinear = 0,
  kCompressor = 1,
  kSoftKneeCompressor = 2,
  kHardOverload = 3,
  kSigmoid1 = 4,
  kSigmoid2 = 5,
  kSigmoid3 = 6,
  kTyphoonFuzz = 7,
  kToskFuzz = 8,
  kDrennFuzz1 = 9,
  kDrennFuzz2 = 10,
  kSoftTube = 11,
  kTube = 12,
  kTransistor = 13,
  kFullClip = 14,
  kFuzzDrive = 15,
  kHardcoreFuzz1 = 16,
  kHardcoreFuzz2 = 17,
  kHardcoreFuzz3 = 18,
  kHardcoreFuzz4 = 19,
  kIndustrialFuzz = 20,
  kKorvaneDrive1 = 21,
  kKorvaneDrive2 = 22,
  kKorvaneDrive3 = 23,
  kKorvaneDrive4 = 24,
  kGrimHowl1 = 25,
  kGrimHowl2 = 26,
  kGrimHowl3 = 27,
  kInvertAndDrive = 28,
  kBigBadDrive = 29,
  kBigFatDrive = 30,
  kViciousViper = 31,
  kAssKicking = 32,
  kTigersBlood = 33,
  kMadDog = 34,
  kNoiseGate = 35,
};

// Master filter A (RBJ) and B (Chebyshev / Butterworth) choices.
enum FilterA : int
{
  kRbjLowPass = 0,
  kRbjHighPass = 1,
  kRbjBandPass = 2,
  kRbjBandStop = 3,
};
enum FilterB : int
{
  kChebyHighPass12 = 0,
  kChebyHighPass24 = 1,
  kChebyLowPass12 = 2,
  kChebyLowPass24 = 3,
  kBwBandPass12 = 4,
  kBwBandStop12 = 5,
};

// --- Oscillators ------------------------------------------------------------------

// Switches oscillator osc (0..2) on with a waveform and a volume.
void Osc(Program& p, int osc, Wave wave, double volume = 1.0);
// The oscillator's pitch in semitones (-12..+12) and its fine tune in cents (-100..+100).
void Pitch(Program& p, int osc, double semitones, double cents = 0.0);
// The oscillator's dual filter: left and right types, balance (0 left .. 1 right),
// cutoff and resonance (0..1; the cutoff is scaled by the filter envelope).
void OscFilter(Program& p, int osc, OscFilterType left, OscFilterType right, double balance,
               double cutoff, double resonance);
// The oscillator's LFO: rate in Hz (0..20) and its depth on volume, tune and filter.
void Lfo(Program& p, int osc, double hz, double toVolume, double toTune, double toFilter,
         double toPan = 0.0);

// --- Envelopes (times in seconds at the default duration) --------------------------

// Volume envelope; the times are seconds while "Volume Env. Duration" stays at 0.2.
void VolumeEnv(Program& p, double attack, double decay, double sustain, double release);
// Filter envelope; its times are scaled by "ADSR shape" (0.3: 1.5 s per unit, 0.5: 2.5 s),
// so they are given here as parameter values.
void FilterEnv(Program& p, double attack, double decay, double sustain, double release);
// The shared pitch envelope: peak factor 1 + 20 * amount after 7 ms, falling over
// 2 * duration seconds along a curve of exponent 20 * power; down lowers the pitch by
// that fraction at the end of the fall.
void PitchEnv(Program& p, double amount, double duration, double power, double down = 0.0);
void NoPitchEnv(Program& p);

// --- Master section -----------------------------------------------------------------

// Distortion: type, drive (0..1) and loudness mode (0 blend, 1 drive, 2 hot).
void Disto(Program& p, DistoType type, double drive, int mode = 1);
// Sample-rate reduction and quantisation (1 = untouched for both).
void Crush(Program& p, double sampleRate, double quantize);
// Master filter: A and B types, balance (0 A .. 1 B), cutoff (10 Hz * 2204^x) and
// resonance (Q 2^(8x - 4)).
void MasterFilter(Program& p, FilterA a, FilterB b, double balance, double cutoff,
                  double resonance);
// Three-band equaliser (0.5 = flat).
void Eq(Program& p, double bass, double mid, double high);
// Tempo delay: amount, feedback, damping and stereo spread.
void Delay(Program& p, double amount, double feedback, double dump = 0.6, double spread = 0.7);
// Ring modulator and phaser; switches the modulation effects on.
void Ring(Program& p, double amount, double hz, int waveform = 0);
void Phaser(Program& p, double depth, double feedback, double hz);
void Unison(Program& p, double detune);
void Mode(Program& p, NoteMode mode);
void Output(Program& p, double volume, double saturation = 0.0);

} // namespace Korvane::Programs
