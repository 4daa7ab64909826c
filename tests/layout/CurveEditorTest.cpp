// The editor's curve displays and the distortion's curve editor: the displays follow
// the parameters, a drawing reaches the sound at the next block, the mouse rules of
// the editor, the curve menu's operations, and curve files that keep the curve.
#include "editor/EditorTestKit.h"

#include "editor/controls/IFileSelectorControl.h"
#include "editor/layout/IKvCurve.h"
#include "editor/layout/IKvCurve2.h"
#include "editor/layout/ThumpgeistEditor.h"
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace P = ParamIndex;

namespace
{
constexpr int kLeft = 837; // the curve editor's corner; it is 128 x 128
constexpr int kTop = 391;

// The test graphics with the module's images; the file dialog answers `path`.
class CurveGraphics : public FakeGraphics
{
public:
  explicit CurveGraphics(IPlugBase* owner)
    : FakeGraphics(owner, ThumpgeistEditor::kWidth, ThumpgeistEditor::kHeight)
  {
  }
  LICE_IBitmap* LoadPngResource(int number, const char* name) override
  {
    return IGraphics::LoadPngResource(number, name); // NOLINT(bugprone-parent-virtual-call)
  }
  IPopupMenu* RunPopupMenu(IPopupMenu* menu, const IRect& area) override
  {
    shown.clear();
    for (int i = 0; i < menu->NItems(); ++i)
      shown.push_back(menu->GetItem(i).flags & IPopupMenu::kSeparator ? "-" : menu->DisplayText(i));
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
  std::vector<std::string> shown;
  std::vector<FileAction> actions;
};

struct Rig
{
  Thumpgeist plug{nullptr};
  CurveGraphics* g = nullptr;
  ThumpgeistEditor* editor = nullptr;

  Rig()
  {
    auto graphics = std::make_unique<CurveGraphics>(&plug);
    g = graphics.get();
    editor = new ThumpgeistEditor(&plug, std::move(graphics));
    plug.AttachEditor(editor);
    Idle();
  }
  IKvCurve2& Curve() const { return *editor->CurveEditor(); }
  const auto& Points() const { return plug.Master().EditorChain().distortion.activeCurve->points; }
  const auto& AudioPoints() const
  {
    return plug.Master().AudioChain().distortion.activeCurve->points;
  }
  // One timer tick that draws, then one with nothing to draw (the idle ticks).
  void Idle()
  {
    IRect area;
    if (g->CollectDirty(area))
      g->Draw(area);
    IRect none;
    g->CollectDirty(none);
  }
  // A left-button stroke through the points, one pixel of x at a time.
  void Stroke(const std::vector<std::pair<int, int>>& path)
  {
    IMouseMod mod;
    mod.left = true;
    g->OnMouseDown(path[0].first, path[0].second, mod);
    for (size_t i = 1; i < path.size(); ++i)
      g->OnMouseDrag(path[i].first, path[i].second, mod);
    g->OnMouseUp(path.back().first, path.back().second, mod);
  }
  void ChooseFromMenu(int item)
  {
    g->menuChoice = item;
    IMouseMod mod;
    mod.right = true;
    g->OnMouseDown(kLeft + 64, kTop + 64, mod);
    g->OnMouseUp(kLeft + 64, kTop + 64, mod);
  }
  // One block of a held, strongly distorted note.
  std::vector<double> Block()
  {
    std::vector<double> left(256), right(256);
    double* outs[] = {left.data(), right.data()};
    plug.ProcessBlock(nullptr, outs, 256);
    return left;
  }
  void PlayDistorted(bool running)
  {
    plug.SetParameterFromEditor(P::kDistoOnOff, 1.0);
    plug.SetParameterFromEditor(P::kDistortion, 0.7);
    plug.OnActivate(running);
    MidiMessage on;
    on.status = 0x90;
    on.data1 = 36;
    on.data2 = 127;
    plug.ProcessMidiMessage(on);
  }
};

// Along the top edge of the whole editor: every drawn point -1, so the curve is +1.
std::vector<std::pair<int, int>> TopEdge()
{
  std::vector<std::pair<int, int>> path;
  for (int x = kLeft; x < kLeft + 128; ++x)
    path.emplace_back(x, kTop);
  return path;
}
} // namespace

TEST(CurveEditor, DrawingReachesTheSoundAtTheNextBlock)
{
  for (bool running : {false, true})
  {
    Rig drawn, plain;
    drawn.PlayDistorted(running);
    plain.PlayDistorted(running);
    ASSERT_EQ(drawn.Block(), plain.Block());
    drawn.Stroke(TopEdge());
    drawn.Idle();
    // Stopped, the idle tick applies the drawing; running, the next block does.
    EXPECT_EQ(drawn.Points()[0] == 1.0, !running) << running;
    const std::vector<double> heard = drawn.Block(), before = plain.Block();
    double difference = 0.0, level = 0.0;
    for (size_t i = 0; i < heard.size(); ++i)
    {
      difference += (heard[i] - before[i]) * (heard[i] - before[i]);
      level += before[i] * before[i];
    }
    EXPECT_GT(difference, 0.1 * level) << running;
    for (int point : {0, 200, 511})
    {
      EXPECT_EQ(drawn.Points()[size_t(point)], 1.0) << running << " point " << point;
      EXPECT_EQ(drawn.AudioPoints()[size_t(point)], 1.0) << running << " point " << point;
    }
    // The distortion trace shows the drawn curve; nothing waits any more.
    EXPECT_EQ(drawn.plug.Displays().CurveTrace()[64], 1.0);
    EXPECT_FALSE(drawn.Curve().CurveEdited());
  }
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
  const std::vector<std::string> texts = {
      "Restore Curve",         "Smooth Curve",           "Add Noise",
      "Smooth Zero-Crossing",  "Reset (Restore Linear)", "-",
      "Import Curve from CSV", "Export Curve to CSV"};
  EXPECT_EQ(rig.g->shown, texts);
}

TEST(CurveEditor, CurveFilesKeepTheCurve)
{
  Rig rig;
  std::vector<std::pair<int, int>> wave;
  for (int x = kLeft; x < kLeft + 128; ++x)
    wave.emplace_back(x, kTop + 64 + int(50 * std::sin(x / 9.0)));
  rig.Stroke(wave);
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
  EXPECT_NE(rig.Points(), decltype(drawn){});                           // something was read
  // What a file holds comes back bit for bit, into both sections, and the editor's
  // points follow it.
  const auto saved = rig.Points();
  saveResetLoad();
  EXPECT_EQ(rig.Points(), saved);
  EXPECT_EQ(rig.AudioPoints(), saved);
  EXPECT_EQ(rig.Curve().DrawnPoint(5), -saved[20]);
  EXPECT_EQ(rig.g->fileDialogs, std::vector<std::string>(4, "csv"));
  EXPECT_EQ(rig.g->actions[0], FileAction::Save);
  EXPECT_EQ(rig.g->actions[1], FileAction::Open);

  // Refused: no extension, a cancelled dialog, 511 values, and a missing file.
  const std::string plain = TG_TEST_TMP_DIR "/no-extension";
  const std::string short511 = TG_TEST_TMP_DIR "/short.CSV";
  std::remove(plain.c_str());
  {
    std::ofstream out(short511);
    for (int k = 0; k < 511; ++k)
      out << (k ? "," : "") << 0.25;
  }
  struct Refusal
  {
    std::string path;
    int item;
  };
  const Refusal refusals[] = {
      {plain, 7}, {"", 7}, {"", 6}, {short511, 6}, {TG_TEST_TMP_DIR "/missing.csv", 6}};
  rig.Idle();
  const std::vector<double> trace(rig.plug.Displays().CurveTrace(),
                                  rig.plug.Displays().CurveTrace() + 128);
  for (const Refusal& r : refusals)
  {
    rig.g->path = r.path;
    rig.ChooseFromMenu(r.item);
    EXPECT_EQ(rig.Points(), saved) << r.path;
    EXPECT_FALSE(rig.Curve().RefreshRequested()) << r.path;
  }
  EXPECT_FALSE(std::ifstream(plain).good());
  EXPECT_EQ(
      std::vector<double>(rig.plug.Displays().CurveTrace(), rig.plug.Displays().CurveTrace() + 128),
      trace);
}

TEST(CurveDisplays, FollowTheParametersFromTheFirstOpen)
{
  Rig rig;
  ThumpgeistEditor& e = *rig.editor;
  auto copy = [](const double* values, int n) { return std::vector<double>(values, values + n); };
  // Computed when the editor was attached.
  for (IKvCurve* display : {e.WaveformDisplay(0), e.VolumeEnvelopeDisplay()})
    EXPECT_NE(copy(display->Values(), display->Count()),
              std::vector<double>(size_t(display->Count()), 0.0));

  struct Case
  {
    int param;
    double value;
    IKvCurve* display;
  };
  const Case cases[] = {
      {P::Osc(0, P::kOscWaveform), 0.5, e.WaveformDisplay(0)},
      {P::Osc(1, P::kOscStartPhase), 0.8, e.WaveformDisplay(1)},
      {P::Osc(2, P::kOscWaveform), 5.0 / 39.0, e.WaveformDisplay(2)},
      {P::kVolEnvAttack, 0.8, e.VolumeEnvelopeDisplay()},
      {P::kFilterEnvDecay, 0.9, e.FilterEnvelopeDisplay()},
      {P::kAdsrShape, 0.9, e.FilterEnvelopeDisplay()},
      {P::kPitchAmount, 0.5, e.PitchEnvelopeDisplay()},
      {P::kPitchDown, 0.5, e.PitchEnvelopeDisplay()},
  };
  for (const Case& c : cases)
  {
    const std::vector<double> before = copy(c.display->Values(), c.display->Count());
    rig.plug.SetParameterFromEditor(c.param, c.value);
    EXPECT_NE(copy(c.display->Values(), c.display->Count()), before) << c.param;
    rig.Idle();
    EXPECT_TRUE(c.display->IsDirty()) << c.param; // the idle tick asked for a redraw
    EXPECT_FALSE(c.display->RefreshRequested()) << c.param;
  }

  // The shaper's changes bring its trace forward; a type change reloads the drawing
  // from the type's curve and brings the distortion's trace back.
  const CurveDisplays& shown = rig.plug.Displays();
  const std::vector<double> shaper = copy(shown.ShaperTrace(), 128);
  rig.plug.SetParameterFromEditor(P::kDynShaperAmount, 0.9);
  EXPECT_NE(copy(shown.ShaperTrace(), 128), shaper);
  EXPECT_EQ(rig.Curve().Emphasis(), 1);
  EXPECT_EQ(e.SinePreview()->Emphasis(), 1);
  const std::vector<double> curve = copy(shown.CurveTrace(), 128);
  rig.plug.SetParameterFromEditor(P::kDistoType, 0.5);
  EXPECT_NE(copy(shown.CurveTrace(), 128), curve);
  EXPECT_EQ(rig.Curve().Emphasis(), 0);
  for (int i : {0, 50, 127})
    EXPECT_EQ(rig.Curve().DrawnPoint(i), -rig.Points()[size_t(4 * i)]) << i;
  // So does a program change, after a drawing.
  rig.Stroke(TopEdge());
  rig.Idle();
  rig.plug.RestorePreset(3);
  EXPECT_EQ(rig.Curve().DrawnPoint(50), -rig.Points()[200]);
  EXPECT_NE(rig.Points()[200], 1.0);
}
