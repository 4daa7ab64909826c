// Allocation without stealing, note-off, pitch bend, note names, and the unbound pool.
#include "VoiceTestRig.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace VoiceTest;
using Korvane::VoicePool;
using S = Korvane::SynthParams;

TEST(VoicePoolTest, The65thNoteIsIgnoredAndTheOthersPlayOn)
{
  Rig rig;
  for (int i = 0; i < 64; ++i)
    EXPECT_EQ(rig.pool->noteOn(30 + i, 100, 0), i);
  rig.render(256);
  const double before = rig.pool->voice(5).noteFrequency;
  EXPECT_EQ(rig.pool->noteOn(127, 100, 0), -1);
  EXPECT_EQ(rig.pool->activeCount(), 64);
  for (int i = 0; i < 64; ++i)
    EXPECT_EQ(rig.pool->voice(i).noteNumber, 30 + i);
  EXPECT_EQ(rig.pool->voice(5).noteFrequency, before);
}

TEST(VoicePoolTest, OneNoteOffReleasesEveryVoiceOfThatNote)
{
  Rig rig;
  rig.pool->setEnvelopeRelease(VoicePool::kVolumeEnvelope, 0.05);
  rig.pool->setEnvelopeRelease(VoicePool::kFilterEnvelope, 0.05);
  EXPECT_EQ(rig.pool->noteOn(60, 100, 0), 0);
  rig.render(64);
  EXPECT_EQ(rig.pool->noteOn(60, 100, 0), 1); // struck again: a second voice
  EXPECT_EQ(rig.pool->noteOn(62, 100, 0), 2);
  rig.render(64);
  rig.pool->noteOff(60);
  EXPECT_EQ(rig.pool->voice(0).volumeEnvelope.state, Korvane::AdsrEnvelope::kRelease);
  EXPECT_EQ(rig.pool->voice(1).volumeEnvelope.state, Korvane::AdsrEnvelope::kRelease);
  EXPECT_EQ(rig.pool->voice(1).filterEnvelope.state, Korvane::AdsrEnvelope::kRelease);
  EXPECT_NE(rig.pool->voice(2).volumeEnvelope.state, Korvane::AdsrEnvelope::kRelease);
  // Both run out and become free; a new note takes the first free voice again.
  rig.render(4096);
  EXPECT_EQ(rig.pool->activeCount(), 1);
  EXPECT_EQ(rig.pool->noteOn(64, 100, 0), 0);
}

TEST(VoicePoolTest, PitchBendWaitsForItsSampleThenGlides)
{
  Rig rig;
  rig.pitchEnvelope.setBendRange(1.0); // 12 semitones
  EXPECT_TRUE(rig.pool->queuePitchBend(3, 1.0));
  for (int k = 0; k < 3; ++k)
    rig.pool->renderSample();
  EXPECT_EQ(rig.bendRatio, 1.0); // samples 0..2: still waiting
  rig.pool->renderSample();
  EXPECT_DOUBLE_EQ(rig.bendRatio, 2.0 * 0.0223 + 0.9777);
  EXPECT_DOUBLE_EQ(rig.pool->bendTarget, 2.0);
  // A note then sounds an octave higher once the ratio has settled.
  rig.pool->noteOn(57, 127, 0);
  const auto out = rig.render(44100);
  EXPECT_NEAR(zeroCrossingFrequency(out, 44100.0, 4096), 880.0, 0.05);

  for (int i = 0; i < 8; ++i)
    EXPECT_TRUE(rig.pool->queuePitchBend(100, -1.0));
  EXPECT_FALSE(rig.pool->queuePitchBend(100, 0.5)); // all eight slots taken
  rig.pool->reset(44100.0, 512);
  EXPECT_TRUE(rig.pool->pendingBend(7).free);
}

TEST(VoicePoolTest, NoteNamesAndTransposeModeNames)
{
  char text[16];
  EXPECT_TRUE(VoicePool::noteName(61, text, sizeof text));
  EXPECT_STREQ(text, "C#5");
  EXPECT_TRUE(VoicePool::noteName(0, text, sizeof text));
  EXPECT_STREQ(text, "C0");
  EXPECT_TRUE(VoicePool::noteName(127, text, sizeof text));
  EXPECT_STREQ(text, "G10");
  EXPECT_FALSE(VoicePool::noteName(128, text, sizeof text));
  EXPECT_FALSE(VoicePool::noteName(-1, text, sizeof text));
  EXPECT_STREQ(text, "");

  EXPECT_EQ(VoicePool::transposeModeName(0), "Standard MIDI");
  EXPECT_EQ(VoicePool::transposeModeName(1), "Octave Down");
  EXPECT_EQ(VoicePool::transposeModeName(3), "Low Kick 39.2Hz");
  EXPECT_EQ(VoicePool::transposeModeName(5), "Electronic Kick 50.0Hz");
  EXPECT_EQ(VoicePool::transposeModeName(7), "Drum Body 64.8Hz");
  EXPECT_EQ(VoicePool::transposeModeName(9), "Arp. Moll 1/16");
  EXPECT_EQ(VoicePool::transposeModeName(10), "Standard MIDI");
}

TEST(VoicePoolTest, TheNoteDisplayHearsOfEveryNote)
{
  struct Seen
  {
    double frequency = 0.0;
    char name[16] = {};
  } seen;
  Rig rig;
  Korvane::VoiceBinding b;
  b.params = &rig.params;
  b.bendRatio = &rig.bendRatio;
  b.provider = &provider();
  b.pitchEnvelope = &rig.pitchEnvelope;
  b.owner = &seen;
  b.noteStarted = [](void* owner, double f, const char* name)
  {
    auto* s = static_cast<Seen*>(owner);
    s->frequency = f;
    std::strncpy(s->name, name, sizeof s->name - 1);
  };
  rig.pool->bind(b);
  rig.pool->noteOn(60, 100, 0);
  EXPECT_STREQ(seen.name, "C5");
  EXPECT_NEAR(seen.frequency, 880.0 * std::pow(2.0, -9.0 / 12.0), 1e-9);
}

TEST(VoicePoolTest, AnUnboundPoolRendersNothing)
{
  VoicePool pool;
  pool.reset(44100.0, 256);
  EXPECT_EQ(pool.noteOn(60, 127, 0), 0);
  Block b(256);
  for (int k = 0; k < 256; ++k)
    pool.renderSample();
  pool.mixBlock(b.targets(), 256);
  EXPECT_EQ(peak(b.left), 0.0);
  EXPECT_EQ(peak(b.bass), 0.0);
  // Its envelopes still run out (release 0), so the voice is freed again.
  pool.noteOff(60);
  pool.mixBlock(b.targets(), 4);
  EXPECT_EQ(pool.activeCount(), 0);

  // A binding that lacks the provider leaves the pool unbound.
  Korvane::SynthParams params;
  double bend = 1.0;
  Korvane::VoiceBinding partial;
  partial.params = &params;
  partial.bendRatio = &bend;
  pool.bind(partial);
  EXPECT_FALSE(pool.isBound());
}

TEST(VoicePoolTest, BuffersGrowButNeverShrink)
{
  Rig rig(44100.0, 256);
  EXPECT_EQ(rig.pool->voice(0).bufferLength, 256);
  rig.pool->reset(44100.0, 1024);
  EXPECT_EQ(rig.pool->voice(63).bufferLength, 1024);
  rig.pool->reset(44100.0, 128);
  EXPECT_EQ(rig.pool->voice(63).bufferLength, 1024);
  // A block longer than the buffers mixes only what the buffers hold, and writes
  // nowhere else.
  rig.pool->noteOn(69, 127, 0);
  Block b(2048);
  for (int k = 0; k < 2048; ++k)
    rig.pool->renderSample();
  rig.pool->mixBlock(b.targets(), 2048);
  EXPECT_EQ(peak(b.left, 1024), 0.0);
  EXPECT_GT(peak(b.left, 0, 1024), 0.1);
}
