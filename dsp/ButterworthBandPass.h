#pragma once

#include "dsp/ButterworthAnalogLowPass.h"
#include "dsp/Cascade.h"
#include "dsp/Filter.h"

namespace Dsp::Butterworth
{

// "Butterworth Band Pass": order 1..2, n sections for order n.
// Parameters: sampleRate, order, centerFrequency, bandwidthHz.
class BandPass : public Cascade<2>
{
public:
  static constexpr int kMaxOrder = 2;

  static Kind getKind() { return kBandPass; }
  static const char* getName() { return "Butterworth Band Pass"; }
  static int getNumParams() { return 4; }
  static ParamInfo getParamInfo(int index);

  void setParams(const Params& params);

private:
  AnalogLowPass analog;
};

} // namespace Dsp::Butterworth
