#include "dsp/RBJBandPass1.h"

#include <cmath>
#include <numbers>

#include "dsp/Transform.h"

namespace Dsp::RBJ
{

namespace
{
// Q and bandwidth must stay positive: at zero or below the section is unstable.
double positive(double v) { return v > 1e-6 ? v : 1e-6; }
} // namespace

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
  const double fs = Transform::limitSampleRate(params[0]);
  const double w0 = 2 * std::numbers::pi * Transform::normalizeFrequency(params[1], fs);
  const double cs = std::cos(w0);
  const double sn = std::sin(w0);
  Biquad stage;
  // Constant skirt gain: the peak gain is BW (which stands where Q would).
  const double bw = positive(params[2]);
  const double alpha = sn / (2 * bw);
  stage.setCoefficients(1 + alpha, -2 * cs, 1 - alpha, bw * alpha, 0, -bw * alpha);
  setSingleStage(stage);
}

} // namespace Dsp::RBJ
