#pragma once

#include "dsp/Cascade.h"
#include "dsp/Filter.h"

namespace Dsp::RBJ
{

// "RBJ High Pass": one biquad from the Audio EQ Cookbook formulas.
// Parameters: sampleRate, cutoffFrequency, resonance.
class HighPass : public Cascade<1>
{
public:
  static constexpr int kMaxOrder = 2;

  static Kind getKind() { return kHighPass; }
  static const char* getName() { return "RBJ High Pass"; }
  static int getNumParams() { return 3; }
  static ParamInfo getParamInfo(int index);

  void setParams(const Params& params);
};

} // namespace Dsp::RBJ
