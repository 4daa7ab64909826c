#pragma once

#include "dsp/ButterworthAnalogLowShelf.h"
#include "dsp/Cascade.h"
#include "dsp/Filter.h"

namespace Dsp::Butterworth
{

// "Butterworth Band Shelf": order 1..2, n sections for order n.
// Parameters: sampleRate, order, centerFrequency, bandwidthHz, gain.
class BandShelf : public Cascade<2>
{
public:
  static constexpr int kMaxOrder = 2;

  static Kind getKind() { return kBandShelf; }
  static const char* getName() { return "Butterworth Band Shelf"; }
  static int getNumParams() { return 5; }
  static ParamInfo getParamInfo(int index);

  void setParams(const Params& params);

private:
  AnalogLowShelf analog;
};

} // namespace Dsp::Butterworth
