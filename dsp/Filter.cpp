#include "dsp/Filter.h"

#include <cmath>

namespace Dsp
{

Filter::~Filter() = default;

void Filter::setTransitionLength(int) {}

int Filter::findParamIndex(int paramId) const noexcept
{
  try
  {
    const int n = getNumParams();
    for (int i = 0; i < n; ++i)
      if (getParamInfo(i).id == paramId)
        return i;
  }
  catch (...)
  {
  }
  return -1;
}

bool Filter::setParam(int paramId, double nativeValue) noexcept
{
  const int index = findParamIndex(paramId);
  if (index < 0)
    return false;
  Params parameters = params;
  parameters[index] = nativeValue;
  return setParams(parameters);
}

bool Filter::setParams(const Params& parameters) noexcept
{
  const int n = getNumParams();
  for (int i = 0; i < n && i < Params::kMaxParameters; ++i)
    if (!std::isfinite(parameters[i]))
      return false;
  try
  {
    doSetParams(parameters);
  }
  catch (...)
  {
    return false;
  }
  params = parameters;
  return true;
}

Params Filter::getDefaultParams() const
{
  Params parameters;
  const int n = getNumParams();
  for (int i = 0; i < n && i < Params::kMaxParameters; ++i)
    parameters[i] = getParamInfo(i).defaultValue;
  return parameters;
}

} // namespace Dsp
