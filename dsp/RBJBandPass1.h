#pragma once

#include "dsp/Cascade.h"
#include "dsp/Filter.h"

namespace Dsp::RBJ
{

// "RBJ Band Pass 1": one biquad from the Audio EQ Cookbook formulas.
// Parameters: sampleRate, centerFrequency, bandwidthOctaves.
class BandPass1 : public Cascade<1>
{
public:
  static constexpr int kMaxOrder = 2;

  static Kind getKind() { return kBandPass; }
  static const char* getName() { return "RBJ Band Pass 1"; }
  static int getNumParams() { return 3; }
  static ParamInfo getParamInfo(int index);

  void setParams(const Params& params);
};

} // namespace Dsp::RBJ
