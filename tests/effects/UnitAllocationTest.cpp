#include "effects/delay/TempoDelay.h"
#include "effects/dynamics/DynShaper.h"
#include "effects/meter/EnvFollower.h"
#include "effects/modulation/Phaser.h"
#include "effects/modulation/RingModulator.h"
#include "effects/tone/DumpExpand.h"
#include "effects/tone/Equalizer.h"
#include "synth/AllocationCounter.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

using Korvane::DynShaper;
using Korvane::Phaser;
using Korvane::RingModulator;
using Korvane::TempoDelay;

// The block routines, setters, tempo changes, reset and the preview run on the audio
// thread or under the mutex: none may allocate. The lines are sized beforehand.
TEST(UnitAllocation, ShaperAndDelayNeverAllocateOnceSized)
{
  TempoDelay delay;
  delay.setSampleRate(48000.0);
  DynShaper shaper;
  shaper.setSampleRate(48000.0);
  std::vector<double> l(512, 0.3), r(512, -0.2), env(512, 0.5);
  std::array<double, DynShaper::kPreviewCurvePoints> curve{};
  std::array<double, DynShaper::kPreviewSinePoints> sine{};

  AllocationCounter counter;
  for (double mode : {0.0, 1.0 / 3.0, 2.0 / 3.0, 1.0})
  {
    shaper.setAmount(0.8);
    shaper.setShaperMode(mode);
    shaper.process(l.data(), r.data(), env.data(), 512);
    shaper.renderPreview(curve, sine);
  }
  for (double bpm : {120.0, 200.0, 10.0})
  {
    delay.setTempo(bpm);
    delay.setAmount(0.7);
    delay.setFeedback(0.6);
    delay.setSpread(0.2);
    delay.process(l.data(), r.data(), 512);
  }
  delay.reset();
  shaper.setBypass(true);
  delay.setBypass(true);
  shaper.process(l.data(), r.data(), nullptr, 512);
  delay.process(l.data(), r.data(), 512);
  EXPECT_EQ(counter.Count(), 0);
}

// The tone units and the level follower: setters, long blocks (processed in pieces),
// glides, bypass fades and the follower's decay allocate nothing.
TEST(UnitAllocation, ToneUnitsAndFollowerNeverAllocate)
{
  Korvane::Equalizer eq;
  Korvane::DumpExpand dump;
  Korvane::EnvFollower follower;
  std::vector<double> l(2048, 0.3), r(2048, -0.2);

  AllocationCounter counter;
  eq.setSampleRate(48000.0);
  dump.setSampleRate(48000.0);
  follower.setSampleRate(48000.0);
  for (double x : {0.0, 0.3, 0.5, 0.8, 1.0})
  {
    eq.setBass(x);
    eq.setMid(x);
    eq.setHigh(1.0 - x);
    dump.setValue(x);
    eq.process(l.data(), r.data(), 2048);
    dump.process(l.data(), r.data(), 2048);
    follower.process(l.data(), r.data(), 2048);
  }
  follower.decay();
  eq.setBypass(true);
  dump.setBypass(true);
  eq.process(l.data(), r.data(), 2048);
  dump.process(l.data(), r.data(), 2048);
  EXPECT_EQ(counter.Count(), 0);
}

// The modulation units have no buffers of their own: setters and blocks never allocate.
TEST(UnitAllocation, RingModulatorAndPhaserNeverAllocate)
{
  RingModulator ring;
  Phaser phaser;
  std::vector<double> l(2048, 0.3), r(2048, -0.2);
  AllocationCounter counter;
  for (double mode : {0.0, 0.25, 0.5, 0.75, 1.0})
  {
    ring.setWaveform(mode);
    ring.setFrequency(0.6);
    ring.setAmount(0.9);
    phaser.setDepth(0.7);
    ring.process(l.data(), r.data(), 2048);
    phaser.process(l.data(), r.data(), 2048);
  }
  EXPECT_EQ(counter.Count(), 0);
}
