// The master chain inside the instrument: what the editor will show beside the effect
// controls, the deferred curve operations, the ring modulator's note sync and the level
// follower.
#include "plugin/IEditor.h"
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>
#include <vector>

namespace P = ParamIndex;

namespace
{
std::string Feedback(Thumpgeist& plug, int index, double value)
{
  plug.SetParameterFromEditor(index, value);
  char text[64];
  EXPECT_TRUE(plug.Master().FeedbackText(index, plug.GetParam(index)->Value(), text, sizeof text))
      << index;
  return text;
}

// Renders frames samples of the instrument, note 36 held from the first.
void RenderNote(Thumpgeist& plug, int frames)
{
  MidiMessage on;
  on.status = 0x90;
  on.data1 = 36;
  on.data2 = 127;
  plug.ProcessMidiMessage(on);
  std::vector<double> left(static_cast<size_t>(frames)), right(static_cast<size_t>(frames));
  double* outs[] = {left.data(), right.data()};
  for (int done = 0; done < frames; done += 512)
  {
    double* block[] = {outs[0] + done, outs[1] + done};
    plug.ProcessBlock(nullptr, block, std::min(512, frames - done));
  }
}
} // namespace

TEST(MasterChain, FeedbackTextsFollowTheUnits)
{
  struct Case
  {
    int index;
    double value;
    const char* text;
  };
  const Case cases[] = {
      {P::kEqBass, 0.75, "12.0dB"},          {P::kEqMid, 0.0, "-24.0dB"},
      {P::kEqHigh, 0.5, "0.0dB"},            {P::kDumpExpand, 0.75, "50.0% HP"},
      {P::kDumpExpand, 0.25, "50.0% LP"},    {P::kDumpExpand, 0.5, "0.0% HP"},
      {P::kDistoInterpolation, 0.25, "[linear interpolation]"},
      {P::kDistoInterpolation, 1.0, "[hermite interpolation]"},
      {P::kDynShaperType, 0.0, "Sine"},      {P::kDynShaperType, 1.0, "Pulse"},
      {P::kDynShaperMode, 1.0 / 3.0, "Sat.Shaper"},
      {P::kDynShaperMode, 1.0, "Boost+Sat.Shaper"},
      {P::kBitCrushQuantize, 1.0, "64.0bit"}, {P::kBitCrushQuantize, 0.5, "1.2bit"}, // shape 4: value 0.0625
      // No reduction shows the full rate; 0.5 holds each value 63 samples.
      {P::kSampleRateReduction, 1.0, "44100Hz"},
      {P::kSampleRateReduction, 0.5, "700Hz"},
      {P::kGateCrack, 0.0, "-oodB"},          {P::kGateCrack, 0.5, "-24.1dB"},
      {P::kFilterBalance, 0.25, "75.0% / 25.0%"},
      {P::kFilterCutoff, 1.0, "22040Hz"},     {P::kFilterCutoff, 0.0, "10Hz"},
      {P::kFilterTransition, 0.0, "Slow"},    {P::kFilterTransition, 0.5, "Medium"},
      {P::kFilterTransition, 1.0, "Fast"},    {P::kRingWaveform, 0.0, "Sine"},
      {P::kRingWaveform, 0.5, "Saw"},         {P::kRingWaveform, 1.0, "Sine3"},
  };
  Thumpgeist plug(nullptr);
  for (const Case& c : cases)
    EXPECT_EQ(Feedback(plug, c.index, c.value), c.text) << c.index << " at " << c.value;
  char text[8] = "x";
  EXPECT_FALSE(plug.Master().FeedbackText(P::kOutputVolume, 0.5, text, sizeof text));
  EXPECT_STREQ(text, "");
}

TEST(MasterChain, CurveOperationsWaitForTheNextBlockWhileTheAudioRuns)
{
  Thumpgeist plug(nullptr);
  plug.SetParameterFromEditor(P::kDistoType, 1.0);
  auto curve = [&plug]
  { return plug.Master().EditorChain().distortion.activeCurve->points; };
  const auto before = curve();
  plug.OnActivate(true);
  plug.SetDistortionCurveOperation(12); // back to a straight line
  EXPECT_EQ(curve(), before);
  EXPECT_EQ(plug.Master().PendingCurveOperation(), 12);
  RenderNote(plug, 64);
  EXPECT_NE(curve(), before);
  EXPECT_EQ(curve(), plug.Master().AudioChain().distortion.activeCurve->points);
  EXPECT_EQ(plug.Master().PendingCurveOperation(), MasterChain::kNoCurveOperation);
  // Not running: at once; an operation outside 0..12 is ignored.
  plug.OnActivate(false);
  plug.SetDistortionCurveOperation(0);
  EXPECT_EQ(curve(), before);
  plug.SetDistortionCurveOperation(13);
  plug.SetDistortionCurveOperation(-1);
  EXPECT_EQ(plug.Master().PendingCurveOperation(), MasterChain::kNoCurveOperation);
}

TEST(MasterChain, RingSyncTunesTheCarrierToTheLastNote)
{
  Thumpgeist plug(nullptr);
  RenderNote(plug, 64);
  const double note = plug.DisplayedNoteFrequency();
  ASSERT_GT(note, 0.0);
  for (double factor : {1.0, 4.0, 32.0, 1e6})
  {
    plug.ApplySync(0, factor);
    const double hz = std::min(factor * note, 4000.0);
    EXPECT_DOUBLE_EQ(plug.GetParam(P::kRingFreq)->Value(), hz / 4000.0) << factor;
    EXPECT_DOUBLE_EQ(plug.Master().Ring().getCarrierFrequency(), hz) << factor;
  }
  // A sync button's presses walk its factor through 1, 2, 4, ..., 32 and back to 1.
  double factor = 1.0;
  std::vector<double> walked;
  for (int press = 0; press < 7; ++press)
    walked.push_back(factor = Thumpgeist::NextSyncFactor(factor));
  EXPECT_EQ(walked, (std::vector<double>{2, 4, 8, 16, 32, 1, 2}));
}

TEST(MasterChain, TheLevelFollowerRisesWithANoteAndFallsAfter)
{
  Thumpgeist plug(nullptr);
  plug.SetDisplayMode(Thumpgeist::kDisplayAbout);
  RenderNote(plug, 4096);
  const double loud = plug.Master().LevelFollower().getEnvLeft();
  EXPECT_GT(loud, 0.1);
  EXPECT_LE(loud, 1.0);
  // Released and decayed: the meter falls back (release 0.5 s).
  MidiMessage off;
  off.status = 0x80;
  off.data1 = 36;
  plug.ProcessMidiMessage(off);
  std::vector<double> left(512), right(512);
  double* outs[] = {left.data(), right.data()};
  for (int b = 0; b < 400; ++b)
    plug.ProcessBlock(nullptr, outs, 512);
  EXPECT_LT(plug.Master().LevelFollower().getEnvLeft(), loud * 0.1);
}

namespace
{
// An editor that draws nothing: the instrument gives its feedback only with one attached.
class SilentEditor : public IEditor
{
public:
  int Width() const override { return 1220; }
  int Height() const override { return 835; }
  void SetParameterFromPlug(int, double, bool) override {}
  void PrepDraw() override {}
  bool OpenWindow(void*) override { return false; }
  void CloseWindow() override {}
  bool IsWindowOpen() const override { return false; }
};
} // namespace

TEST(MasterChain, SwitchingTheLimitResetsThePeaksAtOnceOrAtTheNextBlock)
{
  Thumpgeist plug(nullptr);
  plug.AttachEditor(new SilentEditor);
  RenderNote(plug, 2048);
  ASSERT_GT(plug.LeftPeak(), 0.1);
  // Not processing: the peaks fall to 0 at once.
  plug.SetParameterFromEditor(P::kLimitOutput, 1.0);
  EXPECT_EQ(plug.LeftPeak(), 0.0);
  EXPECT_EQ(plug.RightPeak(), 0.0);
  // Processing: the reset waits for the end of the next block, which starts them afresh.
  RenderNote(plug, 2048);
  plug.OnActivate(true);
  const double before = plug.LeftPeak();
  plug.SetParameterFromEditor(P::kLimitOutput, 0.0);
  EXPECT_EQ(plug.LeftPeak(), before);
  std::vector<double> left(64), right(64);
  double* outs[] = {left.data(), right.data()};
  plug.ProcessBlock(nullptr, outs, 64);
  EXPECT_EQ(plug.LeftPeak(), 0.0);
}

TEST(MasterChain, BothInstancesOfADoubledUnitTakeEverySetting)
{
  // Settings away from every default, routed as the host would send them.
  Thumpgeist plug(nullptr);
  const std::pair<int, double> settings[] = {
      {P::kDumpExpand, 0.8},        {P::kDistoOnOff, 1.0},      {P::kDistortion, 0.7},
      {P::kDistoType, 0.4},         {P::kDistoMode, 0.5},       {P::kDistoInterpolation, 0.25},
      {P::kDynShaperAmount, 0.6},   {P::kDynShaperInvert, 1.0}, {P::kDynShaperType, 0.5},
      {P::kDynShaperMode, 0.66},    {P::kDynShaperPosNeg, 0.5}, {P::kBitCrushQuantize, 0.3},
      {P::kSampleRateReduction, 0.4}, {P::kGateCrack, 0.3},     {P::kFilterOnOff, 1.0},
      {P::kFilterInputDrive, 0.5},  {P::kFilterBalance, 0.3},   {P::kFilterCutoff, 0.4},
      {P::kFilterReso, 0.6},        {P::kFilterType1, 0.5},     {P::kFilterType2, 0.8},
      {P::kFilterTransition, 1.0},
  };
  for (const auto& [index, value] : settings)
    plug.SetParameterFromEditor(index, value);
  // Both instances hear the same noise and must answer alike. (The instrument renders
  // nothing afterwards, so the test may run its units directly.)
  std::vector<double> noise(2048);
  unsigned state = 1;
  for (double& x : noise)
    x = double((state = state * 1664525u + 1013904223u) >> 8) / double(1u << 24) * 1.6 - 0.8;
  auto run = [&](const auto& unit, auto process)
  {
    std::vector<double> l = noise, r = noise;
    process(const_cast<std::remove_cvref_t<decltype(unit)>&>(unit), l.data(), r.data(), int(l.size()));
    return l;
  };
  auto filter = [](Korvane::FilterUnit& u, double* l, double* r, int n) { u.process(l, r, n); };
  auto dump = [](Korvane::DumpExpand& u, double* l, double* r, int n) { u.process(l, r, n); };
  auto section = [](DistortionChain& c, double* l, double* r, int n)
  {
    c.distortion.processSampleRate(l, r, n);
    c.quantizer.process(l, r, n);
    c.distortion.processGate(l, r, n);
    c.distortion.processCurve(l, r, nullptr, n);
    c.shaper.process(l, r, nullptr, n);
  };
  const MasterChain& m = plug.Master();
  const std::vector<double> heard = run(m.AudioChain(), section);
  EXPECT_EQ(run(m.MainFilter(), filter), run(m.BassFilter(), filter));
  EXPECT_EQ(run(m.MainDumpExpand(), dump), run(m.BassDumpExpand(), dump));
  EXPECT_EQ(run(m.EditorChain(), section), heard);
  // ... and the settings were heard: the section changes the noise.
  EXPECT_NE(heard, noise);
}
