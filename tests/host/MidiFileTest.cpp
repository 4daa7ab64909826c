#include "host/MidiFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

using VstHost::MidiFile;

namespace
{
using Bytes = std::vector<uint8_t>;

void Put32(Bytes& b, uint32_t v)
{
  for (int s = 24; s >= 0; s -= 8)
    b.push_back(uint8_t(v >> s));
}

void PutVarLen(Bytes& b, uint32_t v)
{
  uint8_t groups[5];
  int n = 0;
  do
  {
    groups[n++] = uint8_t(v & 0x7F);
    v >>= 7;
  } while (v);
  while (n > 1)
    b.push_back(uint8_t(groups[--n] | 0x80));
  b.push_back(groups[0]);
}

// One track's events, written as a test would read them: delta, then raw bytes.
struct Track
{
  Bytes data;
  Track& Ev(uint32_t delta, std::initializer_list<uint8_t> bytes)
  {
    PutVarLen(data, delta);
    data.insert(data.end(), bytes);
    return *this;
  }
  Track& Tempo(uint32_t delta, uint32_t micros)
  {
    return Ev(delta,
              {0xFF, 0x51, 0x03, uint8_t(micros >> 16), uint8_t(micros >> 8), uint8_t(micros)});
  }
  Track& End(uint32_t delta = 0) { return Ev(delta, {0xFF, 0x2F, 0x00}); }
};

Bytes Smf(int format, uint16_t division, const std::vector<Track>& tracks)
{
  Bytes b = {'M', 'T', 'h', 'd'};
  Put32(b, 6);
  b.insert(b.end(), {uint8_t(format >> 8), uint8_t(format), uint8_t(tracks.size() >> 8),
                     uint8_t(tracks.size()), uint8_t(division >> 8), uint8_t(division)});
  for (const Track& t : tracks)
  {
    b.insert(b.end(), {'M', 'T', 'r', 'k'});
    Put32(b, uint32_t(t.data.size()));
    b.insert(b.end(), t.data.begin(), t.data.end());
  }
  return b;
}

bool Parse(MidiFile& f, const Bytes& b) { return f.Parse(b.data(), b.size()); }
} // namespace

TEST(MidiFileTest, Format0WithRunningStatusAndEveryChannelMessageKind)
{
  Track t;
  t.Ev(0, {0x90, 36, 100})
      .Ev(240, {38, 90})               // running status: note-on
      .Ev(240, {36, 0})                // running status: velocity 0
      .Ev(0, {0xE1, 0x00, 0x40})       // pitch bend centre on channel 2
      .Ev(0, {0x00, 0x00})             // running status: bend down fully
      .Ev(10, {0xC3, 5})               // program change: one data byte
      .Ev(0, {7})                      // running status with one data byte
      .Ev(10, {0xB0, 7, 100})          // control change
      .Ev(0, {0xF0, 0x02, 0x7E, 0xF7}) // system exclusive cancels running status
      .Ev(0, {0x80, 38, 64})
      .End(460);
  MidiFile f;
  ASSERT_TRUE(Parse(f, Smf(0, 480, {t}))) << f.Error();
  EXPECT_EQ(f.Format(), 0);
  EXPECT_EQ(f.TrackCount(), 1);
  EXPECT_EQ(f.TicksPerQuarter(), 480);
  const auto& e = f.Events();
  ASSERT_EQ(e.size(), 9u);
  const int status[] = {0x90, 0x90, 0x90, 0xE1, 0xE1, 0xC3, 0xC3, 0xB0, 0x80};
  const int data1[] = {36, 38, 36, 0, 0, 5, 7, 7, 38};
  const int data2[] = {100, 90, 0, 0x40, 0, 0, 0, 100, 64};
  const int64_t tick[] = {0, 240, 480, 480, 480, 490, 490, 500, 500};
  for (size_t i = 0; i < e.size(); ++i)
  {
    EXPECT_EQ(e[i].status, status[i]) << i;
    EXPECT_EQ(e[i].data1, data1[i]) << i;
    EXPECT_EQ(e[i].data2, data2[i]) << i;
    EXPECT_EQ(e[i].tick, tick[i]) << i;
  }
  // 120 beats per minute without a tempo event: 480 ticks are half a second.
  EXPECT_DOUBLE_EQ(e[1].seconds, 0.25);
  EXPECT_DOUBLE_EQ(e[2].seconds, 0.5);
  EXPECT_EQ(MidiFile::SecondsToSample(e[2].seconds, 44100.0), 22050);
  EXPECT_EQ(MidiFile::SecondsToSample(e[1].seconds, 48000.0), 12000);
  EXPECT_EQ(f.LengthTicks(), 960);
  EXPECT_DOUBLE_EQ(f.LengthSeconds(), 1.0);
  EXPECT_DOUBLE_EQ(f.InitialBpm(), 120.0);
}

TEST(MidiFileTest, TempoChangesInTheFirstTrackTimeEveryTrack)
{
  Track conductor;
  conductor
      .Tempo(0, 600000)    // 100 bpm
      .Tempo(960, 250000)  // 240 bpm from tick 960
      .Tempo(480, 1000000) // 60 bpm from tick 1440
      .End();
  Track notes;
  notes
      .Ev(480, {0x90, 60, 100}) // 0.6 s
      .Ev(960, {0x80, 60, 0})   // tick 1440: 1.2 + 0.25 = 1.45 s
      .Ev(480, {0x90, 62, 100}) // tick 1920: 1.45 + 1.0 = 2.45 s
      .End(96);
  MidiFile f;
  ASSERT_TRUE(Parse(f, Smf(1, 480, {conductor, notes}))) << f.Error();
  ASSERT_EQ(f.TempoMap().size(), 3u);
  EXPECT_EQ(f.TempoMap()[1].tick, 960);
  EXPECT_DOUBLE_EQ(f.TempoMap()[1].seconds, 1.2);
  EXPECT_DOUBLE_EQ(f.TempoMap()[2].seconds, 1.45);
  EXPECT_DOUBLE_EQ(f.InitialBpm(), 100.0);
  ASSERT_EQ(f.Events().size(), 3u);
  EXPECT_DOUBLE_EQ(f.Events()[0].seconds, 0.6);
  EXPECT_DOUBLE_EQ(f.Events()[1].seconds, 1.45);
  EXPECT_DOUBLE_EQ(f.Events()[2].seconds, 2.45);
  EXPECT_EQ(MidiFile::SecondsToSample(f.Events()[1].seconds, 44100.0), 63945);
  EXPECT_EQ(f.LengthTicks(), 2016);
  EXPECT_DOUBLE_EQ(f.LengthSeconds(), 2.65);
}

TEST(MidiFileTest, Format1MergesTracksKeepingTrackOrderAtEqualTicks)
{
  Track a, b, c;
  a.Ev(100, {0x90, 40, 1}).Ev(100, {0x80, 40, 0}).End();
  b.Ev(0, {0x91, 50, 2}).Ev(200, {0x81, 50, 0}).Ev(0, {0x91, 51, 3}).End();
  c.Ev(100, {0xB2, 1, 4}).Ev(50, {0xB2, 1, 5}).End();
  MidiFile f;
  ASSERT_TRUE(Parse(f, Smf(1, 96, {a, b, c}))) << f.Error();
  EXPECT_EQ(f.TrackCount(), 3);
  const auto& e = f.Events();
  ASSERT_EQ(e.size(), 7u);
  const int64_t ticks[] = {0, 100, 100, 150, 200, 200, 200};
  const int tracks[] = {1, 0, 2, 2, 0, 1, 1};
  const int data1[] = {50, 40, 1, 1, 40, 50, 51};
  for (size_t i = 0; i < e.size(); ++i)
  {
    EXPECT_EQ(e[i].tick, ticks[i]) << i;
    EXPECT_EQ(e[i].track, tracks[i]) << i;
    EXPECT_EQ(e[i].data1, data1[i]) << i;
  }
}

TEST(MidiFileTest, SmpteDivisionCountsTicksPerSecond)
{
  Track t;
  t.Tempo(0, 250000).Ev(500, {0x90, 60, 100}).End(1000); // tempo has no effect here
  MidiFile f;
  // -25 frames per second, 40 ticks per frame: 1000 ticks per second.
  ASSERT_TRUE(Parse(f, Smf(0, uint16_t(0xE700 | 40), {t}))) << f.Error();
  EXPECT_TRUE(f.IsSmpte());
  ASSERT_EQ(f.Events().size(), 1u);
  EXPECT_DOUBLE_EQ(f.Events()[0].seconds, 0.5);
  EXPECT_DOUBLE_EQ(f.LengthSeconds(), 1.5);
}

TEST(MidiFileTest, ForeignChunksAreSkippedAndFilesLoadFromDisk)
{
  Track t;
  t.Ev(0, {0x90, 60, 100}).End(480);
  Bytes b = Smf(0, 480, {t});
  // A foreign chunk between the header and the track.
  const Bytes foreign = {'X', 'Y', 'Z', 'W', 0, 0, 0, 3, 1, 2, 3};
  b.insert(b.begin() + 14, foreign.begin(), foreign.end());
  const std::string path = std::string(TG_TEST_TMP_DIR) + "/midifile_test.mid";
  FILE* out = std::fopen(path.c_str(), "wb");
  ASSERT_NE(out, nullptr);
  std::fwrite(b.data(), 1, b.size(), out);
  std::fclose(out);
  MidiFile f;
  ASSERT_TRUE(f.Load(path)) << f.Error();
  EXPECT_EQ(f.Events().size(), 1u);
  EXPECT_FALSE(f.Load(path + ".missing"));
  EXPECT_TRUE(f.Events().empty());
  EXPECT_FALSE(f.Error().empty());
}

TEST(MidiFileTest, DamagedFilesAreRefusedWithAReason)
{
  Track good;
  good.Ev(0, {0x90, 60, 100}).End(10);
  const Bytes valid = Smf(0, 480, {good});
  MidiFile f;
  ASSERT_TRUE(Parse(f, valid));

  std::vector<std::pair<std::string, Bytes>> cases;
  cases.push_back({"empty", {}});
  cases.push_back({"not MIDI", Bytes{'R', 'I', 'F', 'F', 0, 0, 0, 6, 0, 0, 0, 1, 1, 0xE0}});
  cases.push_back({"format 2", Smf(2, 480, {good})});
  cases.push_back({"division 0", Smf(0, 0, {good})});
  Bytes truncated = valid;
  truncated.resize(truncated.size() - 4);
  cases.push_back({"track past the end", truncated});
  Bytes missingTrack = valid;
  missingTrack[11] = 2; // declares two tracks
  cases.push_back({"missing track", missingTrack});
  Track noStatus;
  noStatus.Ev(0, {60, 100}).End();
  cases.push_back({"data byte first", Smf(0, 480, {noStatus})});
  Track afterSysex;
  afterSysex.Ev(0, {0x90, 60, 100}).Ev(0, {0xF0, 0x01, 0xF7}).Ev(0, {61, 100}).End();
  cases.push_back({"running status after sysex", Smf(0, 480, {afterSysex})});
  Track longDelta;
  longDelta.Ev(0, {0x90, 60, 100})
      .data.insert(longDelta.data.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x80, 60, 0});
  cases.push_back({"five-byte delta", Smf(0, 480, {longDelta})});
  Track cut;
  cut.Ev(0, {0x90, 60});
  cases.push_back({"cut message", Smf(0, 480, {cut})});
  Track longMeta;
  longMeta.Ev(0, {0xFF, 0x01, 0x20, 'a'});
  cases.push_back({"meta past the track", Smf(0, 480, {longMeta})});
  Track badData;
  badData.Ev(0, {0x90, 60, 0x90});
  cases.push_back({"status as data", Smf(0, 480, {badData})});

  for (const auto& [name, bytes] : cases)
  {
    ASSERT_TRUE(Parse(f, valid));
    EXPECT_FALSE(Parse(f, bytes)) << name;
    EXPECT_FALSE(f.Error().empty()) << name;
    EXPECT_TRUE(f.Events().empty()) << name;
  }
}

TEST(MidiFileTest, EveryCutOrFlippedByteEndsInAnAnswerNotACrash)
{
  Track conductor, notes;
  conductor.Tempo(0, 400000).Ev(0, {0xFF, 0x03, 0x04, 'S', 'o', 'n', 'g'}).Tempo(960, 300000).End();
  notes.Ev(0, {0x90, 36, 127})
      .Ev(120, {36, 0})
      .Ev(0, {0xF0, 0x03, 0x43, 0x12, 0xF7})
      .Ev(0, {0xE0, 0, 64})
      .End(10);
  const Bytes valid = Smf(1, 96, {conductor, notes});
  MidiFile f;
  for (size_t n = 0; n < valid.size(); ++n)
  {
    if (Parse(f, Bytes(valid.begin(), valid.begin() + std::ptrdiff_t(n))))
      EXPECT_TRUE(f.Error().empty());
    else
      EXPECT_FALSE(f.Error().empty()) << "cut at " << n;
  }
  for (size_t i = 0; i < valid.size(); ++i)
    for (uint8_t flip : {uint8_t(0x80), uint8_t(0xFF), uint8_t(0x01)})
    {
      Bytes b = valid;
      b[i] ^= flip;
      if (Parse(f, b))
        for (const auto& e : f.Events())
        {
          EXPECT_TRUE(e.status >= 0x80 && e.status < 0xF0);
          EXPECT_LT(e.data1 | e.data2, 0x80);
          EXPECT_GE(e.seconds, 0.0);
        }
    }
}
