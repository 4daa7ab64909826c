// The program record: its defaults, its value access, the factory list, and the preset
// text files it writes and reads.
#include "synth/FactoryPrograms.h"
#include "synth/ParamIndex.h"
#include "synth/ParameterTable.h"
#include "synth/VstXSynthProgram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace P = ParamIndex;
using Korvane::VstXSynthProgram;

namespace
{
std::string TmpPath(const char* name) { return std::string(TG_TEST_TMP_DIR) + "/" + name; }

std::vector<std::string> Lines(const std::string& path)
{
  std::ifstream in(path);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

void WriteLines(const std::string& path, const std::vector<std::string>& lines)
{
  std::ofstream out(path);
  for (const std::string& line : lines)
    out << line << '\n';
}
} // namespace

TEST(ProgramRecord, FreshProgramHoldsTheProgramDefaults)
{
  // The table's defaults except these, which a program starts with instead.
  const std::vector<std::pair<int, double>> differing = {
      {12, 0.75}, {33, 0.75}, {54, 0.75}, {15, 0.0},   {36, 0.0},  {57, 0.0},  {21, 0.0},
      {42, 0.0},  {77, 0.0},  {78, 0.0},  {89, 0.0},   {90, 0.0},  {91, 0.0},  {103, 0.5},
      {104, 1.0}, {120, 1.0}, {121, 0.0}, {126, 0.25}, {127, 0.5}, {129, 0.0}, {130, 1.0}};
  const VstXSynthProgram p;
  for (int i = 0; i <= VstXSynthProgram::kLastStoredParam; ++i)
  {
    double expected = ParameterTable::DefaultValue(i);
    for (const auto& [index, value] : differing)
      if (index == i)
        expected = value;
    EXPECT_EQ(p.Get(i), expected) << i;
  }
  EXPECT_EQ(p.values[167], 1.0); // the transpose ratio
  for (int slot : {96, 101, 107, 146, 166})
    EXPECT_EQ(p.values[slot], 0.0) << slot;
  // Spot checks of the table itself: "Osc1 Tune", "Pitch-Bend Range", "Output volume".
  EXPECT_EQ(p.Get(3), 0.5);
  EXPECT_EQ(p.Get(87), 1.0 / 6.0);
  EXPECT_EQ(p.Get(138), 0.5);
}

TEST(ProgramRecord, SetClampsAndIgnoresParametersWithoutSlot)
{
  VstXSynthProgram p;
  const struct
  {
    int index;
    double set, expected;
  } cases[] = {{3, 1.7, 1.0},   {3, -0.2, 0.0},  {80, 1.2, 1.0}, {7, 0.25, 0.25},
               {137, 0.9, 0.0}, {150, 0.9, 0.0}, {-1, 0.9, 0.0}, {200, 0.9, 0.0}};
  for (const auto& c : cases)
  {
    p.Set(c.index, c.set);
    EXPECT_EQ(p.Get(c.index), c.expected) << c.index << " = " << c.set;
  }
  // Parameter 7 ("Osc1 Pitch") lives in slot 3, parameter 3 ("Osc1 Tune") in slot 4.
  EXPECT_EQ(p.values[3], 0.25);
  EXPECT_EQ(p.values[4], 0.0);
}

TEST(ProgramRecord, KeysMapBothWays)
{
  const VstXSynthProgram p;
  const std::vector<std::pair<int, const char*>> keys = {
      {0, "Osc1OnOff"},         {24, "OscFreq2"},
      {62, "OscLfoPanAmount3"}, {103, "DistortionLoudness"},
      {118, "FilterMode1"},     {137, "HqFilter"},
      {159, "Reserved_20"}};
  for (const auto& [index, key] : keys)
  {
    EXPECT_EQ(p.KeyOf(index), key);
    EXPECT_EQ(p.IndexOf(key), index);
  }
  EXPECT_EQ(p.KeyOf(160), "");
  EXPECT_EQ(p.IndexOf("Name"), -1);
}

TEST(FactoryPrograms, BasicBassDrum1HoldsItsGivenValues)
{
  const VstXSynthProgram p = Korvane::FactoryPrograms::Make(0);
  EXPECT_EQ(p.Name(), "Basic Bass Drum 1");
  // The kick base with note mode 4 (44 Hz), then the program's own values.
  const std::vector<std::pair<int, double>> given = {
      {133, 1.0}, {15, 5.0 / 9}, {36, 5.0 / 9}, {57, 5.0 / 9}, {63, 0.0},   {70, 0.0}, {64, 0.25},
      {71, 0.25}, {65, 0.0},     {72, 0.0},     {66, 0.005},   {73, 0.005}, {67, 0.2}, {74, 0.2},
      {79, 0.5},  {86, 4.0 / 9}, {89, 0.2},     {21, 0.0},     {42, 0.0},   {3, 0.5},  {5, 0.0},
      {8, 0.5},   {7, 0.5},      {1, 0.0},      {22, 0.0},     {43, 0.0},   {9, 0.0},  {11, 0.0},
      {13, 0.0},  {17, 0.0},     {18, 0.0},     {19, 0.0},     {0, 1.0},    {4, 1.0},  {10, 1.0},
      {88, 1.0},  {91, 0.25},    {92, 0.75}};
  for (const auto& [index, value] : given)
    EXPECT_EQ(p.Get(index), value) << index;
  // Everything else keeps the program default (the pitch duration among them).
  const VstXSynthProgram defaults;
  for (int i = 0; i <= VstXSynthProgram::kLastStoredParam; ++i)
  {
    bool isGiven = false;
    for (const auto& g : given)
      isGiven = isGiven || g.first == i;
    if (!isGiven)
    {
      EXPECT_EQ(p.Get(i), defaults.Get(i)) << i;
    }
  }
}

TEST(FactoryPrograms, EveryProgramIsNamedAndSetsItsOwnValues)
{
  const VstXSynthProgram defaults;
  for (int i = 0; i < Korvane::FactoryPrograms::kCount; ++i)
  {
    const VstXSynthProgram p = Korvane::FactoryPrograms::Make(i);
    EXPECT_EQ(p.Name(), Korvane::FactoryPrograms::NameOf(i));
    int changed = 0;
    for (int k = 0; k <= VstXSynthProgram::kLastStoredParam; ++k)
      changed += p.Get(k) != defaults.Get(k) ? 1 : 0;
    // A program is a sound of its own, designed in 20 values or more; "Basic Sine wave"
    // is plain by name (oscillator, note mode, envelopes and level) and needs fewer.
    EXPECT_GE(changed, p.Name() == "Basic Sine wave" ? 8 : 20) << i << " " << p.Name();
    EXPECT_LE(changed, 70) << i << " " << p.Name();
  }
  EXPECT_EQ(Korvane::FactoryPrograms::NameOf(128), std::string());
  EXPECT_EQ(Korvane::FactoryPrograms::Make(-1).Name(), "");
}

// --- Preset text files ----------------------------------------------------------------

TEST(PresetText, WriterSpellsEveryLineAsStoredFilesHaveIt)
{
  VstXSynthProgram p;
  p.SetName("Line Check");
  p.Set(1, 1.0 / 39);  // Sawtooth
  p.Set(102, 0.5);     // Hardcore-Fuzz3 (type 18)
  p.Set(118, 1.0 / 3); // RBJ HighPass
  p.Set(119, 1.0);     // Butterworth BandStop 12dB
  p.Set(3, 0.25);
  const std::string path = TmpPath("lines.txt");
  ASSERT_TRUE(p.WritePresetText(path.c_str(), "0.5,0.25", "1,2,3"));
  const std::vector<std::string> lines = Lines(path);
  ASSERT_EQ(lines.size(), 163u); // name, 160 parameters, curve, wave
  const std::vector<std::pair<size_t, std::string>> expected = {
      {0, "Name = Line Check;"},
      {1, "Osc1OnOff = 1;"},
      {2, "OscWaveform1 = Sawtooth;"},
      {4, "OscFreq1 = 0.25;"},
      {23, "OscWaveform2 = Sine;"},
      {103, "DistortionType = Hardcore-Fuzz3;"},
      {119, "FilterMode1 = RBJ HighPass;"},
      {120, "FilterMode2 = Butterworth BandStop 12dB;"},
      {138, "HqFilter = 0;"},
      {139, "Volume = 0.5;"},
      {160, "Reserved_20 = 0;"},
      {161, "DistortionCurveData = 0.5,0.25;"},
      {162, "OscWaveData = 1,2,3;"}};
  for (const auto& [line, text] : expected)
    EXPECT_EQ(lines[line], text) << line;
}

TEST(PresetText, SavedProgramReadsBackToSinglePrecisionWithTheFilterTypes)
{
  VstXSynthProgram written;
  written.SetName("A name that is longer than thirty-two characters");
  for (int i = 0; i <= VstXSynthProgram::kLastStoredParam; ++i)
    written.Set(i, std::fmod(0.1234567891 * (i + 1), 1.0));
  // Selectors on their positions, so that the names carry them exactly.
  written.Set(1, 17.0 / 39);
  written.Set(22, 24.0 / 39);
  written.Set(43, 0.0);
  written.Set(102, 31.0 / 35);
  written.Set(118, 2.0 / 3); // long name "RBJ BandPass 1"
  written.Set(119, 0.6);     // "Butterworth BandPass 12dB" (position 3 of 0..5)
  const std::string path = TmpPath("roundtrip.txt");
  ASSERT_TRUE(written.WritePresetText(path.c_str(), "curve", "wave"));

  VstXSynthProgram read;
  std::string curve;
  ASSERT_TRUE(read.ReadPresetText(path.c_str(), &curve));
  EXPECT_EQ(read.Name(), "A name that is longer than thirt");
  EXPECT_EQ(curve, "curve");
  for (int i = 0; i <= VstXSynthProgram::kLastStoredParam; ++i)
  {
    // Numbers come back rounded to single precision; names give their exact position.
    const bool named = i == 1 || i == 22 || i == 43 || i == 102 || i == 118;
    double expected = named ? written.Get(i) : double(float(written.Get(i)));
    if (i == 119)
      expected = 3.0 / 5;
    EXPECT_EQ(read.Get(i), expected) << i;
  }
}

TEST(PresetText, ReaderTakesEachLineForItsOwnKeyAndClamps)
{
  VstXSynthProgram source;
  source.SetName("Edited");
  const std::string path = TmpPath("edited.txt");
  ASSERT_TRUE(source.WritePresetText(path.c_str(), "", ""));
  std::vector<std::string> lines = Lines(path);
  lines[4] = "Something = 0.9;";        // line 5 lacks "OscFreq1": keeps its default
  lines[5] = "OscVolume1 = 1.7;";       // clamped
  lines[6] = "OscSat1 = -3;";           // clamped
  lines[7] = "OscPan1 = pan;";          // unparsable: 0
  lines[8] = "OscPitch1 = 0.30000001;"; // single precision
  lines[119] = "FilterMode1 = RBJ-BS;"; // short codes still read
  lines[120] = "FilterMode2 = LP 24dB;";
  lines[103] = "DistortionType = Korvane-Drive;"; // alias of type 21
  lines[2] = "OscWaveform1 = Form4;";             // short name of Shikoku (17)
  lines.pop_back();                               // no wave line
  lines.push_back("Comment line");
  WriteLines(path, lines);

  VstXSynthProgram read;
  read.Set(3, 0.7); // a value the reader has to leave alone
  std::string curve = "unchanged?";
  ASSERT_TRUE(read.ReadPresetText(path.c_str(), &curve));
  const std::vector<std::pair<int, double>> expected = {
      {3, 0.7},   {4, 1.0},       {5, 0.0},         {6, 0.0},      {7, double(0.3f)},
      {118, 1.0}, {119, 3.0 / 5}, {102, 21.0 / 35}, {1, 17.0 / 39}};
  for (const auto& [index, value] : expected)
    EXPECT_EQ(read.Get(index), value) << index;
  EXPECT_EQ(curve, "");

  // Unknown filter names fall back to position 0; a missing file changes nothing.
  EXPECT_EQ(VstXSynthProgram::FilterAPosition("RBJ LowPass?"), 0);
  EXPECT_EQ(VstXSynthProgram::FilterBPosition("Chebyshev LowPass 24dB"), 3);
  EXPECT_EQ(VstXSynthProgram::FilterAPosition("RBJ-BP1"), 2);
  EXPECT_FALSE(read.ReadPresetText(TmpPath("missing/none.txt").c_str(), &curve));
  EXPECT_EQ(read.Get(3), 0.7);
  EXPECT_EQ(read.Name(), "Edited");
}
