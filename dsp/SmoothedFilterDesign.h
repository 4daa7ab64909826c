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
  explicit SmoothedFilterDesign(int transitionSamples = 512)
    : m_transitionSamples(transitionSamples), m_transitionDesign(this->m_design)
  {
    m_transitionParams = this->m_params;
  }

  void process(int numSamples, double* const* arrayOfChannels) override
  {
    processSmoothed(numSamples, arrayOfChannels);
  }
  void process(int numSamples, float* const* arrayOfChannels) override
  {
    processSmoothed(numSamples, arrayOfChannels);
  }

  int getTransitionSamples() const { return m_transitionSamples; }
  int getRemainingSamples() const { return m_remainingSamples; }
  const Params& getTransitionParams() const { return m_transitionParams; }
  const DesignClass& getTransitionDesign() const { return m_transitionDesign; }

protected:
  void doSetParams(const Params& parameters) override
  {
    this->m_design.setParams(parameters); // throws before anything changes
    if (m_remainingSamples < 0 || m_transitionSamples <= 0)
    {
      m_remainingSamples = 0;
      m_transitionParams = parameters;
    }
    else
    {
      m_remainingSamples = m_transitionSamples;
    }
  }

  template <typename Sample>
  void processSmoothed(int numSamples, Sample* const* channels)
  {
    if (numSamples <= 0 || channels == nullptr)
      return;
    int done = 0;
    const int n = numSamples < m_remainingSamples ? numSamples : m_remainingSamples;
    if (n > 0)
    {
      const Params& target = this->m_params;
      Params step;
      for (int i = 0; i < Params::maxParameters; ++i)
        step[i] = (target[i] - m_transitionParams[i]) / m_remainingSamples;
      try
      {
        for (; done < n; ++done)
        {
          for (int i = 0; i < Params::maxParameters; ++i)
            m_transitionParams[i] += step[i];
          m_transitionDesign.setParams(m_transitionParams);
          for (int c = 0; c < Channels; ++c)
          {
            if (channels[c] == nullptr)
              continue;
            Sample& sample = channels[c][done];
            sample =
                static_cast<Sample>(this->m_state[c].processSample(sample, m_transitionDesign));
          }
        }
        m_remainingSamples -= n;
      }
      catch (...)
      {
        // A glide step that cannot be designed ends the glide: the rest of the
        // block runs with the target design.
        m_remainingSamples = 0;
      }
      if (m_remainingSamples == 0)
        m_transitionParams = target;
    }
    for (int c = 0; c < Channels; ++c)
      if (channels[c] != nullptr)
        this->m_state[c].process(numSamples - done, channels[c] + done, this->m_design);
  }

  int m_transitionSamples;
  int m_remainingSamples = -1;
  Params m_transitionParams;
  DesignClass m_transitionDesign;
};

} // namespace Dsp
