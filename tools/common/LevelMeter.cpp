#include "tools/common/LevelMeter.h"

#include <cmath>
#include <limits>

void LevelMeter::Add(const double* const* channels, int numChannels, int frames)
{
  for (int c = 0; c < numChannels; ++c)
    for (int f = 0; f < frames; ++f)
    {
      const double v = channels[c][f];
      if (!std::isfinite(v))
      {
        ++nonFinite;
        continue;
      }
      peak = std::fmax(peak, std::fabs(v));
      sumSquares += v * v;
      ++samples;
    }
}

double LevelMeter::Rms() const { return samples ? std::sqrt(sumSquares / double(samples)) : 0.0; }

double LevelMeter::ToDb(double level)
{
  return level > 0.0 ? 20.0 * std::log10(level) : -std::numeric_limits<double>::infinity();
}
