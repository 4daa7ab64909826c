#pragma once
// Transport and tempo as the plug-in sees them. The caller initialises the record;
// the host adapter overwrites only what the host delivers.
#include <cstdint>

struct TimeInfo
{
  double tempo = 0.0;
  double samplePos = 0.0;
  double ppqPos = 0.0;
  double lastBar = 0.0;
  double cycleStart = 0.0;
  double cycleEnd = 0.0;
  int32_t numerator = 0;
  int32_t denominator = 0;
  bool transportPlaying = false;
  bool transportLoop = false;
};
