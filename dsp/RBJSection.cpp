#include "dsp/RBJSection.h"

#include "dsp/Transform.h"

#include <cmath>
#include <numbers>

namespace Dsp::RBJ
{

SectionTerms SectionTerms::from(const Params& params)
{
  const double fs = Transform::limitSampleRate(params[0]);
  const double w0 = 2 * std::numbers::pi * Transform::normalizeFrequency(params[1], fs);
  SectionTerms t;
  t.cs = std::cos(w0);
  t.sn = std::sin(w0);
  t.q = params[2] > 1e-6 ? params[2] : 1e-6;
  t.alpha = t.sn / (2 * t.q);
  return t;
}

} // namespace Dsp::RBJ
