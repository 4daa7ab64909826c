#include "synth/ParameterKeys.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

// Stored preset texts address parameters by these keys; a changed key loses a value.
TEST(ParameterKeys, KeysAreExactAndTheLookupIsItsOwnInverse)
{
  const struct
  {
    int index;
    const char* key;
  } kCases[] = {
      {0, "Osc1OnOff"},          {3, "OscFreq1"},          {11, "OscFilterType1Left"},
      {14, "Osc1LfoLinkAll"},    {21, "Osc2OnOff"},        {24, "OscFreq2"},
      {35, "Osc2LfoLinkAll"},    {54, "OscFilterType3Right"}, {62, "OscLfoPanAmount3"},
      {63, "EnvAttack"},         {85, "GlobalTranspose"},  {99, "DumpExpand"},
      {103, "DistortionLoudness"}, {115, "FilterType"},    {118, "FilterMode1"},
      {124, "RingModulationWaveForm"}, {132, "BypassFX"},  {137, "HqFilter"},
      {138, "Volume"},           {139, "Reserved_00"},     {159, "Reserved_20"},
  };
  for (const auto& c : kCases)
  {
    EXPECT_STREQ(ParameterKeys::KeyOf(c.index), c.key) << c.index;
    EXPECT_EQ(ParameterKeys::IndexOf(c.key), c.index) << c.key;
  }
  std::set<std::string> seen;
  for (int i = 0; i < 160; ++i)
  {
    EXPECT_TRUE(seen.insert(ParameterKeys::KeyOf(i)).second) << "duplicate key at " << i;
    EXPECT_EQ(ParameterKeys::IndexOf(ParameterKeys::KeyOf(i)), i);
  }
  for (const char* unknown : {"", "volume", "Osc4OnOff", "Reserved_21", "Name"})
    EXPECT_EQ(ParameterKeys::IndexOf(unknown), -1) << unknown;
  EXPECT_EQ(ParameterKeys::IndexOf(nullptr), -1);
  EXPECT_STREQ(ParameterKeys::KeyOf(-1), "");
  EXPECT_STREQ(ParameterKeys::KeyOf(160), "");
}
