#pragma once

#include "dsp/ChannelState.h"
#include "dsp/Filter.h"

namespace Dsp
{

// A design (coefficients), its current parameters and the state of Channels channels
// in the chosen form (DirectFormI or DirectFormII). Every sample is processed with the
// current design; parameter changes take effect at once.
//
// DesignClass provides: MaxStages, static getKind/getName/getNumParams/getParamInfo,
// setParams(const Params&) (strong: throws before changing anything), and the
// Cascade interface it derives from.
template <class DesignClass, int Channels, class StateType>
class FilterDesign : public Filter
{
public:
  static constexpr int MaxStages = DesignClass::MaxStages;
  using State = ChannelState<StateType, MaxStages>;

  FilterDesign()
  {
    // The design starts at its defaults, so it filters sensibly before the first
    // parameter set arrives; that first set is still the first one.
    m_params = getDefaultParams();
    try
    {
      m_design.setParams(m_params);
    }
    catch (...)
    {
    }
  }

  Kind getKind() const override { return DesignClass::getKind(); }
  const char* getName() const override { return DesignClass::getName(); }
  int getNumParams() const override { return DesignClass::getNumParams(); }
  ParamInfo getParamInfo(int index) const override { return DesignClass::getParamInfo(index); }
  std::vector<PoleZeroPair> getPoleZeros() const override { return m_design.getPoleZeros(); }
  complex_t response(double normalizedFrequency) const override
  {
    return m_design.response(normalizedFrequency);
  }
  int getNumChannels() const override { return Channels; }

  void reset() override
  {
    for (State& s : m_state)
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

  const DesignClass& getDesign() const { return m_design; }
  const State& getState(int channel) const { return m_state[channel]; }

protected:
  void doSetParams(const Params& parameters) override { m_design.setParams(parameters); }

  template <typename Sample>
  void processBlock(int numSamples, Sample* const* channels)
  {
    if (numSamples <= 0 || channels == nullptr)
      return;
    for (int c = 0; c < Channels; ++c)
      if (channels[c] != nullptr)
        m_state[c].process(numSamples, channels[c], m_design);
  }

  DesignClass m_design;
  State m_state[Channels];
};

} // namespace Dsp
