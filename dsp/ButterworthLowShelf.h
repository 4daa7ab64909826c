#pragma once

#include "dsp/ButterworthAnalogLowShelf.h"
#include "dsp/Cascade.h"
#include "dsp/Filter.h"

namespace Dsp::Butterworth
{

// "Butterworth Low Shelf": order 1..2, ceil(n/2) sections for order n.
// Parameters: sampleRate, order, cutoffFrequency, gain.
class LowShelf : public Cascade<1>
{
public:
  static constexpr int kMaxOrder = 2;

  static Kind getKind() { return kLowShelf; }
  static const char* getName() { return "Butterworth Low Shelf"; }
  static int getNumParams() { return 4; }
  static ParamInfo getParamInfo(int index);

  void setParams(const Params& params);

private:
  AnalogLowShelf analog;
};

} // namespace Dsp::Butterworth
