#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "dsp/BesselHighPass.h"
#include "dsp/BesselLowPass.h"
#include "dsp/ButterworthBandPass.h"
#include "dsp/ButterworthBandShelf.h"
#include "dsp/ButterworthBandStop.h"
#include "dsp/ButterworthHighShelf.h"
#include "dsp/ButterworthLowShelf.h"
#include "dsp/ChebyshevIHighPass.h"
#include "dsp/ChebyshevILowPass.h"
#include "dsp/DirectFormI.h"
#include "dsp/DirectFormII.h"
#include "dsp/RBJBandPass1.h"
#include "dsp/RBJBandStop.h"
#include "dsp/RBJHighPass.h"
#include "dsp/RBJLowPass.h"
#include "dsp/SmoothedFilterDesign.h"

using namespace Dsp;

namespace
{

struct MappingCase
{
  ParamInfo info;
  double at0, atHalf, at1;
};

} // namespace

TEST(ParamInfo, MappingsAtZeroHalfAndOne)
{
  const std::vector<MappingCase> cases = {
      {ParamInfo::sampleRate(), 11025, 101512.5, 192000},
      {ParamInfo::cutoffFrequency(), 10, std::sqrt(10.0 * 22040.0), 22040},
      {ParamInfo::centerFrequency(), 10, std::sqrt(10.0 * 22040.0), 22040},
      {ParamInfo::resonance(), 0.0625, 1, 16},
      {ParamInfo::bandwidthOctaves(), 0.0625, 1, 16},
      {ParamInfo::bandwidthHz(), 10, std::sqrt(10.0 * 22040.0), 22040},
      {ParamInfo::gain(), -24, 0, 24},
      {ParamInfo::order(4), 1, 3, 4}, // floor(3 * 0.5 + 1 + 0.5) = 3
      {ParamInfo::order(2), 1, 2, 2}, // floor(0.5 + 1 + 0.5) = 2
      {ParamInfo::rippleDb(), 0.001, 0.001 + 11.999 / 2, 12},
  };
  for (const MappingCase& c : cases)
  {
    SCOPED_TRACE(c.info.longName);
    EXPECT_NEAR(c.info.toNativeValue(0), c.at0, 1e-9 * std::fabs(c.at0));
    EXPECT_NEAR(c.info.toNativeValue(0.5), c.atHalf, 1e-9 * std::fabs(c.atHalf));
    EXPECT_NEAR(c.info.toNativeValue(1), c.at1, 1e-9 * std::fabs(c.at1));
    // The control value is the inverse (the integer mapping only at its steps).
    if (c.info.mapping != ParamInfo::kMapInteger)
    {
      for (double x : {0.0, 0.13, 0.5, 0.77, 1.0})
        EXPECT_NEAR(c.info.toControlValue(c.info.toNativeValue(x)), x, 1e-12);
    }
    else
    {
      EXPECT_NEAR(c.info.toControlValue(c.info.toNativeValue(1)), 1, 1e-12);
      EXPECT_NEAR(c.info.toControlValue(c.info.toNativeValue(0)), 0, 1e-12);
    }
  }
  // The cutoff the master filter's knob reaches near 0.688 is the 2000 Hz default.
  EXPECT_NEAR(ParamInfo::cutoffFrequency().toNativeValue(0.688), 2000, 10);
  EXPECT_NEAR(ParamInfo::cutoffFrequency().toControlValue(2000), 0.68827, 1e-5);
}

TEST(ParamInfo, EntriesIdsRangesAndDefaults)
{
  struct Row
  {
    ParamInfo info;
    int id;
    const char* shortName;
    const char* longName;
    double min, max, def;
  };
  const std::vector<Row> rows = {
      {ParamInfo::sampleRate(), 0, "Fs", "Sample Rate", 11025, 192000, 44100},
      {ParamInfo::cutoffFrequency(), 1, "Fc", "Cutoff Frequency", 10, 22040, 2000},
      {ParamInfo::centerFrequency(), 1, "Fc", "Center Frequency", 10, 22040, 2000},
      {ParamInfo::resonance(), 2, "Q", "Resonance", -4, 4, 1},
      {ParamInfo::bandwidthOctaves(), 3, "BW", "Bandwidth (Octaves)", -4, 4, 1},
      {ParamInfo::bandwidthHz(), 4, "BW", "Bandwidth (Hz)", 10, 22040, 1720},
      {ParamInfo::gain(), 5, "Gain", "Gain", -24, 24, -6},
      {ParamInfo::order(4), 7, "Order", "Order", 1, 4, 2},
      {ParamInfo::rippleDb(), 8, "Ripple", "Ripple dB", 0.001, 12, 0.01},
  };
  for (const Row& r : rows)
  {
    SCOPED_TRACE(r.longName);
    EXPECT_EQ(r.info.id, r.id);
    EXPECT_STREQ(r.info.shortName, r.shortName);
    EXPECT_STREQ(r.info.longName, r.longName);
    EXPECT_EQ(r.info.minValue, r.min);
    EXPECT_EQ(r.info.maxValue, r.max);
    EXPECT_EQ(r.info.defaultValue, r.def);
  }
}

TEST(ParamInfo, TextForms)
{
  EXPECT_EQ(ParamInfo::cutoffFrequency().toString(2000.9), "2000 Hz");
  EXPECT_EQ(ParamInfo::sampleRate().toString(44100), "44100 Hz");
  EXPECT_EQ(ParamInfo::resonance().toString(0.0625), "0.062");
  EXPECT_EQ(ParamInfo::resonance().toString(16), "16.000");
  EXPECT_EQ(ParamInfo::gain().toString(-6), "-6.00 dB");
  EXPECT_EQ(ParamInfo::gain().toString(0.5), "0.500 dB");
  EXPECT_EQ(ParamInfo::gain().toString(-0.25), "-0.250 dB");
  EXPECT_EQ(ParamInfo::gain().toString(24), "24.0 dB");
  EXPECT_EQ(ParamInfo::gain().toString(-10), "-10.0 dB");
  EXPECT_EQ(ParamInfo::rippleDb().toString(0.01), "0.010 dB");
  EXPECT_EQ(ParamInfo::order(4).toString(3), "3");
}

namespace
{

struct DesignRow
{
  std::unique_ptr<Filter> filter;
  const char* name;
  Kind kind;
  std::vector<int> ids;
  const char* frequencyLongName;
  double maxOrder; // 0 when the design has no order
};

template <class D>
std::unique_ptr<Filter> smoothed()
{
  return std::make_unique<SmoothedFilterDesign<D, 2, DirectFormII>>();
}

std::vector<DesignRow> allDesigns()
{
  std::vector<DesignRow> rows;
  rows.push_back({smoothed<Butterworth::LowShelf>(),
                  "Butterworth Low Shelf",
                  kLowShelf,
                  {0, 7, 1, 5},
                  "Cutoff Frequency",
                  2});
  rows.push_back({smoothed<Butterworth::HighShelf>(),
                  "Butterworth High Shelf",
                  kHighShelf,
                  {0, 7, 1, 5},
                  "Cutoff Frequency",
                  2});
  rows.push_back({smoothed<Butterworth::BandShelf>(),
                  "Butterworth Band Shelf",
                  kBandShelf,
                  {0, 7, 1, 4, 5},
                  "Center Frequency",
                  2});
  rows.push_back({smoothed<Butterworth::BandPass>(),
                  "Butterworth Band Pass",
                  kBandPass,
                  {0, 7, 1, 4},
                  "Center Frequency",
                  2});
  rows.push_back({smoothed<Butterworth::BandStop>(),
                  "Butterworth Band Stop",
                  kBandStop,
                  {0, 7, 1, 4},
                  "Center Frequency",
                  2});
  rows.push_back({smoothed<ChebyshevI::LowPass>(),
                  "Chebyshev I Low Pass",
                  kLowPass,
                  {0, 7, 1, 8},
                  "Cutoff Frequency",
                  4});
  rows.push_back({smoothed<ChebyshevI::HighPass>(),
                  "Chebyshev I High Pass",
                  kHighPass,
                  {0, 7, 1, 8},
                  "Cutoff Frequency",
                  4});
  rows.push_back(
      {smoothed<Bessel::LowPass>(), "Bessel Low Pass", kLowPass, {0, 7, 1}, "Cutoff Frequency", 4});
  rows.push_back({smoothed<Bessel::HighPass>(),
                  "Bessel High Pass",
                  kHighPass,
                  {0, 7, 1},
                  "Cutoff Frequency",
                  4});
  rows.push_back(
      {smoothed<RBJ::LowPass>(), "RBJ Low Pass", kLowPass, {0, 1, 2}, "Cutoff Frequency", 0});
  rows.push_back(
      {smoothed<RBJ::HighPass>(), "RBJ High Pass", kHighPass, {0, 1, 2}, "Cutoff Frequency", 0});
  rows.push_back(
      {smoothed<RBJ::BandPass1>(), "RBJ Band Pass 1", kBandPass, {0, 1, 3}, "Center Frequency", 0});
  rows.push_back(
      {smoothed<RBJ::BandStop>(), "RBJ Band Stop", kBandStop, {0, 1, 3}, "Center Frequency", 0});
  return rows;
}

} // namespace

TEST(FilterDesigns, NamesKindsAndParameterListsInPositionOrder)
{
  for (const DesignRow& row : allDesigns())
  {
    SCOPED_TRACE(row.name);
    const Filter& f = *row.filter;
    EXPECT_STREQ(f.getName(), row.name);
    EXPECT_EQ(f.getKind(), row.kind);
    EXPECT_EQ(f.getNumChannels(), 2);
    ASSERT_EQ(f.getNumParams(), static_cast<int>(row.ids.size()));
    for (int i = 0; i < f.getNumParams(); ++i)
    {
      const ParamInfo info = f.getParamInfo(i);
      EXPECT_EQ(info.id, row.ids[i]) << "position " << i;
      EXPECT_EQ(f.findParamIndex(row.ids[i]), i);
      if (info.id == kIdFrequency)
      {
        EXPECT_STREQ(info.longName, row.frequencyLongName);
      }
      if (info.id == kIdOrder)
      {
        EXPECT_EQ(info.maxValue, row.maxOrder);
      }
      EXPECT_EQ(f.getDefaultParams()[i], info.defaultValue);
    }
    EXPECT_EQ(f.findParamIndex(6), -1);
    // Beyond the list (and before it) is a logic error with its message.
    for (int bad : {f.getNumParams(), f.getNumParams() + 3, -1})
    {
      try
      {
        (void)f.getParamInfo(bad);
        ADD_FAILURE() << "no exception for index " << bad;
      }
      catch (const std::logic_error& e)
      {
        EXPECT_STREQ(e.what(), "invalid usage of ParamInfo");
      }
    }
  }
}

TEST(FilterDesigns, EveryDesignIsStableOverItsWholeParameterRange)
{
  // Corners of every parameter's control range, processed with noise: the output
  // stays finite and bounded (a fold-over above the Nyquist frequency would not).
  for (DesignRow& row : allDesigns())
  {
    SCOPED_TRACE(row.name);
    Filter& f = *row.filter;
    const int n = f.getNumParams();
    for (int corner = 0; corner < (1 << n); ++corner)
    {
      Params p;
      for (int i = 0; i < n; ++i)
        p[i] = f.getParamInfo(i).toNativeValue((corner >> i) & 1);
      ASSERT_TRUE(f.setParams(p));
      f.reset();
      std::vector<double> left(4096), right(4096);
      unsigned seed = 12345;
      for (int i = 0; i < 4096; ++i)
      {
        seed = seed * 1664525u + 1013904223u;
        left[i] = right[i] = (seed >> 8) / 8388608.0 - 1.0;
      }
      double* channels[2] = {left.data(), right.data()};
      f.process(4096, channels);
      double peak = 0;
      for (double v : left)
      {
        ASSERT_TRUE(std::isfinite(v)) << "corner " << corner;
        peak = std::max(peak, std::fabs(v));
      }
      EXPECT_LT(peak, 1e4) << "corner " << corner;
    }
  }
}
