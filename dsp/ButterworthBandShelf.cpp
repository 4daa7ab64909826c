#include "dsp/ButterworthBandShelf.h"

#include "dsp/Transform.h"

namespace Dsp::Butterworth
{

ParamInfo BandShelf::getParamInfo(int index)
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
  case 4:
    return ParamInfo::gain();
  default:
    ParamInfo::throwInvalidUsage();
  }
}

void BandShelf::setParams(const Params& params)
{
  const double fs = Transform::limitSampleRate(params[0]);
  const int order = Transform::limitOrder(params[1], kMaxOrder);
  analog.design(order, params[4]);
  PoleZeroLayout digital;
  Transform::bandPass(params[2] / fs, params[3] / fs, analog.getLayout(), digital);
  setLayout(digital);
}

} // namespace Dsp::Butterworth
