#include "dsp/ButterworthBandStop.h"

#include "dsp/Transform.h"

namespace Dsp::Butterworth
{

ParamInfo BandStop::getParamInfo(int index)
{
  switch (index)
  {
  case 0:
    return ParamInfo::sampleRate();
  case 1:
    return ParamInfo::order(kMaxOrder);
  case 2:
    return ParamInfo::centerFrequency();
  case 3:
    return ParamInfo::bandwidthHz();
  default:
    ParamInfo::throwInvalidUsage();
  }
}

void BandStop::setParams(const Params& params)
{
  const double fs = Transform::limitSampleRate(params[0]);
  const int order = Transform::limitOrder(params[1], kMaxOrder);
  analog.design(order);
  PoleZeroLayout digital;
  Transform::bandStop(params[2] / fs, params[3] / fs, analog.getLayout(), digital);
  setLayout(digital);
}

} // namespace Dsp::Butterworth
