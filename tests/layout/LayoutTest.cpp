// The instrument's editor as a new instance builds it: which parameters its pages
// offer, where its controls sit, which images it finds, how the tabs switch the pages,
// and how its own menus, steppers and value texts behave.
#include "layout/ModuleEditor.h"

#include "editor/controls/IBitmapControl.h"
#include "editor/controls/IFaderControl.h"
#include "editor/controls/IKvCaptionControl.h"
#include "editor/controls/IKvGlobalTransposeKnob.h"
#include "editor/controls/IKvModeSwitch.h"
#include "editor/controls/IKvPresetSwitch.h"
#include "editor/controls/IKvTabButton.h"
#include "editor/core/BitmapCache.h"
#include "editor/layout/IKvDistoPresetMenu.h"
#include "editor/layout/IKvFilterUnitMenu.h"
#include "editor/layout/IKvHostInfoText.h"
#include "editor/layout/IKvMaxLevelText.h"
#include "editor/layout/IKvPresetMenu.h"
#include "editor/layout/IKvWaveformPresetMenu.h"
#include "editor/layout/ThumpgeistEditor.h"
#include "effects/distortion/DistortionTypes.h"
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <typeinfo>

namespace P = ParamIndex;

namespace
{
// The off-screen test graphics, with the module's own images, and the menus it is
// asked to show remembered.
class LayoutGraphics : public ModuleGraphics
{
public:
  using ModuleGraphics::ModuleGraphics;
  LICE_IBitmap* LoadPngResource(int number, const char* name) override
  {
    LICE_IBitmap* image = ModuleGraphics::LoadPngResource(number, name);
    if (!image)
      missing.insert(number);
    ++loads;
    return image;
  }
  IPopupMenu* RunPopupMenu(IPopupMenu* menu, const IRect& area) override
  {
    shown.clear();
    checked = -1;
    for (int i = 0; i < menu->NItems(); ++i)
    {
      shown.push_back(menu->DisplayText(i));
      if (menu->GetItem(i).flags & IPopupMenu::kChecked)
        checked = i;
    }
    return FakeGraphics::RunPopupMenu(menu, area);
  }

  std::set<int> missing;
  int loads = 0;
  std::vector<std::string> shown;
  int checked = -1;
};

struct Editor : ModuleEditor<LayoutGraphics>
{
  Editor() : ModuleEditor(true) {} // every image is loaded afresh, and so seen

  // The first control of a class, optionally serving a parameter (bound or additional).
  template <class Control>
  Control* First(int param = -1, int nth = 0) const
  {
    for (int i = 0; i < g->NControls(); ++i)
    {
      IControl* c = g->GetControl(i);
      auto* found = dynamic_cast<Control*>(c);
      if (found && (param < 0 || Serves(*c, param)) && nth-- == 0)
        return found;
    }
    return nullptr;
  }
  static bool Serves(const IControl& c, int param)
  {
    return c.GetParamIdx() == param || c.AuxParamPosition(param) >= 0;
  }
  void Click(const IControl* c, bool right = false)
  {
    IMouseMod mod;
    mod.left = !right;
    mod.right = right;
    const IRect& r = c->GetTargetRect();
    g->OnMouseDown(r.MidX(), r.MidY(), mod);
    g->OnMouseUp(r.MidX(), r.MidY(), mod);
  }
  double Value(int param) { return plug.GetParam(param)->Value(); }
};

// Knobs, switches, buttons and sliders: every bitmap control that is more than a
// picture, and the faders.
bool IsOperable(const IControl& c)
{
  return (dynamic_cast<const IBitmapControl*>(&c) && typeid(c) != typeid(IBitmapControl)) ||
         dynamic_cast<const IFaderControl*>(&c);
}
} // namespace

TEST(ThumpgeistEditorLayout, EverySoundParameterHasAControlOnTheSynthesizerPage)
{
  Editor e;
  std::set<int> served;
  for (int idx : e.editor->Pages().Page(ThumpgeistEditor::kSynthPage))
  {
    const IControl* c = e.g->GetControl(idx);
    served.insert(c->GetParamIdx());
    for (int k = 0; k < c->NAuxParams(); ++k)
      served.insert(c->GetAuxParam(k)->paramIdx);
  }
  for (int p = 0; p <= P::kOutputVolume; ++p)
    EXPECT_EQ(served.count(p), p == P::kHqFilter ? 0u : 1u) << "parameter " << p;
  for (int p = P::kFirstReserved; p <= P::kLastReserved; ++p)
    EXPECT_EQ(served.count(p), 0u) << "reserved parameter " << p;
}

TEST(ThumpgeistEditorLayout, ControlsStayInsideTheWindowAndNoTwoOperableOnesOverlap)
{
  Editor e;
  const IRect window(0, 0, ThumpgeistEditor::kWidth, ThumpgeistEditor::kHeight);
  for (int i = 0; i < e.g->NControls(); ++i)
  {
    const IRect& r = e.g->GetControl(i)->GetRect();
    EXPECT_FALSE(r.Empty()) << "control " << i;
    EXPECT_EQ(r.Intersect(window), r) << "control " << i;
  }
  const std::vector<int>& synth = e.editor->Pages().Page(ThumpgeistEditor::kSynthPage);
  std::vector<const IControl*> operable;
  for (int idx : synth)
    if (IsOperable(*e.g->GetControl(idx)))
      operable.push_back(e.g->GetControl(idx));
  EXPECT_GT(operable.size(), 130u);
  for (std::size_t a = 0; a < operable.size(); ++a)
    for (std::size_t b = a + 1; b < operable.size(); ++b)
      EXPECT_FALSE(operable[a]->GetRect().Intersects(operable[b]->GetRect()))
          << typeid(*operable[a]).name() << " at " << operable[a]->GetRect().left << ","
          << operable[a]->GetRect().top << " and " << typeid(*operable[b]).name() << " at "
          << operable[b]->GetRect().left << "," << operable[b]->GetRect().top;
}

TEST(ThumpgeistEditorLayout, EveryImageTheSectionsLoadIsInTheModule)
{
  Editor e;
  EXPECT_GT(e.g->loads, 80);
  EXPECT_TRUE(e.g->missing.empty()) << "first missing: " << *e.g->missing.begin();
  for (int i = 0; i < e.g->NControls(); ++i)
  {
    if (const auto* b = dynamic_cast<const IBitmapControl*>(e.g->GetControl(i)))
    {
      EXPECT_NE(b->GetBitmap().bitmap, nullptr) << "control " << i;
    }
  }
}

TEST(ThumpgeistEditorLayout, ANewInstanceShowsTheSynthesizerPageAndTheOthersTakeNoClicks)
{
  Editor e;
  IKvPageSet& pages = e.editor->Pages();
  EXPECT_EQ(pages.CurrentPage(), ThumpgeistEditor::kSynthPage);
  for (int p = 0; p < IKvPageSet::kPages; ++p)
  {
    const IKvTabButton* tab = e.First<IKvTabButton>(-1, p);
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->GetValue(), tab->GetPage() == ThumpgeistEditor::kSynthPage ? 1.0 : 0.0);
    EXPECT_FALSE(pages.Page(p).empty());
    for (int idx : pages.Page(p))
    {
      const IControl* c = e.g->GetControl(idx);
      EXPECT_EQ(c->IsHidden(), p != ThumpgeistEditor::kSynthPage) << "control " << idx;
      if (p == ThumpgeistEditor::kSynthPage)
        continue;
      const int hit = e.g->GetMouseControlIdx(c->GetRect().MidX(), c->GetRect().MidY());
      EXPECT_EQ(e.editor->PageOf(hit) == p, false) << "control " << idx << " took a click";
    }
  }
}

TEST(ThumpgeistEditorLayout, ATabShowsItsPageAndPressingTheLitTabChangesNothing)
{
  Editor e;
  IKvPageSet& pages = e.editor->Pages();
  const IKvTabButton* scopeTab = e.First<IKvTabButton>(-1, ThumpgeistEditor::kScopePage);
  const IKvTabButton* synthTab = e.First<IKvTabButton>(-1, ThumpgeistEditor::kSynthPage);
  auto hiddenFlags = [&]
  {
    std::vector<bool> flags;
    for (int i = 0; i < e.g->NControls(); ++i)
      flags.push_back(e.g->GetControl(i)->IsHidden());
    return flags;
  };
  for (int press = 0; press < 2; ++press)
  {
    const std::vector<bool> before = hiddenFlags();
    e.Click(scopeTab);
    EXPECT_EQ(pages.CurrentPage(), ThumpgeistEditor::kScopePage);
    EXPECT_EQ(scopeTab->GetValue(), 1.0);
    EXPECT_EQ(synthTab->GetValue(), 0.0);
    for (int p = 0; p < IKvPageSet::kPages; ++p)
      for (int idx : pages.Page(p))
        EXPECT_EQ(e.g->GetControl(idx)->IsHidden(), p != ThumpgeistEditor::kScopePage);
    if (press == 1)
    {
      EXPECT_EQ(hiddenFlags(), before); // the lit tab again
    }
  }
  e.Click(synthTab);
  EXPECT_EQ(pages.CurrentPage(), ThumpgeistEditor::kSynthPage);
}

TEST(ThumpgeistEditorLayout, MenusShowTheirChoiceAndSetTheirParameterByTheirSpacing)
{
  Editor e;
  // The distortion type box counts from 00 while its menu counts from 01.
  IKvDistoPresetMenu* disto = e.First<IKvDistoPresetMenu>();
  ASSERT_NE(disto, nullptr);
  EXPECT_EQ(disto->CurrentText(), std::string("00: ") + Korvane::DistortionTypes::name(0));
  e.g->menuChoice = -1;
  e.Click(disto);
  ASSERT_EQ(e.g->shown.size(), 36u);
  EXPECT_EQ(e.g->shown[0], std::string("01: ") + Korvane::DistortionTypes::name(0));
  EXPECT_EQ(e.g->checked, 0);

  struct Choice
  {
    IControl* menu;
    int item;
    int param;
    double expected;
    std::size_t items;
  };
  const Choice choices[] = {
      {e.First<IKvWaveformPresetMenu>(P::Osc(0, P::kOscWaveform)), 2, P::Osc(0, P::kOscWaveform),
       2.0 / 39, 40},
      {e.First<IKvFilterUnitMenu>(P::Osc(1, P::kOscFilterTypeRight)), 3,
       P::Osc(1, P::kOscFilterTypeRight), 0.75, 5},
      {e.First<IKvFilterUnitMenu>(P::kFilterType1), 2, P::kFilterType1, 2.0 / 3, 4},
      {e.First<IKvFilterUnitMenu>(P::kFilterType2), 5, P::kFilterType2, 1.0, 6},
      {disto, 35, P::kDistoType, 1.0, 36},
  };
  for (const Choice& c : choices)
  {
    ASSERT_NE(c.menu, nullptr) << "parameter " << c.param;
    e.g->menuChoice = c.item;
    e.Click(c.menu);
    EXPECT_EQ(e.g->shown.size(), c.items) << "parameter " << c.param;
    EXPECT_DOUBLE_EQ(e.Value(c.param), c.expected) << "parameter " << c.param;
  }
  EXPECT_EQ(disto->CurrentText(), std::string("35: ") + Korvane::DistortionTypes::name(35));
  // A menu closed without a choice changes nothing.
  e.g->menuChoice = -1;
  e.Click(disto);
  EXPECT_DOUBLE_EQ(e.Value(P::kDistoType), 1.0);
}

TEST(ThumpgeistEditorLayout, SteppersAndProgramButtonsMoveAsFarAsTheButtonSays)
{
  Editor e;
  // The distortion type's next button wraps from the last of its 36 types to the first.
  IKvModeSwitch* next = e.First<IKvModeSwitch>(P::kDistoType, 1); // after "previous"
  ASSERT_NE(next, nullptr);
  e.plug.SetParameterFromEditor(P::kDistoType, 1.0);
  e.Click(next);
  EXPECT_EQ(e.Value(P::kDistoType), 0.0);

  struct Step
  {
    double from;
    int positions;
    bool forward;
    bool wrap;
    bool ten;
    double expected;
  };
  const Step steps[] = {
      {1.0, 36, true, true, false, 0.0},      {1.0, 36, true, false, false, 1.0},
      {0.0, 36, false, true, false, 1.0},     {0.0, 36, false, false, false, 0.0},
      {0.0, 36, true, true, true, 10.0 / 35}, {30.0 / 35, 36, true, true, true, 1.0},
      {0.2, 6, false, true, false, 0.0},
  };
  for (const Step& s : steps)
    EXPECT_DOUBLE_EQ(IKvModeSwitch::Step(s.from, s.positions, s.forward, s.wrap, s.ten), s.expected)
        << s.from << " of " << s.positions;

  // Next with the right button at program 120 asks for 130, which is refused.
  EXPECT_EQ(IKvPresetSwitch::Target(120, true, true), 130);
  EXPECT_EQ(IKvPresetSwitch::Target(120, false, false), 119);
  ASSERT_TRUE(e.plug.RestorePreset(120));
  const IKvPresetSwitch* nextProgram = e.First<IKvPresetSwitch>(-1, 1);
  e.Click(nextProgram, true);
  EXPECT_EQ(e.plug.GetCurrentPresetIdx(), 120);
  e.Click(nextProgram);
  EXPECT_EQ(e.plug.GetCurrentPresetIdx(), 121);
  EXPECT_EQ(nextProgram->GetValue(), 0.0); // lit only while pressed
}

TEST(ThumpgeistEditorLayout, TheProgramBoxRenamesTheProgramThroughItsTextEntry)
{
  Editor e;
  IKvPresetMenu* programs = e.First<IKvPresetMenu>();
  ASSERT_NE(programs, nullptr);
  EXPECT_EQ(programs->CurrentText(), e.plug.CurrentProgramTitle());
  e.Click(programs, true);
  ASSERT_EQ(e.g->entries.size(), 1u);
  EXPECT_EQ(e.g->entries[0], e.plug.GetPresetName(0));
  EXPECT_EQ(e.g->entryRect, programs->GetRect());
  e.g->CommitTextEntry(programs, -1, "Deep Thump");
  EXPECT_EQ(e.plug.GetPresetName(0), "Deep Thump");
  EXPECT_EQ(programs->CurrentText(), "01: Deep Thump");
  // A left click lists the 128 programs, the current one checked; a choice restores it.
  e.g->menuChoice = 4;
  e.Click(programs);
  EXPECT_EQ(e.g->shown.size(), 128u);
  EXPECT_EQ(e.g->shown[0], "01: Deep Thump");
  EXPECT_EQ(e.g->checked, 0);
  EXPECT_EQ(e.plug.GetCurrentPresetIdx(), 4);
}

TEST(ThumpgeistEditorLayout, TheTransposeKnobStepsByQuartersOnADoubleClick)
{
  Editor e;
  IKvGlobalTransposeKnob* knob = e.First<IKvGlobalTransposeKnob>();
  ASSERT_NE(knob, nullptr);
  const double cases[][2] = {{0.0, 0.25}, {0.6, 0.75}, {0.75, 1.0}, {0.99, 1.0}, {1.0, 0.0}};
  for (const auto& c : cases)
  {
    knob->SetValue(c[0]);
    IMouseMod mod;
    mod.left = true;
    e.g->OnMouseDblClick(knob->GetRect().MidX(), knob->GetRect().MidY(), mod);
    EXPECT_DOUBLE_EQ(e.Value(P::kGlobalTranspose), c[1]) << "from " << c[0];
  }
}

TEST(ThumpgeistEditorLayout, ValueTextsFormatEachKind)
{
  struct Row
  {
    int kind;
    double v;
    double scale;
    double offset;
    const char* unit;
    const char* expected;
  };
  const Row rows[] = {
      {0, 1.0, 1, 0, "", "0.0dB"},
      {0, 0.5, 1, 0, "", "-6.0dB"},
      {0, 0.0, 1, 0, "", "-oodB"},
      {1, 0.25, 1, 0, "", "25.0%"},
      {2, 0.75, 1, 0, "", "6.000"},
      {3, 0.25, 1, 0, "", "-0.500"},
      {4, 0.5, 1, 0, "", "0.000"},
      {5, 0.45, 2, 0, " s", "0.900 s"},
      {6, 1.0, 1, 1, " voices", " 2.0 voices"},
      {7, 0.0, 1, 0, "", "off"},
      {7, 1.0 / 9, 1, 0, "", "1/16x"},
      {7, 5.0 / 9, 1, 0, "", "1.0x"},
      {7, 1.0, 1, 0, "", "16.0x"},
      {7, 1.2, 1, 0, "", "1.0x"},
  };
  for (const Row& r : rows)
    EXPECT_EQ(IKvCaptionControl::Format(r.kind, r.v, r.scale, r.offset, r.unit), r.expected)
        << "kind " << r.kind << " of " << r.v;
  EXPECT_EQ(IKvMaxLevelText::Format(0.0), "MAXIMUM AUDIO LEVEL: -oo dB");
  EXPECT_EQ(IKvMaxLevelText::Format(1.0), "MAXIMUM AUDIO LEVEL:   0.000 dB");
  EXPECT_EQ(IKvMaxLevelText::Format(1.01), "MAXIMUM AUDIO LEVEL:   0.086 dB");
  EXPECT_EQ(IKvHostInfoText::Format(44100.0, 120.0, 512),
            "HOST SAMPLE RATE: 44100.00 Hz    TEMPO:  120.00 BPM    BLOCKSIZE: 512 samples");

  // Every other kind is the parameter's own display text, here with its unit.
  Editor e;
  IKvCaptionControl caption(&e.plug, IRect(0, 0, 60, 14), P::kVolEnvAttack, IText(), 8, 1.0, 0.0,
                            "", true);
  EXPECT_EQ(caption.CaptionText(), "0.010 s");
}
