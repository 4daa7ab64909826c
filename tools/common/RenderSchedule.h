#pragma once
// The MIDI messages of a render at absolute sample positions, handed out block by block
// with their offsets inside the block, so every message sounds at its exact sample
// whatever the block size.
#include <cstddef>
#include <cstdint>
#include <vector>

class RenderSchedule
{
public:
  struct Event
  {
    int64_t sample = 0;
    int rank = 0; // at one sample, lower ranks go first
    int seq = 0;  // then the order of adding
    uint8_t status = 0, data1 = 0, data2 = 0;
  };

  // A message at a sample (negative samples are sent at the start).
  void Add(int64_t sample, uint8_t status, uint8_t data1, uint8_t data2);
  // A note from on to off (off is at least one sample after on). At one sample a
  // note-off goes before a note-on, so back-to-back notes of one key both sound.
  void AddNote(int64_t on, int64_t off, int note, int velocity);
  // The latest sample of any message.
  int64_t EndSample() const { return end; }
  size_t Size() const { return events.size(); }

  // Sends every message of the block [blockStart, blockStart + frames) not yet sent, as
  // send(offset, status, data1, data2) in time order. Blocks must come in order.
  template <class Send>
  void ForBlock(int64_t blockStart, int frames, Send&& send)
  {
    Sort();
    for (; next < events.size() && events[next].sample < blockStart + frames; ++next)
    {
      const Event& e = events[next];
      send(int(e.sample > blockStart ? e.sample - blockStart : 0), e.status, e.data1, e.data2);
    }
  }

private:
  void Sort();

  std::vector<Event> events;
  size_t next = 0;
  int64_t end = 0;
  bool sorted = true;
};
