#include "dsp/RBJBandPass1.h"

#include "dsp/RBJSection.h"

namespace Dsp::RBJ
{

ParamInfo BandPass1::getParamInfo(int index)
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

void BandPass1::setParams(const Params& params)
{
  const SectionTerms t = SectionTerms::from(params);
  Biquad stage;
  // Constant skirt gain: the peak gain is BW (which stands where Q would).
  stage.setCoefficients(1 + t.alpha, -2 * t.cs, 1 - t.alpha, t.q * t.alpha, 0, -t.q * t.alpha);
  setSingleStage(stage);
}

} // namespace Dsp::RBJ
