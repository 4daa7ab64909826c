#pragma once

#include "dsp/ChannelState.h"
#include "dsp/Filter.h"

namespace Dsp
{

// A design (coefficients), its current parameters and the state of Channels channels
// in the chosen form (DirectFormI or DirectFormII). Every sample is processed with the
// current design; parameter changes take effect at once.
//
// DesignClass provides: kMaxStages, static getKind/getName/getNumParams/getParamInfo,
// setParams(const Params&) (strong: throws before changing anything), and the
// Cascade interface it derives from.
template <class DesignClass, int Channels, class StateType>
class FilterDesign : public Filter
{
public:
  static constexpr int kMaxStages = DesignClass::kMaxStages;
  using State = ChannelState<StateType, kMaxStages>;

  FilterDesign()
  {
    // The design starts at its defaults, so it filters sensibly before the first
    // parameter set arrives; that first set is still the first one.
    params = getDefaultParams();
    try
    {
      design.setParams(params);
    }
    catch (...)
    {
    }
  }

  Kind getKind() const override { return DesignClass::getKind(); }
  const char* getName() const override { return DesignClass::getName(); }
  int getNumParams() const override { return DesignClass::getNumParams(); }
  ParamInfo getParamInfo(int index) const override { return DesignClass::getParamInfo(index); }
  std::vector<PoleZeroPair> getPoleZeros() const override { return design.getPoleZeros(); }
  ComplexT response(double normalizedFrequency) const override
  {
    return design.response(normalizedFrequency);
  }
  int getNumChannels() const override { return Channels; }

  void reset() override
  {
    for (State& s : state)
      s.reset();
  }

  void process(int numSamples, double* const* arrayOfChannels) override
  {
    processBlock(numSamples, arrayOfChannels);
  }
  void process(int numSamples, float* const* arrayOfChannels) override
  {
    processBlock(numSamples, arrayOfChannels);
  }

  const DesignClass& getDesign() const { return design; }
  const State& getState(int channel) const { return state[channel]; }
  State& getState(int channel) { return state[channel]; }

protected:
  void doSetParams(const Params& parameters) override { design.setParams(parameters); }

  template <typename Sample>
  void processBlock(int numSamples, Sample* const* channels)
  {
    if (numSamples <= 0 || channels == nullptr)
      return;
    processChannels(numSamples, channels, 0, design);
  }

  // The samples from `offset` on of every channel through `withDesign`: a stereo pair
  // side by side, otherwise channel after channel.
  template <typename Sample>
  void processChannels(int numSamples, Sample* const* channels, int offset,
                       const DesignClass& withDesign)
  {
    if (numSamples <= 0)
      return;
    if constexpr (Channels == 2)
    {
      Sample* a = channels[0] != nullptr ? channels[0] + offset : nullptr;
      Sample* b = channels[1] != nullptr ? channels[1] + offset : nullptr;
      if (State::separate(a, b, numSamples))
      {
        State::processPair(state[0], a, state[1], b, numSamples, withDesign);
        return;
      }
    }
    for (int c = 0; c < Channels; ++c)
      if (channels[c] != nullptr)
        state[c].process(numSamples, channels[c] + offset, withDesign);
  }

  DesignClass design;
  State state[Channels];
};

} // namespace Dsp
