#pragma once

namespace Dsp
{

// The parameter set of a design: one native value per position of the design's
// parameter list (position, not id; see ParamInfo for the ids).
struct Params
{
  static constexpr int kMaxParameters = 8;

  double value[kMaxParameters] = {0, 0, 0, 0, 0, 0, 0, 0};

  double& operator[](int index) { return value[index]; }
  double operator[](int index) const { return value[index]; }

  void clear()
  {
    for (double& v : value)
      v = 0;
  }

  bool operator==(const Params& other) const
  {
    for (int i = 0; i < kMaxParameters; ++i)
      if (value[i] != other.value[i])
        return false;
    return true;
  }
};

} // namespace Dsp
