// The factory programs as a host meets them: named slots whose states are complete
// instrument states, applied when the host selects them, while the instrument itself
// starts on the parameter defaults.
#include "ModuleFixture.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace
{
constexpr int kHeaderSize = 8;   // 'pfft' and the chunk version
constexpr int kStateSize = 5380; // count, 512 curve points, 160 values
constexpr size_t kValuesAt = 4 + 512 * 8;

const char* const kNames[128] = {"Basic Bass Drum 1",
                                 "Basic Bass Drum 2 (click)",
                                 "Basic Bass Drum 3 (click)",
                                 "Basic Kick Drum 1",
                                 "Basic Kick Drum 2",
                                 "Electronic Kick",
                                 "Tight Kick by Merrow",
                                 "Laser Kick",
                                 "Pulse Beat",
                                 "Oldschool Bass Drum 1",
                                 "Oldschool Bass Drum 2",
                                 "Oldschool Bass Drum 3",
                                 "Oldschool Bass Drum 4",
                                 "Oldschool Bass Drum 5",
                                 "#HARDCORE BASS DRUMS#",
                                 "Mainstream Bass Drum 1",
                                 "Mainstream Bass Drum 2",
                                 "Mainstream Bass Drum 3",
                                 "Next-Millenium Kick",
                                 "Darkcore Bass Drum 1",
                                 "Darkcore Bass Drum 2",
                                 "Rawstyle Kick",
                                 "Drenn Bass Drum",
                                 "Drenn Kick Drum",
                                 "Plexi-Drum",
                                 "Industrial Bass Drum",
                                 "Low Q Bass Drum 1",
                                 "Low Q Bass Drum 2",
                                 "Re-Born",
                                 "Tosk Doomcore-Kick",
                                 "Deep-Underground-Beat",
                                 "Bass-Megastructure",
                                 "Terrorcore Beat 1",
                                 "Terrorcore Beat 2",
                                 "Killer Beat",
                                 "Dirty Beat",
                                 "Frenchcore Kick",
                                 "Speedcore Kick 1",
                                 "Speedcore Kick 2",
                                 "Bounce Kick 1",
                                 "Bounce Kick 2",
                                 "NoiseCore Kick",
                                 "Amiga 8-bit Powerkick 1",
                                 "Amiga 8-bit Powerkick 2",
                                 "Brannow Kick Drum 1",
                                 "Brannow Kick Drum 2",
                                 "Vesko Kick Drum 1",
                                 "Vesko Kick Drum 2",
                                 "Da Thump Pusher",
                                 "Gabber Kick 1",
                                 "Gabber Kick 2",
                                 "Gabber Kick 3",
                                 "Korvane Kick Drum 1",
                                 "Korvane Kick Drum 2",
                                 "Korvane Kick Drum 3",
                                 "Korvane Kick Drum 4",
                                 "Thump-Geister Kick",
                                 "Dark Matter Detector",
                                 "Industrial Crunch",
                                 "Q.Flint Bass Drum 1",
                                 "Q.Flint Bass Drum 2",
                                 "#DRUM AND FX SECTION#",
                                 "Drum Body by Merrow",
                                 "Ride Cymbal by Pell_Ostrin",
                                 "Closed Hihat by Dovik",
                                 "Open Hihat by Merrow",
                                 "Snare-Drum",
                                 "A Coder Ate My Pigeon",
                                 "Silver Submarine",
                                 "Laser FX",
                                 "Ocean-Waves by Halvard",
                                 "#BASS SECTION#",
                                 "Raw Bassground",
                                 "The shadow out of bass",
                                 "Underground Dub Bass",
                                 "The Sorcery of D&B Bass",
                                 "Deadly Spell D&B Bass",
                                 "The Holy Thump",
                                 "Fusion Bass 1",
                                 "Fusion Bass 2",
                                 "Acid Tube Bass by Merrow",
                                 "#STRING INSTRUMENTS#",
                                 "Guitar by Halvard",
                                 "Osric Vael's Violin",
                                 "Virtual Cello",
                                 "Virtual Banjo",
                                 "#WIND INSTRUMENTS#",
                                 "Chinese Flute by Senna",
                                 "Virtual Horn",
                                 "Virtual Harmonica",
                                 "Harmonica by Halvard",
                                 "Dark Organ by Corvin Ash",
                                 "#PAD SECTION#",
                                 "Synth Choir by Merrow",
                                 "Relic Pad",
                                 "Raw Structured Pad",
                                 "Space-Cut Pad",
                                 "Prophecy Pad",
                                 "Delirium Pad",
                                 "#SYNTH SOUNDS#",
                                 "Saw Lead 1",
                                 "Saw Lead 2 (detuned)",
                                 "Saw Lead 3 (modulated)",
                                 "Super Saw Lead 1",
                                 "Super Saw Lead 2",
                                 "Classic Hardcore Lead",
                                 "Cyber Realizm",
                                 "Exothermic Hardstyle Lead",
                                 "Endothermic Hardcore Lead",
                                 "Square Lead 1",
                                 "Square Lead 2 (detuned)",
                                 "Chip-Tune-Geist D-16",
                                 "Chip-Tune-Geist M-16",
                                 "8-bit Retro (major)",
                                 "8-bit Retro (minor)",
                                 "1980 Game-Nation",
                                 "Tamsin's Happy Chord",
                                 "Positive Dub Madness",
                                 "High above the sky",
                                 "Dark Phuture Lead",
                                 "Event Horizon Lead (phased)",
                                 "Hard-D&B-Lead 1",
                                 "Filter Synth",
                                 "Q.Flint A-Y-Synth",
                                 "Big Pitcher",
                                 "Vibes 1",
                                 "Vibes 2",
                                 "Basic Sine wave"};

int32_t Int32At(const std::vector<uint8_t>& b, size_t at)
{
  int32_t v;
  std::memcpy(&v, b.data() + at, 4);
  return v;
}

double DoubleAt(const std::vector<uint8_t>& b, size_t at)
{
  double v;
  std::memcpy(&v, b.data() + at, 8);
  return v;
}

struct Slot
{
  std::string name;
  std::vector<uint8_t> state;
};

// The slots of a bank chunk; empty when the bank is not laid out as expected.
std::vector<Slot> SlotsOf(const std::vector<uint8_t>& bank)
{
  std::vector<Slot> slots;
  size_t at = kHeaderSize;
  while (at + 4 <= bank.size())
  {
    const size_t length = size_t(Int32At(bank, at));
    if (at + 4 + length + 1 + kStateSize > bank.size() || bank[at + 4 + length] != 1)
      return {};
    Slot s;
    s.name.assign(reinterpret_cast<const char*>(bank.data() + at + 4), length);
    const auto state = bank.begin() + std::ptrdiff_t(at + 4 + length + 1);
    s.state.assign(state, state + kStateSize);
    slots.push_back(s);
    at += 4 + length + 1 + kStateSize;
  }
  return at == bank.size() ? slots : std::vector<Slot>();
}
} // namespace

class FactoryProgramTest : public ModuleTest
{
protected:
  void SetUp() override
  {
    ModuleTest::SetUp();
    Start();
  }
};

TEST_F(FactoryProgramTest, TheInstrumentStartsOnTheDefaultsNotOnProgramZero)
{
  EXPECT_EQ(plug.GetProgram(), 0);
  EXPECT_EQ(plug.ProgramName(), "Basic Bass Drum 1");
  // Program 0 plays the fixed 44 Hz body through a closed filter; the defaults do not.
  EXPECT_EQ(plug.GetParameter(86), 0.0f); // "Note transpose mode"
  EXPECT_EQ(plug.GetParameter(9), 1.0f);  // "Osc1 filter cutoff"
  EXPECT_EQ(plug.GetParameter(21), 1.0f); // "Oscillator 2 On/Off"
  plug.SetProgram(0);
  EXPECT_FLOAT_EQ(plug.GetParameter(86), 4.0f / 9.0f);
  EXPECT_EQ(plug.GetParameter(9), 0.0f);
  EXPECT_EQ(plug.GetParameter(21), 0.0f);
}

TEST_F(FactoryProgramTest, EverySlotHoldsItsProgramAsACompleteStateThatSelectingApplies)
{
  EXPECT_EQ(plug.ProgramNameIndexed(29), "Tosk Doomcore-Kick");
  const std::vector<Slot> slots = SlotsOf(plug.GetChunk(true));
  ASSERT_EQ(slots.size(), 128u);
  for (int i = 0; i < 128; ++i)
  {
    const Slot& slot = slots[size_t(i)];
    EXPECT_EQ(slot.name, kNames[i]) << i;
    EXPECT_EQ(plug.ProgramNameIndexed(i), kNames[i]) << i;
    EXPECT_EQ(Int32At(slot.state, 0), 672) << i;
    // Selecting the slot applies its state: the program chunk is the header and the
    // slot's state, except that a tempo-synchronised LFO takes its rate from the host's
    // tempo (120 BPM here) in place of the stored one.
    plug.SetProgram(i);
    const std::vector<uint8_t> chunk = plug.GetChunk(false);
    ASSERT_EQ(chunk.size(), size_t(kHeaderSize + kStateSize)) << i;
    std::vector<uint8_t> expected = slot.state;
    for (int osc = 0; osc < 3; ++osc)
    {
      const size_t rate = kValuesAt + 8 * size_t(13 + 21 * osc);
      const double sync = DoubleAt(slot.state, kValuesAt + 8 * size_t(15 + 21 * osc));
      if (std::floor(sync * 9 + 0.5) == 0)
        continue;
      EXPECT_GT(DoubleAt(chunk, kHeaderSize + rate), 0.0) << i << " oscillator " << osc;
      std::copy_n(chunk.begin() + std::ptrdiff_t(kHeaderSize + rate), 8,
                  expected.begin() + std::ptrdiff_t(rate));
    }
    const auto differs =
        std::mismatch(expected.begin(), expected.end(), chunk.begin() + kHeaderSize);
    EXPECT_EQ(differs.first, expected.end())
        << i << " " << kNames[i] << ": first difference at byte "
        << (differs.first - expected.begin());
  }
}

TEST_F(FactoryProgramTest, EachSlotCarriesTheCurveOfItsDistortionType)
{
  const std::vector<Slot> slots = SlotsOf(plug.GetChunk(true));
  ASSERT_EQ(slots.size(), 128u);
  std::vector<const Slot*> byType(36, nullptr);
  int linear = 0;
  for (const Slot& slot : slots)
  {
    const double typeValue = DoubleAt(slot.state, kValuesAt + 8 * 102);
    const int type = int(std::floor(typeValue * 35 + 0.5));
    ASSERT_GE(type, 0);
    ASSERT_LT(type, 36);
    // Programs of one type carry the same curve.
    if (byType[size_t(type)])
    {
      EXPECT_TRUE(std::equal(slot.state.begin() + 4, slot.state.begin() + kValuesAt,
                             byType[size_t(type)]->state.begin() + 4))
          << slot.name;
    }
    byType[size_t(type)] = &slot;
    if (type != 0)
      continue;
    // "Linear" is the identity.
    ++linear;
    for (int k = 0; k < 512; k += 73)
      EXPECT_NEAR(DoubleAt(slot.state, 4 + 8 * size_t(k)), 2.0 * k / 511 - 1, 0.002) << slot.name;
  }
  EXPECT_GT(linear, 0);
}
