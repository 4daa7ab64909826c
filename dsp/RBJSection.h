#pragma once

#include "dsp/Params.h"

namespace Dsp::RBJ
{

// What every RBJ section computes from (sample rate, frequency, Q or bandwidth):
// cos and sin of the centre angle w0, and alpha = sin(w0) / (2 * q). Q and the
// bandwidth are kept positive: at zero or below the section is unstable. q is the
// value after that guard.
struct SectionTerms
{
  double cs;
  double sn;
  double q;
  double alpha;

  static SectionTerms from(const Params& params);
};

} // namespace Dsp::RBJ
