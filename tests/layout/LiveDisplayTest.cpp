// The editor's live displays while the instrument plays (the oscilloscope and its
// buttons, the level eyes, the maximum level and its reset), and its value texts and
// menus after changes that come from the host rather than from the editor.
#include "layout/ModuleEditor.h"

#include "editor/controls/IKnobMultiControl.h"
#include "editor/controls/IKvCaptionControl.h"
#include "editor/controls/IKvTabButton.h"
#include "editor/controls/IZoomTextControl.h"
#include "editor/layout/IKvFeedbackText.h"
#include "editor/layout/IKvFilterUnitMenu.h"
#include "editor/layout/IKvFreezeButton.h"
#include "editor/layout/IKvMaxLevelText.h"
#include "editor/layout/IKvNoteModePresetMenu.h"
#include "editor/layout/IKvResetButton.h"
#include "editor/layout/IKvScopeHollowFilledSelectionButton.h"
#include "editor/layout/IKvScopeWaveSelectionButton.h"
#include "editor/layout/IKvVuEyeDrawer.h"
#include "editor/layout/IKvWaveDrawer.h"
#include "editor/layout/IKvWaveformPresetMenu.h"
#include "editor/layout/IKvZoomSwitch.h"
#include "editor/layout/ThumpgeistEditor.h"
#include "effects/oscfilter/OscFilterUnit.h"
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"
#include "voice/VoicePool.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace P = ParamIndex;

namespace
{
struct Live : ModuleEditor<>
{
  template <class Control>
  Control* First(int nth = 0, int param = -1) const
  {
    for (int i = 0; i < g->NControls(); ++i)
      if (auto* c = dynamic_cast<Control*>(g->GetControl(i)))
        if ((param < 0 || c->GetParamIdx() == param || c->AuxParamPosition(param) >= 0) &&
            nth-- == 0)
          return c;
    return nullptr;
  }
  void Press(IControl* c, bool right = false, bool release = true)
  {
    IMouseMod mod;
    mod.left = !right;
    mod.right = right;
    g->OnMouseDown(c->GetRect().MidX(), c->GetRect().MidY(), mod);
    if (release)
      g->OnMouseUp(c->GetRect().MidX(), c->GetRect().MidY(), mod);
  }
  void ShowPage(int page) { Press(First<IKvTabButton>(page)); }
  // The host plays a note for the given time, the timer ticking every other block.
  void Play(int note, double seconds)
  {
    plug.OnActivate(true);
    plug.ProcessMidiMessage({0, 0x90, uint8_t(note), 127});
    std::vector<double> left(1024), right(1024);
    double* out[2] = {left.data(), right.data()};
    for (int block = 0; block * 1024 < int(seconds * plug.GetSampleRate()); ++block)
    {
      plug.ProcessBlock(nullptr, out, 1024);
      if (block % 2 == 1)
        Tick();
    }
    // Until every display shows the last block.
    for (int tick = 0; tick < 6; ++tick)
      Tick();
  }
  void Host(int idx, double v)
  {
    plug.GetAEffect()->setParameter(plug.GetAEffect(), idx, float(v));
  }
  std::uint32_t Rgb(int x, int y) const { return g->Pixel(x, y) & 0xFFFFFFu; }
};
} // namespace

TEST(LiveDisplays, TheScopeDrawsTheRenderedOutputColumnByColumnInBothLanes)
{
  Live e;
  e.ShowPage(ThumpgeistEditor::kScopePage);
  ASSERT_EQ(e.plug.DisplayMode(), Thumpgeist::kDisplayScope);
  e.Play(36, 0.4);
  const IKvWaveDrawer* scope = e.editor->Scope();
  const IRect& r = scope->GetRect();
  const int a = r.H() / 4;
  const std::vector<ScopeRecord>& ring = e.plug.GetScope().Ring();
  const int start = e.plug.GetScope().WriteCounter();
  const std::uint32_t output =
      IKvWaveDrawer::TraceColour(IKvWaveDrawer::kOutput).Pixel() & 0xFFFFFFu;
  const std::uint32_t cleared = IKvWaveDrawer::ClearedColour().Pixel() & 0xFFFFFFu;
  int written = 0;
  for (int i = 1; i < 980; ++i)
  {
    const ScopeRecord& rec = ring[size_t((start + i) % 980)];
    const double values[2] = {rec.left, rec.right};
    for (int lane = 0; lane < 2; ++lane)
    {
      // y = lane centre - v a, kept inside the rectangle.
      const double y = r.top + (2 * lane + 1) * a - values[lane] * a;
      const int row = std::clamp(int(std::floor(y + 0.5)), r.top, r.bottom - 1);
      ASSERT_EQ(e.Rgb(r.left + i, row), rec.emptyMarker ? cleared : output)
          << "column " << i << " lane " << lane;
    }
    written += rec.emptyMarker ? 0 : 1;
  }
  // 0.4 s at 45 samples a record; the rest the page cleared when it was shown.
  EXPECT_NEAR(written, 0.4 * 44100 / 45, 25);
}

TEST(LiveDisplays, TheScopeButtonsSwitchTracesCycleFillModesFreezeAndZoom)
{
  Live e;
  e.ShowPage(ThumpgeistEditor::kScopePage);
  IKvWaveDrawer* scope = e.editor->Scope();
  const bool startsOn[] = {true, true, true, false, false, true};
  for (int t = 0; t < IKvWaveDrawer::kTraces; ++t)
  {
    auto* button = e.First<IKvScopeWaveSelectionButton>(t);
    ASSERT_EQ(button->GetTrace(), t);
    EXPECT_EQ(button->GetValue(), startsOn[t] ? 1.0 : 0.0) << "trace " << t;
    e.Press(button);
    EXPECT_EQ(scope->TraceOn(t), !startsOn[t]) << "trace " << t;
    EXPECT_EQ(button->GetValue(), startsOn[t] ? 0.0 : 1.0) << "trace " << t;
  }
  // Half filled at first, then filled, hollow, half filled: three looks in turn.
  auto* fill = e.First<IKvScopeHollowFilledSelectionButton>();
  EXPECT_EQ(fill->GetValue(), 0.5);
  for (double look : {1.0, 0.0, 0.5, 1.0, 0.0})
  {
    e.Press(fill);
    EXPECT_EQ(fill->GetValue(), look);
    EXPECT_EQ(scope->GetFillMode() * 0.5, look);
  }
  auto* freeze = e.First<IKvFreezeButton>();
  e.Press(freeze);
  EXPECT_TRUE(e.plug.GetScope().Frozen());
  EXPECT_EQ(freeze->GetValue(), 1.0);
  e.Press(freeze);
  EXPECT_FALSE(e.plug.GetScope().Frozen());

  // Minus and plus, left and right button, the wheel over the scope and over the text.
  IControl* minus = e.First<IKvZoomSwitch>(0);
  IControl* plus = e.First<IKvZoomSwitch>(1);
  auto* text = e.First<IZoomTextControl>();
  struct Zoom
  {
    IControl* target;
    bool right;
    int notches; // 0: a press
    int percent;
  };
  const Zoom steps[] = {{plus, false, 0, 110}, {plus, true, 0, 150},   {minus, false, 0, 140},
                        {minus, true, 0, 100}, {scope, false, 2, 120}, {text, false, -3, 90}};
  for (const Zoom& z : steps)
  {
    if (z.notches == 0)
    {
      e.Press(z.target, z.right, false);
      EXPECT_EQ(z.target->GetValue(), 1.0); // lit while pressed
      e.g->OnMouseUp(0, 0, IMouseMod());
      EXPECT_EQ(z.target->GetValue(), 0.0);
    }
    else
      e.g->OnMouseWheel(z.target->GetRect().MidX(), z.target->GetRect().MidY(), IMouseMod(),
                        z.notches);
    EXPECT_EQ(e.plug.GetScope().ZoomPercent(), z.percent);
    EXPECT_NEAR(e.plug.GetScope().Zoom(), 2.0 - z.percent / 100.0, 1e-12);
    EXPECT_EQ(text->GetTextString(), std::to_string(z.percent) + " %");
  }
}

TEST(LiveDisplays, TheEyesRiseWithALoudNoteAndFadeOnIdleTicksOnceProcessingStops)
{
  Live e;
  e.ShowPage(ThumpgeistEditor::kAboutPage);
  e.Play(36, 0.3);
  const IRect& eye = e.First<IKvVuEyeDrawer>(0)->GetRect();
  const Korvane::EnvFollower& follower = e.plug.Master().LevelFollower();
  const double level = follower.getEnvLeft();
  ASSERT_GT(level, 0.5);
  auto red = [&] { return int(e.Rgb(eye.left + 1, eye.bottom - 2) >> 16); };
  EXPECT_EQ(red(), int(level * 255));
  // Processing stops: every idle tick (every other timer tick, since the eyes then
  // redraw) decays by release-coefficient^trunc(trunc(0.5 s x 44100) / 20), about e^-0.05.
  e.plug.OnActivate(false);
  for (int tick = 0; tick < 20; ++tick)
    e.Tick();
  const double expected = level * std::pow(follower.getReleaseCoef(), 10 * 1102);
  EXPECT_NEAR(follower.getEnvLeft(), expected, 1e-12);
  const double faded = follower.getEnvLeft();
  EXPECT_NEAR(expected / level, std::exp(-0.5), 1e-3);
  EXPECT_EQ(red(), int(faded * 255));
  // Away from the About page nothing decays.
  e.ShowPage(ThumpgeistEditor::kSynthPage);
  for (int tick = 0; tick < 6; ++tick)
    e.Tick();
  EXPECT_EQ(follower.getEnvLeft(), faded);
}

TEST(LiveDisplays, TheMaximumLevelWarnsAboveFullScaleAndTheResetClearsIt)
{
  struct Case
  {
    double limit;
    bool processing;
    bool warns;
  };
  for (const Case c : {Case{0.0, true, true}, Case{1.0, false, false}})
  {
    Live e;
    auto* text = e.First<IKvMaxLevelText>();
    const IColor normal = text->GetText().color;
    EXPECT_EQ(text->GetTextString(), "MAXIMUM AUDIO LEVEL: -oo dB");
    e.Host(P::kLimitOutput, c.limit);
    e.Play(36, 0.2); // the default sound goes past full scale unlimited
    const double peak = std::max(e.plug.LeftPeak(), e.plug.RightPeak());
    EXPECT_EQ(peak > 1.0, c.warns);
    EXPECT_EQ(text->GetText().color == normal, !c.warns) << "limit " << c.limit;
    EXPECT_EQ(text->GetTextString(), IKvMaxLevelText::Format(peak));
    // While processing the next block clears the peaks; otherwise they go at once.
    e.plug.OnActivate(c.processing);
    e.Press(e.First<IKvResetButton>());
    EXPECT_EQ(e.plug.LeftPeak() == 0.0, !c.processing);
    e.Tick();
    e.Tick();
    EXPECT_EQ(text->GetTextString() == "MAXIMUM AUDIO LEVEL: -oo dB", !c.processing);
    EXPECT_EQ(text->GetText().color == normal, !c.warns || !c.processing);
  }
}

// Every value text follows a change its parameter gets from the host: it asks for a
// redraw and then shows the text for the new value; then the texts worked out from
// the routing, also where another parameter changes them.
TEST(LiveDisplays, EveryValueTextAndMenuFollowsTheHost)
{
  Live e;
  int texts = 0;
  for (int i = 0; i < e.g->NControls(); ++i)
  {
    auto* text = dynamic_cast<ITextControl*>(e.g->GetControl(i));
    auto* caption = dynamic_cast<IKvCaptionControl*>(text);
    auto* feedback = dynamic_cast<IKvFeedbackText*>(text);
    if (!caption && !feedback)
      continue;
    const int idx = text->GetParamIdx();
    e.Tick();
    const double v = e.plug.GetParam(idx)->GetNormalized() < 0.5 ? 0.8 : 0.2;
    e.Host(idx, v);
    EXPECT_TRUE(text->NeedsPaint()) << "parameter " << idx;
    e.Tick();
    char shown[64] = "";
    if (feedback)
      e.plug.FeedbackText(idx, shown, sizeof shown);
    EXPECT_EQ(text->GetTextString(), caption ? caption->CaptionText() : shown)
        << "parameter " << idx;
    ++texts;
  }
  EXPECT_GT(texts, 60);

  auto shownFor = [&](int param) -> std::string
  {
    e.Tick();
    auto* text = e.First<IKvFeedbackText>(0, param);
    return text ? text->GetTextString() : "(none)";
  };
  struct Row
  {
    int param;
    double value;
    int shownParam;
    const char* expected;
  };
  const Row rows[] = {
      {P::Osc(1, P::kOscFilterBalance), 0.25, P::Osc(1, P::kOscFilterBalance), "75.0% / 25.0%"},
      {P::kUnisonVoices, 0.49, P::kUnisonVoices, "1"},
      {P::kUnisonVoices, 0.5, P::kUnisonVoices, "2"},
      {P::kPitchBendRange, 1.0, P::kPitchBendRange, "+/- 12"},
      {P::kPitchBendRange, 0.4, P::kPitchBendRange, "+/- 4"},
      {P::kFilterEnvDuration, 0.2, P::kFilterEnvAttack, nullptr},
      {P::kFilterEnvAttack, 0.1, P::kFilterEnvAttack, "0.100 s"}, // 0.1 x 0.2 x 5 s
      {P::kFilterEnvDuration, 0.4, P::kFilterEnvAttack, "0.200 s"},
      {P::kFilterEnvRelease, 0.5, P::kFilterEnvRelease, "1.000 s"},
      {P::kFilterEnvVelocity, 0.5, P::kFilterEnvVelocity, "0.500"},
      {P::kFilterEnvAmount, 0.5, P::kFilterEnvAmount, "-6.0dB"},
      {P::kFilterEnvAmount, 0.0, P::kFilterEnvAmount, "-oo dB"},
      {P::kGateCrack, 0.0, P::kGateCrack, "-oodB"},
  };
  for (const Row& r : rows)
  {
    e.Host(r.param, r.value);
    if (r.expected)
    {
      EXPECT_EQ(shownFor(r.shownParam), r.expected) << "parameter " << r.param << " at " << r.value;
    }
  }

  // The menus: the host's choice shows, and a choice lists and sets what it should.
  e.Host(P::Osc(0, P::kOscFilterTypeRight), 0.75);
  e.Host(P::kNoteTransposeMode, 4.0 / 9);
  e.Host(P::Osc(2, P::kOscWaveform), 2.0 / 39);
  auto* filter = e.First<IKvFilterUnitMenu>(0, P::Osc(0, P::kOscFilterTypeRight));
  auto* mode = e.First<IKvNoteModePresetMenu>();
  auto* wave = e.First<IKvWaveformPresetMenu>(0, P::Osc(2, P::kOscWaveform));
  EXPECT_TRUE(filter->NeedsPaint() && mode->NeedsPaint() && wave->NeedsPaint());
  EXPECT_EQ(filter->CurrentText(), Korvane::OscFilterUnit::shortTypeName(3));
  EXPECT_EQ(mode->CurrentText(), Korvane::VoicePool::transposeModeName(4));
  EXPECT_EQ(wave->CurrentText(), Korvane::WaveformProvider::waveformName(2));
  e.g->menuChoice = 9;
  e.Press(mode);
  EXPECT_EQ(e.g->menuItems, 10);
  EXPECT_DOUBLE_EQ(e.plug.GetParam(P::kNoteTransposeMode)->Value(), 1.0);

  // The LFO rates grey while their own LFO follows the tempo, or all of them while a
  // linked oscillator does; the routing's own changes reach the knobs.
  struct Grey
  {
    double link1, sync1, sync3;
    bool grey[3];
  };
  const Grey greys[] = {{0.0, 0.0, 0.0, {false, false, false}},
                        {0.0, 0.0, 0.5, {false, false, true}},
                        {1.0, 0.0, 0.0, {false, false, false}},
                        {1.0, 0.5, 0.0, {true, true, true}}};
  for (const Grey& gr : greys)
  {
    e.Host(P::Osc(1, P::kOscLfoLinkAll), 0.0);
    e.Host(P::Osc(1, P::kOscLfoTempoSync), 0.0);
    e.Host(P::Osc(0, P::kOscLfoLinkAll), gr.link1);
    e.Host(P::Osc(0, P::kOscLfoTempoSync), gr.sync1);
    e.Host(P::Osc(2, P::kOscLfoTempoSync), gr.sync3);
    for (int osc = 0; osc < 3; ++osc)
      EXPECT_EQ(e.editor->LfoRateKnob(osc)->IsGreyed(), gr.grey[osc]) << gr.link1 << gr.sync1;
  }
  e.Host(P::Osc(0, P::kOscLfoTempoSync), 0.0);
  e.Host(P::Osc(0, P::kOscLfoFreq), 0.3); // linked: the other two LFOs follow
  for (int osc = 1; osc < 3; ++osc)
    EXPECT_FLOAT_EQ(float(e.editor->LfoRateKnob(osc)->GetValue()), 0.3f);
}
