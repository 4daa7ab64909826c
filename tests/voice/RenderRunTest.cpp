// The oscillators of a voice rendered together in runs (phase chains side by side, twins
// sharing their work, plain pitch passes) give each oscillator's samples exactly as it
// gives them rendered alone.
#include "VoiceTestRig.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace VoiceTest;
using S = Korvane::SynthParams;

namespace
{

struct Setting
{
  const char* name;
  double tunes[3];     // tune ratios of the three oscillators
  double phases[3];    // start phases
  int unison;
  double fm, bass, click;
  int offset;          // note-on offset within the first block
};

// Every oscillator's buffer after each of six blocks, the oscillators in `on` sounding.
std::vector<double> render(const Setting& s, const bool (&on)[3])
{
  Rig rig;
  for (int k = 0; k < 3; ++k)
  {
    rig.osc(k, S::kOscOn) = on[k] ? 1.0 : 0.0;
    rig.osc(k, S::kOscVolume) = 0.7;
    rig.osc(k, S::kOscCutoff) = 0.6;
    rig.osc(k, S::kOscStartPhase) = s.phases[k];
    rig.pool->setTuneRatio(k, s.tunes[k]);
    rig.pool->setFilterLeftType(k, 0.0); // Kellett low-passes on both sides
    rig.pool->setFilterRightType(k, 0.0);
  }
  rig.pool->setUnisonCount(std::uint16_t(s.unison));
  rig.pool->setUnisonDetune(0.3);
  rig.pool->setFmAmount(s.fm);
  rig.p(S::kBassLayerAmount) = s.bass;
  rig.p(S::kBassLayerClick) = s.click;
  rig.pitchEnvelope.setOnOff(1.0);
  rig.pitchEnvelope.setAmount(0.1);
  rig.pitchEnvelope.setDuration(0.02);
  rig.pool->noteOn(45, 100, s.offset);
  std::vector<double> out;
  for (int b = 0; b < 6; ++b)
  {
    Block block(300);
    rig.pool->renderSamples(300);
    rig.pool->mixBlock(block.targets(), 300);
    for (int k = 0; k < 3; ++k)
      if (on[k])
        out.insert(out.end(), rig.pool->voice(0).oscillatorBuffer(k),
                   rig.pool->voice(0).oscillatorBuffer(k) + 300);
  }
  return out;
}

} // namespace

TEST(RenderRunTest, OscillatorsTogetherGiveWhatEachGivesAlone)
{
  const Setting settings[] = {
      {"three alike (twins)", {1.0, 1.0, 1.0}, {0.5, 0.5, 0.5}, 1, 0.0, 0.0, 0.0, 0},
      {"two alike, one apart", {1.0, 1.0, 1.01}, {0.5, 0.5, 0.5}, 1, 0.0, 0.0, 0.0, 37},
      {"all apart", {0.99, 1.0, 1.02}, {0.3, 0.5, 0.8}, 1, 0.0, 0.0, 0.0, 0},
      {"unison", {1.0, 1.0, 1.03}, {0.5, 0.5, 0.5}, 2, 0.0, 0.0, 0.0, 100},
      {"FM, bass and click", {1.0, 1.0, 1.0}, {0.5, 0.5, 0.6}, 1, 0.4, 0.8, 0.5, 5},
  };
  for (const Setting& s : settings)
  {
    const std::vector<double> together = render(s, {true, true, true});
    for (int k = 0; k < 3; ++k)
    {
      bool only[3] = {false, false, false};
      only[k] = true;
      const std::vector<double> alone = render(s, only);
      std::vector<double> mine;
      for (std::size_t b = 0; b < 6; ++b)
        mine.insert(mine.end(), together.begin() + long((b * 3 + std::size_t(k)) * 300),
                    together.begin() + long((b * 3 + std::size_t(k) + 1) * 300));
      ASSERT_EQ(mine.size(), alone.size());
      EXPECT_EQ(std::memcmp(mine.data(), alone.data(), mine.size() * sizeof(double)), 0)
          << s.name << ", oscillator " << k;
    }
  }
}
