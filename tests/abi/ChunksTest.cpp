#include "ModuleFixture.h"

#include <cstring>
#include <limits>

namespace
{
// The instrument's state: a count, the 512 points of the distortion curve, then one
// double per parameter.
constexpr int kCurvePoints = 512;
constexpr int kValuesAt = 4 + 8 * kCurvePoints;
constexpr int kStateSize = kValuesAt + 160 * 8;
constexpr int kHeaderSize = 8; // 'pfft' and the chunk version

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

// Where slot k of a bank starts (its name length); slot 128 is the end of the bank. Each
// slot holds its name, the initialised flag and, when set, a state.
size_t SlotAt(const std::vector<uint8_t>& bank, int slot)
{
  size_t at = kHeaderSize;
  for (int k = 0; k < slot && at + 4 <= bank.size(); ++k)
  {
    const size_t flag = at + 4 + size_t(Int32At(bank, at));
    at = flag + 1 + (flag < bank.size() && bank[flag] ? size_t(kStateSize) : 0);
  }
  return at;
}

// Where slot k's state starts.
size_t SlotStateAt(const std::vector<uint8_t>& bank, int slot)
{
  const size_t at = SlotAt(bank, slot);
  return at + 4 + size_t(Int32At(bank, at)) + 1;
}

// A state of the count 672, the curve (a straight line unless given) and the values.
std::vector<uint8_t> StateOf(const std::vector<double>& values, std::vector<double> curve = {})
{
  if (curve.empty())
    for (int i = 0; i < kCurvePoints; ++i)
      curve.push_back(2.0 * i / (kCurvePoints - 1) - 1.0);
  std::vector<uint8_t> b(4 + (curve.size() + values.size()) * 8);
  const int32_t count = 672;
  std::memcpy(b.data(), &count, 4);
  std::memcpy(b.data() + 4, curve.data(), curve.size() * 8);
  std::memcpy(b.data() + 4 + curve.size() * 8, values.data(), values.size() * 8);
  return b;
}
} // namespace

class ChunkTest : public ModuleTest
{
protected:
  void SetUp() override
  {
    ModuleTest::SetUp();
    Start();
  }

  std::vector<float> Normalized()
  {
    std::vector<float> v;
    for (int i = 0; i < 160; ++i)
      v.push_back(plug.GetParameter(i));
    return v;
  }
};

TEST_F(ChunkTest, ProgramChunkIsTheHeaderFollowedByEveryParameterValue)
{
  plug.SetParameter(80, 1.0f); // bass layer: stored in its own units, up to 1.259
  const std::vector<uint8_t> chunk = plug.GetChunk(false);
  ASSERT_EQ(chunk.size(), size_t(kHeaderSize + kStateSize));
  EXPECT_EQ(Int32At(chunk, 0), 0x70666674);
  EXPECT_EQ(Int32At(chunk, 4), 0x00010000);
  EXPECT_EQ(Int32At(chunk, 8), 672);
  // The curve of distortion type 0 runs from -1 to +1.
  EXPECT_NEAR(DoubleAt(chunk, 12), -1.0, 0.05);
  EXPECT_NEAR(DoubleAt(chunk, 12 + 8 * 511), 1.0, 0.05);
  const size_t values = 8 + kValuesAt;
  EXPECT_EQ(DoubleAt(chunk, values + 8 * 0), 1.0); // "Oscillator 1 On/Off"
  EXPECT_EQ(DoubleAt(chunk, values + 8 * 2), 0.5); // "Osc1 start phase"
  EXPECT_EQ(DoubleAt(chunk, values + 8 * 80), 1.259);
  EXPECT_EQ(DoubleAt(chunk, values + 8 * 87), 1.0 / 6.0);
  EXPECT_EQ(DoubleAt(chunk, values + 8 * 137), 0.0);
  EXPECT_EQ(DoubleAt(chunk, values + 8 * 138), 0.5);
}

TEST_F(ChunkTest, ProgramChunkRoundTripsIntoAnotherInstance)
{
  plug.SetParameter(3, 0.3f);
  plug.SetParameter(80, 0.75f);
  plug.SetParameter(110, 0.2f);
  const std::vector<float> before = Normalized();
  const std::vector<uint8_t> chunk = plug.GetChunk(false);

  VstHost::PluginInstance other;
  ASSERT_TRUE(other.Load(TG_MODULE_PATH));
  other.Start(kSampleRate, kBlockSize);
  EXPECT_EQ(other.SetChunk(chunk, false), 1);
  for (int i = 0; i < 160; ++i)
    EXPECT_EQ(other.GetParameter(i), before[size_t(i)]) << i;
  EXPECT_EQ(other.GetChunk(false), chunk);
}

TEST_F(ChunkTest, BankHoldsAllSlotsWithNamesAndStates)
{
  plug.SetProgram(5);
  plug.SetProgramName("Punchy");
  const std::vector<uint8_t> bank = plug.GetChunk(true);
  ASSERT_EQ(SlotAt(bank, 128), bank.size());
  EXPECT_EQ(Int32At(bank, 0), 0x70666674);
  EXPECT_EQ(Int32At(bank, 4), 0x00010000);
  // Slot 0: name length, the first factory program's name, initialised, the state.
  EXPECT_EQ(Int32At(bank, 8), 17);
  EXPECT_EQ(std::memcmp(bank.data() + 12, "Basic Bass Drum 1", 17), 0);
  EXPECT_EQ(bank[29], 1);
  EXPECT_EQ(Int32At(bank, 30), 672);
  EXPECT_EQ(DoubleAt(bank, 30 + kValuesAt), 1.0);
  // Slot 5 carries its new name.
  const size_t slot5 = SlotAt(bank, 5);
  EXPECT_EQ(Int32At(bank, slot5), 6);
  EXPECT_EQ(std::memcmp(bank.data() + slot5 + 4, "Punchy", 6), 0);
}

TEST_F(ChunkTest, BankRoundTripRestoresNamesStatesAndTheCurrentProgram)
{
  // Hosts without a tempo: tempo-synchronised LFO rates then stay as the slots store
  // them, so a slot that was applied and one that was not compare equal.
  plug.SetTempo(0.0);
  for (int p : {1, 2, 7})
  {
    plug.SetProgram(p);
    plug.SetParameter(3, 0.1f * float(p));
    plug.SetProgramName("Program " + std::to_string(p));
    plug.GetChunk(true); // stores the edits in the current slot
  }
  plug.SetProgram(2);
  const std::vector<uint8_t> bank = plug.GetChunk(true);

  VstHost::PluginInstance other;
  ASSERT_TRUE(other.Load(TG_MODULE_PATH));
  other.SetTempo(0.0);
  other.Start(kSampleRate, kBlockSize);
  EXPECT_EQ(other.SetChunk(bank, true), 1);
  EXPECT_EQ(other.ProgramNameIndexed(1), "Program 1");
  EXPECT_EQ(other.ProgramNameIndexed(7), "Program 7");
  EXPECT_EQ(other.ProgramNameIndexed(3), "Basic Kick Drum 1");
  // The bank loads with the receiving instance's current program applied.
  EXPECT_EQ(other.GetProgram(), 0);
  EXPECT_EQ(other.ParamDisplay(3), "0.500");
  other.SetProgram(7);
  EXPECT_EQ(other.ParamDisplay(3), "0.700");
  other.SetProgram(2);
  EXPECT_EQ(other.ParamDisplay(3), "0.200");
  EXPECT_EQ(other.GetChunk(true), plug.GetChunk(true));
}

TEST_F(ChunkTest, SwitchingProgramsDoesNotStoreUnsavedEdits)
{
  plug.SetParameter(3, 0.9f);
  plug.SetProgram(1);
  const std::vector<uint8_t> bank = plug.GetChunk(true);
  EXPECT_EQ(DoubleAt(bank, SlotStateAt(bank, 0) + kValuesAt + 8 * 3), 0.5);
  EXPECT_EQ(plug.ParamDisplay(3), "0.500");
}

TEST_F(ChunkTest, ChunksWithoutHeaderAreReadAsOneStateFromByteZero)
{
  std::vector<double> values(160, 0.0);
  values[3] = 0.25;
  values[80] = 1.2;
  values[4] = 2.0; // above the maximum: loads as 1
  const std::vector<uint8_t> state = StateOf(values);
  for (bool bank : {false, true})
  {
    EXPECT_EQ(plug.SetChunk(state, bank), 1) << bank;
    EXPECT_EQ(plug.ParamDisplay(3), "0.250");
    EXPECT_EQ(plug.ParamDisplay(80), "1.200");
    EXPECT_EQ(plug.ParamDisplay(4), "1.000");
    plug.SetParameter(3, 0.5f);
  }
  // The state also went into the current slot.
  plug.SetProgram(1);
  plug.SetProgram(0);
  EXPECT_EQ(plug.ParamDisplay(3), "0.250");
}

TEST_F(ChunkTest, ABankWithAnOlderHeaderVersionIsReadAsOneState)
{
  std::vector<uint8_t> chunk(8);
  const int32_t magic = 0x70666674, version = 0x0000FFFF;
  std::memcpy(chunk.data(), &magic, 4);
  std::memcpy(chunk.data() + 4, &version, 4);
  std::vector<double> values(160, 0.0);
  values[3] = 0.75;
  const std::vector<uint8_t> state = StateOf(values);
  chunk.insert(chunk.end(), state.begin(), state.end());
  EXPECT_EQ(plug.SetChunk(chunk, true), 1);
  EXPECT_EQ(plug.ParamDisplay(3), "0.750");
  EXPECT_EQ(plug.ProgramNameIndexed(0), "Basic Bass Drum 1");
}

TEST_F(ChunkTest, UnreadableChunksAreRefusedAndChangeNothing)
{
  plug.SetParameter(3, 0.3f);
  const std::vector<uint8_t> bankBefore = plug.GetChunk(true);
  const std::vector<float> before = Normalized();
  auto unchanged = [&] { return Normalized() == before && plug.GetChunk(true) == bankBefore; };

  const std::vector<uint8_t> good = plug.GetChunk(false);
  for (bool bank : {false, true})
  {
    int32_t index = bank ? 0 : 1;
    EXPECT_EQ(Dispatch(Vst::effSetChunk, index, intptr_t(good.size()), nullptr), 0);
    std::vector<uint8_t> copy = good;
    EXPECT_EQ(Dispatch(Vst::effSetChunk, index, -1, copy.data()), 0);
    EXPECT_EQ(Dispatch(Vst::effSetChunk, index, intptr_t(1) << 40, copy.data()), 0);
    // A magic without its version.
    EXPECT_EQ(plug.SetChunk(std::vector<uint8_t>(good.begin(), good.begin() + 6), bank), 0);
    EXPECT_EQ(plug.SetChunk({}, bank), 0);
    EXPECT_TRUE(unchanged()) << bank;
  }
}

TEST_F(ChunkTest, ACutStateFailsAndKeepsTheStoredProgram)
{
  const std::vector<uint8_t> bankBefore = plug.GetChunk(true);
  std::vector<double> values(160, 0.0);
  values[0] = 0.0;
  std::vector<uint8_t> cut = StateOf(values);
  cut.resize(kValuesAt + 8 * 10 + 3);
  EXPECT_EQ(plug.SetChunk(cut, false), 0);
  // The values read before the cut are applied; the program slot keeps its state.
  EXPECT_EQ(plug.ParamDisplay(0), "0");
  plug.SetProgram(0);
  EXPECT_EQ(plug.ParamDisplay(0), "1");

  std::vector<uint8_t> cutBank = bankBefore;
  cutBank.resize(SlotAt(bankBefore, 3) + 100);
  EXPECT_EQ(plug.SetChunk(cutBank, true), 0);
  EXPECT_EQ(plug.ProgramNameIndexed(5), "Electronic Kick");
}

TEST_F(ChunkTest, ProgramsAreNamedAndSelectable)
{
  EXPECT_EQ(effect->numPrograms, 128);
  for (int i = 0; i < 128; ++i)
    EXPECT_FALSE(plug.ProgramNameIndexed(i).empty()) << i;
  intptr_t r = -1;
  EXPECT_EQ(plug.DispatchText(Vst::effGetProgramNameIndexed, 200, 0, 0, &r), "");
  EXPECT_EQ(r, 0);
  EXPECT_EQ(plug.DispatchText(Vst::effGetProgramNameIndexed, 127, 0, 0, &r), "Basic Sine wave");
  EXPECT_EQ(r, 1);

  EXPECT_EQ(plug.GetProgram(), 0);
  plug.SetProgram(42);
  EXPECT_EQ(plug.GetProgram(), 42);
  plug.SetProgram(128);
  plug.SetProgram(-1);
  plug.SetProgram(intptr_t(1) << 33);
  EXPECT_EQ(plug.GetProgram(), 42);

  plug.SetProgramName("Sub Boom");
  EXPECT_EQ(plug.ProgramName(), "Sub Boom");
  EXPECT_EQ(plug.ProgramNameIndexed(42), "Sub Boom");
  plug.SetProgramName(std::string(300, 'n'));
  EXPECT_EQ(plug.ProgramName().size(), 63u); // the host's text buffer is respected
  EXPECT_EQ(Dispatch(Vst::effSetProgramName, 0, 0, nullptr), 0);
  EXPECT_EQ(Dispatch(Vst::effGetProgramName, 0, 0, nullptr), 0);
}

TEST_F(ChunkTest, NonFiniteValuesInAStateOrBankLoadTheDefaultAndFail)
{
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  std::vector<double> values(160, 0.0);
  values[0] = 1.0;
  values[3] = nan;                // "Osc1 Tune", default 0.5
  values[4] = inf;                // "Osc1 volume", default 1
  values[6] = 0.25;               // read as usual
  values[138] = -inf;             // "Output volume", default 0.5
  for (bool bank : {false, true}) // without a header a bank is read as one state
  {
    plug.SetParameter(3, 0.9f);
    EXPECT_EQ(plug.SetChunk(StateOf(values), bank), 0) << bank;
    EXPECT_EQ(plug.ParamDisplay(3), "0.500") << bank;
    EXPECT_EQ(plug.ParamDisplay(4), "1.000") << bank;
    EXPECT_EQ(plug.ParamDisplay(6), "0.250") << bank;
    EXPECT_EQ(plug.ParamDisplay(138), "0.500") << bank;
  }

  // A bank whose third slot holds one: that slot gets the default, the slots after it
  // still load, and the host hears of the failure.
  plug.SetProgram(2);
  plug.SetParameter(3, 0.3f);
  plug.SetProgramName("Two");
  plug.SetProgram(5);
  plug.SetParameter(3, 0.7f);
  plug.SetProgramName("Five");
  std::vector<uint8_t> bank = plug.GetChunk(true);
  const size_t slot2 = SlotAt(bank, 2);
  ASSERT_EQ(Int32At(bank, slot2), 3);
  std::memcpy(bank.data() + slot2 + 4 + 3 + 1 + kValuesAt + 8 * 3, &nan, 8);

  VstHost::PluginInstance other;
  ASSERT_TRUE(other.Load(TG_MODULE_PATH));
  other.Start(kSampleRate, kBlockSize);
  EXPECT_EQ(other.SetChunk(bank, true), 0);
  EXPECT_EQ(other.ProgramNameIndexed(2), "Two");
  EXPECT_EQ(other.ProgramNameIndexed(5), "Five");
  other.SetProgram(2);
  EXPECT_EQ(other.ParamDisplay(3), "0.500");
  other.SetProgram(5);
  EXPECT_EQ(other.ParamDisplay(3), "0.700");
}

TEST_F(ChunkTest, AChunkWithoutStateDataChangesNothing)
{
  plug.SetParameter(3, 0.3f);
  const std::vector<uint8_t> bankBefore = plug.GetChunk(true);
  const std::vector<float> before = Normalized();
  std::vector<uint8_t> headerOnly(kHeaderSize);
  const int32_t magic = 0x70666674, version = 0x00010000;
  std::memcpy(headerOnly.data(), &magic, 4);
  std::memcpy(headerOnly.data() + 4, &version, 4);
  uint8_t byte = 0;
  for (bool bank : {false, true})
  {
    // Zero bytes behind a valid pointer, and a header with nothing after it.
    EXPECT_EQ(Dispatch(Vst::effSetChunk, bank ? 0 : 1, 0, &byte), 0) << bank;
    EXPECT_EQ(plug.SetChunk(headerOnly, bank), 0) << bank;
    EXPECT_EQ(plug.ParamDisplay(0), "1") << bank; // "Oscillator 1 On/Off" stays on
    EXPECT_EQ(Normalized(), before) << bank;
    EXPECT_EQ(plug.GetChunk(true), bankBefore) << bank;
  }
}
