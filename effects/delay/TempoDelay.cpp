#include "effects/delay/TempoDelay.h"

#include "dsp/Lanes.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <initializer_list>
#include <type_traits>

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

bool TempoDelay::lanesApply() const
{
  // A squared or cubed cutoff would move on every sample; another type would answer
  // with another stage; a resonance would feed the first stage back.
  for (const KvFilterPaulKellett* damp : {&dampLeft, &dampRight})
    if (damp->type != KvFilterPaulKellett::kLowPass ||
        damp->cutoffCurve == IKvFilter::kCurveSquare ||
        damp->cutoffCurve == IKvFilter::kCurveCube ||
        damp->resonance / (1.0 - damp->effectiveCutoff()) + damp->resonance != 0.0)
      return false;
  return true;
}

int TempoDelay::stepLanes(double* left, double* right, int frames)
{
  using Dsp::Pair;
  // What KvFilterPaulKellett::process works out from the cutoff and resonance it is
  // handed (its own, unshaped), lane by lane; lanesApply() saw that the resonance gives no
  // feedback gain.
  const Pair resonance{dampLeft.resonance, dampRight.resonance};
  const Pair f{dampLeft.effectiveCutoff(), dampRight.effectiveCutoff()};
  const Pair gain = resonance / (1.0 - f) + resonance;
  Pair s0{dampLeft.s0, dampRight.s0}, s1{dampLeft.s1, dampRight.s1};
  Pair s2{dampLeft.s2, dampRight.s2}, s3{dampLeft.s3, dampRight.s3};
  double* lineLeft = bufferLeft.data() + writeLeft;
  double* lineRight = bufferRight.data() + writeRight;
  // Stages and sums within kBound in magnitude keep every stage within about that bound
  // (each stage moves towards its input by a fraction within 0..1), so no difference or
  // output of a piece overflows: the recursion then runs without tests, and only the sums
  // (which do not depend on it) are tested first. A piece ends before the first sum that
  // is not finite or beyond the bound; step() takes that sample. A zero sum passes by
  // its side's filter, which stands still, as in step().
  constexpr double kBound = 1e300;
  constexpr int kPiece = 64;
  const Pair bound = Pair{} + kBound;
  if (!Dsp::allLanes((f >= Pair{}) & (f <= Pair{} + 1.0)))
    return 0;
  Dsp::PairMask ran{}; // the sides whose filter took a sample
  int i = 0;
  while (i < frames)
  {
    if (!Dsp::allLanes((Dsp::absLanes(s0) <= bound) & (Dsp::absLanes(s1) <= bound) &
                       (Dsp::absLanes(s2) <= bound) & (Dsp::absLanes(s3) <= bound)))
      break;
    const int n = std::min(kPiece, frames - i);
    Pair sums[kPiece], delays[kPiece];
    Dsp::PairMask silent[kPiece];
    Dsp::PairMask anySilent{};
    int good = 0;
    for (; good < n; ++good)
    {
      const Pair delayed{lineLeft[i + good], lineRight[i + good]};
      const Pair sum = delayed * feedback + Pair{left[i + good], right[i + good]};
      if (!Dsp::allLanes(Dsp::absLanes(sum) <= bound))
        break;
      sums[good] = sum;
      delays[good] = delayed;
      silent[good] = sum == Pair{};
      anySilent |= silent[good];
      ran |= ~silent[good];
    }
    // The first stage without its feedback term, gain * (s0 - s1): with a zero gain and a
    // finite s0 - s1 that term is +0 or -0, and adding it to (sum - s0) changes no bit, as
    // that difference is never -0 where the filter runs (the sum is not zero). Left out,
    // it no longer makes s0's recursion wait on s1, so the four stages overlap.
    const auto run = [&](auto withSilence)
    {
      for (int k = 0; k < good; ++k)
      {
        const Pair n0 = s0 + f * (sums[k] - s0);
        const Pair n1 = s1 + f * (n0 - s1);
        const Pair n2 = s2 + f * (n1 - s2);
        const Pair n3 = s3 + f * (n2 - s3);
        Pair fed = n3;
        if constexpr (decltype(withSilence)::value)
        {
          s0 = Dsp::selectLanes(silent[k], s0, n0);
          s1 = Dsp::selectLanes(silent[k], s1, n1);
          s2 = Dsp::selectLanes(silent[k], s2, n2);
          s3 = Dsp::selectLanes(silent[k], s3, n3);
          fed = Dsp::selectLanes(silent[k], sums[k], n3);
        }
        else
        {
          s0 = n0;
          s1 = n1;
          s2 = n2;
          s3 = n3;
        }
        lineLeft[i + k] = fed[0];
        lineRight[i + k] = fed[1];
        left[i + k] += delays[k][0] * amount;
        right[i + k] += delays[k][1] * amount;
      }
    };
    if (Dsp::anyLane(anySilent))
      run(std::true_type{});
    else
      run(std::false_type{});
    i += good;
    if (good < n)
      break;
  }
  if (i == 0)
    return 0;
  int lane = 0;
  for (KvFilterPaulKellett* damp : {&dampLeft, &dampRight})
  {
    damp->s0 = s0[lane];
    damp->s1 = s1[lane];
    damp->s2 = s2[lane];
    damp->s3 = s3[lane];
    if (ran[lane] != 0)
      damp->setLastSample(damp->cutoff, resonance[lane], f[lane], gain[lane]);
    ++lane;
  }
  writeLeft += i;
  writeRight += i;
  return i;
}

void TempoDelay::process(double* left, double* right, int frames)
{
  const bool lanes = lanesApply();
  for (int i = 0; i < frames;)
  {
    // Both sides in the lanes of one vector up to the nearer wrap point (where a side
    // starts again at 0), and then one sample through step().
    if (lanes)
    {
      const int run = std::min({frames - i, wrapLeft - writeLeft - 1, wrapRight - writeRight - 1});
      if (run > 0)
        i += stepLanes(left + i, right + i, run);
      if (i == frames)
        break;
    }
    const double dL = step(bufferLeft, writeLeft, wrapLeft, dampLeft, left[i]);
    const double dR = step(bufferRight, writeRight, wrapRight, dampRight, right[i]);
    left[i] += dL * amount;
    right[i] += dR * amount;
    ++i;
  }
}

} // namespace Korvane
