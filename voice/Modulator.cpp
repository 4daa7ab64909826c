#include "voice/Modulator.h"

namespace Korvane
{

Modulator::~Modulator() = default;

void Modulator::setSampleRate(double rate)
{
  AudioProcessingUnit::setSampleRate(rate);
  increment = frequency * maxFrequency * kTwoPi / sampleRate;
}

double syncRatio(int position) noexcept
{
  switch (position)
  {
  case 1:
    return 1.0 / 16.0;
  case 2:
    return 1.0 / 8.0;
  case 3:
    return 1.0 / 4.0;
  case 4:
    return 1.0 / 2.0;
  case 6:
    return 2.0;
  case 7:
    return 4.0;
  case 8:
    return 8.0;
  case 9:
    return 16.0;
  default:
    return 1.0;
  }
}

const char* syncRatioName(int position) noexcept
{
  switch (position)
  {
  case 0:
    return "off";
  case 1:
    return "1/16x";
  case 2:
    return "1/8x";
  case 3:
    return "1/4x";
  case 4:
    return "1/2x";
  case 6:
    return "2.0x";
  case 7:
    return "4.0x";
  case 8:
    return "8.0x";
  case 9:
    return "16.0x";
  default:
    return "1.0x";
  }
}

} // namespace Korvane
