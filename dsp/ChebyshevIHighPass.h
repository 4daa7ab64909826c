#pragma once

#include "dsp/Cascade.h"
#include "dsp/ChebyshevIAnalogLowPass.h"
#include "dsp/Filter.h"

namespace Dsp::ChebyshevI
{

// "Chebyshev I High Pass": order 1..4, ceil(n/2) sections for order n.
// Parameters: sampleRate, order, cutoffFrequency, rippleDb.
class HighPass : public Cascade<2>
{
public:
  static constexpr int kMaxOrder = 4;

  static Kind getKind() { return kHighPass; }
  static const char* getName() { return "Chebyshev I High Pass"; }
  static int getNumParams() { return 4; }
  static ParamInfo getParamInfo(int index);

  void setParams(const Params& params);

private:
  AnalogLowPass analog;
};

} // namespace Dsp::ChebyshevI
