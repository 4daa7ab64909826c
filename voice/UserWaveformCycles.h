#pragma once

namespace Korvane
{

// The sixteen single cycles that ship as "User1" ... "User16" until a user file replaces
// one of them. They are computed, not stored: additive spectra (through one inverse
// transform) and a few waveshaped or modulated sines, each 4096 samples with its peak
// normalised to 0.998777.
//
//  1 warm saw           harmonics 1/k under a gentle second-order roll-off
//  2 hollow square      odd harmonics 1/k, rolled off
//  3 drawbar organ      harmonics 1, 2, 3, 4, 6, 8, 10, 12, 16
//  4 vowel "ah"         glottal tilt through formants at harmonics 6.4, 11.1, 23.6
//  5 vowel "oo"         formants at harmonics 2.7, 7.9, 20.4
//  6 vowel "ee"         formants at harmonics 2.5, 20.8, 27.4 (strong upper ones)
//  7 FM bass            sin(p + 1.3 sin p)
//  8 FM metal           sin(p + 1.6 sin 7p)
//  9 hard-sync saw      a saw at 2.6 times the cycle rate, restarted every cycle
// 10 resonant sweep     a decaying 6.3-times resonance, as a swept resonant filter gives
// 11 wavefolder         a sine driven 2.2 times through a triangle folder
// 12 half-wave sine     max(sin p, 0): a nasal buzz of even harmonics
// 13 tube drive         tanh(2.5 (sin p + 0.4 sin 2p + 0.3)): even harmonics
// 14 stepped sine       a sine quantised to seven levels (lo-fi)
// 15 Chebyshev growl    harmonics 1, 2, 3, 5 from Chebyshev waveshaping of a sine
// 16 air buzz           256 harmonics, falling 3 dB per octave, with seeded random phases
class UserWaveformCycles
{
public:
  static constexpr int kCount = 16;
  static constexpr int kLength = 4096;
  static constexpr double kPeak = 0.998777;

  // Writes the sixteen cycles one after another: cycles[u * 4096 + i], u = 0..15.
  static void generate(double* cycles);

  // One cycle (u = 0..15); the others are computed alongside and dropped.
  static void generateOne(int u, double* cycle);
};

} // namespace Korvane
