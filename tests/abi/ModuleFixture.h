#pragma once
// Loads the built module through our host library, as a host would, for each test.
#include "host/PluginInstance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using Channels = std::vector<std::vector<double>>;

// Measures of a rendered channel over samples from..to.
inline double Peak(const std::vector<double>& x, size_t from, size_t to)
{
  double p = 0;
  for (size_t i = from; i < std::min(to, x.size()); ++i)
    p = std::max(p, std::fabs(x[i]));
  return p;
}

inline double Rms(const std::vector<double>& x, size_t from, size_t to)
{
  double s = 0;
  to = std::min(to, x.size());
  for (size_t i = from; i < to; ++i)
    s += x[i] * x[i];
  return to > from ? std::sqrt(s / double(to - from)) : 0.0;
}

inline bool AllFinite(const Channels& c)
{
  for (const auto& ch : c)
    for (double v : ch)
      if (!std::isfinite(v))
        return false;
  return true;
}

class ModuleTest : public ::testing::Test
{
protected:
  static constexpr double kSampleRate = 44100.0;
  static constexpr int kBlockSize = 256;
  // Without notes the output is not exact zero: the master filter's denormal guard
  // (+-1e-8, alternating) leaves a residue far below -90 dBFS.
  static constexpr double kIdleResidue = 3e-5;

  void SetUp() override
  {
    ASSERT_TRUE(plug.Load(TG_MODULE_PATH)) << plug.Error();
    effect = plug.Effect();
  }

  void Start() { plug.Start(kSampleRate, kBlockSize); }

  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f)
  {
    return plug.Dispatch(opcode, index, value, ptr, opt);
  }

  VstHost::PluginInstance plug;
  Vst::AEffect* effect = nullptr;
};
