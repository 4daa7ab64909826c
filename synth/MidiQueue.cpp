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

MidiQueue::MidiQueue() { reallocate(kInitialCapacity); }

bool MidiQueue::isAccepted(uint8_t status)
{
  return (status >= 0x80 && status <= 0x9F) || (status >= 0xB0 && status <= 0xBF) ||
         (status >= 0xE0 && status <= 0xEF);
}

bool MidiQueue::pushFromHost(const MidiMessage& msg) { return isAccepted(msg.status) && push(msg); }

bool MidiQueue::push(const MidiMessage& msg) { return insert(msg, true); }

bool MidiQueue::pushNoAlloc(const MidiMessage& msg) { return insert(msg, false); }

void MidiQueue::pushPlayButton(PlayButtonRequest& request)
{
  if (request.pendingNote <= 0)
    return;
  const auto note = uint8_t(request.pendingNote & 0x7F);
  request.pendingNote = 0;
  if (request.playState == PlayButtonRequest::kStop ||
      request.playState == PlayButtonRequest::kPlay)
    pushNoAlloc(MidiMessage{0, 0x80, note, 0});
  if (request.playState == PlayButtonRequest::kPlay)
    pushNoAlloc(MidiMessage{0, 0x90, note, 127});
}

bool MidiQueue::insert(const MidiMessage& msg, bool mayGrow)
{
  if (mCount == mCapacity)
  {
    if (mFront > 0)
      removeDispatched();
    else if (!mayGrow || !grow())
    {
      ++mDropped;
      return false;
    }
  }
  // Hosts mostly deliver in offset order, so the scan from the end is short.
  int32_t at = mCount;
  if (mCount > mFront && msg.offset < mEvents[mCount - 1].offset)
  {
    while (at > mFront && mEvents[at - 1].offset > msg.offset)
      --at;
    std::memmove(&mEvents[at + 1], &mEvents[at], size_t(mCount - at) * sizeof(MidiMessage));
  }
  mEvents[at] = msg;
  ++mCount;
  return true;
}

void MidiQueue::removeDispatched()
{
  if (mFront == 0)
    return;
  const int32_t rest = mCount - mFront;
  std::memmove(&mEvents[0], &mEvents[mFront], size_t(rest) * sizeof(MidiMessage));
  mCount = rest;
  mFront = 0;
}

bool MidiQueue::grow()
{
  if (mGrowthStep <= 0)
    return false;
  const int64_t next = (int64_t(mCapacity) / mGrowthStep + 1) * mGrowthStep;
  return next <= kMaxCapacity && reallocate(int32_t(next));
}

bool MidiQueue::reallocate(int32_t newCapacity)
{
  if (newCapacity < mCount)
    return false;
  std::unique_ptr<MidiMessage[]> events(new (std::nothrow) MidiMessage[size_t(newCapacity)]);
  if (!events)
    return false;
  if (mCount > 0)
    std::memcpy(events.get(), mEvents.get(), size_t(mCount) * sizeof(MidiMessage));
  mEvents = std::move(events);
  mCapacity = newCapacity;
  return true;
}

void MidiQueue::dispatch(const MidiMessage& msg)
{
  const int type = msg.status & 0xF0;
  const int n = msg.data1 & 0x7F;
  const int v = msg.data2;
  if (type == 0x90 && v > 0)
  {
    if (!mKeyHeld[n])
    {
      mKeyHeld[n] = true;
      ++mHeldNoteCount;
      if (mCallbacks.noteOn)
        mCallbacks.noteOn(mCallbacks.context, n, v, msg.offset);
    }
  }
  else if (type == 0x80 || type == 0x90)
  {
    if (mKeyHeld[n])
    {
      mKeyHeld[n] = false;
      --mHeldNoteCount;
      if (mCallbacks.noteOff)
        mCallbacks.noteOff(mCallbacks.context, n, v);
    }
  }
  else if (type == 0xE0)
  {
    const double value = (msg.data1 + 128.0 * msg.data2 - 8192.0) / 8192.0;
    if (mCallbacks.pitchBend)
      mCallbacks.pitchBend(mCallbacks.context, msg.offset, value);
  }
  else if (type == 0xB0)
  {
    if (mCallbacks.controlChange)
      mCallbacks.controlChange(mCallbacks.context, msg.offset, n, v / 127.0);
  }
}

void MidiQueue::dispatchOneSample()
{
  while (mFront < mCount && mEvents[mFront].offset <= mPosition)
  {
    // Advance first: a callback that pushes (the array may move) sees a consistent queue.
    const MidiMessage msg = mEvents[mFront];
    ++mFront;
    dispatch(msg);
  }
  ++mPosition;
}

void MidiQueue::endOfBlock(int frames)
{
  removeDispatched();
  for (int32_t i = 0; i < mCount; ++i)
    mEvents[i].offset -= frames;
  mPosition = 0;
}

void MidiQueue::setCapacity(int frames)
{
  removeDispatched();
  // A host that announces no block size still gets a working queue.
  const int64_t step =
      std::clamp<int64_t>(RoundUpToGranule(std::max(frames, 1)), kCapacityGranule, kMaxCapacity);
  mGrowthStep = int32_t(step);
  const int64_t wanted = std::max<int64_t>(step, RoundUpToGranule(mCount));
  if (wanted != mCapacity)
    reallocate(int32_t(wanted)); // on failure the old array stays
}
