#include "effects/masterfilter/HqFilterUnit.h"

#include <algorithm>
#include <cmath>

namespace Korvane
{

namespace
{

template <class Design>
std::unique_ptr<HqFilterUnit::Smoothed<Design>> makeBessel(double frequency)
{
  auto design = std::make_unique<HqFilterUnit::Smoothed<Design>>(512);
  Dsp::Params params = design->getDefaultParams();
  params[design->findParamIndex(Dsp::kIdOrder)] = HqFilterUnit::kOrder;
  params[design->findParamIndex(Dsp::kIdFrequency)] = frequency;
  design->setParams(params); // the first set takes effect at once
  return design;
}

} // namespace

// --- Called from the main thread at construction --------------------------------------

HqFilterUnit::HqFilterUnit()
  : lowPass(makeBessel<Dsp::Bessel::LowPass>(kLowPassHz)),
    highPass(makeBessel<Dsp::Bessel::HighPass>(kHighPassHz))
{
}

HqFilterUnit::~HqFilterUnit() = default;

// --- Called from reset and parameter routing under the plug-in mutex ------------------

void HqFilterUnit::setSampleRate(double rate)
{
  if (!std::isfinite(rate) || rate <= 0.0)
    return;
  AudioProcessingUnit::setSampleRate(rate);
  lowPass->setParam(Dsp::kIdSampleRate, rate);
  highPass->setParam(Dsp::kIdSampleRate, rate);
}

// --- Called from the audio thread, never blocks -----------------------------------------

void HqFilterUnit::process(double* left, double* right, int count)
{
  processInPieces(left, right, count,
                  [this](double* l, double* r, int n) { processPiece(l, r, n); });
}

void HqFilterUnit::processPiece(double* left, double* right, int count)
{
  std::copy(left, left + count, buffer[0].data());
  std::copy(right, right + count, buffer[1].data());
  double* channels[2] = {buffer[0].data(), buffer[1].data()};
  lowPass->process(count, channels);
  highPass->process(count, channels);
  for (int i = 0; i < count; ++i)
  {
    left[i] = (1.0 - wet) * left[i] + wet * buffer[0][i];
    right[i] = (1.0 - wet) * right[i] + wet * buffer[1][i];
    advanceFade();
  }
}

} // namespace Korvane
