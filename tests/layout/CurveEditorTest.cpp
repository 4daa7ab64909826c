// The editor's curve displays and the distortion's curve editor: the displays follow
// the parameters, a drawing reaches the sound at the next block, the mouse rules of
// the editor, the curve menu's operations, and curve files that keep the curve.
#include "layout/ModuleEditor.h"

#include "editor/controls/IFileSelectorControl.h"
#include "editor/layout/IKvCurve.h"
#include "editor/layout/IKvCurve2.h"
#include "editor/layout/ThumpgeistEditor.h"
#include "plugin/ByteBuffer.h"
#include "synth/AllocationCounter.h"
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace P = ParamIndex;

namespace
{
constexpr int kLeft = 837; // the curve editor's corner; it is 128 x 128
constexpr int kTop = 391;

// The test graphics with the module's images; the file dialog answers `path`.
class CurveGraphics : public ModuleGraphics
{
public:
  using ModuleGraphics::ModuleGraphics;
  // The items as "text|text|-|..." (a separator is "-").
  IPopupMenu* RunPopupMenu(IPopupMenu* menu, const IRect& area) override
  {
    shown.clear();
    for (int i = 0; i < menu->NItems(); ++i)
      shown +=
          (i ? "|" : "") + (menu->GetItem(i).flags & IPopupMenu::kSeparator ? std::string("-")
                                                                            : menu->DisplayText(i));
    return FakeGraphics::RunPopupMenu(menu, area);
  }
  bool AskForFile(std::string& file, FileAction action, std::string& folder,
                  const char* extensions) override
  {
    FakeGraphics::AskForFile(file, action, folder, extensions);
    actions.push_back(action);
    file = path;
    return !path.empty();
  }
  std::string path;
  std::string shown;
  std::vector<FileAction> actions;
};

struct Rig : ModuleEditor<CurveGraphics>
{
  Rig() { Idle(); }
  IKvCurve2& Curve() const { return *editor->CurveEditor(); }
  const auto& Points() const { return plug.Master().EditorChain().distortion.activeCurve->points; }
  const auto& Audio() const { return plug.Master().AudioChain().distortion.activeCurve->points; }
  // A left-button stroke over the columns, at height y(column) from the editor's top.
  void Stroke(const std::function<int(int)>& y, int from = 0, int to = 127)
  {
    IMouseMod mod;
    mod.left = true;
    g->OnMouseDown(kLeft + from, kTop + y(from), mod);
    for (int c = from + 1; c <= to; ++c)
      g->OnMouseDrag(kLeft + c, kTop + y(c), mod);
    g->OnMouseUp(kLeft + to, kTop + y(to), mod);
  }
  void ChooseFromMenu(int item)
  {
    g->menuChoice = item;
    IMouseMod mod;
    mod.right = true;
    g->OnMouseDown(kLeft + 64, kTop + 64, mod);
    g->OnMouseUp(kLeft + 64, kTop + 64, mod);
  }
  // One block of a held, strongly distorted note, counting what it allocates.
  std::vector<double> Block(int* allocations = nullptr)
  {
    std::vector<double> left(256), right(256);
    double* outs[] = {left.data(), right.data()};
    const AllocationCounter counter;
    plug.ProcessBlock(nullptr, outs, 256);
    if (allocations)
      *allocations = counter.Count();
    return left;
  }
  void PlayDistorted(bool running)
  {
    plug.SetParameterFromEditor(P::kDistoOnOff, 1.0);
    plug.SetParameterFromEditor(P::kDistortion, 0.7);
    plug.OnActivate(running);
    plug.ProcessMidiMessage(MidiMessage{0, 0x90, 36, 127});
  }
};

// Along the top edge: every drawn point -1, so the curve is +1.
int TopEdge(int) { return 0; }
std::vector<double> Copy(const double* values, int n) { return {values, values + n}; }
} // namespace

TEST(CurveEditor, DrawingReachesTheSoundAtTheNextBlock)
{
  for (bool running : {false, true})
  {
    Rig drawn, plain;
    drawn.PlayDistorted(running);
    plain.PlayDistorted(running);
    ASSERT_EQ(drawn.Block(), plain.Block());
    drawn.Stroke(TopEdge);
    drawn.Idle();
    // Stopped, the idle tick applies the drawing; running, the next block does.
    EXPECT_EQ(drawn.Points()[0] == 1.0, !running) << running;
    int allocations = -1; // the drawing taken in the block, and the views told
    const std::vector<double> heard = drawn.Block(&allocations), before = plain.Block();
    EXPECT_EQ(allocations, 0);
    double difference = 0.0, level = 0.0;
    for (size_t i = 0; i < heard.size(); ++i)
    {
      difference += (heard[i] - before[i]) * (heard[i] - before[i]);
      level += before[i] * before[i];
    }
    EXPECT_GT(difference, 0.1 * level) << running;
    EXPECT_EQ(std::count(drawn.Points().begin(), drawn.Points().end(), 1.0), 512) << running;
    EXPECT_EQ(drawn.Audio(), drawn.Points());
    // The distortion trace shows the drawn curve; nothing waits any more.
    EXPECT_EQ(drawn.plug.Displays().CurveTrace()[64], 1.0);
    EXPECT_FALSE(drawn.Curve().CurveEdited());
  }
}

// What a window test sees of a stroke at y = 400 from x = 840 to 960: the state's
// curve takes -v = 0.859375 there, and the distortion trace is drawn at that row,
// bright grey where its ramp peaks (column 64).
TEST(CurveEditor, StrokeShowsInTheStateAndTheTrace)
{
  Rig rig;
  // The grey level of a pixel, or -1 when it is coloured.
  auto grey = [&rig](int x, int y)
  {
    const std::uint32_t p = rig.g->Pixel(x, y);
    const bool isGrey = (p & 0xFF) == (p >> 8 & 0xFF) && (p & 0xFF) == (p >> 16 & 0xFF);
    return isGrey ? int(p & 0xFF) : -1;
  };
  EXPECT_LT(grey(kLeft + 64, 400), 250);
  rig.Stroke([](int) { return 400 - kTop; }, 840 - kLeft, 960 - kLeft);
  rig.Idle();
  rig.Idle();
  ByteBuffer state;
  ASSERT_TRUE(rig.plug.SerializeState(state));
  double point = 0.0;
  state.GetDouble(&point, 4 + 8 * 256);
  EXPECT_EQ(point, 0.859375);
  EXPECT_GE(grey(kLeft + 64, 400), 250);
}

TEST(CurveEditor, MouseRulesOfTheDrawnPoints)
{
  IKvCurve2 bare(nullptr, IRect(kLeft, kTop, kLeft + 128, kTop + 128), nullptr, nullptr, 128);
  // Undrawn, the points are the identity upside down: curve point 0 is -1, 256 is 0.
  EXPECT_EQ(-bare.SampleDrawnCurve(0.0), -1.0);
  EXPECT_EQ(-bare.SampleDrawnCurve(256.0 / 512.0), 0.0);
  const double untouched41 = bare.DrawnPoint(41);
  IMouseMod left;
  left.left = true;
  bare.MouseDown(kLeft + 10, kTop, left); // the top edge
  EXPECT_EQ(bare.DrawnPoint(10), -1.0);
  EXPECT_TRUE(bare.TakeCurveEdit());
  // A drag of 10 pixels to the right fills the 10 columns right of the pointer.
  bare.MouseDown(kLeft + 20, kTop + 32, left);
  bare.MouseDrag(kLeft + 30, kTop + 96, 10, 64, left);
  for (int c = 30; c <= 40; ++c)
    EXPECT_EQ(bare.DrawnPoint(c), 0.5) << c;
  EXPECT_EQ(bare.DrawnPoint(41), untouched41);
  EXPECT_DOUBLE_EQ(bare.DrawnPoint(29), (1.0 - 2.0 * 29 / 128) * 0.3 + 0.5 * 0.7);
  // ... and one of 10 to the left the 10 columns left of it.
  bare.MouseDrag(kLeft + 70, kTop + 32, -10, 0, left);
  for (int c = 60; c <= 70; ++c)
    EXPECT_EQ(bare.DrawnPoint(c), -0.5) << c;
  // Outside the columns nothing is written.
  bare.TakeCurveEdit();
  bare.MouseDown(kLeft + 128, kTop, left);
  bare.MouseDrag(kLeft - 1, kTop, -3, 0, left);
  EXPECT_FALSE(bare.CurveEdited());
}

TEST(CurveEditor, MenuSendsTheCurveOperations)
{
  Rig rig;
  rig.plug.OnActivate(true); // so the operations wait and can be seen
  const int codes[] = {0, 1, 3, 8, 12, MasterChain::kNoCurveOperation};
  for (int item = 0; item <= 5; ++item)
  {
    rig.ChooseFromMenu(item);
    EXPECT_EQ(rig.plug.Master().PendingCurveOperation(), codes[item]) << item;
    rig.plug.Master().ApplyPendingCurveOperation();
  }
  EXPECT_EQ(rig.g->shown, "Restore Curve|Smooth Curve|Add Noise|Smooth Zero-Crossing|"
                          "Reset (Restore Linear)|-|Import Curve from CSV|Export Curve to CSV");
}

TEST(CurveEditor, CurveFilesKeepTheCurve)
{
  Rig rig;
  rig.Stroke([](int c) { return 64 + int(50 * std::sin(c / 9.0)); });
  rig.Idle();
  const auto drawn = rig.Points();
  const std::string path = TG_TEST_TMP_DIR "/drawn.csv";
  std::remove(path.c_str());
  auto saveResetLoad = [&rig, &path]
  {
    rig.g->path = path;
    rig.ChooseFromMenu(7);
    rig.ChooseFromMenu(4); // back to a straight line
    rig.ChooseFromMenu(6);
  };
  saveResetLoad();
  for (int k = 0; k < 512; ++k)
    EXPECT_NEAR(rig.Points()[size_t(k)], drawn[size_t(k)], 1e-10) << k; // ten decimals
  // What a file holds comes back bit for bit, into both sections, and the editor's
  // points follow it.
  const auto saved = rig.Points();
  saveResetLoad();
  EXPECT_EQ(rig.Points(), saved);
  EXPECT_EQ(rig.Audio(), saved);
  EXPECT_EQ(rig.Curve().DrawnPoint(5), -saved[20]);
  EXPECT_EQ(rig.g->fileDialogs, std::vector<std::string>(4, "csv"));
  EXPECT_EQ(rig.g->actions[0], FileAction::Save);
  EXPECT_EQ(rig.g->actions[1], FileAction::Open);

  // Refused: no extension, a cancelled dialog, 511 values, and a missing file.
  const std::string plain = TG_TEST_TMP_DIR "/no-extension";
  const std::string short511 = TG_TEST_TMP_DIR "/short.CSV";
  std::remove(plain.c_str());
  std::string values = "0.25";
  for (int k = 1; k < 511; ++k)
    values += ",0.25";
  std::ofstream(short511) << values;
  const std::pair<std::string, int> refusals[] = {
      {plain, 7}, {"", 7}, {"", 6}, {short511, 6}, {TG_TEST_TMP_DIR "/missing.csv", 6}};
  rig.Idle();
  const std::vector<double> trace = Copy(rig.plug.Displays().CurveTrace(), 128);
  for (const auto& [file, item] : refusals)
  {
    rig.g->path = file;
    rig.ChooseFromMenu(item);
    EXPECT_EQ(rig.Points(), saved) << file;
    EXPECT_FALSE(rig.Curve().RefreshRequested()) << file;
  }
  EXPECT_FALSE(std::ifstream(plain).good());
  EXPECT_EQ(Copy(rig.plug.Displays().CurveTrace(), 128), trace);
}

TEST(CurveDisplays, FollowTheParametersFromTheFirstOpen)
{
  Rig rig;
  ThumpgeistEditor& e = *rig.editor;
  // Computed when the editor was attached.
  for (IKvCurve* display : {e.WaveformDisplay(0), e.VolumeEnvelopeDisplay()})
    EXPECT_NE(Copy(display->Values(), display->Count()),
              std::vector<double>(size_t(display->Count()), 0.0));

  // Each change redraws its view at the next idle tick; the shaper's changes bring its
  // trace forward, a type change the distortion's (and reloads the drawn points).
  struct Case
  {
    int param;
    double value;
    const double* values;
    int count;
    IControl* view;
    int emphasis; // -1: none to check
  };
  auto display = [](int param, double value, IKvCurve* d)
  { return Case{param, value, d->Values(), d->Count(), d, -1}; };
  const CurveDisplays& shown = rig.plug.Displays();
  const Case cases[] = {
      display(P::Osc(0, P::kOscWaveform), 0.5, e.WaveformDisplay(0)),
      display(P::Osc(1, P::kOscStartPhase), 0.8, e.WaveformDisplay(1)),
      display(P::Osc(2, P::kOscWaveform), 5.0 / 39.0, e.WaveformDisplay(2)),
      display(P::kVolEnvAttack, 0.8, e.VolumeEnvelopeDisplay()),
      display(P::kFilterEnvDecay, 0.9, e.FilterEnvelopeDisplay()),
      display(P::kAdsrShape, 0.9, e.FilterEnvelopeDisplay()),
      display(P::kPitchAmount, 0.5, e.PitchEnvelopeDisplay()),
      display(P::kPitchDown, 0.5, e.PitchEnvelopeDisplay()),
      {P::kDynShaperAmount, 0.9, shown.ShaperTrace(), 128, e.SinePreview(), 1},
      {P::kDistoType, 0.5, shown.CurveTrace(), 128, e.CurveEditor(), 0},
  };
  for (const Case& c : cases)
  {
    const std::vector<double> before = Copy(c.values, c.count);
    {
      // As a host's automation on the audio thread: the views follow without allocating.
      const AllocationCounter counter;
      rig.plug.GetParam(c.param)->SetNormalized(c.value);
      rig.plug.OnParameterChange(c.param);
      EXPECT_EQ(counter.Count(), 0) << c.param;
    }
    EXPECT_NE(Copy(c.values, c.count), before) << c.param;
    rig.Idle();
    EXPECT_TRUE(c.view->IsDirty()) << c.param;
    if (c.emphasis >= 0)
    {
      EXPECT_EQ(rig.Curve().Emphasis(), c.emphasis) << c.param;
      EXPECT_EQ(e.SinePreview()->Emphasis(), c.emphasis) << c.param;
    }
  }
  for (int i : {0, 50, 127})
    EXPECT_EQ(rig.Curve().DrawnPoint(i), -rig.Points()[size_t(4 * i)]) << i;
  // So does a program change, after a drawing.
  rig.Stroke(TopEdge);
  rig.Idle();
  rig.plug.RestorePreset(3);
  EXPECT_EQ(rig.Curve().DrawnPoint(50), -rig.Points()[200]);
  EXPECT_NE(rig.Points()[200], 1.0);
}
