#pragma once

#include "dsp/BesselAnalogLowPass.h"
#include "dsp/Cascade.h"
#include "dsp/Filter.h"

namespace Dsp::Bessel
{

// "Bessel High Pass": order 1..4, ceil(n/2) sections for order n.
// Parameters: sampleRate, order, cutoffFrequency.
class HighPass : public Cascade<2>
{
public:
  static constexpr int kMaxOrder = 4;

  static Kind getKind() { return kHighPass; }
  static const char* getName() { return "Bessel High Pass"; }
  static int getNumParams() { return 3; }
  static ParamInfo getParamInfo(int index);

  void setParams(const Params& params);

private:
  AnalogLowPass analog;
};

} // namespace Dsp::Bessel
