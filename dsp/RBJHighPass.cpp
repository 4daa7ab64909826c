#include "dsp/RBJHighPass.h"

#include "dsp/RBJSection.h"

namespace Dsp::RBJ
{

ParamInfo HighPass::getParamInfo(int index)
{
  switch (index)
  {
  case 0:
    return ParamInfo::sampleRate();
  case 1:
    return ParamInfo::cutoffFrequency();
  case 2:
    return ParamInfo::resonance();
  default:
    ParamInfo::throwInvalidUsage();
  }
}

void HighPass::setParams(const Params& params)
{
  const SectionTerms t = SectionTerms::from(params);
  Biquad stage;
  stage.setCoefficients(1 + t.alpha, -2 * t.cs, 1 - t.alpha, (1 + t.cs) / 2, -(1 + t.cs),
                        (1 + t.cs) / 2);
  setSingleStage(stage);
}

} // namespace Dsp::RBJ
