#include "effects/delay/TempoDelay.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace Korvane
{

TempoDelay::TempoDelay()
  : bufferLeft(std::size_t(kInitialBufferLength), 0.0),
    bufferRight(std::size_t(kInitialBufferLength), 0.0)
{
  setDump(kInitialDump);
  updateWrapPoints();
}

// ---------------------------------------------------------------------------------
// Called from the plug-in's reset on the main thread, under the plug-in mutex.

void TempoDelay::setSampleRate(double rate)
{
  if (!std::isfinite(rate))
    return;
  const double length = std::trunc(rate * double(maxSeconds)) * 4.0;
  if (!(length >= 1.0 && length <= double(INT_MAX)))
    return;
  AudioProcessingUnit::setSampleRate(rate);
  bufferLength = int(length);
  bufferLeft.assign(std::size_t(bufferLength), 0.0);
  bufferRight.assign(std::size_t(bufferLength), 0.0);
  writeLeft = 0;
  writeRight = 0;
  dampLeft.reset();
  dampRight.reset();
  updateWrapPoints();
}

void TempoDelay::ensureCapacity(int samples)
{
  if (samples <= bufferLength)
    return;
  bufferLength = samples;
  bufferLeft.resize(std::size_t(bufferLength), 0.0);
  bufferRight.resize(std::size_t(bufferLength), 0.0);
  updateWrapPoints();
}

// ---------------------------------------------------------------------------------
// Called from parameter routing and reset under the plug-in mutex; never allocates.

void TempoDelay::reset()
{
  std::fill(bufferLeft.begin(), bufferLeft.end(), 0.0);
  std::fill(bufferRight.begin(), bufferRight.end(), 0.0);
  writeLeft = 0;
  writeRight = 0;
  dampLeft.reset();
  dampRight.reset();
}

void TempoDelay::setTempo(double bpm)
{
  if (!(bpm > 0.0) || !std::isfinite(bpm) || bpm == tempo)
    return;
  tempo = bpm;
  beatSeconds = 1.0 / (bpm / 60.0);
  updateWrapPoints();
}

void TempoDelay::setAmount(double value)
{
  if (std::isfinite(value))
    amount = value;
}

void TempoDelay::setFeedback(double value)
{
  if (std::isfinite(value))
    feedback = value;
}

void TempoDelay::setDump(double value)
{
  if (!std::isfinite(value))
    return;
  for (KvFilterPaulKellett* damp : {&dampLeft, &dampRight})
  {
    damp->cutoff = value;
    damp->feedback = damp->resonance / (1.0 - damp->effectiveCutoff()) + damp->resonance;
  }
}

void TempoDelay::setSpread(double value)
{
  if (!std::isfinite(value))
    return;
  spread = value;
  const double s = (value - 0.5) * 0.25;
  leftFactor = 1.0 + s;
  rightFactor = 1.0 - s;
  updateWrapPoints();
}

int TempoDelay::wrapPoint(double factor) const
{
  // min(bufferLength, trunc(beatSeconds * factor * sampleRate)), compared as a double
  // so that a huge beat never reaches the int conversion. A length below 1 counts as 1
  // (a delay of one sample, as the read comes before the write).
  const double length = std::trunc(beatSeconds * factor * sampleRate);
  if (!(length < double(bufferLength)))
    return bufferLength;
  if (length < 1.0)
    return 1;
  return int(length);
}

void TempoDelay::updateWrapPoints()
{
  wrapLeft = wrapPoint(leftFactor);
  wrapRight = wrapPoint(rightFactor);
  // A wrap point that moved to or below a side's position wraps it at once, so the
  // line is never read or written past its wrap point (nor past its end).
  if (writeLeft >= wrapLeft)
    writeLeft = 0;
  if (writeRight >= wrapRight)
    writeRight = 0;
}

// ---------------------------------------------------------------------------------
// Called from the audio thread, never blocks and never allocates.

double TempoDelay::step(std::vector<double>& line, int& position, int wrap,
                        KvFilterPaulKellett& damp, double input) const
{
  const double delayed = line[std::size_t(position)];
  double sum = delayed * feedback + input;
  // An exact zero sum passes by the damping filter, whose state then does not advance.
  if (sum != 0.0)
  {
    if (!std::isfinite(sum))
      sum = 0.0; // a non-finite input is not fed back
    else
    {
      sum = damp.process(sum, damp.cutoff, damp.resonance);
      if (!std::isfinite(sum))
      {
        damp.reset();
        sum = 0.0;
      }
    }
  }
  line[std::size_t(position)] = sum;
  if (++position >= wrap)
    position = 0;
  return delayed;
}

void TempoDelay::process(double* left, double* right, int frames)
{
  for (int i = 0; i < frames; ++i)
  {
    const double dL = step(bufferLeft, writeLeft, wrapLeft, dampLeft, left[i]);
    const double dR = step(bufferRight, writeRight, wrapRight, dampRight, right[i]);
    left[i] += dL * amount;
    right[i] += dR * amount;
  }
}

} // namespace Korvane
