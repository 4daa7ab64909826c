#include "synth/Scope.h"

#include <algorithm>
#include <cmath>

void Scope::Rebuild()
{
  if (mFrozen)
    return;
  mRing.assign(kRecords, ScopeRecord());
  mWriteCounter = 0;
}

int Scope::SamplesPerPoint(double sampleRate) const
{
  // At low sample rates and the smallest zoom the division gives 0: one record a sample.
  const int n = int(std::floor(mZoom * sampleRate)) / kRecords;
  return std::max(n, 1);
}

void Scope::Feed(const double* left, const double* right, const double* lfoDisplay, int lfoStride,
                 const double* envBus, const double* filterEnvBus, int frames, double sampleRate)
{
  const int samplesPerPoint = SamplesPerPoint(sampleRate);
  const int ringSize = int(mRing.size());
  for (int m = 0; m < frames; ++m, ++mSampleCounter)
  {
    if (mSampleCounter % samplesPerPoint != 0)
      continue;
    ScopeRecord r;
    if (m + 1 < frames)
    {
      r.left = (left[m] + left[m + 1]) / 2;
      r.right = (right[m] + right[m + 1]) / 2;
    }
    else
    {
      r.left = left[m];
      r.right = right[m];
    }
    for (int i = 0; i < 3; ++i)
      r.lfo[i] = lfoDisplay[m * lfoStride + i];
    r.env = envBus[m];
    r.filterEnv = filterEnvBus[m];
    if (!mFrozen && ringSize > 0)
    {
      mRing[size_t(mWriteCounter % ringSize)] = r;
      ++mWriteCounter;
    }
  }
  // The counter only decides which samples give records; keep it from overflowing.
  mSampleCounter %= samplesPerPoint;
}

void Scope::ZoomStep(bool zoomIn, double step)
{
  const double s = step * 0.1;
  const int percent = int(std::floor(s * 100));
  mZoom += zoomIn ? -s : s;
  mZoomPercent += zoomIn ? percent : -percent;
  mZoom = std::clamp(mZoom, kMinZoom, kMaxZoom);
  mZoomPercent = std::clamp(mZoomPercent, 10, 400);
}

void Scope::Freeze(bool on)
{
  const bool release = mFrozen && !on;
  mFrozen = on;
  if (!release || mRing.empty())
    return;
  for (int i = 0; i < kClearedOnRelease; ++i)
    mRing[size_t((mWriteCounter + i) % mRing.size())] = ScopeRecord::Cleared();
  mWriteCounter = uint16_t(mWriteCounter + kClearedOnRelease);
}

void Scope::ClearAll() { std::fill(mRing.begin(), mRing.end(), ScopeRecord::Cleared()); }
