#include "EditorTestKit.h"
#include "editor/controls/ICaptionControl.h"
#include "editor/controls/IFaderControl.h"
#include "editor/controls/IFileSelectorControl.h"
#include "editor/controls/IKnobMultiControl.h"
#include "editor/controls/IKvPageSet.h"
#include "editor/controls/IKvTabButton.h"
#include "editor/controls/IKvUrlButton.h"
#include "editor/controls/ISwitchControl.h"

#include <gtest/gtest.h>

namespace
{
using Log = std::vector<std::string>;
const IMouseMod kLeft{true, false, false, false, false};
const IMouseMod kRight{false, true, false, false, false};
const IMouseMod kShift{true, false, true, false, false};
const IMouseMod kControl{true, false, false, true, false};

// A 40 x 40 knob of 10 frames at (50, 30) bound to "Gain" (0..1).
struct KnobRig
{
  EditorTestPlug plug;
  FakeGraphics g{&plug};
  std::unique_ptr<LICE_MemBitmap> strip{MakeStrip(40, 400)};
  IKnobMultiControl* knob;
  explicit KnobRig(Direction direction = Direction::Vertical, double start = 0.0)
  {
    knob = new IKnobMultiControl(&plug, 50, 30, 0, IBitmap{strip.get(), 40, 400, 10, false},
                                 direction);
    g.AttachControl(knob);
    g.SetParameterFromPlug(0, start, true);
  }
};
} // namespace

TEST(IKnobMultiControl, DragMovesTheParameterByTheGearingAndTellsTheHost)
{
  const struct
  {
    Direction direction;
    double start;
    int dx, dy;
    IMouseMod mod;
    double expected;
  } cases[] = {
      {Direction::Vertical, 0.0, 0, -160, kLeft, 1.0},     // 4 heights sweep the range
      {Direction::Vertical, 0.0, 0, -160, kShift, 0.1},    // ten times finer
      {Direction::Vertical, 0.0, 0, -160, kControl, 0.1},
      {Direction::Vertical, 0.5, 0, 40, kLeft, 0.25},      // down lowers
      {Direction::Vertical, 0.5, 0, -400, kLeft, 1.0},     // clamped
      {Direction::Vertical, 0.5, 30, 0, kLeft, 0.5},       // sideways does nothing
      {Direction::Horizontal, 0.0, 80, 0, kLeft, 0.5},
      {Direction::Horizontal, 0.5, -200, 0, kLeft, 0.0},
  };
  for (const auto& c : cases)
  {
    KnobRig r(c.direction, c.start);
    r.g.OnMouseDown(60, 40, c.mod);
    r.g.OnMouseDrag(60 + c.dx, 40 + c.dy, c.mod);
    r.g.OnMouseUp(60 + c.dx, 40 + c.dy, c.mod);
    EXPECT_NEAR(r.knob->GetValue(), c.expected, 1e-12) << c.dx << "," << c.dy;
    EXPECT_NEAR(r.plug.GetParam(0)->Value(), c.expected, 1e-12) << c.dx << "," << c.dy;
    EXPECT_EQ(r.plug.log, (Log{"begin 0", "automate 0", "end 0"})) << c.dx << "," << c.dy;
    EXPECT_NEAR(r.plug.values.at(0), c.expected, 1e-12);
  }
}

TEST(IKnobMultiControl, FramesFollowTheValue)
{
  std::unique_ptr<LICE_MemBitmap> strip(MakeStrip(4, 128 * 4));
  const struct
  {
    int frames;
    double value;
    int frame;
  } cases[] = {{128, 0.5, 65}, {128, 0.0, 1}, {128, 1.0, 128}, {7, 0.5, 4}, {1, 0.7, 1}, {2, 0.49, 1}};
  for (const auto& c : cases)
  {
    IKnobMultiControl knob(nullptr, 0, 0, -1, IBitmap{strip.get(), 4, 512, c.frames, false});
    knob.SetValue(c.value);
    EXPECT_EQ(knob.FrameForValue(), c.frame) << c.frames << " " << c.value;
  }
}

TEST(IControl, DoubleClickRestoresTheDefaultAndWheelSteps)
{
  KnobRig r(Direction::Vertical, 0.5);
  r.g.OnMouseDown(60, 40, kLeft);
  r.g.OnMouseDrag(60, 0, kLeft);
  r.g.OnMouseUp(60, 0, kLeft);
  ASSERT_GT(r.knob->GetValue(), 0.7);
  r.plug.log.clear();
  EXPECT_FALSE(r.g.OnMouseDblClick(60, 40, kLeft));
  EXPECT_DOUBLE_EQ(r.knob->GetValue(), 0.5);
  EXPECT_DOUBLE_EQ(r.plug.GetParam(0)->Value(), 0.5);
  EXPECT_EQ(r.plug.log, (Log{"begin 0", "automate 0", "end 0"}));

  const struct
  {
    IMouseMod mod;
    int notches;
    double expected;
  } wheel[] = {{kLeft, 1, 0.51}, {kShift, 1, 0.511}, {kControl, -2, 0.509}, {kLeft, -3, 0.479},
               {kLeft, 100, 1.0}};
  for (const auto& w : wheel)
  {
    r.g.OnMouseWheel(60, 40, w.mod, w.notches);
    EXPECT_NEAR(r.plug.GetParam(0)->Value(), w.expected, 1e-9) << w.notches;
  }
}

TEST(IControl, GreyedControlsIgnoreTheMouse)
{
  KnobRig r(Direction::Vertical, 0.5);
  r.knob->SetGreyed(true);
  EXPECT_FLOAT_EQ(r.knob->GetBlend().weight, 0.25f);
  r.g.OnMouseDown(60, 40, kLeft);
  r.g.OnMouseDrag(60, 0, kLeft);
  r.g.OnMouseUp(60, 0, kLeft);
  r.g.OnMouseWheel(60, 40, kLeft, 5);
  r.g.OnMouseDblClick(60, 40, kLeft);
  EXPECT_DOUBLE_EQ(r.plug.GetParam(0)->Value(), 0.5);
  EXPECT_TRUE(r.plug.log.empty());
  r.knob->SetGreyed(false);
  EXPECT_FLOAT_EQ(r.knob->GetBlend().weight, 1.0f);
}

TEST(ISwitchControl, PressesStepThroughTheStatesAndWrap)
{
  std::unique_ptr<LICE_MemBitmap> strip(MakeStrip(20, 40));
  const struct
  {
    int frames;
    std::vector<double> values;
  } cases[] = {{2, {1.0, 0.0, 1.0}}, {4, {1.0 / 3, 2.0 / 3, 1.0, 0.0}}, {1, {1.0, 0.0}}};
  for (const auto& c : cases)
  {
    EditorTestPlug plug;
    ISwitchControl s(&plug, 0, 0, 1, IBitmap{strip.get(), 20, 40, c.frames, false});
    for (double v : c.values)
    {
      s.MouseDown(1, 1, kLeft);
      EXPECT_NEAR(s.GetValue(), v, 1e-12) << c.frames;
      // "Mode" runs 0..2 in steps of 1: the parameter follows the normalized value.
      EXPECT_NEAR(plug.GetParam(1)->GetNormalized(), v, 0.5) << c.frames;
    }
  }
}

TEST(IFaderControl, PressPlacesTheHandleUnderThePointer)
{
  EditorTestPlug plug;
  std::unique_ptr<LICE_MemBitmap> handle(MakeStrip(14, 14));
  const IBitmap h{handle.get(), 14, 14, 1, false};
  // Horizontal: track of 100 at x = 10; the handle's centre follows the pointer.
  IFaderControl across(&plug, 10, 5, 100, 0, h, Direction::Horizontal, true);
  IFaderControl down(&plug, 10, 5, 100, 0, h, Direction::Vertical);
  const struct
  {
    IFaderControl* fader;
    int x, y;
    double value;
    IRect handleRect;
  } cases[] = {
      {&across, 17, 8, 0.0, IRect(10, 5, 24, 19)},
      {&across, 60, 8, 0.5, IRect(53, 5, 67, 19)},
      {&across, 500, 8, 1.0, IRect(96, 5, 110, 19)},
      {&down, 12, 12, 1.0, IRect(10, 5, 24, 19)},
      {&down, 12, 98, 0.0, IRect(10, 91, 24, 105)},
  };
  for (const auto& c : cases)
  {
    c.fader->MouseDown(c.x, c.y, kLeft);
    EXPECT_NEAR(c.fader->GetValue(), c.value, 1e-12) << c.x << "," << c.y;
    EXPECT_EQ(c.fader->GetHandleRect(), c.handleRect) << c.x << "," << c.y;
    EXPECT_NEAR(plug.GetParam(0)->Value(), c.value, 1e-12);
  }
  // Only the handle takes hits when asked; the vertical one takes its whole track.
  EXPECT_TRUE(across.HitTest(100, 10));
  EXPECT_FALSE(across.HitTest(30, 10));
  EXPECT_TRUE(down.HitTest(12, 50));
}

TEST(ICaptionControl, ShowsTheValueTextAndPromptsOnlyWhenEnabled)
{
  EditorTestPlug plug;
  FakeGraphics g(&plug);
  auto* caption = new ICaptionControl(&plug, IRect(20, 20, 80, 36), 0, IText());
  auto* offset = new ICaptionControl(&plug, IRect(20, 40, 80, 56), 2, IText(), false);
  g.AttachControl(caption);
  g.AttachControl(offset);
  plug.GetParam(2)->Set(0.25);
  EXPECT_EQ(caption->CaptionText(), "0.500 dB");
  EXPECT_EQ(offset->CaptionText(), "-0.25"); // a negated display
  g.OnMouseDown(30, 25, kLeft);
  EXPECT_TRUE(g.entries.empty()); // prompts are off unless a control turns them on
  caption->SetPromptEnabled(true);
  offset->SetPromptEnabled(true);
  g.OnMouseDown(30, 25, kLeft);
  g.OnMouseDown(30, 45, kRight);
  EXPECT_EQ(g.entries, (std::vector<std::string>{"0.500", "-0.25"}));
  EXPECT_EQ(g.entryRect, IRect(35, 40, 65, 56)); // 30 x 16 on the control's centre

  // Committed text becomes the value (negated back where the display negates).
  g.CommitTextEntry(offset, 2, "0.5");
  EXPECT_DOUBLE_EQ(plug.GetParam(2)->Value(), -0.5);
  g.CommitTextEntry(offset, 2, "abc");
  EXPECT_DOUBLE_EQ(plug.GetParam(2)->Value(), -0.5);
}

TEST(IKvTabButton, PagesShowOnlyTheirControls)
{
  EditorTestPlug plug;
  FakeGraphics g(&plug);
  std::unique_ptr<LICE_MemBitmap> tabImage(MakeStrip(85, 100));
  const IBitmap tab{tabImage.get(), 85, 100, 2, false};
  IKvPageSet pages(&g);
  Log log;
  const int synth = g.AttachControl(new LogControl(&log, "synth", IRect(0, 0, 100, 40)));
  const int scope = g.AttachControl(new LogControl(&log, "scope", IRect(0, 0, 100, 40)));
  pages.AddToPage(0, synth);
  pages.AddToPage(1, scope);
  pages.HidePage(1);
  IKvTabButton* tabs[3];
  for (int p = 0; p < 3; ++p)
  {
    tabs[p] = new IKvTabButton(&plug, 10 + 85 * p, 50, tab, &pages, p);
    g.AttachControl(tabs[p]);
    pages.SetTabButton(p, tabs[p]);
  }
  tabs[0]->SetValue(1.0);
  const struct
  {
    int clickX;
    int page;
    const char* hit;
  } steps[] = {{20, 0, "synth down"}, {100, 1, "scope down"}, {190, 2, ""}, {20, 0, "synth down"},
               {20, 0, "synth down"}};
  for (const auto& s : steps)
  {
    g.OnMouseDown(s.clickX, 60, kLeft);
    g.OnMouseUp(s.clickX, 60, kLeft);
    EXPECT_EQ(pages.CurrentPage(), s.page);
    for (int p = 0; p < 3; ++p)
      EXPECT_DOUBLE_EQ(tabs[p]->GetValue(), p == s.page ? 1.0 : 0.0) << s.page;
    log.clear();
    g.OnMouseDown(5, 5, kLeft);
    EXPECT_EQ(log.empty() ? "" : log.front(), std::string(s.hit)) << s.page;
    g.OnMouseUp(5, 5, kLeft);
  }
}

TEST(IKvUrlButton, TriesTheFallbackOnlyWhenThePrimaryFails)
{
  const struct
  {
    const char* working;
    std::vector<std::string> tried;
  } cases[] = {{"https://a", {"https://a"}}, {"https://b", {"https://a", "https://b"}}};
  for (const auto& c : cases)
  {
    EditorTestPlug plug;
    FakeGraphics g(&plug);
    std::unique_ptr<LICE_MemBitmap> icon(MakeStrip(20, 40));
    g.workingUrl = c.working;
    auto* button = new IKvUrlButton(&plug, 0, 0, IBitmap{icon.get(), 20, 40, 2, false}, "https://a",
                                    "https://b", "Korvane");
    g.AttachControl(button);
    g.OnMouseDown(5, 5, kLeft);
    EXPECT_DOUBLE_EQ(button->GetValue(), 1.0);
    g.OnMouseUp(5, 5, kLeft);
    EXPECT_DOUBLE_EQ(button->GetValue(), 0.0);
    EXPECT_EQ(g.urls, c.tried);
  }
}

TEST(IFileSelectorControl, TheDialogStepsTheValueAndAsksForOneMoreDrawing)
{
  EditorTestPlug plug;
  FakeGraphics g(&plug);
  auto* selector = new IFileSelectorControl(&plug, IRect(0, 0, 20, 20), -1, IBitmap(), FileAction::Open);
  g.AttachControl(selector);
  g.Draw(IRect(0, 0, 200, 100));
  EXPECT_FALSE(selector->NeedsPaint());
  const double values[] = {1.0, 0.0, 1.0};
  for (double v : values)
  {
    g.OnMouseDown(5, 5, kLeft);
    EXPECT_DOUBLE_EQ(selector->GetValue(), v);
    g.Draw(IRect(0, 0, 200, 100));
    EXPECT_TRUE(selector->NeedsPaint());  // once after the dialog...
    EXPECT_FALSE(selector->NeedsPaint()); // ...and no more
  }
  EXPECT_EQ(g.fileDialogs, (std::vector<std::string>(3, "kv bgp fxp")));
}
