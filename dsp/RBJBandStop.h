#pragma once

#include "dsp/Cascade.h"
#include "dsp/Filter.h"

namespace Dsp::RBJ
{

// "RBJ Band Stop": one biquad from the Audio EQ Cookbook formulas.
// Parameters: sampleRate, centerFrequency, bandwidthOctaves.
class BandStop : public Cascade<1>
{
public:
  static constexpr int kMaxOrder = 2;

  static Kind getKind() { return kBandStop; }
  static const char* getName() { return "RBJ Band Stop"; }
  static int getNumParams() { return 3; }
  static ParamInfo getParamInfo(int index);

  void setParams(const Params& params);
};

} // namespace Dsp::RBJ
