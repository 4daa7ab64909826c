#include "dsp/BesselHighPass.h"

#include "dsp/Transform.h"

namespace Dsp::Bessel
{

ParamInfo HighPass::getParamInfo(int index)
{
  switch (index)
  {
  case 0:
    return ParamInfo::sampleRate();
  case 1:
    return ParamInfo::order(kMaxOrder);
  case 2:
    return ParamInfo::cutoffFrequency();
  default:
    ParamInfo::throwInvalidUsage();
  }
}

void HighPass::setParams(const Params& params)
{
  const double fs = Transform::limitSampleRate(params[0]);
  const int order = Transform::limitOrder(params[1], kMaxOrder);
  analog.design(order); // may throw "laguerre failed" before anything changes
  PoleZeroLayout digital;
  Transform::highPass(Transform::normalizeFrequency(params[2], fs), analog.getLayout(), digital);
  setLayout(digital);
}

} // namespace Dsp::Bessel
