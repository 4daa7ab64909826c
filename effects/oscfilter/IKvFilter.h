#pragma once

namespace Korvane
{

// A resonant filter for one channel, run one sample at a time. Cutoff and resonance
// are normalised to 0..1; each implementation maps them to its own response.
class IKvFilter
{
public:
  virtual double process(double input, double cutoff, double resonance) = 0;
  // Stored only: the filters here work from the normalised cutoff.
  virtual void setSampleRate(double rate) = 0;
  // Implementation-specific response selector.
  virtual void setType(int type) = 0;
  // Clears the filter memory.
  virtual void reset() = 0;
  virtual ~IKvFilter();

  // Curves applied to the incoming cutoff (the `cutoffCurve` field of each filter).
  enum CutoffCurve
  {
    kCurveLinear = 0,
    kCurveSquare = 1,
    kCurveCube = 2
  };

  // 1 squares the cutoff, 2 cubes it, anything else leaves it as it is.
  static double shapeCutoff(double c, int curve)
  {
    if (curve == kCurveSquare)
      return c * c;
    if (curve == kCurveCube)
      return c * c * c;
    return c;
  }
};

} // namespace Korvane
