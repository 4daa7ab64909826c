// The master effect chain as a listener hears it: each unit measured on rendered notes
// through the VST 2.4 interface. Parameter values are loaded as a state, so they are the
// exact values (0.0001 stays 0.0001) rather than what the host's 0..1 range rounds to.
#include "ModuleFixture.h"

#include <cstring>
#include <utility>

namespace
{
using Values = std::vector<std::pair<int, double>>;

constexpr size_t kValuesAt = 8 + 4 + 8 * 512; // chunk header, count, curve

// A held 220 Hz sine at a steady level: no pitch sweep, full sustain, effects neutral.
const Values kSteadyTone = {{88, 0.0}, {65, 1.0}, {133, 0.0}};

// How bright a signal is: the RMS of its first difference over its RMS (2 sin(pi f/fs)
// for a sine of f Hz); harmonics and high bands raise it.
double Brightness(const std::vector<double>& x, size_t from, size_t to)
{
  std::vector<double> d;
  for (size_t i = from + 1; i < to; ++i)
    d.push_back(x[i] - x[i - 1]);
  return Rms(d, 0, d.size()) / Rms(x, from, to);
}

double MaxDifference(const Channels& a, const Channels& b)
{
  double d = 0.0;
  for (size_t c = 0; c < 2; ++c)
    for (size_t i = 0; i < a[c].size(); ++i)
      d = std::max(d, std::fabs(a[c][i] - b[c][i]));
  return d;
}

struct Take
{
  Values values;
  int note = 57;
  int frames = 16384;
  int noteLength = 0; // samples; 0 holds the note
  double tempo = 120.0;
};

// A fresh instance with the tone's values and then the take's, one note, rendered.
Channels Render(const Take& take, const Values& base = kSteadyTone)
{
  VstHost::PluginInstance p;
  EXPECT_TRUE(p.Load(TG_MODULE_PATH));
  p.SetTempo(take.tempo);
  p.Start(44100.0, 256);
  std::vector<uint8_t> chunk = p.GetChunk(false);
  for (const Values* list : {&base, &take.values})
    for (const auto& [index, value] : *list)
      std::memcpy(chunk.data() + kValuesAt + 8 * size_t(index), &value, 8);
  EXPECT_EQ(p.SetChunk(chunk, false), 1);
  p.NoteOn(0, take.note, 127);
  if (take.noteLength > 0)
    p.NoteOff(take.noteLength, take.note);
  Channels out;
  p.Render(out, take.frames);
  EXPECT_TRUE(AllFinite(out));
  return out;
}
} // namespace

TEST(EffectChain, EachUnitIsHeardWhenOnAndSilentWhenOff)
{
  const Channels dry = Render({});
  ASSERT_GT(Rms(dry[0], 8192, 16384), 0.05);
  struct Case
  {
    const char* unit;
    Values settings;
    int onOff;          // the unit's switch: only exactly 0 is off
    double onValue;     // what the switch holds while on
    double minDifference; // from the dry tone, while on
  };
  const Case cases[] = {
      {"distortion", {{101, 0.8}}, 100, 1.0, 0.05},
      {"distortion counts 0.0001 as on", {{101, 0.8}}, 100, 0.0001, 0.05},
      {"bit quantizer", {{110, 0.1}}, 100, 1.0, 0.01},
      {"sample-rate reduction", {{111, 0.3}}, 100, 1.0, 0.01},
      {"gate", {{112, 0.8}}, 100, 1.0, 0.01},
      {"dynamic shaper", {{105, 0.9}}, 100, 1.0, 0.01},
      {"filter", {{116, 0.3}}, 113, 1.0, 0.05},
      {"filter counts 0.0001 as on", {{116, 0.3}}, 113, 0.0001, 0.05},
      {"ring modulator", {{122, 1.0}, {123, 0.2}}, 121, 1.0, 0.05},
      {"phaser", {{125, 1.0}, {127, 0.5}}, 121, 0.0001, 0.01},
  };
  for (const Case& c : cases)
  {
    SCOPED_TRACE(c.unit);
    Values on = c.settings, off = c.settings;
    on.emplace_back(c.onOff, c.onValue);
    off.emplace_back(c.onOff, 0.0);
    EXPECT_GT(MaxDifference(Render({on}), dry), c.minDifference);
    // Switched off, its settings change nothing: what the switch's fade (a few hundred
    // samples from the load) let through has died away below -120 dB after 0.28 s in the
    // units downstream (the dump/expand's 20 Hz high-pass rings longest).
    Channels offTail = Render({off}), plainTail = Render({{{c.onOff, 0.0}}});
    for (Channels* tail : {&offTail, &plainTail})
      for (auto& ch : *tail)
        ch.erase(ch.begin(), ch.begin() + 12288);
    EXPECT_LT(MaxDifference(offTail, plainTail), 1e-6);
  }
}

TEST(EffectChain, EachUnitMovesTheSpectrumItsWay)
{
  auto brightness = [](const Values& values)
  { return Brightness(Render({values})[0], 8192, 16384); };
  const double dry = brightness({});
  // Harmonics grow with the distortion amount.
  const double d1 = brightness({{101, 0.2}}), d2 = brightness({{101, 0.5}}),
               d3 = brightness({{101, 0.9}});
  EXPECT_LT(dry * 1.05, d1);
  EXPECT_LT(d1, d2);
  EXPECT_LT(d2, d3);
  // The filter's cutoff moves the spectrum of a bright (distorted) tone down.
  const double open = brightness({{101, 0.9}, {116, 1.0}});
  const double half = brightness({{101, 0.9}, {116, 0.55}});
  const double closed = brightness({{101, 0.9}, {116, 0.35}});
  EXPECT_LT(half, open * 0.9);
  EXPECT_LT(closed, half * 0.9);
  // The equaliser's bands tilt it: more bass darker, more treble brighter.
  const double flat = brightness({{101, 0.9}});
  EXPECT_LT(brightness({{101, 0.9}, {96, 1.0}}), flat * 0.9);
  EXPECT_GT(brightness({{101, 0.9}, {98, 1.0}}), flat * 1.1);
  // The mid band lifts or cuts the harmonics around its centre: either way it is heard.
  EXPECT_GT(std::fabs(brightness({{101, 0.9}, {97, 1.0}}) / flat - 1.0), 0.05);
  EXPECT_GT(std::fabs(brightness({{101, 0.9}, {97, 0.0}}) / flat - 1.0), 0.05);
  // The dump/expand sweep: its low-pass half darkens, its high-pass half brightens.
  EXPECT_LT(brightness({{101, 0.9}, {99, 0.1}}), flat * 0.9);
  EXPECT_GT(brightness({{101, 0.9}, {99, 0.9}}), flat * 1.1);
}

TEST(EffectChain, TheTempoDelayRepeatsAShortNoteOneBeatLater)
{
  for (double tempo : {120.0, 150.0})
  {
    SCOPED_TRACE(tempo);
    const int beat = int(44100.0 * 60.0 / tempo);
    Take take{{{128, 0.0}}, 57, beat + 8192, 2000, tempo};
    const Channels plain = Render(take, kSteadyTone);
    take.values = {{128, 0.8}};
    const Channels echoed = Render(take, kSteadyTone);
    const double note = Rms(plain[0], 0, 2000);
    // Without the delay the beat is quiet; with it the note comes back there, not before.
    EXPECT_LT(Rms(plain[0], size_t(beat), size_t(beat) + 2000), note * 0.01);
    EXPECT_GT(Rms(echoed[0], size_t(beat), size_t(beat) + 2000), note * 0.3);
    EXPECT_LT(Rms(echoed[0], size_t(beat) - 3000, size_t(beat) - 100), note * 0.05);
  }
}

TEST(EffectChain, BypassLeavesOnlyTheOutputStages)
{
  const Values everything = {{101, 0.9}, {116, 0.3}, {122, 1.0}, {125, 1.0},
                             {96, 1.0},  {99, 0.9},  {110, 0.2}, {105, 0.8}};
  Values bypassed = everything;
  bypassed.emplace_back(132, 1.0);
  // With all effects bypassed the effect settings change nothing ...
  EXPECT_LT(MaxDifference(Render({bypassed}), Render({{{132, 1.0}}})), 1e-12);
  // ... while the output stages still act: each setting against the same without it.
  struct Stage
  {
    const char* name;
    Values with, without;
  };
  const Stage stages[] = {
      {"output saturation", {{135, 0.8}}, {}},
      {"dry/wet mixes the voices with their saturated copy", {{135, 0.8}, {136, 0.0}}, {{135, 0.8}}},
      {"bass layer", {{80, 1.0}}, {}},
      {"tempo delay", {{128, 0.8}}, {}},
      {"volume", {{138, 0.2}}, {}},
      {"pan", {{134, 0.1}}, {}},
      {"limit", {{138, 1.0}, {133, 1.0}}, {{138, 1.0}}},
  };
  auto render = [&](const Values& extra)
  {
    Values v = bypassed;
    v.insert(v.end(), extra.begin(), extra.end());
    // (long enough for the delay's first repeat, one beat at 120 BPM)
    return Render({v, 57, 26000});
  };
  for (const Stage& stage : stages)
    EXPECT_GT(MaxDifference(render(stage.with), render(stage.without)), 0.01) << stage.name;
  // The limit holds the loud tone inside 0.98777.
  const Channels limited = render({{138, 1.0}, {133, 1.0}});
  for (const auto& ch : limited)
    for (double x : ch)
      ASSERT_LE(std::fabs(x), 0.98777);
}

TEST(EffectChain, OnlyExactlyOneRoutesTheBassLayerThroughTheFilter)
{
  // The bass layer alone, with a filter that would change it a lot.
  const Values bass = {{80, 1.0}, {81, 1.0}, {116, 0.2}, {101, 0.0}};
  auto render = [&](double toFilter)
  {
    Values v = bass;
    v.emplace_back(82, toFilter);
    return Render({v});
  };
  const Channels dry = render(0.0), almost = render(0.999), routed = render(1.0);
  ASSERT_GT(Rms(dry[0], 8192, 16384), 0.01);
  EXPECT_EQ(almost, dry);
  EXPECT_GT(MaxDifference(routed, dry), 0.01);
}

TEST(EffectChain, StatesCarryTheCurveBitForBitAndShortOnesFail)
{
  VstHost::PluginInstance p;
  ASSERT_TRUE(p.Load(TG_MODULE_PATH));
  p.Start(44100.0, 256);
  std::vector<uint8_t> chunk = p.GetChunk(false);
  ASSERT_EQ(chunk.size(), 5388u);
  // A curve no type has, and values that are not on any host step.
  for (size_t i = 0; i < 512; ++i)
  {
    const double point = std::sin(double(i) * 0.37) * 0.999;
    std::memcpy(chunk.data() + 12 + 8 * i, &point, 8);
  }
  const double odd = 0.123456789012345, bassLayer = 1.2;
  std::memcpy(chunk.data() + kValuesAt + 8 * 9, &odd, 8);
  std::memcpy(chunk.data() + kValuesAt + 8 * 80, &bassLayer, 8);
  ASSERT_EQ(p.SetChunk(chunk, false), 1);
  EXPECT_EQ(p.GetChunk(false), chunk);

  // Twelve bytes of state: every point takes the one value, and the load fails.
  std::vector<uint8_t> shortChunk(chunk.begin(), chunk.begin() + 8 + 12);
  const double one = 0.375;
  std::memcpy(shortChunk.data() + 12, &one, 8);
  EXPECT_EQ(p.SetChunk(shortChunk, false), 0);
  const std::vector<uint8_t> after = p.GetChunk(false);
  for (size_t i = 0; i < 512; ++i)
  {
    double point = 0.0;
    std::memcpy(&point, after.data() + 12 + 8 * i, 8);
    ASSERT_EQ(point, one) << i;
  }
}
