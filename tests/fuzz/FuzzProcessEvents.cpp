// effProcessEvents as hosts call it, then the block: the input is a run of blocks, each
// a byte with the event count, two bytes of frame count, then per event eight bytes: its
// kind (MIDI, system exclusive or another type), a raw offset and three MIDI bytes. Any
// status, offset and count leaves every output sample finite and within the output bound,
// and every parameter within its range.
#include "FuzzInstrument.h"
#include "synth/Thumpgeist.h"

#include <array>

namespace
{
constexpr int kMaxEvents = 64;
constexpr int kMaxFrames = 1024; // up to twice the block size

// The events record with room for kMaxEvents pointers (the same layout as VstEvents).
struct EventList
{
  int32_t numEvents = 0;
  intptr_t reserved = 0;
  std::array<Vst::VstEvent*, kMaxEvents> events{};
};
static_assert(offsetof(EventList, events) == offsetof(Vst::VstEvents, events));
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) // NOLINT
{
  Fuzz::Instrument& inst = Fuzz::TheInstrument();
  static std::array<float, kMaxFrames> left, right;
  static char sysex[4] = {char(0xF0), 0x7E, 0x01, char(0xF7)};
  std::array<Vst::VstMidiEvent, kMaxEvents> midi{};
  std::array<Vst::VstMidiSysexEvent, kMaxEvents> dumps{};
  size_t at = 0;
  while (size - at >= 3)
  {
    EventList list;
    const int wanted = data[at] % (kMaxEvents + 1);
    const int frames = (data[at + 1] | data[at + 2] << 8) % (kMaxFrames + 1);
    at += 3;
    for (; list.numEvents < wanted && size - at >= 8; at += 8)
    {
      const int i = list.numEvents++;
      int32_t offset = 0;
      std::memcpy(&offset, data + at + 1, 4);
      if (data[at] % 4 == 3)
      {
        dumps[size_t(i)] = {Vst::kVstSysExType,
                            int32_t(sizeof dumps[0]),
                            offset,
                            0,
                            int32_t(sizeof sysex),
                            0,
                            sysex,
                            0};
        list.events[size_t(i)] = reinterpret_cast<Vst::VstEvent*>(&dumps[size_t(i)]);
        continue;
      }
      Vst::VstMidiEvent& e = midi[size_t(i)];
      e = {};
      e.type = data[at] % 4 == 2 ? int32_t(data[at]) : Vst::kVstMidiType;
      e.byteSize = int32_t(sizeof e);
      e.deltaFrames = offset;
      std::memcpy(e.midiData, data + at + 5, 3);
      list.events[size_t(i)] = data[at] == 0xFF ? nullptr : reinterpret_cast<Vst::VstEvent*>(&e);
    }
    Fuzz::Require(inst.Dispatch(Vst::effProcessEvents, 0, 0, &list) == 1,
                  "effProcessEvents takes every list");
    float* outputs[2] = {left.data(), right.data()};
    inst.effect->processReplacing(inst.effect, nullptr, outputs, frames);
    for (int k = 0; k < frames; ++k)
      Fuzz::Require(std::isfinite(left[size_t(k)]) && std::isfinite(right[size_t(k)]) &&
                        std::fabs(left[size_t(k)]) <= float(Thumpgeist::kLimitOff) &&
                        std::fabs(right[size_t(k)]) <= float(Thumpgeist::kLimitOff),
                    "every output sample is finite and within the output bound");
  }
  const auto* synth = static_cast<const Thumpgeist*>(inst.plug);
  Fuzz::Require(synth->Midi().Count() <= synth->Midi().Capacity(), "the queue holds its events");
  for (int i = 0; i < inst.plug->NParams(); ++i)
  {
    const IParameter* param = inst.plug->GetParam(i);
    Fuzz::Require(param->Value() >= param->Min() && param->Value() <= param->Max(),
                  "every parameter stays within its range");
  }
  return 0;
}
