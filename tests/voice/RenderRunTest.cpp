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
  double tunes[3];  // tune ratios of the three oscillators
  double phases[3]; // start phases
  int unison;
  double fm, bass, click;
  int offset;          // note-on offset within the first block
  double retune;       // the third oscillator's tune ratio from the fourth block on (0: kept)
  double spread = 0.0; // each oscillator's cutoff 0.6 + spread * k
};

// Every oscillator's buffer after each of twelve blocks, the oscillators in `on` sounding.
std::vector<double> render(const Setting& s, const bool (&on)[3])
{
  Rig rig;
  for (int k = 0; k < 3; ++k)
  {
    rig.osc(k, S::kOscOn) = on[k] ? 1.0 : 0.0;
    rig.osc(k, S::kOscVolume) = 0.7;
    rig.osc(k, S::kOscCutoff) = 0.6 + s.spread * k;
    rig.osc(k, S::kOscPan) = 0.5;
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
  for (int b = 0; b < 12; ++b)
  {
    Block block(300);
    if (b == 3 && s.retune > 0.0)
      rig.pool->setTuneRatio(2, s.retune);
    rig.pool->renderSamples(300);
    // Without the LFO display, held oscillators take their held path.
    Korvane::VoiceMixTargets targets = block.targets();
    targets.lfoDisplay = nullptr;
    rig.pool->mixBlock(targets, 300);
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
      {"three alike (twins)", {1.0, 1.0, 1.0}, {0.5, 0.5, 0.5}, 1, 0.0, 0.0, 0.0, 0, 0.0},
      {"two alike, one apart", {1.0, 1.0, 1.01}, {0.5, 0.5, 0.5}, 1, 0.0, 0.0, 0.0, 37, 0.0},
      {"all apart", {0.99, 1.0, 1.02}, {0.3, 0.5, 0.8}, 1, 0.0, 0.0, 0.0, 0, 0.0},
      {"unison", {1.0, 1.0, 1.03}, {0.5, 0.5, 0.5}, 2, 0.0, 0.0, 0.0, 100, 0.0},
      {"FM, bass and click", {1.0, 1.0, 1.0}, {0.5, 0.5, 0.6}, 1, 0.4, 0.8, 0.5, 5, 0.0},
      {"twins parted by a retune", {1.0, 1.0, 1.0}, {0.5, 0.5, 0.5}, 2, 0.0, 0.0, 0.0, 0, 1.02},
      {"twins with their own cutoffs",
       {1.0, 1.0, 1.0},
       {0.5, 0.5, 0.5},
       1,
       0.0,
       0.0,
       0.0,
       0,
       0.0,
       0.15},
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
      for (std::size_t b = 0; b < 12; ++b)
        mine.insert(mine.end(), together.begin() + long((b * 3 + std::size_t(k)) * 300),
                    together.begin() + long((b * 3 + std::size_t(k) + 1) * 300));
      ASSERT_EQ(mine.size(), alone.size());
      EXPECT_EQ(std::memcmp(mine.data(), alone.data(), mine.size() * sizeof(double)), 0)
          << s.name << ", oscillator " << k;
    }
  }
}

namespace
{

struct Waiting
{
  const char* name;
  int voices, block;
  bool noteMidBlock;    // a note-on between two runs of the third block
  bool eventsBeforeMix; // a note-off and a note-on after the fourth block's samples
  double fm;
};

// Every bus of five blocks, the block's last run rendered with or without mixNext.
std::vector<double> play(const Waiting& w, bool mixNext)
{
  Rig rig;
  for (int k = 1; k < 3; ++k)
  {
    rig.osc(k, S::kOscOn) = 1.0;
    rig.osc(k, S::kOscVolume) = 0.5;
    rig.osc(k, S::kOscCutoff) = 0.4 + 0.2 * k;
    rig.pool->setTuneRatio(k, 1.0 + 0.01 * k);
  }
  rig.pool->setFmAmount(w.fm);
  rig.p(S::kBassLayerAmount) = w.fm > 0.0 ? 0.5 : 0.0;
  for (int v = 0; v < w.voices; ++v)
    rig.pool->noteOn(30 + v, 40 + v % 80, (v * 37) % w.block);
  std::vector<double> out;
  for (int b = 0; b < 5; ++b)
  {
    Block block(w.block);
    if (w.noteMidBlock && b == 2)
    {
      rig.pool->renderSamples(70);
      rig.pool->noteOff(31);
      rig.pool->noteOn(100, 90, 70);
      rig.pool->renderSamples(w.block - 70, mixNext);
    }
    else
      rig.pool->renderSamples(w.block, mixNext);
    if (w.eventsBeforeMix && b == 3)
    {
      rig.pool->noteOff(30);
      rig.pool->noteOn(101, 80, 0);
    }
    rig.pool->mixBlock(block.targets(), w.block);
    for (const auto* bus : {&block.left, &block.right, &block.bass, &block.env, &block.filterEnv})
      out.insert(out.end(), bus->begin(), bus->end());
  }
  return out;
}

} // namespace

TEST(RenderRunTest, SamplesWaitingForTheMixingPassRenderAsTheyWouldBefore)
{
  const Waiting cases[] = {
      {"one voice", 1, 512, false, false, 0.0},
      {"nine voices, odd block", 9, 300, false, false, 0.0},
      {"63 voices", 63, 512, false, false, 0.0},
      {"a note between runs", 20, 512, true, false, 0.0},
      {"events before the mix", 12, 256, false, true, 0.0},
      {"FM and bass layer", 17, 512, true, true, 0.3},
  };
  for (const Waiting& w : cases)
  {
    const std::vector<double> now = play(w, false);
    const std::vector<double> waited = play(w, true);
    ASSERT_EQ(now.size(), waited.size());
    EXPECT_EQ(std::memcmp(now.data(), waited.data(), now.size() * sizeof(double)), 0) << w.name;
  }
}

TEST(RenderRunTest, LayersSwitchedOffLeaveSilenceWhereTheyPlayed)
{
  // Per block: bass amount, click amount, the sample at which the block splits into two
  // runs (0: one run). The bass layer reaches the bass bus; once both layers are off
  // every position of both buffers holds +0.0 and the bus receives +0.0.
  struct Step
  {
    double bass, click;
    int split;
  };
  const std::vector<std::vector<Step>> sequences = {
      {{0.8, 0.0, 0}, {0.0, 0.0, 0}, {0.0, 0.0, 0}},
      {{0.0, 0.6, 0}, {0.0, 0.0, 200}, {0.0, 0.0, 0}},
      {{0.7, 0.5, 100}, {0.0, 0.0, 350}, {0.6, 0.0, 0}, {0.0, 0.0, 0}},
  };
  const std::uint64_t plusZero = 0;
  for (std::size_t q = 0; q < sequences.size(); ++q)
  {
    Rig rig;
    rig.pool->noteOn(40, 100, 0);
    for (std::size_t b = 0; b < sequences[q].size(); ++b)
    {
      const Step& step = sequences[q][b];
      rig.p(S::kBassLayerAmount) = step.bass;
      rig.p(S::kBassLayerClick) = step.click;
      Block block(512);
      if (step.split > 0)
        rig.pool->renderSamples(step.split);
      rig.pool->renderSamples(512 - step.split, true);
      rig.pool->mixBlock(block.targets(), 512);
      const Korvane::Note& v = rig.pool->voice(0);
      bool busSounds = false, layersHold = true;
      for (int j = 0; j < 512; ++j)
      {
        busSounds = busSounds || block.bass[std::size_t(j)] != 0.0;
        layersHold = layersHold && std::memcmp(&v.bassLayerBuffer()[j], &plusZero, 8) == 0 &&
                     std::memcmp(&v.clickLayerBuffer()[j], &plusZero, 8) == 0 &&
                     std::memcmp(&block.bass[std::size_t(j)], &plusZero, 8) == 0;
      }
      if (step.bass > 0.0)
      {
        EXPECT_TRUE(busSounds) << "sequence " << q << ", block " << b;
      }
      if (step.bass == 0.0 && step.click == 0.0)
      {
        EXPECT_TRUE(layersHold) << "sequence " << q << ", block " << b;
      }
    }
  }
}
