#pragma once

#include <complex>
#include <vector>

#include "dsp/ParamInfo.h"
#include "dsp/Params.h"
#include "dsp/PoleZeroPair.h"

namespace Dsp
{

enum Kind
{
  kLowPass = 0,
  kHighPass = 1,
  kBandPass = 2,
  kBandStop = 3,
  kLowShelf = 4,
  kHighShelf = 5,
  kBandShelf = 6,
  kOther = 7
};

// A multichannel filter with a design behind it, used by the effect units through a
// pointer.
//
// Errors: the library reports misuse with std::logic_error ("invalid usage of
// ParamInfo" from getParamInfo, "laguerre failed" from a Bessel design whose roots do
// not converge). Only getParamInfo lets one escape, and only for an index outside
// 0..getNumParams()-1. Everything the audio path and the parameter routing call
// (setParam, setParams, process, reset, findParamIndex) never throws: a parameter set
// that cannot be designed is refused (false) and the filter keeps its old setting.
class Filter
{
public:
  virtual ~Filter();

  virtual Kind getKind() const = 0;
  virtual const char* getName() const = 0;
  virtual int getNumParams() const = 0;
  // Throws std::logic_error("invalid usage of ParamInfo") outside the list.
  virtual ParamInfo getParamInfo(int index) const = 0;
  virtual std::vector<PoleZeroPair> getPoleZeros() const = 0;
  // Complex response at a frequency given as a fraction of the sample rate (0..0.5).
  virtual ComplexT response(double normalizedFrequency) const = 0;
  virtual int getNumChannels() const = 0;
  virtual void reset() = 0;
  virtual void process(int numSamples, double* const* arrayOfChannels) = 0;
  virtual void process(int numSamples, float* const* arrayOfChannels) = 0;

protected:
  // Applies a full parameter set; may throw std::logic_error, in which case nothing
  // may have changed. Reached only through setParams and setParam.
  virtual void doSetParams(const Params& parameters) = 0;

public:
  // Offered a transition length by the units; every design keeps its own.
  virtual void setTransitionLength(int samples);

  // Position of the parameter with this id, or -1.
  int findParamIndex(int paramId) const noexcept;
  // Sets one parameter (native value) and applies the whole set. False when the
  // design has no parameter with this id or the value cannot be used.
  bool setParam(int paramId, double nativeValue) noexcept;
  // False (and nothing changes) when a value is not finite or the set cannot be
  // designed.
  bool setParams(const Params& parameters) noexcept;
  const Params& getParams() const { return params; }
  Params getDefaultParams() const;

protected:
  Params params;
};

} // namespace Dsp
