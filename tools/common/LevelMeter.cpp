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
        ++mNonFinite;
        continue;
      }
      mPeak = std::fmax(mPeak, std::fabs(v));
      mSumSquares += v * v;
      ++mSamples;
    }
}

double LevelMeter::Rms() const
{
  return mSamples ? std::sqrt(mSumSquares / double(mSamples)) : 0.0;
}

double LevelMeter::ToDb(double level)
{
  return level > 0.0 ? 20.0 * std::log10(level) : -std::numeric_limits<double>::infinity();
}
