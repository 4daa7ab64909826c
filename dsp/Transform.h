#pragma once

#include "dsp/PoleZeroLayout.h"

namespace Dsp
{

// From a normalised analog low-pass (or low-shelf) prototype, whose edge is at 1 rad/s,
// to digital pole/zero layouts: the low-pass, high-pass, band-pass and band-stop
// substitutions with the edges pre-warped, then the bilinear transform
// z = (1 + s) / (1 - s). Frequencies are fractions of the sample rate.
class Transform
{
public:
  static void lowPass(double fc, const PoleZeroLayout& analog, PoleZeroLayout& digital);
  static void highPass(double fc, const PoleZeroLayout& analog, PoleZeroLayout& digital);
  // Band edges at fc - fw/2 and fc + fw/2, kept inside the band 0..0.5.
  static void bandPass(double fc, double fw, const PoleZeroLayout& analog, PoleZeroLayout& digital);
  static void bandStop(double fc, double fw, const PoleZeroLayout& analog, PoleZeroLayout& digital);

  // z = (1 + s) / (1 - s); infinity goes to -1.
  static ComplexT bilinear(ComplexT s);

  // Parameter guards shared by the designs: the sample rate is at least 1 Hz; a
  // frequency in Hz becomes a fraction of the sample rate kept strictly inside
  // 0..0.5 (above the Nyquist frequency the pre-warping would fold over and the
  // filter would turn unstable); the order is truncated and kept in 1..maxOrder.
  static double limitSampleRate(double fs);
  static double normalizeFrequency(double hz, double fs);
  static int limitOrder(double order, int maxOrder);
};

} // namespace Dsp
