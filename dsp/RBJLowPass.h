#pragma once

#include "dsp/Cascade.h"
#include "dsp/Filter.h"

namespace Dsp::RBJ
{

// "RBJ Low Pass": one biquad from the Audio EQ Cookbook formulas.
// Parameters: sampleRate, cutoffFrequency, resonance.
class LowPass : public Cascade<1>
{
public:
  static constexpr int kMaxOrder = 2;

  static Kind getKind() { return kLowPass; }
  static const char* getName() { return "RBJ Low Pass"; }
  static int getNumParams() { return 3; }
  static ParamInfo getParamInfo(int index);

  void setParams(const Params& params);
};

} // namespace Dsp::RBJ
