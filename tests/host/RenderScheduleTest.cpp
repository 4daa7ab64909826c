// The renderer's scheduling of MIDI messages into blocks (built with the tools).
#include <gtest/gtest.h>

#ifdef TG_RENDER_PATH
#include "tools/common/RenderSchedule.h"

#include <vector>

namespace
{
struct Sent
{
  int64_t sample; // block start + offset
  int offset;
  int status, data1, data2;
};

std::vector<Sent> RunBlocks(RenderSchedule& s, const std::vector<int>& blockSizes, int64_t total)
{
  std::vector<Sent> sent;
  int64_t start = 0;
  for (size_t b = 0; start < total; ++b)
  {
    const int frames = blockSizes[b % blockSizes.size()];
    s.ForBlock(start, frames,
               [&](int offset, uint8_t status, uint8_t d1, uint8_t d2)
               {
                 EXPECT_GE(offset, 0);
                 EXPECT_LT(offset, frames);
                 sent.push_back({start + offset, offset, status, d1, d2});
               });
    start += frames;
  }
  return sent;
}
} // namespace

TEST(RenderScheduleTest, EventsLandAtTheirSampleWhateverTheBlockSize)
{
  for (const std::vector<int>& blocks :
       std::vector<std::vector<int>>{{256}, {1}, {100}, {512, 7, 33}})
  {
    RenderSchedule s;
    s.Add(300, 0x90, 36, 127);
    s.Add(0, 0xB0, 1, 2);
    s.Add(255, 0xE0, 0, 64);
    s.Add(256, 0x80, 36, 0);
    s.Add(1023, 0x90, 38, 1);
    EXPECT_EQ(s.EndSample(), 1023);
    const auto sent = RunBlocks(s, blocks, 1100);
    ASSERT_EQ(sent.size(), 5u);
    const int64_t samples[] = {0, 255, 256, 300, 1023};
    for (size_t i = 0; i < 5; ++i)
      EXPECT_EQ(sent[i].sample, samples[i]) << "block sizes from " << blocks[0] << ", event " << i;
  }
  // With blocks of 256 the event at 300 is at offset 44 of the second block.
  RenderSchedule s;
  s.Add(300, 0x90, 36, 127);
  const auto sent = RunBlocks(s, {256}, 512);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0].offset, 44);
}

TEST(RenderScheduleTest, NoteOffsGoFirstAndOtherTiesKeepTheirOrder)
{
  RenderSchedule s;
  s.AddNote(100, 200, 36, 90); // given first, starts where the next one ends
  s.AddNote(0, 100, 36, 127);
  s.AddNote(50, 50, 40, 10); // no length: released one sample later
  s.Add(200, 0xB0, 7, 1);
  s.Add(200, 0xB0, 7, 2);
  s.Add(-5, 0xE0, 0, 0); // before the start: sent at once
  EXPECT_EQ(s.EndSample(), 200);
  const auto sent = RunBlocks(s, {64}, 256);
  ASSERT_EQ(sent.size(), 9u);
  struct Want
  {
    int64_t sample;
    int status, data1, data2;
  };
  const Want want[] = {{0, 0xE0, 0, 0},    {0, 0x90, 36, 127}, {50, 0x90, 40, 10},
                       {51, 0x80, 40, 0},  {100, 0x80, 36, 0}, {100, 0x90, 36, 90},
                       {200, 0x80, 36, 0}, {200, 0xB0, 7, 1},  {200, 0xB0, 7, 2}};
  // The bend before the start arrives in the first block at offset 0.
  EXPECT_EQ(sent[0].offset, 0);
  for (size_t i = 0; i < 9; ++i)
  {
    EXPECT_EQ(sent[i].sample, want[i].sample) << i;
    EXPECT_EQ(sent[i].status, want[i].status) << i;
    EXPECT_EQ(sent[i].data1, want[i].data1) << i;
    EXPECT_EQ(sent[i].data2, want[i].data2) << i;
  }
}
#endif
