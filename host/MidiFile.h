#pragma once
// A Standard MIDI File (format 0 or 1) read into one list of channel messages in time
// order, with each event's tick and its time in seconds through the file's tempo map.
// Format 1 tracks are merged; events at the same tick keep track order, then file order.
// Running status, meta events (tempo, end of track) and system-exclusive blocks are
// understood; only channel messages are kept as events.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace VstHost
{
struct MidiFileEvent
{
  int64_t tick = 0;
  double seconds = 0.0;
  int track = 0;
  uint8_t status = 0;
  uint8_t data1 = 0;
  uint8_t data2 = 0; // 0 for program change and channel pressure
};

struct MidiTempoChange
{
  int64_t tick = 0;
  double seconds = 0.0;          // when the change takes effect
  uint32_t microsPerQuarter = 0; // 500000 = 120 beats per minute
};

class MidiFile
{
public:
  static constexpr uint32_t kDefaultMicrosPerQuarter = 500000;

  // Reads and parses a file; false with Error() set when it cannot be read or parsed.
  bool Load(const std::string& path);
  // Parses a file held in memory. On failure the previous contents are cleared.
  bool Parse(const uint8_t* data, size_t size);
  const std::string& Error() const { return error; }

  int Format() const { return format; }
  int TrackCount() const { return trackCount; }
  // Ticks per quarter note; for SMPTE time division, ticks per frame times frames per second.
  int TicksPerQuarter() const { return ticksPerQuarter; }
  bool IsSmpte() const { return smpteTicksPerSecond > 0.0; }

  const std::vector<MidiFileEvent>& Events() const { return events; }
  // Tempo changes in tick order; always starts with one at tick 0.
  const std::vector<MidiTempoChange>& TempoMap() const { return tempoMap; }
  double InitialBpm() const;

  double TickToSeconds(int64_t tick) const;
  // The end of the song: the latest end-of-track or event.
  int64_t LengthTicks() const { return lengthTicks; }
  double LengthSeconds() const { return TickToSeconds(lengthTicks); }

  // The sample at which something at this time sounds (rounded to the nearest sample).
  static int64_t SecondsToSample(double seconds, double sampleRate);

private:
  bool Fail(const std::string& message);
  bool ParseTrack(const uint8_t* data, size_t size, int track,
                  std::vector<MidiTempoChange>& tempos);
  void BuildTempoMap(std::vector<MidiTempoChange>& tempos);

  std::string error;
  int format = 0;
  int trackCount = 0;
  int ticksPerQuarter = 0;
  double smpteTicksPerSecond = 0.0;
  int64_t lengthTicks = 0;
  std::vector<MidiFileEvent> events;
  std::vector<MidiTempoChange> tempoMap;
};
} // namespace VstHost
