// The instrument object itself: parameter routing, the block's buses and bounds, the
// scope feed, and a block that never allocates.
#include "synth/Thumpgeist.h"
#include "AllocationCounter.h"
#include "synth/ParamIndex.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace P = ParamIndex;
using Korvane::SynthParams;

namespace
{
class ThumpgeistTest : public ::testing::Test
{
protected:
  void SetUp() override { Start(44100.0, 256); }

  void Start(double rate, int block)
  {
    plug = std::make_unique<Thumpgeist>(nullptr);
    Vst::AEffect* e = plug->GetAEffect();
    e->dispatcher(e, Vst::effSetSampleRate, 0, 0, nullptr, float(rate));
    e->dispatcher(e, Vst::effSetBlockSize, 0, block, nullptr, 0.0f);
    left.assign(size_t(block), 0.0);
    right.assign(size_t(block), 0.0);
  }

  void Set(int index, double normalized)
  {
    plug->GetParam(index)->SetNormalized(normalized);
    plug->OnParameterChange(index);
  }

  void Block(int frames)
  {
    double* outs[] = {left.data(), right.data()};
    plug->ProcessBlock(nullptr, outs, frames);
  }

  void Note(int offset, int note, int velocity = 127)
  {
    plug->ProcessMidiMessage(MidiMessage{offset, 0x90, uint8_t(note), uint8_t(velocity)});
  }

  std::unique_ptr<Thumpgeist> plug;
  std::vector<double> left, right;
};
} // namespace

TEST_F(ThumpgeistTest, RoutingConvertsTheSynthesisParameters)
{
  Set(P::kPitchBendRange, 1.0);
  EXPECT_EQ(plug->PitchEnv().getBendRange(), 12.0);
  Set(P::kPitchBendRange, 0.4);
  EXPECT_EQ(plug->PitchEnv().getBendRange(), 4.0);

  Set(P::kUnisonVoices, 0.49);
  EXPECT_EQ(plug->Voices().voice(5).unisonCount, 1);
  Set(P::kUnisonVoices, 0.5);
  EXPECT_EQ(plug->Voices().voice(5).unisonCount, 2);

  // "Osc2 Tune" at its ends is a semitone either way; "Osc3 Pitch" an octave.
  Set(P::Osc(1, P::kOscTune), 1.0);
  EXPECT_DOUBLE_EQ(plug->Voices().voice(0).tuneRatio[1], std::pow(2.0, 1.0 / 12.0));
  Set(P::Osc(1, P::kOscTune), 0.0);
  EXPECT_DOUBLE_EQ(plug->Voices().voice(0).tuneRatio[1], 1.0 / std::pow(2.0, 1.0 / 12.0));
  Set(P::Osc(2, P::kOscPitch), 0.0);
  EXPECT_DOUBLE_EQ(plug->Voices().voice(63).pitchRatio[2], 0.5);

  // Global transpose fills slot 167; "Osc1 Tune" lives in slot 4 and its pitch in 3.
  Set(P::kGlobalTranspose, 1.0);
  EXPECT_DOUBLE_EQ(plug->Params()[SynthParams::kTransposeRatio], 2.0);
  Set(P::Osc(0, P::kOscTune), 0.25);
  EXPECT_EQ(plug->Params()[4], 0.25);
  Set(P::kOutputVolume, 0.75);
  EXPECT_EQ(plug->Params()[145], 0.75);
}

TEST_F(ThumpgeistTest, CopyEnvelopeCopiesTheFiveTimesBothWays)
{
  const double volume[] = {0.1, 0.2, 0.3, 0.4, 0.6};
  for (int i = 0; i < 5; ++i)
    Set(P::kVolEnvAttack + i, volume[i]);
  plug->CopyEnvelope(0);
  for (int i = 0; i < 5; ++i)
  {
    EXPECT_DOUBLE_EQ(plug->GetParam(P::kFilterEnvAttack + i)->Value(), volume[i]);
    EXPECT_DOUBLE_EQ(plug->Params()[P::kFilterEnvAttack + i], volume[i]);
  }
  EXPECT_EQ(plug->GetParam(P::kFilterEnvVelocity)->Value(), 1.0); // not one of the five

  Set(P::kFilterEnvDecay, 0.9);
  plug->CopyEnvelope(1);
  EXPECT_DOUBLE_EQ(plug->GetParam(P::kVolEnvDecay)->Value(), 0.9);
}

TEST_F(ThumpgeistTest, OnlyOneOscillatorIsLinkedAtATime)
{
  Set(P::Osc(0, P::kOscLfoLinkAll), 1.0);
  Set(P::Osc(2, P::kOscLfoLinkAll), 0.7);
  EXPECT_EQ(plug->GetParam(P::Osc(0, P::kOscLfoLinkAll))->Value(), 0.0);
  EXPECT_EQ(plug->Params()[SynthParams::osc(0, SynthParams::kOscLfoLinkAll)], 0.0);
  EXPECT_DOUBLE_EQ(plug->GetParam(P::Osc(2, P::kOscLfoLinkAll))->Value(), 0.7);
  // Without a host tempo a synchronised LFO stands still; free-running it follows its rate.
  Set(P::Osc(2, P::kOscLfoTempoSync), 0.0);
  Set(P::Osc(2, P::kOscLfoFreq), 0.25);
  EXPECT_DOUBLE_EQ(plug->GetParam(P::Osc(0, P::kOscLfoFreq))->Value(), 0.25);
  EXPECT_DOUBLE_EQ(plug->GetParam(P::Osc(1, P::kOscLfoFreq))->Value(), 0.25);
}

TEST_F(ThumpgeistTest, BlocksStayWithinTheLimitAndKeepPeaks)
{
  Set(P::kOutputVolume, 1.0);
  Set(P::kBassLayerAmount, 1.0);
  for (int n = 0; n < 12; ++n)
    Note(0, 30 + n);
  double maxSeen = 0.0;
  for (int b = 0; b < 40; ++b)
  {
    Block(256);
    for (double v : left)
      maxSeen = std::max(maxSeen, std::fabs(v));
  }
  EXPECT_LE(maxSeen, Thumpgeist::kLimitOff);
  EXPECT_GT(maxSeen, Thumpgeist::kLimitOn);
  EXPECT_DOUBLE_EQ(plug->LeftPeak(), maxSeen);

  Set(P::kLimitOutput, 1.0);
  for (int b = 0; b < 10; ++b)
  {
    Block(256);
    for (size_t i = 0; i < left.size(); ++i)
    {
      ASSERT_LE(std::fabs(left[i]), Thumpgeist::kLimitOn);
      ASSERT_LE(std::fabs(right[i]), Thumpgeist::kLimitOn);
    }
  }
  plug->RequestPeakReset();
  Block(256);
  EXPECT_EQ(plug->LeftPeak(), 0.0);
  EXPECT_EQ(plug->RightPeak(), 0.0);
}

TEST_F(ThumpgeistTest, TheBlockNeverAllocatesEvenWhenTheQueueOverflows)
{
  // Warm up: every voice sounds and the queue has grown from the host side before.
  for (int v = 0; v < 64; ++v)
    Note(v, 24 + v);
  Block(256);
  // More events than the queue holds, pushed from inside the block by the play button.
  for (int i = 0; i < 3000; ++i)
    plug->ProcessMidiMessage(MidiMessage{i % 256, 0xE0, uint8_t(i & 127), 64});
  plug->PlayButton().pendingNote = 60;
  plug->PlayButton().playState = PlayButtonRequest::kPlay;
  plug->SetDisplayMode(Thumpgeist::kDisplayScope);
  AllocationCounter counter;
  for (int b = 0; b < 20; ++b)
    Block(256);
  EXPECT_EQ(counter.Count(), 0);
}

TEST_F(ThumpgeistTest, TheScopeRecordsTheOutputAtItsZoom)
{
  plug->SetDisplayMode(Thumpgeist::kDisplayScope);
  const Scope& scope = plug->GetScope();
  EXPECT_EQ(scope.Ring().size(), 980u);
  EXPECT_EQ(scope.Ring()[0].emptyMarker, 1u); // entering the page cleared the ring
  EXPECT_EQ(scope.SamplesPerPoint(44100.0), 45);
  Note(0, 40);
  Block(256);
  // Samples 0, 45, ..., 225: six records, each the mean of a sample and the next.
  EXPECT_EQ(scope.WriteCounter(), 6);
  EXPECT_DOUBLE_EQ(scope.Ring()[1].left, (left[45] + left[46]) / 2);
  EXPECT_EQ(scope.Ring()[1].emptyMarker, 0u);

  Scope& s = plug->GetScope();
  s.ZoomStep(true, 10.0); // as far in as it goes
  EXPECT_EQ(s.Zoom(), Scope::kMinZoom);
  EXPECT_EQ(s.ZoomPercent(), 200); // percent moves by the step, whatever the clamp did
  EXPECT_EQ(s.SamplesPerPoint(44100.0), 4);
  // Below 9800 Hz the division gives 0: a record every sample, no division by zero.
  EXPECT_EQ(s.SamplesPerPoint(8000.0), 1);

  s.Freeze(true);
  const uint16_t frozenAt = s.WriteCounter();
  Block(256);
  EXPECT_EQ(s.WriteCounter(), frozenAt);
  s.Freeze(false);
  EXPECT_EQ(s.WriteCounter(), frozenAt + 20);
  EXPECT_EQ(s.Ring()[size_t(frozenAt % 980)].emptyMarker, 1u);
}

TEST_F(ThumpgeistTest, AOneSampleBlockMakesItsScopeRecordFromThatSampleAlone)
{
  Start(8000.0, 1);
  plug->GetScope().ZoomStep(true, 10.0);
  plug->SetDisplayMode(Thumpgeist::kDisplayScope);
  Note(0, 60);
  for (int k = 0; k < 300; ++k)
    Block(1);
  const Scope& scope = plug->GetScope();
  EXPECT_EQ(scope.WriteCounter(), 300);
  EXPECT_DOUBLE_EQ(scope.Ring()[299].left, left[0]);
}

TEST_F(ThumpgeistTest, AdsrShapeScalesTheFilterEnvelopesAndCurvesTheVolumeEnvelopes)
{
  using Korvane::AdsrEnvelope;
  auto attackSamples = [this](auto envelopeOf)
  {
    // Blocks of one sample: the envelopes tick once per mixed sample.
    Note(0, 48);
    int n = 0;
    do
    {
      Block(1);
      ++n;
    } while (envelopeOf(plug->Voices().voice(0)).state == AdsrEnvelope::kAttack && n < 88200);
    return n;
  };
  Set(P::kFilterEnvDuration, 0.8); // a time scale of 4 s per unit
  EXPECT_DOUBLE_EQ(plug->Voices().voice(7).filterEnvelope.timeScale, 4.0);
  // "ADSR shape" 0.5: the filter envelopes take it as their duration (time scale
  // 0.5 * 5), keeping the curvature they were built with; the volume envelopes take it
  // as their curvature: ratioA = 20 * 0.5^3, ratioDR = 4 * 0.5^3 (plus 1.9800523e-6).
  Set(P::kAdsrShape, 0.5);
  // A program change routes every parameter in index order: "ADSR shape" (79) comes
  // after "Filter Env. Duration" (74) and decides.
  plug->OnParameterReset();
  for (int i : {0, 31, 63})
  {
    const Korvane::Note& v = plug->Voices().voice(i);
    EXPECT_DOUBLE_EQ(v.filterEnvelope.timeScale, 2.5) << i;
    EXPECT_EQ(v.filterEnvelope.ratioA, AdsrEnvelope::kInitialRatioA) << i;
    EXPECT_EQ(v.filterEnvelope.ratioDR, AdsrEnvelope::kInitialRatioDR) << i;
    EXPECT_DOUBLE_EQ(v.volumeEnvelope.ratioA, 2.5 + 1.9800523e-6) << i;
    EXPECT_DOUBLE_EQ(v.volumeEnvelope.ratioDR, 0.5 + 1.9800523e-6) << i;
    EXPECT_DOUBLE_EQ(v.volumeEnvelope.timeScale, 1.0) << i; // "Volume Env. Duration" 0.2
  }
  // Both display models take the curvature and keep their durations.
  for (const AdsrEnvelope* d : {&plug->VolumeEnvelopeDisplay(), &plug->FilterEnvelopeDisplay()})
  {
    EXPECT_EQ(d->shape, 0.5);
    EXPECT_DOUBLE_EQ(d->ratioA, 2.5 + 1.9800523e-6);
  }
  EXPECT_DOUBLE_EQ(plug->FilterEnvelopeDisplay().timeScale, 4.0);
  // A filter attack of 0.2 now lasts 0.2 * 2.5 s = 22050 samples.
  Set(P::kFilterEnvAttack, 0.2);
  EXPECT_NEAR(
      attackSamples([](const Korvane::Note& v) -> const AdsrEnvelope& { return v.filterEnvelope; }),
      22050, 1);
}

TEST_F(ThumpgeistTest, SampleRateChangesReachTheVoicesAndTheirEnvelopes)
{
  // A note sounding when the host changes the rate keeps its pitch: note 57 in
  // "Standard MIDI" sounds at 440 Hz.
  Set(P::kPitchEnvOnOff, 0.0);
  Note(0, 57);
  Block(256);
  Vst::AEffect* e = plug->GetAEffect();
  e->dispatcher(e, Vst::effSetSampleRate, 0, 0, nullptr, 96000.0f);
  const Korvane::Note& v = plug->Voices().voice(0);
  EXPECT_NEAR(v.oscillatorFrequency(0), 440.0, 1e-9);
  for (int i : {0, 40, 63})
  {
    const Korvane::Note& w = plug->Voices().voice(i);
    EXPECT_EQ(w.getSampleRate(), 96000.0) << i;
    EXPECT_EQ(w.volumeEnvelope.sampleRate, 96000.0) << i;
    EXPECT_EQ(w.filterEnvelope.sampleRate, 96000.0) << i;
    EXPECT_EQ(w.clickStart, 96) << i;     // 1 ms
    EXPECT_EQ(w.clickLength, 19200) << i; // 200 ms
  }
  EXPECT_EQ(plug->PitchEnv().sampleRate, 96000.0);
  // Envelope times keep their length in seconds: "Volume Env. Attack" 0.5 with the
  // default duration (1 s per unit) lasts 0.5 s, 48000 samples at 96 kHz.
  Set(P::kVolEnvAttack, 0.5);
  e->dispatcher(e, Vst::effSetSampleRate, 0, 0, nullptr, 44100.0f);
  e->dispatcher(e, Vst::effSetSampleRate, 0, 0, nullptr, 96000.0f);
  EXPECT_NEAR(plug->Voices().voice(5).volumeEnvelope.attackSamples, 48000.0, 1e-6);
}
