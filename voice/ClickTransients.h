#pragma once

#include <array>

namespace Korvane
{

// The four stored click transients that the bass layer's click blends between, at
// 44.1 kHz with a peak of 0.99, computed once per process by code in ClickTransients.cpp:
//
//  A beater     1460 samples  a hard felt beater on a tight head: a 0.3 ms strike, a
//                             noisy contact burst and the head's bright 2.6/4.3/6.8 kHz
//                             modes, gone in 30 ms
//  B snap       1953 samples  a plastic-pad snap: a two-sided 60 us spike, a 7 kHz
//                             noise crack and a short 1.4 kHz ring
//  C thump      4174 samples  a soft mallet thump: a 1.5 ms pressure pulse into a
//                             body tone falling from 300 to 105 Hz, with a 750 Hz knock
//  D long knock 5030 samples  a wooden knock: a 1 ms strike exciting four inharmonic
//                             shell modes (410, 1090, 2230, 3710 Hz) that ring for 100 ms
//
// Every transient starts at its strike, and fades to exactly 0 over its last 15 %, so
// the click ends without a step when the read-out runs past its end.
class ClickTransients
{
public:
  static constexpr int kCount = 4;
  static constexpr int kLengthA = 1460;
  static constexpr int kLengthB = 1953;
  static constexpr int kLengthC = 4174;
  static constexpr int kLengthD = 5030;
  static constexpr double kPeak = 0.99;

  // The process-wide set, built on first use (the voices ask for it when they are
  // constructed, never in the audio path).
  static const ClickTransients& instance();

  static constexpr int length(int which) noexcept
  {
    return which == 0 ? kLengthA : which == 1 ? kLengthB : which == 2 ? kLengthC : kLengthD;
  }
  const double* data(int which) const noexcept
  {
    return which == 0 ? a.data() : which == 1 ? b.data() : which == 2 ? c.data() : d.data();
  }

  ClickTransients();

  std::array<double, kLengthA> a{};
  std::array<double, kLengthB> b{};
  std::array<double, kLengthC> c{};
  std::array<double, kLengthD> d{};
};

} // namespace Korvane
