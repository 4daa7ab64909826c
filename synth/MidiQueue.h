#pragma once
// The MIDI events of the current and coming blocks, sorted by sample offset and
// dispatched sample by sample from inside the block to the voice pool.
//
// Memory: the event array is allocated at construction and by setCapacity (from
// Reset). Beyond that it may grow only through push(), which the host adapter calls
// from effProcessEvents: that runs outside the audio callback, so a rare grow there is
// acceptable. Everything the block itself calls (pushNoAlloc, pushPlayButton,
// dispatchOneSample, endOfBlock) never allocates: when the array is full and nothing
// dispatched can be removed, the event is dropped and counted in droppedCount().
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

  void setCallbacks(const MidiQueueCallbacks& callbacks) { mCallbacks = callbacks; }

  // Note-off, note-on, control change and pitch bend on any channel; nothing else.
  static bool isAccepted(uint8_t status);

  // What the host delivers: accepted messages are pushed (may grow), others ignored.
  // true when the message was queued.
  bool pushFromHost(const MidiMessage& msg);
  // Inserts msg in offset order after every undispatched event with an offset not above
  // its own. Grows the array when full: call only outside the audio callback.
  bool push(const MidiMessage& msg);
  // The same insertion for pushes from inside the block: never allocates, drops the
  // message when the array is full.
  bool pushNoAlloc(const MidiMessage& msg);
  // Block start: turns the play button's pending note into a note-off (stop or play)
  // and a note-on (play) at offset 0, and clears the pending note. Never allocates.
  void pushPlayButton(PlayButtonRequest& request);

  // Dispatches every undispatched event whose offset is at most the current position,
  // then advances the position by one sample.
  void dispatchOneSample();
  // After a block of frames samples: removes dispatched events, moves the rest frames
  // samples earlier and sets the position back to 0.
  void endOfBlock(int frames);
  // From Reset with the host's block size: sizes the array for it, keeping every
  // undispatched event. Allocates.
  void setCapacity(int frames);

  int32_t count() const { return mCount; }
  int32_t capacity() const { return mCapacity; }
  int32_t growthStep() const { return mGrowthStep; }
  int32_t front() const { return mFront; }
  int32_t position() const { return mPosition; }
  int32_t heldNoteCount() const { return mHeldNoteCount; }
  bool isKeyHeld(int note) const { return note >= 0 && note < 128 && mKeyHeld[note]; }
  // Stored event i (0 .. count-1), dispatched or not.
  const MidiMessage& event(int32_t i) const { return mEvents[i]; }
  // Messages dropped because the array was full and could not (or must not) grow.
  int64_t droppedCount() const { return mDropped; }

private:
  bool insert(const MidiMessage& msg, bool mayGrow);
  void removeDispatched();
  bool grow();
  bool reallocate(int32_t newCapacity);
  void dispatch(const MidiMessage& msg);

  std::unique_ptr<MidiMessage[]> mEvents;
  int32_t mCapacity = 0;
  int32_t mGrowthStep = kInitialGrowthStep;
  int32_t mCount = 0;
  int32_t mFront = 0;
  int32_t mPosition = 0;
  int32_t mHeldNoteCount = 0;
  bool mKeyHeld[128] = {};
  int64_t mDropped = 0;
  MidiQueueCallbacks mCallbacks;
};
