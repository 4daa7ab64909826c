#include "voice/SynthParams.h"

namespace Korvane
{

int SynthParams::slotOf(int i) noexcept
{
  if (i < 0 || i >= 160)
    return -1;
  if (i < 63)
  {
    const int k = i / kOscStride;
    const int p = i % kOscStride;
    int s = p;
    if (p == 3)
      s = kOscTune;
    else if (p >= 4 && p <= 6)
      s = p + 1;
    else if (p == 7)
      s = kOscPitch;
    return k * kOscStride + s;
  }
  if (i <= 84)
    return i;
  if (i <= 87)
    return i + 8; // 85..87 -> 93..95
  if (i <= 95)
    return i - 3; // 88..95 -> 85..92
  if (i <= 99)
    return i + 1; // 96..99 -> 97..100
  if (i == 100)
    return 123;
  if (i <= 104)
    return i + 18; // 101..104 -> 119..122
  if (i <= 109)
    return i + 19; // 105..109 -> 124..128
  if (i <= 112)
    return i + 6; // 110..112 -> 116..118
  if (i <= 120)
    return i - 5; // 113..120 -> 108..115
  if (i == 121)
    return 135;
  if (i <= 127)
    return i + 7; // 122..127 -> 129..134
  if (i <= 136)
    return i + 8; // 128..136 -> 136..144
  if (i == 138)
    return 145;
  return -1;
}

} // namespace Korvane
