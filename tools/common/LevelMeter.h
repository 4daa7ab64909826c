#pragma once
// Peak and RMS of everything rendered, over all channels, in dBFS (full scale = 1.0).
#include <cstdint>

class LevelMeter
{
public:
  void Add(const double* const* channels, int numChannels, int frames);
  double Peak() const { return peak; }
  double Rms() const;
  // Count of NaN or infinite samples seen (they are left out of peak and RMS).
  int64_t NonFinite() const { return nonFinite; }
  static double ToDb(double level); // -infinity for 0

private:
  double peak = 0.0;
  double sumSquares = 0.0;
  int64_t samples = 0;
  int64_t nonFinite = 0;
};
