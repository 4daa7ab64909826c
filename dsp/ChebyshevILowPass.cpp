#include "dsp/ChebyshevILowPass.h"

#include "dsp/Transform.h"

namespace Dsp::ChebyshevI
{

ParamInfo LowPass::getParamInfo(int index)
{
  switch (index)
  {
  case 0:
    return ParamInfo::sampleRate();
  case 1:
    return ParamInfo::order(kMaxOrder);
  case 2:
    return ParamInfo::cutoffFrequency();
  case 3:
    return ParamInfo::rippleDb();
  default:
    ParamInfo::throwInvalidUsage();
  }
}

void LowPass::setParams(const Params& params)
{
  const double fs = Transform::limitSampleRate(params[0]);
  const int order = Transform::limitOrder(params[1], kMaxOrder);
  analog.design(order, params[3]);
  PoleZeroLayout digital;
  Transform::lowPass(Transform::normalizeFrequency(params[2], fs), analog.getLayout(), digital);
  setLayout(digital);
}

} // namespace Dsp::ChebyshevI
