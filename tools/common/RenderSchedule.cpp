#include "tools/common/RenderSchedule.h"

#include <algorithm>

void RenderSchedule::Add(int64_t sample, uint8_t status, uint8_t data1, uint8_t data2)
{
  mEvents.push_back({sample, 1, int(mEvents.size()), status, data1, data2});
  mEnd = std::max(mEnd, sample);
  mSorted = false;
}

void RenderSchedule::AddNote(int64_t on, int64_t off, int note, int velocity)
{
  off = std::max(off, on + 1);
  mEvents.push_back(
      {on, 1, int(mEvents.size()), 0x90, uint8_t(note & 0x7F), uint8_t(velocity & 0x7F)});
  mEvents.push_back({off, 0, int(mEvents.size()), 0x80, uint8_t(note & 0x7F), 0});
  mEnd = std::max(mEnd, off);
  mSorted = false;
}

void RenderSchedule::Sort()
{
  if (mSorted)
    return;
  // Only what is not yet sent is reordered.
  std::sort(mEvents.begin() + std::ptrdiff_t(mNext), mEvents.end(),
            [](const Event& a, const Event& b)
            {
              return a.sample != b.sample ? a.sample < b.sample
                     : a.rank != b.rank   ? a.rank < b.rank
                                          : a.seq < b.seq;
            });
  mSorted = true;
}
