#include "host/MidiFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

namespace VstHost
{
namespace
{
uint32_t Be32(const uint8_t* p)
{
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}
uint16_t Be16(const uint8_t* p) { return uint16_t(p[0] << 8 | p[1]); }

// A variable-length quantity: at most four bytes of seven bits. false when it runs
// past the end or is longer than four bytes.
bool ReadVarLen(const uint8_t* data, size_t size, size_t& pos, uint32_t& value)
{
  value = 0;
  for (int i = 0; i < 4; ++i)
  {
    if (pos >= size)
      return false;
    const uint8_t b = data[pos++];
    value = value << 7 | (b & 0x7F);
    if (!(b & 0x80))
      return true;
  }
  return false;
}
} // namespace

bool MidiFile::Fail(const std::string& message)
{
  error = message;
  events.clear();
  tempoMap.assign(1, MidiTempoChange{0, 0.0, kDefaultMicrosPerQuarter});
  format = trackCount = ticksPerQuarter = 0;
  smpteTicksPerSecond = 0.0;
  lengthTicks = 0;
  return false;
}

bool MidiFile::Load(const std::string& path)
{
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return Fail("cannot open " + path);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
  if (in.bad())
    return Fail("cannot read " + path);
  return Parse(bytes.data(), bytes.size());
}

bool MidiFile::Parse(const uint8_t* data, size_t size)
{
  Fail("");
  if (!data || size < 14 || std::memcmp(data, "MThd", 4) != 0)
    return Fail("not a Standard MIDI File (no MThd header)");
  const uint32_t headerLength = Be32(data + 4);
  if (headerLength < 6 || headerLength > size - 8)
    return Fail("bad header length");
  const int fileFormat = Be16(data + 8);
  const int declaredTracks = Be16(data + 10);
  const uint16_t division = Be16(data + 12);
  if (fileFormat == 2)
    return Fail("format 2 (independent sequences) is not supported");
  if (fileFormat > 2)
    return Fail("unknown format " + std::to_string(fileFormat));
  if (division & 0x8000)
  {
    const int fps = -int(int8_t(division >> 8));
    const int ticksPerFrame = division & 0xFF;
    if (fps <= 0 || ticksPerFrame == 0)
      return Fail("bad SMPTE time division");
    smpteTicksPerSecond = (fps == 29 ? 30000.0 / 1001.0 : double(fps)) * ticksPerFrame;
    ticksPerQuarter = fps * ticksPerFrame;
  }
  else
  {
    if (division == 0)
      return Fail("time division of 0 ticks per quarter note");
    ticksPerQuarter = division;
  }
  format = fileFormat;

  std::vector<MidiTempoChange> tempos;
  size_t pos = 8 + headerLength;
  int tracks = 0;
  while (tracks < declaredTracks && pos + 8 <= size)
  {
    const uint32_t length = Be32(data + pos + 4);
    const bool isTrack = std::memcmp(data + pos, "MTrk", 4) == 0;
    pos += 8;
    if (length > size - pos)
      return Fail("chunk " + std::to_string(tracks + 1) + " runs past the end of the file");
    if (isTrack)
    {
      if (!ParseTrack(data + pos, length, tracks, tempos))
        return false;
      ++tracks;
    }
    pos += length; // other chunks are skipped
  }
  if (tracks < declaredTracks)
    return Fail("the file ends after " + std::to_string(tracks) + " of " +
                std::to_string(declaredTracks) + " tracks");
  trackCount = tracks;
  // Tracks were appended one after another: a stable sort keeps equal ticks in track
  // order, then file order.
  std::stable_sort(events.begin(), events.end(),
                   [](const MidiFileEvent& a, const MidiFileEvent& b) { return a.tick < b.tick; });
  BuildTempoMap(tempos);
  for (MidiFileEvent& e : events)
    e.seconds = TickToSeconds(e.tick);
  error.clear();
  return true;
}

bool MidiFile::ParseTrack(const uint8_t* data, size_t size, int track,
                          std::vector<MidiTempoChange>& tempos)
{
  const std::string where = "track " + std::to_string(track + 1) + ": ";
  size_t pos = 0;
  int64_t tick = 0;
  uint8_t running = 0;
  while (pos < size)
  {
    uint32_t delta = 0;
    if (!ReadVarLen(data, size, pos, delta))
      return Fail(where + "bad delta time");
    tick += delta;
    if (pos >= size)
      return Fail(where + "ends inside an event");
    const uint8_t lead = data[pos];
    if (lead == 0xFF)
    {
      if (pos + 2 > size)
        return Fail(where + "ends inside a meta event");
      const uint8_t type = data[pos + 1];
      pos += 2;
      uint32_t length = 0;
      if (!ReadVarLen(data, size, pos, length) || length > size - pos)
        return Fail(where + "meta event runs past the track");
      if (type == 0x51 && length >= 3)
      {
        const uint32_t micros =
            uint32_t(data[pos]) << 16 | uint32_t(data[pos + 1]) << 8 | data[pos + 2];
        if (micros > 0) // a tempo of 0 would stop time; it is ignored
          tempos.push_back({tick, 0.0, micros});
      }
      pos += length;
      if (type == 0x2F)
        break; // end of track
      continue;
    }
    if (lead == 0xF0 || lead == 0xF7)
    {
      ++pos;
      uint32_t length = 0;
      if (!ReadVarLen(data, size, pos, length) || length > size - pos)
        return Fail(where + "system-exclusive block runs past the track");
      pos += length;
      running = 0; // system messages cancel running status
      continue;
    }
    uint8_t status = running;
    if (lead & 0x80)
    {
      if (lead >= 0xF0)
        return Fail(where + "unexpected system message in a track");
      status = lead;
      ++pos;
    }
    else if (!running)
      return Fail(where + "data byte without a status");
    running = status;
    const int type = status & 0xF0;
    const size_t dataBytes = (type == 0xC0 || type == 0xD0) ? 1 : 2;
    if (pos + dataBytes > size)
      return Fail(where + "ends inside a channel message");
    MidiFileEvent e;
    e.tick = tick;
    e.track = track;
    e.status = status;
    e.data1 = data[pos];
    e.data2 = dataBytes == 2 ? data[pos + 1] : 0;
    if ((e.data1 | e.data2) & 0x80)
      return Fail(where + "status byte where a data byte belongs");
    pos += dataBytes;
    events.push_back(e);
  }
  lengthTicks = std::max(lengthTicks, tick);
  return true;
}

void MidiFile::BuildTempoMap(std::vector<MidiTempoChange>& tempos)
{
  std::stable_sort(tempos.begin(), tempos.end(),
                   [](const MidiTempoChange& a, const MidiTempoChange& b)
                   { return a.tick < b.tick; });
  tempoMap.assign(1, MidiTempoChange{0, 0.0, kDefaultMicrosPerQuarter});
  for (const MidiTempoChange& t : tempos)
  {
    MidiTempoChange& last = tempoMap.back();
    if (t.tick == last.tick)
    {
      last.microsPerQuarter = t.microsPerQuarter; // the later change at one tick wins
      continue;
    }
    const double seconds =
        last.seconds + double(t.tick - last.tick) * last.microsPerQuarter / 1e6 / ticksPerQuarter;
    tempoMap.push_back({t.tick, seconds, t.microsPerQuarter});
  }
}

double MidiFile::InitialBpm() const
{
  return tempoMap.empty() ? 120.0 : 60e6 / tempoMap.front().microsPerQuarter;
}

double MidiFile::TickToSeconds(int64_t tick) const
{
  if (smpteTicksPerSecond > 0.0)
    return double(tick) / smpteTicksPerSecond;
  if (tempoMap.empty() || ticksPerQuarter <= 0)
    return 0.0;
  auto it = std::upper_bound(tempoMap.begin(), tempoMap.end(), tick,
                             [](int64_t t, const MidiTempoChange& c) { return t < c.tick; });
  const MidiTempoChange& c = it == tempoMap.begin() ? tempoMap.front() : *std::prev(it);
  return c.seconds + double(tick - c.tick) * c.microsPerQuarter / 1e6 / ticksPerQuarter;
}

int64_t MidiFile::SecondsToSample(double seconds, double sampleRate)
{
  return int64_t(std::llround(seconds * sampleRate));
}
} // namespace VstHost
