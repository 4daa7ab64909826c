#pragma once

namespace Korvane
{

// Bit-depth reduction ("Bit-Crash Quantize"), the distortion section's second stage:
// every sample is truncated toward zero onto a grid of 2^bits levels per unit.
class Quantizer
{
public:
  bool off = false;        // the section is switched off ("Disto On/Off" 0)
  double resolution = 1.0; // value squared; 1 leaves the signal untouched
  double bits = 64.0;      // resolution * 63 + 1, or 64 at resolution 1
  double levels = 0x1p64;  // 2^bits

  // --- Called from parameter routing under the plug-in mutex ----------------------

  // resolution = value^2 (at most 1); a non-finite value is refused (false) and
  // changes nothing.
  bool setResolution(double value);
  void setOff(bool isOff) { off = isOff; }

  // --- Called from the audio thread, never blocks ----------------------------------

  void process(double* left, double* right, int count) const;
};

} // namespace Korvane
