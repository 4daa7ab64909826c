#include "effects/tone/DumpExpand.h"

#include "dsp/Lanes.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace Korvane
{

namespace
{

// Sets the rate, order, cutoff and ripple of `filter` in one parameter set.
void setDesign(Dsp::Filter& filter, double rate, double cutoff)
{
  Dsp::Params params = filter.getParams();
  const struct
  {
    int id;
    double v;
  } values[] = {{Dsp::kIdSampleRate, rate},
                {Dsp::kIdOrder, DumpExpand::kOrder},
                {Dsp::kIdFrequency, cutoff},
                {Dsp::kIdRippleDb, DumpExpand::kRippleDb}};
  for (const auto& p : values)
  {
    const int index = filter.findParamIndex(p.id);
    if (index >= 0)
      params[index] = p.v;
  }
  filter.setParams(params);
}

} // namespace

// ---------------------------------------------------------------------------------
// Called when the plug-in is constructed and from its reset, under the plug-in mutex.

DumpExpand::DumpExpand()
{
  // The first parameter set takes effect at once (no glide).
  setDesign(lowPass, sampleRate, kInitialLowPass);
  setDesign(highPass, sampleRate, kInitialHighPass);
}

void DumpExpand::setSampleRate(double rate)
{
  if (!std::isfinite(rate) || !(rate > 0.0))
    return;
  AudioProcessingUnit::setSampleRate(rate);
  applySettings(value);
}

// ---------------------------------------------------------------------------------
// Called from parameter routing under the plug-in mutex; never allocates.

void DumpExpand::setValue(double x)
{
  if (!std::isfinite(x))
    return;
  value = x;
  applySettings(x);
}

void DumpExpand::applySettings(double x)
{
  const double hp = std::clamp((x - 0.5) * 2.0, 0.0, 1.0);
  const double lp = std::clamp(2.0 * x, 0.0, 1.0);
  double highCutoff = 10.0 * std::pow(2204.0, hp);
  double lowCutoff = 10.0 * std::pow(2204.0, lp);
  if (sampleRate <= kLimitedRate)
  {
    highCutoff = std::clamp(highCutoff, kLowestLimited, kHighestLimited);
    lowCutoff = std::clamp(lowCutoff, kLowestLimited, kHighestLimited);
  }
  setDesign(lowPass, sampleRate, lowCutoff);
  setDesign(highPass, sampleRate, highCutoff);
}

double DumpExpand::getLowPassCutoff() const
{
  return lowPass.getParams()[lowPass.findParamIndex(Dsp::kIdFrequency)];
}

double DumpExpand::getHighPassCutoff() const
{
  return highPass.getParams()[highPass.findParamIndex(Dsp::kIdFrequency)];
}

// ---------------------------------------------------------------------------------
// Called from the editor's timer on the main thread.

void DumpExpand::responseCurve(std::array<double, kCurvePoints>& curve) const
{
  const Dsp::Filter& active = value >= 0.5 ? static_cast<const Dsp::Filter&>(highPass)
                                           : static_cast<const Dsp::Filter&>(lowPass);
  for (int i = 0; i < kCurvePoints; ++i)
  {
    const double f = double(i) / kCurvePoints;
    curve[std::size_t(i)] = std::abs(active.response(f * f * 0.5));
  }
  if (value > 0.5)
    curve[kCurvePoints - 1] = 1.0;
}

// ---------------------------------------------------------------------------------
// Called from the audio thread, never blocks and never allocates.

void DumpExpand::process(double* left, double* right, int frames)
{
  processInPieces(left, right, frames,
                  [this](double* l, double* r, int n) { processPiece(l, r, n); });
}

void DumpExpand::processPiece(double* left, double* right, int frames)
{
  double* const work[2] = {buffer[0], buffer[1]};
  Dsp::copyFinite(left, buffer[0], frames);
  Dsp::copyFinite(right, buffer[1], frames);
  if (bypassFilters == 0)
  {
    if (!lowPass.processThen(highPass, frames, work))
    {
      lowPass.process(frames, work);
      highPass.process(frames, work);
    }
  }
  const bool runaway = !Dsp::allFinite(buffer[0], frames) || !Dsp::allFinite(buffer[1], frames);
  blendByFade(left, right, buffer[0], buffer[1], frames);
  if (runaway)
    reset();
}

void DumpExpand::reset()
{
  lowPass.reset();
  highPass.reset();
}

} // namespace Korvane
