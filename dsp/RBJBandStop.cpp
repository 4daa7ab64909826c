#include "dsp/RBJBandStop.h"

#include "dsp/RBJSection.h"

namespace Dsp::RBJ
{

ParamInfo BandStop::getParamInfo(int index)
{
  switch (index)
  {
  case 0:
    return ParamInfo::sampleRate();
  case 1:
    return ParamInfo::centerFrequency();
  case 2:
    return ParamInfo::bandwidthOctaves();
  default:
    ParamInfo::throwInvalidUsage();
  }
}

void BandStop::setParams(const Params& params)
{
  const SectionTerms t = SectionTerms::from(params);
  Biquad stage;
  stage.setCoefficients(1 + t.alpha, -2 * t.cs, 1 - t.alpha, 1, -2 * t.cs, 1);
  setSingleStage(stage);
}

} // namespace Dsp::RBJ
