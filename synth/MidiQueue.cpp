#include "synth/MidiQueue.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace
{
// Far beyond any block a host sends; keeps the size arithmetic inside int32.
constexpr int64_t kMaxCapacity = int64_t(1) << 24;

int64_t RoundUpToGranule(int64_t n)
{
  return (n + MidiQueue::kCapacityGranule - 1) / MidiQueue::kCapacityGranule *
         MidiQueue::kCapacityGranule;
}
} // namespace

MidiQueue::MidiQueue() { Reallocate(kInitialCapacity); }

bool MidiQueue::IsAccepted(uint8_t status)
{
  return (status >= 0x80 && status <= 0x9F) || (status >= 0xB0 && status <= 0xBF) ||
         (status >= 0xE0 && status <= 0xEF);
}

bool MidiQueue::PushFromHost(const MidiMessage& msg) { return IsAccepted(msg.status) && Push(msg); }

bool MidiQueue::Push(const MidiMessage& msg) { return Insert(msg, true); }

bool MidiQueue::PushNoAlloc(const MidiMessage& msg) { return Insert(msg, false); }

void MidiQueue::PushPlayButton(PlayButtonRequest& request)
{
  if (request.pendingNote <= 0)
    return;
  const auto note = uint8_t(request.pendingNote & 0x7F);
  request.pendingNote = 0;
  if (request.playState == PlayButtonRequest::kStop ||
      request.playState == PlayButtonRequest::kPlay)
    PushNoAlloc(MidiMessage{0, 0x80, note, 0});
  if (request.playState == PlayButtonRequest::kPlay)
    PushNoAlloc(MidiMessage{0, 0x90, note, 127});
}

bool MidiQueue::Insert(const MidiMessage& msg, bool mayGrow)
{
  if (count == capacity)
  {
    if (front > 0)
      RemoveDispatched();
    else if (!mayGrow || !Grow())
    {
      ++dropped;
      return false;
    }
  }
  // Hosts mostly deliver in offset order, so the scan from the end is short.
  int32_t at = count;
  if (count > front && msg.offset < events[count - 1].offset)
  {
    while (at > front && events[at - 1].offset > msg.offset)
      --at;
    std::memmove(&events[at + 1], &events[at], size_t(count - at) * sizeof(MidiMessage));
  }
  events[at] = msg;
  ++count;
  return true;
}

void MidiQueue::RemoveDispatched()
{
  if (front == 0)
    return;
  const int32_t rest = count - front;
  std::memmove(&events[0], &events[front], size_t(rest) * sizeof(MidiMessage));
  count = rest;
  front = 0;
}

bool MidiQueue::Grow()
{
  if (growthStep <= 0)
    return false;
  const int64_t next = (int64_t(capacity) / growthStep + 1) * growthStep;
  return next <= kMaxCapacity && Reallocate(int32_t(next));
}

bool MidiQueue::Reallocate(int32_t newCapacity)
{
  if (newCapacity < count)
    return false;
  std::unique_ptr<MidiMessage[]> grown(new (std::nothrow) MidiMessage[size_t(newCapacity)]);
  if (!grown)
    return false;
  if (count > 0)
    std::memcpy(grown.get(), events.get(), size_t(count) * sizeof(MidiMessage));
  events = std::move(grown);
  capacity = newCapacity;
  return true;
}

void MidiQueue::Dispatch(const MidiMessage& msg)
{
  const int type = msg.status & 0xF0;
  const int n = msg.data1 & 0x7F;
  const int v = msg.data2;
  if (type == 0x90 && v > 0)
  {
    if (!keyHeld[n])
    {
      keyHeld[n] = true;
      ++heldNoteCount;
      if (callbacks.noteOn)
        callbacks.noteOn(callbacks.context, n, v, msg.offset);
    }
  }
  else if (type == 0x80 || type == 0x90)
  {
    if (keyHeld[n])
    {
      keyHeld[n] = false;
      --heldNoteCount;
      if (callbacks.noteOff)
        callbacks.noteOff(callbacks.context, n, v);
    }
  }
  else if (type == 0xE0)
  {
    const double value = (msg.data1 + 128.0 * msg.data2 - 8192.0) / 8192.0;
    if (callbacks.pitchBend)
      callbacks.pitchBend(callbacks.context, msg.offset, value);
  }
  else if (type == 0xB0)
  {
    if (callbacks.controlChange)
      callbacks.controlChange(callbacks.context, msg.offset, n, v / 127.0);
  }
}

void MidiQueue::DispatchOneSample()
{
  while (front < count && events[front].offset <= position)
  {
    // Advance first: a callback that pushes (the array may move) sees a consistent queue.
    const MidiMessage msg = events[front];
    ++front;
    Dispatch(msg);
  }
  ++position;
}

void MidiQueue::DispatchSamples(int samples)
{
  if (samples <= 0)
    return;
  const int64_t end = int64_t(position) + samples;
  while (position < end)
  {
    while (front < count && events[front].offset <= position)
    {
      const MidiMessage msg = events[front];
      ++front;
      Dispatch(msg);
    }
    // Nothing falls due before the front event's offset: the position goes there (at
    // least one sample on, at most to the end) at once.
    const int64_t next =
        front < count ? std::max<int64_t>(events[front].offset, position + 1) : end;
    position = int32_t(std::min(next, end));
  }
}

void MidiQueue::EndOfBlock(int frames)
{
  RemoveDispatched();
  for (int32_t i = 0; i < count; ++i)
    events[i].offset -= frames;
  position = 0;
}

void MidiQueue::SetCapacity(int frames)
{
  RemoveDispatched();
  // A host that announces no block size still gets a working queue.
  const int64_t step =
      std::clamp<int64_t>(RoundUpToGranule(std::max(frames, 1)), kCapacityGranule, kMaxCapacity);
  growthStep = int32_t(step);
  const int64_t wanted = std::max<int64_t>(step, RoundUpToGranule(count));
  if (wanted != capacity)
    Reallocate(int32_t(wanted)); // on failure the old array stays
}
