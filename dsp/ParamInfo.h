#pragma once

#include <string>

namespace Dsp
{

// Parameter ids shared by every design. A design lists the parameters it has in its
// own position order; Params is indexed by that position.
enum ParamID
{
  kIdSampleRate = 0,
  kIdFrequency = 1,
  kIdQ = 2,
  kIdBandwidth = 3,
  kIdBandwidthHz = 4,
  kIdGain = 5,
  kIdOrder = 7,
  kIdRippleDb = 8
};

// Description of one design parameter: its range, default, how a 0..1 control value
// maps onto the native value, and how the native value is shown as text.
struct ParamInfo
{
  enum Mapping
  {
    kMapLinear,
    kMapInteger,
    kMapLogarithmic,
    kMapPowerOfTwo
  };
  enum TextForm
  {
    kTextHz,
    kTextReal,
    kTextDb,
    kTextInteger
  };

  int id = kIdSampleRate;
  const char* shortName = "";
  const char* longName = "";
  // For the power-of-two mapping these are exponents of 2; otherwise native values.
  double minValue = 0;
  double maxValue = 1;
  double defaultValue = 0;
  Mapping mapping = kMapLinear;
  TextForm textForm = kTextReal;

  // native value -> control value 0..1
  double toControlValue(double nativeValue) const;
  // control value 0..1 -> native value
  double toNativeValue(double controlValue) const;
  // native value -> display text ("2000 Hz", "1.000", "-6.00 dB", "2")
  std::string toString(double nativeValue) const;

  // The entries used by the designs.
  static ParamInfo sampleRate();
  static ParamInfo cutoffFrequency();
  static ParamInfo centerFrequency();
  static ParamInfo resonance();
  static ParamInfo bandwidthOctaves();
  static ParamInfo bandwidthHz();
  static ParamInfo gain();
  static ParamInfo order(int maxOrder);
  static ParamInfo rippleDb();

  // Raised (as std::logic_error) for an index outside a design's parameter list.
  [[noreturn]] static void throwInvalidUsage();
};

} // namespace Dsp
