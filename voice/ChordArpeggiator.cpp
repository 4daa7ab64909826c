#include "voice/ChordArpeggiator.h"

#include <cmath>

namespace Korvane
{

void ChordArpeggiator::arm(int noteMode, double tempo, double sampleRate) noexcept
{
  index = 0;
  counter = 0;
  target = 1.0;
  noteLength = 0.0625;
  mode = noteMode;
  chord = noteMode == kMinorMode ? minor : major;
  // A host that reports no tempo (0, negative or undefined) would make the step
  // infinitely long; such a tempo counts as 120 BPM.
  if (!(tempo > 0.0) || !std::isfinite(tempo))
    tempo = 120.0;
  double samples = std::floor(60.0 / tempo * noteLength * sampleRate);
  if (!(samples >= 1.0))
    samples = 1.0;
  if (samples > 1.0e9)
    samples = 1.0e9;
  stepLength = static_cast<std::int32_t>(samples);
  nextStep = stepLength;
}

} // namespace Korvane
