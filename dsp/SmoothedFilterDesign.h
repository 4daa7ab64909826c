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
    return processAlong<true>(next, numSamples, readFrom(channels), readFrom(channels), channels,
                              channels);
  }

  // This design over `channels` and `other` over another stereo pair `otherChannels`,
  // the same values bit for bit as the two process() calls, but sample by sample side by
  // side so that the two recursions overlap. The same conditions as processThen, for
  // each pair.
  template <class Other>
  bool processBeside(Other& other, int numSamples, double* const* channels,
                     double* const* otherChannels)
  {
    return processAlong<false>(other, numSamples, readFrom(channels), readFrom(otherChannels),
                               channels, otherChannels);
  }

  // processBeside with both designs taking inputs[c][i] + addend as their input instead of
  // what their channels hold (which they overwrite): as if both channel pairs had been
  // filled with those sums first. The inputs may not overlap the channels.
  template <class Other>
  bool processBesideFrom(Other& other, int numSamples, const double* const* inputs, double addend,
                         double* const* channels, double* const* otherChannels)
  {
    if (inputs == nullptr || inputs[0] == nullptr || inputs[1] == nullptr)
      return false;
    const auto summed = [inputs, add = Pair{} + addend](int i) {
      return Pair{inputs[0][i], inputs[1][i]} + add;
    };
    return processAlong<false>(other, numSamples, summed, summed, channels, otherChannels);
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

  // The input of sample i of a stereo pair of channels, read as processAlong runs.
  static auto readFrom(double* const* channels)
  {
    return [channels](int i) { return Pair{channels[0][i], channels[1][i]}; };
  }

  // processThen (Chained: `other` takes this design's output) and processBeside; input(i)
  // and otherInput(i) give sample i's input of each design (otherInput unused when
  // chained), read before the sample's outputs are stored.
  template <bool Chained, class Other, class Input, class OtherInput>
  bool processAlong(Other& other, int numSamples, Input input, OtherInput otherInput,
                    double* const* channels, double* const* otherChannels)
  {
    if constexpr (Channels != 2)
      return false;
    else
    {
      if (numSamples <= 0 || channels == nullptr || otherChannels == nullptr || isGliding() ||
          other.isGliding() || !Base::State::separate(channels[0], channels[1], numSamples) ||
          !Base::State::separate(otherChannels[0], otherChannels[1], numSamples))
        return false;
      typename Base::State::Lanes first(this->state[0], this->state[1], this->design);
      typename Other::State::Lanes second(other.getState(0), other.getState(1), other.getDesign());
      double* left = channels[0];
      double* right = channels[1];
      double* otherLeft = otherChannels[0];
      double* otherRight = otherChannels[1];
      for (int i = 0; i < numSamples; ++i)
      {
        const Pair x = first.processSample(input(i));
        if constexpr (Chained)
        {
          const Pair y = second.processSample(x);
          left[i] = y[0];
          right[i] = y[1];
        }
        else
        {
          const Pair y = second.processSample(otherInput(i));
          left[i] = x[0];
          right[i] = x[1];
          otherLeft[i] = y[0];
          otherRight[i] = y[1];
        }
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
