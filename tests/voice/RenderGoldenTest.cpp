// Bit-exact render checks: demanding scenarios played through the voice pool, every
// output (stereo pair, bass bus, envelope buses, LFO display) folded into an FNV-1a
// checksum of the doubles' bit patterns. The reference checksums were recorded from
// the straightforward per-sample code; any reworking of the render path for speed
// must reproduce them exactly.
#include "VoiceTestRig.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

using namespace VoiceTest;
using Korvane::VoicePool;
using S = Korvane::SynthParams;

namespace
{

struct Fnv
{
  std::uint64_t h = 0xcbf29ce484222325ull;
  void add(double v)
  {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    for (int i = 0; i < 8; ++i)
    {
      h ^= (bits >> (8 * i)) & 0xffu;
      h *= 0x100000001b3ull;
    }
  }
};

// Something that happens at a sample of a block, before that sample renders.
struct Event
{
  enum Kind
  {
    kNoteOn,
    kNoteOff,
    kBend
  };
  int block;
  int sample;
  Kind kind;
  int note;
  double value; // velocity or bend -1..+1
};

struct Scenario
{
  double sampleRate = 44100.0;
  int maxBlock = 512;
  std::vector<int> blockSizes{512};
  int blocks = 40;
  std::function<void(Rig&)> setup;
  std::vector<Event> events;
  // Called before block b renders (parameter routing between blocks).
  std::function<void(Rig&, int)> beforeBlock;
};

struct Result
{
  // The stereo pair and the bass bus, sample after sample.
  std::vector<double> signal;
  std::uint64_t checksum = 0;
  double energy = 0.0;
  int peakVoices = 0;
};

// runs: the samples between events render together (renderSamples), as the instrument's
// block does; otherwise one renderSample per sample. exact: the sines by std::sin, the
// reference the checksums were recorded with.
Result play(const Scenario& sc, bool runs = false, bool exact = true)
{
  Korvane::Note::referenceSine = exact;
  Rig rig(sc.sampleRate, sc.maxBlock);
  VoicePool& pool = *rig.pool;
  pool.setEnvelopeAttack(VoicePool::kVolumeEnvelope, 0.01);
  pool.setEnvelopeDecay(VoicePool::kVolumeEnvelope, 0.3);
  pool.setEnvelopeSustain(VoicePool::kVolumeEnvelope, 0.6);
  pool.setEnvelopeRelease(VoicePool::kVolumeEnvelope, 0.15);
  pool.setEnvelopeAttack(VoicePool::kFilterEnvelope, 0.02);
  pool.setEnvelopeDecay(VoicePool::kFilterEnvelope, 0.2);
  pool.setEnvelopeSustain(VoicePool::kFilterEnvelope, 0.4);
  pool.setEnvelopeRelease(VoicePool::kFilterEnvelope, 0.1);
  if (sc.setup)
    sc.setup(rig);
  // The noise oscillators draw from the rig's generator.
  rig.random.seed(12345u);

  Fnv fnv;
  Result r;
  for (int b = 0; b < sc.blocks; ++b)
  {
    if (sc.beforeBlock)
      sc.beforeBlock(rig, b);
    const int n = sc.blockSizes[std::size_t(b) % sc.blockSizes.size()];
    Block out(n);
    for (int k = 0; k < n;)
    {
      int next = n;
      for (const Event& e : sc.events)
      {
        if (e.block == b && e.sample > k)
          next = std::min(next, e.sample);
        if (e.block != b || e.sample != k)
          continue;
        if (e.kind == Event::kNoteOn)
          pool.noteOn(e.note, int(e.value), k);
        else if (e.kind == Event::kNoteOff)
          pool.noteOff(e.note);
        else
          pool.queuePitchBend(0, e.value);
      }
      if (runs)
      {
        pool.renderSamples(next - k);
        k = next;
      }
      else
      {
        pool.renderSample();
        ++k;
      }
    }
    pool.mixBlock(out.targets(), n);
    r.peakVoices = std::max(r.peakVoices, pool.activeCount());
    for (int k = 0; k < n; ++k)
    {
      fnv.add(out.left[k]);
      fnv.add(out.right[k]);
      fnv.add(out.bass[k]);
      fnv.add(out.env[k]);
      fnv.add(out.filterEnv[k]);
      for (int j = 0; j < 3; ++j)
        fnv.add(out.lfo[std::size_t(k) * Korvane::VoiceMixTargets::kLfoRecordStride + j]);
      r.energy +=
          out.left[k] * out.left[k] + out.right[k] * out.right[k] + out.bass[k] * out.bass[k];
      r.signal.insert(r.signal.end(), {out.left[k], out.right[k], out.bass[k]});
    }
  }
  Korvane::Note::referenceSine = false;
  r.checksum = fnv.h;
  return r;
}

void heavySound(Rig& rig)
{
  for (int k = 0; k < 3; ++k)
  {
    rig.osc(k, S::kOscOn) = 1.0;
    rig.osc(k, S::kOscVolume) = 0.8;
    rig.osc(k, S::kOscPan) = 0.2 + 0.3 * k;
    rig.osc(k, S::kOscCutoff) = 0.7;
    rig.osc(k, S::kOscResonance) = 0.3;
    rig.osc(k, S::kOscFilterBalance) = 0.5;
    rig.osc(k, S::kOscStartPhase) = 0.5;
    rig.pool->selectWaveform(k, (10.0 + 5 * k) / 39.0);
  }
  rig.pool->setUnisonCount(2);
  rig.pool->setUnisonDetune(0.2);
  rig.pool->setFmAmount(0.3);
  rig.p(S::kBassLayerAmount) = 1.0;
  rig.p(S::kBassLayerClick) = 0.7;
  rig.pitchEnvelope.setOnOff(1.0);
  rig.pitchEnvelope.setAmount(0.2);
  rig.pitchEnvelope.setDuration(0.1);
  rig.pitchEnvelope.setPower(0.3);
  rig.pitchEnvelope.setDown(0.1);
}

// Records the checksums when THUMPGEIST_PRINT_GOLDEN is set (to re-record after an
// intended change of sound).
void check(const char* name, const Scenario& sc, std::uint64_t expected)
{
  const Result r = play(sc);
  if (std::getenv("THUMPGEIST_PRINT_GOLDEN") != nullptr)
    std::printf("%s 0x%016llxull\n", name, static_cast<unsigned long long>(r.checksum));
  EXPECT_GT(r.energy, 1e-3) << name;
  EXPECT_GT(r.peakVoices, 0) << name;
  EXPECT_EQ(r.checksum, expected) << name;
  // Rendering is deterministic, and rendering the stretches between events together
  // gives the same bits.
  EXPECT_EQ(play(sc).checksum, r.checksum) << name;
  EXPECT_EQ(play(sc, true).checksum, r.checksum) << name << " (runs)";
  // The fast sine stays below -120 dB of full scale from the reference everywhere.
  const Result fast = play(sc, true, false);
  ASSERT_EQ(fast.signal.size(), r.signal.size()) << name;
  double worst = 0.0;
  for (std::size_t i = 0; i < r.signal.size(); ++i)
    worst = std::max(worst, std::abs(fast.signal[i] - r.signal[i]));
  EXPECT_LT(worst, 1e-6) << name;
  if (std::getenv("THUMPGEIST_PRINT_GOLDEN") != nullptr)
    std::printf("%s fast path worst difference %.3g (%.1f dBFS)\n", name, worst,
                worst > 0.0 ? 20.0 * std::log10(worst) : -999.0);
}

Event on(int block, int sample, int note, int velocity = 100)
{
  return {block, sample, Event::kNoteOn, note, double(velocity)};
}
Event off(int block, int sample, int note) { return {block, sample, Event::kNoteOff, note, 0.0}; }
Event bend(int block, int sample, double v) { return {block, sample, Event::kBend, 0, v}; }

} // namespace

TEST(RenderGoldenTest, DefaultVoiceWithNoteOffAndRetrigger)
{
  Scenario sc;
  sc.events = {on(0, 0, 60),       off(10, 100, 60), on(12, 7, 48, 64),
               on(12, 7, 55, 127), off(25, 0, 48),   off(25, 0, 55)};
  check("default", sc, 0xf9bc7defa6f9a8dfull);
}

TEST(RenderGoldenTest, HeavyVoicesWithPitchEnvelopeAndBend)
{
  Scenario sc;
  sc.setup = heavySound;
  sc.blockSizes = {512, 333, 1, 512, 64};
  sc.events = {on(0, 0, 36, 110),  on(0, 0, 43, 90), on(1, 17, 24, 127), bend(3, 5, 0.7),
               bend(6, 100, -1.0), bend(9, 0, 0.0),  off(15, 3, 36),     off(20, 0, 43)};
  check("heavy", sc, 0xa04edccf4ac42226ull);
}

TEST(RenderGoldenTest, EveryWaveformPosition)
{
  // Thirteen passes of three oscillators cover positions 0..38, and 39 comes last.
  for (int pass = 0; pass < 14; ++pass)
  {
    Scenario sc;
    sc.blocks = 12;
    sc.setup = [pass](Rig& rig)
    {
      for (int k = 0; k < 3; ++k)
      {
        const int position = std::min(pass * 3 + k, 39);
        rig.osc(k, S::kOscOn) = 1.0;
        rig.osc(k, S::kOscVolume) = 0.6;
        rig.osc(k, S::kOscPan) = 0.5;
        rig.osc(k, S::kOscCutoff) = 0.9;
        rig.osc(k, S::kOscStartPhase) = 0.25 * k;
        rig.pool->selectWaveform(k, position / 39.0);
      }
      rig.pool->setUnisonCount(pass % 2 == 0 ? 1 : 2);
      rig.pool->setUnisonDetune(0.5);
    };
    // Low, middle and very high notes: the high ones reach the sine fallback of the
    // analytic shapes and the poorest tables.
    sc.events = {on(0, 0, 30),  on(0, 200, 69), on(2, 3, 120),
                 off(8, 0, 30), off(8, 0, 69),  off(8, 0, 120)};
    static const std::uint64_t kExpected[14] = {
        0x497816e4cb799ee6ull, 0x5c1bf6460cca42b9ull, 0x85ddbfceda294786ull, 0x9c87afac77caa29aull,
        0x929118aed39a14a8ull, 0xabeeb7523edd1192ull, 0x9f1b146da5856143ull, 0xa484291fe0f3b3e9ull,
        0x8c4ad11f209c87abull, 0x0a0b22709487bb16ull, 0xb4fcb151bf649cecull, 0x42a134586f384be9ull,
        0xd5c5d24f27a799d5ull, 0x5c4eefc719a9e50cull,
    };
    char name[32];
    std::snprintf(name, sizeof name, "waveforms%d", pass);
    check(name, sc, kExpected[pass]);
  }
}

TEST(RenderGoldenTest, FiltersLfoModesAndSaturation)
{
  // Every left/right filter pair, with the LFO in each of its modes moving volume,
  // tune, filter and pan, and saturation on two oscillators.
  for (int mode = 0; mode < 5; ++mode)
  {
    Scenario sc;
    sc.blocks = 16;
    sc.blockSizes = {512, 200};
    sc.setup = [mode](Rig& rig)
    {
      for (int k = 0; k < 3; ++k)
      {
        rig.osc(k, S::kOscOn) = 1.0;
        rig.osc(k, S::kOscVolume) = 0.7;
        rig.osc(k, S::kOscPan) = 0.3 * k;
        rig.osc(k, S::kOscCutoff) = 0.4 + 0.2 * k;
        rig.osc(k, S::kOscResonance) = 0.2 * (k + mode) / 2.0;
        rig.osc(k, S::kOscFilterBalance) = 0.25 * (k + 1);
        rig.osc(k, S::kOscSaturation) = k == 2 ? 0.0 : 0.1 + 0.3 * k;
        rig.osc(k, S::kOscLfoMode) = mode / 4.0;
        rig.osc(k, S::kOscLfoToVolume) = 0.5;
        rig.osc(k, S::kOscLfoToTune) = k == 1 ? 0.0 : 0.8;
        rig.osc(k, S::kOscLfoToFilter) = 0.6;
        rig.osc(k, S::kOscLfoToPan) = 0.7;
        rig.pool->setLfoFrequency(k, 0.1 + 0.2 * k);
        rig.pool->setFilterLeftType(k, ((mode + k) % 5) / 4.0);
        rig.pool->setFilterRightType(k, ((mode + k + 2) % 5) / 4.0);
        rig.pool->selectWaveform(k, (1 + k + mode) / 39.0);
      }
    };
    sc.events = {on(0, 0, 40),   on(1, 50, 52),  on(4, 0, 64),
                 off(12, 0, 40), off(12, 0, 52), off(12, 0, 64)};
    static const std::uint64_t kExpected[5] = {
        0x725228dabdf91ad5ull, 0xeadcae634998bacfull, 0x9c5ea8741070d9f8ull,
        0x6dc5f08bdc2bd894ull, 0xb22974ae095423adull,
    };
    char name[32];
    std::snprintf(name, sizeof name, "filters%d", mode);
    check(name, sc, kExpected[mode]);
  }
}

TEST(RenderGoldenTest, NoteTransposeModesAndArpeggios)
{
  for (int mode = 0; mode < 10; ++mode)
  {
    Scenario sc;
    sc.blocks = 14;
    sc.setup = [mode](Rig& rig)
    {
      rig.p(S::kNoteTransposeMode) = mode / 9.0;
      rig.osc(1, S::kOscOn) = 1.0;
      rig.osc(1, S::kOscVolume) = 0.5;
      rig.osc(1, S::kOscPan) = 0.8;
      rig.osc(1, S::kOscCutoff) = 0.8;
      rig.osc(1, S::kOscStartPhase) = 0.1;
      rig.pool->selectWaveform(1, 1.0 / 39.0);
      rig.pool->setPitchRatio(1, VoicePool::pitchRatioOf(0.75));
      rig.pool->setTuneRatio(0, VoicePool::tuneRatioOf(0.3));
      rig.p(S::kBassLayerAmount) = 0.5;
      rig.p(S::kBassLayerToFm) = 1.0;
      rig.pool->setFmAmount(0.5);
      rig.tempo = 140.0;
    };
    sc.events = {on(0, 10, 57), on(3, 0, 64), off(9, 0, 57), off(11, 0, 64)};
    static const std::uint64_t kExpected[10] = {
        0x54fb87c9692ff128ull, 0x60ea74cd9c412ca2ull, 0x156c26cb2156b398ull, 0xfc890068caecc3e3ull,
        0x48cfa0c403445c6dull, 0x11a6c82144f189baull, 0x932a721005e647feull, 0x54c899ca736a3a70ull,
        0xa9b1cb59ce18d4b0ull, 0x9f8d174240adf5aaull,
    };
    char name[32];
    std::snprintf(name, sizeof name, "transpose%d", mode);
    check(name, sc, kExpected[mode]);
  }
}

TEST(RenderGoldenTest, SixtyFourVoicesWithRoutingBetweenBlocks)
{
  Scenario sc;
  sc.setup = heavySound;
  sc.blocks = 30;
  sc.blockSizes = {512, 480};
  for (int i = 0; i < 64; ++i)
    sc.events.push_back(on(i / 16, (i * 37) % 480, 24 + i, 40 + i));
  sc.events.push_back(on(5, 0, 100)); // the 65th: no voice takes it
  for (int i = 0; i < 64; i += 3)
    sc.events.push_back(off(10 + i / 8, i % 300, 24 + i));
  sc.beforeBlock = [](Rig& rig, int b)
  {
    // Routing between blocks: an oscillator switched off and on, the volume, cutoff,
    // the click and the global transpose moved, the filter types swapped.
    if (b == 6)
      rig.osc(1, S::kOscOn) = 0.0;
    if (b == 9)
      rig.osc(1, S::kOscOn) = 1.0;
    if (b == 7)
      rig.osc(0, S::kOscVolume) = 0.3;
    if (b == 8)
      rig.osc(2, S::kOscCutoff) = 0.2;
    if (b == 11)
      rig.p(S::kBassLayerClick) = 0.1;
    if (b == 13)
      rig.p(S::kBassLayerClick) = 0.95;
    if (b == 12)
    {
      rig.p(S::kTransposeRatio) = VoicePool::pitchRatioOf(0.6);
      rig.pool->applyGlobalTranspose();
    }
    if (b == 14)
      rig.pool->setFilterLeftType(0, 1.0);
    if (b == 16)
      rig.pool->setUnisonCount(1);
  };
  check("sixtyfour", sc, 0x51aff5b1f41b0e3aull);
}

TEST(RenderGoldenTest, ClickAndBassLayerAtOtherRates)
{
  const double rates[3] = {48000.0, 96000.0, 22050.0};
  static const std::uint64_t kExpected[3] = {
      0x0982d6ab52cdcbafull,
      0x77a33b6f4947fc29ull,
      0x5593209fcdabae1full,
  };
  for (int i = 0; i < 3; ++i)
  {
    Scenario sc;
    sc.sampleRate = rates[i];
    sc.maxBlock = 256;
    sc.blockSizes = {256, 100};
    sc.blocks = 60;
    sc.setup = [i](Rig& rig)
    {
      heavySound(rig);
      rig.p(S::kBassLayerClick) = 0.1 + 0.2 * i;
      rig.osc(2, S::kOscOn) = 0.0;
    };
    sc.events = {on(0, 0, 36), on(20, 50, 38), off(40, 0, 36), off(40, 0, 38)};
    char name[32];
    std::snprintf(name, sizeof name, "rates%d", i);
    check(name, sc, kExpected[i]);
  }
}
