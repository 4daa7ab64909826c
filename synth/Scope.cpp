#include "synth/Scope.h"

#include <algorithm>
#include <cmath>

void Scope::Rebuild()
{
  if (frozen)
    return;
  ring.assign(kRecords, ScopeRecord());
  writeCounter = 0;
}

int Scope::SamplesPerPoint(double sampleRate) const
{
  // At low sample rates and the smallest zoom the division gives 0: one record a sample.
  const int n = int(std::floor(zoom * sampleRate)) / kRecords;
  return std::max(n, 1);
}

void Scope::Feed(const double* left, const double* right, const double* lfoDisplay, int lfoStride,
                 const double* envBus, const double* filterEnvBus, int frames, double sampleRate)
{
  const int samplesPerPoint = SamplesPerPoint(sampleRate);
  const int ringSize = int(ring.size());
  for (int m = 0; m < frames; ++m, ++sampleCounter)
  {
    if (sampleCounter % samplesPerPoint != 0)
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
    if (!frozen && ringSize > 0)
    {
      ring[size_t(writeCounter % ringSize)] = r;
      ++writeCounter;
    }
  }
  // The counter only decides which samples give records; keep it from overflowing.
  sampleCounter %= samplesPerPoint;
}

void Scope::ZoomStep(bool zoomIn, double step)
{
  const double s = step * 0.1;
  const int percent = int(std::floor(s * 100));
  zoom += zoomIn ? -s : s;
  zoomPercent += zoomIn ? percent : -percent;
  zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
  zoomPercent = std::clamp(zoomPercent, 10, 400);
}

void Scope::Freeze(bool on)
{
  const bool release = frozen && !on;
  frozen = on;
  if (!release || ring.empty())
    return;
  for (int i = 0; i < kClearedOnRelease; ++i)
    ring[size_t((writeCounter + i) % ring.size())] = ScopeRecord::Cleared();
  writeCounter = uint16_t(writeCounter + kClearedOnRelease);
}

void Scope::ClearAll() { std::fill(ring.begin(), ring.end(), ScopeRecord::Cleared()); }
