#include "tools/common/RenderSchedule.h"

#include <algorithm>

void RenderSchedule::Add(int64_t sample, uint8_t status, uint8_t data1, uint8_t data2)
{
  events.push_back({sample, 1, int(events.size()), status, data1, data2});
  end = std::max(end, sample);
  sorted = false;
}

void RenderSchedule::AddNote(int64_t on, int64_t off, int note, int velocity)
{
  off = std::max(off, on + 1);
  events.push_back(
      {on, 1, int(events.size()), 0x90, uint8_t(note & 0x7F), uint8_t(velocity & 0x7F)});
  events.push_back({off, 0, int(events.size()), 0x80, uint8_t(note & 0x7F), 0});
  end = std::max(end, off);
  sorted = false;
}

void RenderSchedule::Sort()
{
  if (sorted)
    return;
  // Only what is not yet sent is reordered.
  std::sort(events.begin() + std::ptrdiff_t(next), events.end(),
            [](const Event& a, const Event& b)
            {
              return a.sample != b.sample ? a.sample < b.sample
                     : a.rank != b.rank   ? a.rank < b.rank
                                          : a.seq < b.seq;
            });
  sorted = true;
}
