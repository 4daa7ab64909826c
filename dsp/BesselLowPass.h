#pragma once

#include "dsp/BesselAnalogLowPass.h"
#include "dsp/Cascade.h"
#include "dsp/Filter.h"

namespace Dsp::Bessel
{

// "Bessel Low Pass": order 1..4, ceil(n/2) sections for order n.
// Parameters: sampleRate, order, cutoffFrequency.
class LowPass : public Cascade<2>
{
public:
  static constexpr int kMaxOrder = 4;

  static Kind getKind() { return kLowPass; }
  static const char* getName() { return "Bessel Low Pass"; }
  static int getNumParams() { return 3; }
  static ParamInfo getParamInfo(int index);

  void setParams(const Params& params);

private:
  AnalogLowPass analog;
};

} // namespace Dsp::Bessel
