#pragma once

#include "dsp/FilterDesign.h"

namespace Dsp
{

// A FilterDesign whose parameter changes glide: after every change but the first, the
// parameters move linearly from the values in effect to the new ones over
// transitionSamples samples, and the glide design is recomputed in full from the
// moving parameters on every one of those samples. The glide and the target design
// share the channel state, so the end of a glide is seamless. A change during a glide
// starts a new glide from the values reached.
template <class DesignClass, int Channels, class StateType>
class SmoothedFilterDesign : public FilterDesign<DesignClass, Channels, StateType>
{
  using Base = FilterDesign<DesignClass, Channels, StateType>;

public:
  explicit SmoothedFilterDesign(int samples = 512)
    : transitionSamples(samples), transitionDesign(this->design)
  {
    transitionParams = this->params;
  }

  void process(int numSamples, double* const* arrayOfChannels) override
  {
    processSmoothed(numSamples, arrayOfChannels);
  }
  void process(int numSamples, float* const* arrayOfChannels) override
  {
    processSmoothed(numSamples, arrayOfChannels);
  }

  // Whether a parameter change is still gliding.
  bool isGliding() const { return remainingSamples > 0; }

  // This design and then `next` over a stereo pair, the same values bit for bit as
  // process() of this one and then of `next`, but sample by sample with both channels in
  // the lanes of one vector and the two designs' recursions overlapping. Only when neither
  // glides and the two channels are separate buffers; false (nothing processed) otherwise.
  template <class Next>
  bool processThen(Next& next, int numSamples, double* const* channels)
  {
    if (!separatePair(channels, numSamples))
      return false;
    return processAlong<true>(next, numSamples, readFrom(channels), readFrom(channels),
                              [channels](int i, Pair, Pair y) { storeInto(channels, i, y); });
  }

  // This design over `channels` and `other` over another stereo pair `otherChannels`,
  // the same values bit for bit as the two process() calls, but sample by sample side by
  // side so that the two recursions overlap. The same conditions as processThen, for
  // each pair.
  template <class Other>
  bool processBeside(Other& other, int numSamples, double* const* channels,
                     double* const* otherChannels)
  {
    if (!separatePair(channels, numSamples) || !separatePair(otherChannels, numSamples))
      return false;
    return processAlong<false>(other, numSamples, readFrom(channels), readFrom(otherChannels),
                               [channels, otherChannels](int i, Pair x, Pair y)
                               {
                                 storeInto(channels, i, x);
                                 storeInto(otherChannels, i, y);
                               });
  }

  // processBeside with the inputs and outputs in the caller's hands: sample i of both
  // channels goes in as input(i) to this design and otherInput(i) to `other`, and the two
  // designs' outputs of it come out through output(i, this one's, other's), all in sample
  // order (an input is read before the outputs of its sample are handed over). Only when
  // neither design glides; false (nothing processed, nothing called) otherwise.
  template <class Other, class Input, class OtherInput, class Output>
  bool processBesideWith(Other& other, int numSamples, Input input, OtherInput otherInput,
                         Output output)
  {
    return processAlong<false>(other, numSamples, input, otherInput, output);
  }

  int getTransitionSamples() const { return transitionSamples; }
  int getRemainingSamples() const { return remainingSamples; }
  const Params& getTransitionParams() const { return transitionParams; }
  const DesignClass& getTransitionDesign() const { return transitionDesign; }

protected:
  void doSetParams(const Params& parameters) override
  {
    this->design.setParams(parameters); // throws before anything changes
    if (remainingSamples < 0 || transitionSamples <= 0)
    {
      remainingSamples = 0;
      transitionParams = parameters;
    }
    else
    {
      remainingSamples = transitionSamples;
    }
  }

  template <typename Sample>
  void processSmoothed(int numSamples, Sample* const* channels)
  {
    if (numSamples <= 0 || channels == nullptr)
      return;
    int done = 0;
    const int n = numSamples < remainingSamples ? numSamples : remainingSamples;
    if (n > 0)
    {
      const Params& target = this->params;
      Params step;
      for (int i = 0; i < Params::kMaxParameters; ++i)
        step[i] = (target[i] - transitionParams[i]) / remainingSamples;
      try
      {
        for (; done < n; ++done)
        {
          for (int i = 0; i < Params::kMaxParameters; ++i)
            transitionParams[i] += step[i];
          transitionDesign.setParams(transitionParams);
          for (int c = 0; c < Channels; ++c)
          {
            if (channels[c] == nullptr)
              continue;
            Sample& sample = channels[c][done];
            sample = static_cast<Sample>(this->state[c].processSample(sample, transitionDesign));
          }
        }
        remainingSamples -= n;
      }
      catch (...)
      {
        // A glide step that cannot be designed ends the glide: the rest of the
        // block runs with the target design.
        remainingSamples = 0;
      }
      if (remainingSamples == 0)
        transitionParams = target;
    }
    this->processChannels(numSamples - done, channels, done, this->design);
  }

  // The input of sample i of a stereo pair of channels, and an output stored there.
  static auto readFrom(double* const* channels)
  {
    return [channels](int i) { return Pair{channels[0][i], channels[1][i]}; };
  }
  static void storeInto(double* const* channels, int i, Pair v)
  {
    channels[0][i] = v[0];
    channels[1][i] = v[1];
  }
  static bool separatePair(double* const* channels, int numSamples)
  {
    return channels != nullptr && Base::State::separate(channels[0], channels[1], numSamples);
  }

  // processThen (Chained: `other` takes this design's output) and processBeside with
  // their inputs and outputs as processBesideWith has them (otherInput unused when
  // chained).
  template <bool Chained, class Other, class Input, class OtherInput, class Output>
  bool processAlong(Other& other, int numSamples, Input input, OtherInput otherInput, Output output)
  {
    if constexpr (Channels != 2)
      return false;
    else
    {
      if (numSamples <= 0 || isGliding() || other.isGliding())
        return false;
      typename Base::State::Lanes first(this->state[0], this->state[1], this->design);
      typename Other::State::Lanes second(other.getState(0), other.getState(1), other.getDesign());
      for (int i = 0; i < numSamples; ++i)
      {
        const Pair x = first.processSample(input(i));
        if constexpr (Chained)
          output(i, x, second.processSample(x));
        else
          output(i, x, second.processSample(otherInput(i)));
      }
      first.store(this->state[0], this->state[1]);
      second.store(other.getState(0), other.getState(1));
      return true;
    }
  }

  int transitionSamples;
  int remainingSamples = -1;
  Params transitionParams;
  DesignClass transitionDesign;
};

} // namespace Dsp
