// The host library's Standard MIDI File reader. A refused file leaves nothing behind (no
// events, the default tempo); an accepted one holds channel messages with data bytes
// below 128, in tick order, at finite, non-decreasing times within the song's length.
#include "FuzzInstrument.h"
#include "host/MidiFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) // NOLINT
{
  static VstHost::MidiFile file;
  if (!file.Parse(data, size))
  {
    Fuzz::Require(!file.Error().empty(), "a refused file says why");
    Fuzz::Require(file.Events().empty() && file.TempoMap().size() == 1 &&
                      file.TempoMap()[0].microsPerQuarter ==
                          VstHost::MidiFile::kDefaultMicrosPerQuarter,
                  "a refused file leaves nothing behind");
    return 0;
  }
  Fuzz::Require(file.Format() == 0 || file.Format() == 1, "only formats 0 and 1 are read");
  Fuzz::Require(file.TicksPerQuarter() > 0, "a file has a time division");
  const auto& tempos = file.TempoMap();
  Fuzz::Require(!tempos.empty() && tempos[0].tick == 0, "the tempo map starts at tick 0");
  for (size_t i = 0; i < tempos.size(); ++i)
  {
    Fuzz::Require(tempos[i].microsPerQuarter > 0 && std::isfinite(tempos[i].seconds),
                  "every tempo is a tempo at a finite time");
    Fuzz::Require(i == 0 || (tempos[i].tick > tempos[i - 1].tick &&
                             tempos[i].seconds >= tempos[i - 1].seconds),
                  "tempo changes are in order");
  }
  const VstHost::MidiFileEvent* previous = nullptr;
  for (const VstHost::MidiFileEvent& e : file.Events())
  {
    Fuzz::Require(e.status >= 0x80 && e.status < 0xF0 && e.data1 < 0x80 && e.data2 < 0x80,
                  "every event is a channel message");
    Fuzz::Require(e.tick >= 0 && e.tick <= file.LengthTicks(), "every event lies in the song");
    Fuzz::Require(std::isfinite(e.seconds) && e.seconds >= 0.0, "every event has a time");
    Fuzz::Require(!previous || (e.tick >= previous->tick && e.seconds >= previous->seconds),
                  "events are in time order");
    Fuzz::Require(e.track >= 0 && e.track < file.TrackCount(), "every event has its track");
    previous = &e;
  }
  Fuzz::Require(std::isfinite(file.LengthSeconds()) && std::isfinite(file.InitialBpm()),
                "the song has a finite length and tempo");
  return 0;
}
