#pragma once
// The MIDI events of the current and coming blocks, sorted by sample offset and
// dispatched sample by sample from inside the block to the voice pool.
//
// Memory: the event array is allocated at construction and by setCapacity (from
// Reset). Beyond that it may grow only through push(), which the host adapter calls
// from effProcessEvents: that runs outside the audio callback, so a rare grow there is
// acceptable. Everything the block itself calls (pushNoAlloc, pushPlayButton,
// DispatchOneSample, DispatchSamples, EndOfBlock) never allocates: when the array is full and
// nothing dispatched can be removed, the event is dropped and counted in droppedCount().
#include "plugin/MidiMessage.h"

#include <cstdint>
#include <memory>

// Where dispatched events go. Each pointer may be null (the event then does nothing);
// context is handed back to every call.
struct MidiQueueCallbacks
{
  void* context = nullptr;
  void (*noteOn)(void* context, int note, int velocity, int offset) = nullptr;
  void (*noteOff)(void* context, int note, int velocity) = nullptr;
  void (*pitchBend)(void* context, int offset, double value) = nullptr;
  void (*controlChange)(void* context, int offset, int controller, double value) = nullptr;
};

// The editor's play button: a pending note (0 = none) and what to do with it.
struct PlayButtonRequest
{
  static constexpr int32_t kStop = 1;
  static constexpr int32_t kPlay = 2;
  int32_t pendingNote = 0;
  int32_t playState = 0;
};

class MidiQueue
{
public:
  static constexpr int32_t kInitialCapacity = 1024;
  static constexpr int32_t kInitialGrowthStep = 1024;
  static constexpr int32_t kCapacityGranule = 512;

  MidiQueue();
  MidiQueue(const MidiQueue&) = delete;
  MidiQueue& operator=(const MidiQueue&) = delete;

  void SetCallbacks(const MidiQueueCallbacks& newCallbacks) { callbacks = newCallbacks; }

  // Note-off, note-on, control change and pitch bend on any channel; nothing else.
  static bool IsAccepted(uint8_t status);

  // What the host delivers: accepted messages are pushed (may grow), others ignored.
  // true when the message was queued.
  bool PushFromHost(const MidiMessage& msg);
  // Inserts msg in offset order after every undispatched event with an offset not above
  // its own. Grows the array when full: call only outside the audio callback.
  bool Push(const MidiMessage& msg);
  // The same insertion for pushes from inside the block: never allocates, drops the
  // message when the array is full.
  bool PushNoAlloc(const MidiMessage& msg);
  // Block start: turns the play button's pending note into a note-off (stop or play)
  // and a note-on (play) at offset 0, and clears the pending note. Never allocates.
  void PushPlayButton(PlayButtonRequest& request);

  // Dispatches every undispatched event whose offset is at most the current position,
  // then advances the position by one sample.
  void DispatchOneSample();
  // The same as `samples` calls of DispatchOneSample (none for 0 or less), jumping over
  // the samples at which nothing falls due.
  void DispatchSamples(int samples);
  // After a block of frames samples: removes dispatched events, moves the rest frames
  // samples earlier and sets the position back to 0.
  void EndOfBlock(int frames);
  // From Reset with the host's block size: sizes the array for it, keeping every
  // undispatched event. Allocates.
  void SetCapacity(int frames);

  int32_t Count() const { return count; }
  int32_t Capacity() const { return capacity; }
  int32_t GrowthStep() const { return growthStep; }
  int32_t Front() const { return front; }
  int32_t Position() const { return position; }
  int32_t HeldNoteCount() const { return heldNoteCount; }
  bool IsKeyHeld(int note) const { return note >= 0 && note < 128 && keyHeld[note]; }
  // Stored event i (0 .. count-1), dispatched or not.
  const MidiMessage& Event(int32_t i) const { return events[i]; }
  // Messages dropped because the array was full and could not (or must not) grow.
  int64_t DroppedCount() const { return dropped; }

private:
  bool Insert(const MidiMessage& msg, bool mayGrow);
  void RemoveDispatched();
  bool Grow();
  bool Reallocate(int32_t newCapacity);
  void Dispatch(const MidiMessage& msg);

  std::unique_ptr<MidiMessage[]> events;
  int32_t capacity = 0;
  int32_t growthStep = kInitialGrowthStep;
  int32_t count = 0;
  int32_t front = 0;
  int32_t position = 0;
  int32_t heldNoteCount = 0;
  bool keyHeld[128] = {};
  int64_t dropped = 0;
  MidiQueueCallbacks callbacks;
};
