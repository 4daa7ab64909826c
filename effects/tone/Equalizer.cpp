#include "effects/tone/Equalizer.h"

#include "dsp/Lanes.h"

#include <cmath>
#include <initializer_list>
#include <utility>

namespace Korvane
{

namespace
{

double gainDb(double x) { return -24.0 + 48.0 * x; }

// Sets the parameters of `filter` with these ids in one go (one glide, or none for the
// first set); the others keep their values.
void setDesignParams(Dsp::Filter& filter, std::initializer_list<std::pair<int, double>> values)
{
  Dsp::Params params = filter.getParams();
  for (const auto& [id, v] : values)
  {
    const int index = filter.findParamIndex(id);
    if (index >= 0)
      params[index] = v;
  }
  filter.setParams(params);
}

} // namespace

// ---------------------------------------------------------------------------------
// Called when the plug-in is constructed and from its reset, under the plug-in mutex.

Equalizer::Equalizer()
{
  // The first parameter set of each design takes effect at once (no glide); the gains
  // keep their defaults until routing sets them.
  setDesignParams(lowShelf, {{Dsp::kIdSampleRate, sampleRate},
                             {Dsp::kIdOrder, kOrder},
                             {Dsp::kIdFrequency, kLowShelfCutoff}});
  setDesignParams(highShelf, {{Dsp::kIdSampleRate, sampleRate},
                              {Dsp::kIdOrder, kOrder},
                              {Dsp::kIdFrequency, kHighShelfCutoff}});
  for (Dsp::Filter* band :
       {static_cast<Dsp::Filter*>(&bandShelf), static_cast<Dsp::Filter*>(&bandPass),
        static_cast<Dsp::Filter*>(&bandStop)})
    setDesignParams(*band, {{Dsp::kIdSampleRate, sampleRate},
                            {Dsp::kIdOrder, kOrder},
                            {Dsp::kIdFrequency, kMidCenter},
                            {Dsp::kIdBandwidthHz, kMidBandwidth}});
}

void Equalizer::setSampleRate(double rate)
{
  if (!std::isfinite(rate) || !(rate > 0.0))
    return;
  AudioProcessingUnit::setSampleRate(rate);
  lowShelf.setParam(Dsp::kIdSampleRate, rate);
  highShelf.setParam(Dsp::kIdSampleRate, rate);
  bandShelf.setParam(Dsp::kIdSampleRate, rate);
  bandPass.setParam(Dsp::kIdSampleRate, rate);
  bandStop.setParam(Dsp::kIdSampleRate, rate);
}

// ---------------------------------------------------------------------------------
// Called from parameter routing under the plug-in mutex; never allocates.

void Equalizer::setBass(double x)
{
  if (!std::isfinite(x))
    return;
  bassValue = x;
  lowShelf.setParam(Dsp::kIdGain, gainDb(x));
}

void Equalizer::setMid(double x)
{
  if (!std::isfinite(x))
    return;
  midValue = x;
  bandShelf.setParam(Dsp::kIdGain, gainDb(x));
}

void Equalizer::setHigh(double x)
{
  if (!std::isfinite(x))
    return;
  highValue = x;
  highShelf.setParam(Dsp::kIdGain, gainDb(x));
}

// ---------------------------------------------------------------------------------
// Called from the audio thread, never blocks and never allocates.

void Equalizer::process(double* left, double* right, int frames)
{
  processInPieces(left, right, frames,
                  [this](double* l, double* r, int n) { processPiece(l, r, n); });
}

void Equalizer::reset()
{
  lowShelf.reset();
  highShelf.reset();
  bandPass.reset();
  bandStop.reset();
}

void Equalizer::midWeights(double& keep, double& weight) const
{
  // The blend weight of the mid path; the shelved signal keeps 1 - g below the centre.
  const double g = midValue > 0.5 ? ((midValue - 0.5) * 2.0) * ((midValue - 0.5) * 2.0)
                                  : ((0.5 - midValue) * 2.0) * ((0.5 - midValue) * 2.0);
  keep = midValue < 0.5 ? 1.0 - g : 1.0;
  weight = g;
}

void Equalizer::processPiece(double* left, double* right, int frames)
{
  double* const shelved[2] = {bufferA[0], bufferA[1]};
  double* const mid[2] = {bufferB[0], bufferB[1]};
  // At exactly 0.5 the mid path is left out: its copy is neither made nor read.
  const bool midPath = midValue != 0.5;
  for (int c = 0; c < 2; ++c)
  {
    Dsp::copyFinite(c == 0 ? left : right, bufferA[c], frames);
    if (midPath)
      Dsp::copyFinite(c == 0 ? left : right, bufferB[c], frames);
  }
  if (!lowShelf.processThen(highShelf, frames, shelved))
  {
    lowShelf.process(frames, shelved);
    highShelf.process(frames, shelved);
  }
  if (midValue > 0.5)
    bandPass.process(frames, mid);
  else if (midValue < 0.5)
    bandStop.process(frames, mid);

  bool runaway = false;
  for (int c = 0; c < 2; ++c)
    runaway = runaway || !Dsp::allFinite(bufferA[c], frames) ||
              (midPath && !Dsp::allFinite(bufferB[c], frames));
  if (midPath)
  {
    double keep, g;
    midWeights(keep, g);
    for (int c = 0; c < 2; ++c)
    {
      int i = 0;
      for (; i + 2 <= frames; i += 2)
        Dsp::storePair(bufferA[c] + i,
                       keep * Dsp::loadPair(bufferA[c] + i) + g * Dsp::loadPair(bufferB[c] + i));
      for (; i < frames; ++i)
        bufferA[c][i] = keep * bufferA[c][i] + g * bufferB[c][i];
    }
  }
  blendByFade(left, right, bufferA[0], bufferA[1], frames);
  if (runaway)
    reset();
}

} // namespace Korvane
