#pragma once
// Loads the built module through our host library, as a host would, for each test.
#include "host/PluginInstance.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
