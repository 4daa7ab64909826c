#include "synth/MidiQueue.h"
#include "AllocationCounter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <vector>

namespace
{
// Everything the queue dispatched, with the block sample it was dispatched in.
struct Call
{
  std::string kind;
  int a = 0;
  int b = 0;
  double value = 0.0;
  int sample = 0;
};

// Records what a queue dispatches. With echo, it answers each note-on of note 60 by
// pushing a note-off of it due at once and a note-on of 61 due three samples later (a
// callback that pushes, as the play button's requests do).
struct Recorder
{
  std::vector<Call> calls;
  MidiQueue* queue = nullptr;
  bool echo = false;

  MidiQueueCallbacks Callbacks()
  {
    MidiQueueCallbacks c;
    c.context = this;
    c.noteOn = [](void* ctx, int note, int velocity, int offset)
    {
      auto* r = static_cast<Recorder*>(ctx);
      r->calls.push_back({"on", note, velocity, double(offset), r->queue->Position()});
      if (r->echo && note == 60)
      {
        r->queue->PushNoAlloc(MidiMessage{r->queue->Position(), 0x80, 60, 0});
        r->queue->PushNoAlloc(MidiMessage{r->queue->Position() + 3, 0x90, 61, 90});
      }
    };
    c.noteOff = [](void* ctx, int note, int velocity)
    {
      auto* r = static_cast<Recorder*>(ctx);
      r->calls.push_back({"off", note, velocity, 0.0, r->queue->Position()});
    };
    c.pitchBend = [](void* ctx, int offset, double value)
    {
      auto* r = static_cast<Recorder*>(ctx);
      r->calls.push_back({"bend", offset, 0, value, r->queue->Position()});
    };
    c.controlChange = [](void* ctx, int offset, int controller, double value)
    {
      auto* r = static_cast<Recorder*>(ctx);
      r->calls.push_back({"cc", offset, controller, value, r->queue->Position()});
    };
    return c;
  }
};

class MidiQueueTest : public ::testing::Test
{
protected:
  void SetUp() override
  {
    rec.queue = &queue;
    queue.SetCallbacks(rec.Callbacks());
  }

  void Push(int offset, uint8_t status, uint8_t d1, uint8_t d2)
  {
    ASSERT_TRUE(queue.Push(MidiMessage{offset, status, d1, d2}));
  }

  void RunBlock(int frames)
  {
    for (int k = 0; k < frames; ++k)
      queue.DispatchOneSample();
    queue.EndOfBlock(frames);
  }

  MidiQueue queue;
  Recorder rec;
};

TEST(MidiQueueStatusTest, AcceptsNotesControllersAndBendOnEveryChannelOnly)
{
  for (int s = 0; s < 256; ++s)
  {
    const bool expected =
        (s >= 0x80 && s <= 0x9F) || (s >= 0xB0 && s <= 0xBF) || (s >= 0xE0 && s <= 0xEF);
    EXPECT_EQ(MidiQueue::IsAccepted(uint8_t(s)), expected) << "status " << s;
  }
  MidiQueue q;
  for (uint8_t s : {0xA0, 0xAF, 0xC3, 0xD0, 0xF0, 0xF8, 0xFF, 0x40})
    EXPECT_FALSE(q.PushFromHost(MidiMessage{0, s, 60, 100}));
  EXPECT_EQ(q.Count(), 0);
  for (uint8_t s : {0x80, 0x9F, 0xB5, 0xEF})
    EXPECT_TRUE(q.PushFromHost(MidiMessage{0, s, 60, 100}));
  EXPECT_EQ(q.Count(), 4);
}

TEST_F(MidiQueueTest, InsertKeepsOffsetOrderAndArrivalOrderForEqualOffsets)
{
  // Controllers number the events in arrival order.
  Push(10, 0xB0, 1, 0);
  Push(5, 0xB0, 2, 0);
  Push(10, 0xB0, 3, 0);
  Push(0, 0xB0, 4, 0);
  Push(5, 0xB0, 5, 0);
  Push(20, 0xB0, 6, 0);
  Push(5, 0xB0, 7, 0);
  const int expected[] = {4, 2, 5, 7, 1, 3, 6};
  ASSERT_EQ(queue.Count(), 7);
  for (int i = 0; i < 7; ++i)
    EXPECT_EQ(queue.Event(i).data1, expected[i]) << "slot " << i;
  RunBlock(32);
  ASSERT_EQ(rec.calls.size(), 7u);
  for (int i = 0; i < 7; ++i)
  {
    EXPECT_EQ(rec.calls[size_t(i)].b, expected[i]);
    EXPECT_EQ(rec.calls[size_t(i)].sample, rec.calls[size_t(i)].a) << "dispatched at its offset";
  }
}

TEST_F(MidiQueueTest, InsertNeverGoesBeforeDispatchedEvents)
{
  Push(0, 0xB0, 1, 0);
  Push(4, 0xB0, 2, 0);
  for (int k = 0; k < 2; ++k)
    queue.DispatchOneSample();
  EXPECT_EQ(queue.Front(), 1);
  // Offset 0 is already past: it lands at the front of the undispatched events.
  Push(0, 0xB0, 3, 0);
  EXPECT_EQ(queue.Event(0).data1, 1);
  EXPECT_EQ(queue.Event(1).data1, 3);
  EXPECT_EQ(queue.Event(2).data1, 2);
  queue.DispatchOneSample();
  ASSERT_EQ(rec.calls.size(), 2u);
  EXPECT_EQ(rec.calls[1].b, 3);
  EXPECT_EQ(rec.calls[1].sample, 2);
}

TEST_F(MidiQueueTest, HeldKeysIgnoreRepeatsAndUnheldNoteOffs)
{
  Push(0, 0x90, 60, 100);
  Push(3, 0x90, 60, 90);  // key held: nothing
  Push(5, 0x80, 61, 0);   // never held: nothing
  Push(7, 0x90, 60, 0);   // velocity 0: note-off
  Push(9, 0x80, 60, 0);   // already released: nothing
  Push(11, 0x90, 60, 80); // plays again
  RunBlock(16);
  ASSERT_EQ(rec.calls.size(), 3u);
  EXPECT_EQ(rec.calls[0].kind, "on");
  EXPECT_EQ(rec.calls[0].b, 100);
  EXPECT_EQ(rec.calls[1].kind, "off");
  EXPECT_EQ(rec.calls[1].sample, 7);
  EXPECT_EQ(rec.calls[2].kind, "on");
  EXPECT_EQ(rec.calls[2].b, 80);
  EXPECT_EQ(queue.HeldNoteCount(), 1);
  EXPECT_TRUE(queue.IsKeyHeld(60));
}

TEST_F(MidiQueueTest, NoteOnAndOffAtOneOffsetDispatchInTheSameSampleInOrder)
{
  Push(6, 0x90, 36, 127);
  Push(6, 0x80, 36, 64);
  RunBlock(8);
  ASSERT_EQ(rec.calls.size(), 2u);
  EXPECT_EQ(rec.calls[0].kind, "on");
  EXPECT_EQ(rec.calls[1].kind, "off");
  EXPECT_EQ(rec.calls[1].b, 64);
  EXPECT_EQ(rec.calls[0].sample, 6);
  EXPECT_EQ(rec.calls[1].sample, 6);
  EXPECT_EQ(queue.HeldNoteCount(), 0);
}

TEST_F(MidiQueueTest, ChannelsShareTheKeyState)
{
  Push(0, 0x9F, 60, 100); // channel 16
  Push(1, 0x90, 60, 100); // channel 1, same key: ignored
  Push(2, 0x80, 60, 0);   // channel 1 releases it
  Push(3, 0xEF, 0, 64);
  RunBlock(4);
  ASSERT_EQ(rec.calls.size(), 3u);
  EXPECT_EQ(rec.calls[0].kind, "on");
  EXPECT_EQ(rec.calls[0].a, 60);
  EXPECT_EQ(rec.calls[1].kind, "off");
  EXPECT_EQ(rec.calls[2].kind, "bend");
  EXPECT_EQ(rec.calls[2].value, 0.0);
}

TEST_F(MidiQueueTest, PitchBendAndControllerValues)
{
  Push(0, 0xE0, 0, 64);
  Push(0, 0xE0, 0, 0);
  Push(0, 0xE0, 127, 127);
  Push(0, 0xE0, 0, 96);
  Push(2, 0xB3, 7, 127);
  Push(2, 0xB3, 1, 0);
  RunBlock(4);
  ASSERT_EQ(rec.calls.size(), 6u);
  EXPECT_EQ(rec.calls[0].value, 0.0);
  EXPECT_EQ(rec.calls[1].value, -1.0);
  EXPECT_EQ(rec.calls[2].value, 8191.0 / 8192.0);
  EXPECT_EQ(rec.calls[3].value, 0.5);
  EXPECT_EQ(rec.calls[4].kind, "cc");
  EXPECT_EQ(rec.calls[4].a, 2);
  EXPECT_EQ(rec.calls[4].b, 7);
  EXPECT_EQ(rec.calls[4].value, 1.0);
  EXPECT_EQ(rec.calls[5].value, 0.0);
  EXPECT_EQ(queue.HeldNoteCount(), 0);
}

TEST_F(MidiQueueTest, EventsBeyondTheBlockWaitForTheirSample)
{
  Push(300, 0x90, 48, 100);
  Push(10, 0x90, 50, 100);
  RunBlock(256);
  ASSERT_EQ(rec.calls.size(), 1u);
  EXPECT_EQ(queue.Count(), 1);
  EXPECT_EQ(queue.Front(), 0);
  EXPECT_EQ(queue.Position(), 0);
  EXPECT_EQ(queue.Event(0).offset, 44);
  RunBlock(256);
  ASSERT_EQ(rec.calls.size(), 2u);
  EXPECT_EQ(rec.calls[1].a, 48);
  EXPECT_EQ(rec.calls[1].sample, 44);
  EXPECT_EQ(queue.Count(), 0);
}

TEST_F(MidiQueueTest, SetCapacityRoundsToBlocksOf512AndKeepsEventsAndKeys)
{
  EXPECT_EQ(queue.Capacity(), 1024);
  EXPECT_EQ(queue.GrowthStep(), 1024);
  Push(0, 0x90, 60, 100);
  RunBlock(1);
  Push(5, 0x90, 62, 100);
  Push(900, 0x90, 64, 100);

  queue.SetCapacity(100);
  EXPECT_EQ(queue.GrowthStep(), 512);
  EXPECT_EQ(queue.Capacity(), 512);
  EXPECT_EQ(queue.Count(), 2);
  EXPECT_TRUE(queue.IsKeyHeld(60));
  EXPECT_EQ(queue.HeldNoteCount(), 1);

  queue.SetCapacity(513);
  EXPECT_EQ(queue.GrowthStep(), 1024);
  EXPECT_EQ(queue.Capacity(), 1024);

  // Stored events larger than the step: the capacity holds them all.
  queue.SetCapacity(512);
  for (int i = 0; i < 700; ++i)
    Push(1000 + i, 0xB0, 1, 1);
  queue.SetCapacity(64);
  EXPECT_EQ(queue.GrowthStep(), 512);
  EXPECT_EQ(queue.Capacity(), 1024);
  EXPECT_EQ(queue.Count(), 702);

  // A host that announces a block size of 0 still gets a queue that takes events.
  RunBlock(4096);
  queue.SetCapacity(0);
  EXPECT_EQ(queue.GrowthStep(), 512);
  EXPECT_EQ(queue.Capacity(), 512);
  EXPECT_TRUE(queue.Push(MidiMessage{0, 0x80, 60, 0}));
  RunBlock(1);
  EXPECT_FALSE(queue.IsKeyHeld(60));
}

TEST_F(MidiQueueTest, HostPushesGrowByTheStepWhenFull)
{
  queue.SetCapacity(256); // step and capacity 512
  for (int i = 0; i < 512; ++i)
    Push(i, 0xB0, 1, 1);
  EXPECT_EQ(queue.Capacity(), 512);
  Push(3, 0xB0, 2, 2);
  EXPECT_EQ(queue.Capacity(), 1024);
  EXPECT_EQ(queue.Count(), 513);
  EXPECT_EQ(queue.Event(4).data1, 2) << "still sorted after growing";
  EXPECT_EQ(queue.DroppedCount(), 0);
}

TEST_F(MidiQueueTest, FullQueueMakesRoomByRemovingDispatchedEvents)
{
  queue.SetCapacity(256);
  for (int i = 0; i < 512; ++i)
    Push(i, 0xB0, 1, 1);
  for (int k = 0; k < 10; ++k)
    queue.DispatchOneSample();
  EXPECT_TRUE(queue.PushNoAlloc(MidiMessage{600, 0x90, 40, 1}));
  EXPECT_EQ(queue.Capacity(), 512);
  EXPECT_EQ(queue.Front(), 0);
  EXPECT_EQ(queue.Count(), 503);
  EXPECT_EQ(queue.Event(0).offset, 10);
  EXPECT_EQ(queue.Event(502).offset, 600);
}

TEST_F(MidiQueueTest, InsideTheBlockAFullQueueDropsInsteadOfAllocating)
{
  queue.SetCapacity(256);
  for (int i = 0; i < 512; ++i)
    Push(0, 0xB0, 1, 1);
  PlayButtonRequest play{60, PlayButtonRequest::kPlay};
  rec.calls.reserve(1024);
  {
    AllocationCounter allocations;
    EXPECT_FALSE(queue.PushNoAlloc(MidiMessage{0, 0x90, 30, 1}));
    queue.PushPlayButton(play);
    for (int k = 0; k < 64; ++k)
      queue.DispatchOneSample();
    queue.EndOfBlock(64);
    EXPECT_EQ(allocations.Count(), 0);
  }
  EXPECT_EQ(queue.Capacity(), 512);
  EXPECT_EQ(queue.DroppedCount(), 3);
  EXPECT_EQ(play.pendingNote, 0);
  EXPECT_EQ(rec.calls.size(), 512u);
  EXPECT_FALSE(queue.IsKeyHeld(60));
  EXPECT_FALSE(queue.IsKeyHeld(30));
}

TEST_F(MidiQueueTest, PlayButtonRestartsOrStopsItsNoteAtOffsetZero)
{
  PlayButtonRequest play{36, PlayButtonRequest::kPlay};
  queue.PushPlayButton(play);
  EXPECT_EQ(play.pendingNote, 0);
  ASSERT_EQ(queue.Count(), 2);
  EXPECT_EQ(queue.Event(0).status, 0x80);
  EXPECT_EQ(queue.Event(1).status, 0x90);
  EXPECT_EQ(queue.Event(1).data2, 127);
  RunBlock(4);

  // Pressed again while sounding: the note is released and started again.
  play = {36, PlayButtonRequest::kPlay};
  queue.PushPlayButton(play);
  RunBlock(4);
  // Nothing pending: nothing happens.
  queue.PushPlayButton(play);
  EXPECT_EQ(queue.Count(), 0);
  play = {36, PlayButtonRequest::kStop};
  queue.PushPlayButton(play);
  RunBlock(4);
  // A pending note without a state is only cleared.
  play = {36, 0};
  queue.PushPlayButton(play);
  EXPECT_EQ(play.pendingNote, 0);
  EXPECT_EQ(queue.Count(), 0);

  ASSERT_EQ(rec.calls.size(), 4u);
  const char* kinds[] = {"on", "off", "on", "off"};
  for (size_t i = 0; i < 4; ++i)
  {
    EXPECT_EQ(rec.calls[i].kind, kinds[i]);
    EXPECT_EQ(rec.calls[i].a, 36);
    EXPECT_EQ(rec.calls[i].sample, 0);
  }
  EXPECT_EQ(queue.HeldNoteCount(), 0);
}

TEST(MidiQueueCallbackTest, MissingCallbacksStillKeepTheKeyState)
{
  MidiQueue q;
  q.Push(MidiMessage{0, 0x90, 60, 100});
  q.Push(MidiMessage{0, 0xE0, 0, 0});
  q.Push(MidiMessage{0, 0xB0, 1, 0});
  q.DispatchOneSample();
  EXPECT_TRUE(q.IsKeyHeld(60));
  EXPECT_EQ(q.HeldNoteCount(), 1);
  EXPECT_EQ(q.Front(), 3);
}
} // namespace

// Dispatching a stretch of samples at once against one call per sample: the same events
// at the same samples and the same position, for stretches of every length (none, one,
// up to the block and beyond its events), events before, inside and after the block and
// events pushed while dispatching.
TEST(MidiQueueStretchTest, StretchesDispatchWhatSampleBySampleDispatches)
{
  const std::vector<std::vector<int>> stretches = {
      {1}, {5}, {256}, {0, 3, -2, 17, 1, 100}, {64, 0, 192}, {300}};
  const MidiMessage events[] = {{-4, 0x90, 40, 100}, {0, 0x90, 41, 100}, {7, 0xE0, 0, 80},
                                {7, 0x80, 41, 0},    {19, 0x90, 60, 99}, {20, 0x90, 42, 9},
                                {255, 0x80, 40, 0},  {256, 0x90, 43, 1}, {400, 0x90, 44, 1}};
  for (const std::vector<int>& pattern : stretches)
  {
    MidiQueue bySample, byStretch;
    Recorder one, many;
    one.queue = &bySample;
    many.queue = &byStretch;
    one.echo = many.echo = true;
    bySample.SetCallbacks(one.Callbacks());
    byStretch.SetCallbacks(many.Callbacks());
    for (const MidiMessage& e : events)
    {
      bySample.Push(e);
      byStretch.Push(e);
    }
    for (int block = 0; block < 2; ++block)
    {
      for (std::size_t step = 0; byStretch.Position() < 256; ++step)
      {
        const int samples = pattern[step % pattern.size()];
        byStretch.DispatchSamples(samples);
        for (int k = 0; k < samples; ++k)
          bySample.DispatchOneSample();
        ASSERT_EQ(byStretch.Position(), bySample.Position()) << pattern.size();
      }
      ASSERT_EQ(many.calls.size(), one.calls.size()) << pattern.size();
      for (std::size_t i = 0; i < one.calls.size(); ++i)
        EXPECT_TRUE(many.calls[i].kind == one.calls[i].kind && many.calls[i].a == one.calls[i].a &&
                    many.calls[i].b == one.calls[i].b &&
                    many.calls[i].value == one.calls[i].value &&
                    many.calls[i].sample == one.calls[i].sample)
            << "pattern " << pattern.size() << " call " << i;
      EXPECT_EQ(byStretch.Front(), bySample.Front());
      const int frames = bySample.Position();
      bySample.EndOfBlock(frames);
      byStretch.EndOfBlock(frames);
    }
  }
}
