#include "editor/layout/ThumpgeistEditor.h"

#include "editor/controls/IBitmapControl.h"
#include "editor/controls/IKnobMultiControl.h"
#include "editor/controls/IKvCaptionControl.h"
#include "editor/controls/IKvTabButton.h"
#include "editor/layout/IKvFeedbackText.h"
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

#include <algorithm>

namespace P = ParamIndex;

namespace
{
const IColor kLabelColour(255, 178, 182, 190);
const IColor kValueColour(255, 255, 146, 84);
const IColor kMenuColour(255, 232, 234, 238);
const IColor kHeadingColour(255, 210, 212, 218);
} // namespace

ThumpgeistEditor::ThumpgeistEditor(Thumpgeist* owner, std::unique_ptr<IGraphics> g)
  : plug(owner), pages(g.get()), graphics(std::move(g)),
    labelStyle(13, kLabelColour, "Arial", TextStyle::Normal, TextAlign::Center),
    valueStyle(13, kValueColour, "Arial", TextStyle::Normal, TextAlign::Center),
    menuStyle(14, kMenuColour, "Arial", TextStyle::Normal, TextAlign::Center),
    headingStyle(14, kHeadingColour, "Arial", TextStyle::Bold, TextAlign::Center)
{
  BuildFixedElements();
  BuildReservedParameters();
  BuildTabButtons();
  buildPage = kSynthPage;
  BuildPitchEnvelope();
  for (int osc = 0; osc < 3; ++osc)
    BuildOscillator(osc);
  BuildVolumeEnvelope();
  BuildFilterEnvelope();
  BuildUnison();
  BuildFm();
  BuildGlobalTranspose();
  BuildSubOscillator();
  BuildPitchBend();
  BuildMainFilter();
  BuildModulationEffects();
  BuildDistortion();
  BuildEqualizer();
  BuildTempoDelay();
  BuildOutput();
  BuildPrograms();
  BuildLevelMeter();
  // The last two hide their own pages, so the editor opens on the synthesizer page.
  BuildAboutPage();
  BuildScopePage();
  buildPage = kNoPage;
  ConnectCurveDisplays();
  // The page numbers are the plug-in's display modes: the block feeds the scope while
  // the scope page is shown and the level eyes while the About page is.
  static_assert(int(kScopePage) == int(Thumpgeist::kDisplayScope) &&
                int(kAboutPage) == int(Thumpgeist::kDisplayAbout));
  pages.SetPageListener([owner](int page) { owner->SetDisplayMode(page); });
}

ThumpgeistEditor::~ThumpgeistEditor() = default;

void ThumpgeistEditor::SetParameterFromPlug(int paramIdx, double value, bool normalized)
{
  graphics->SetParameterFromPlug(paramIdx, value, normalized);
  const int slot = paramIdx % P::kOscStride;
  if (paramIdx >= 0 && paramIdx < P::kNumOscillators * P::kOscStride &&
      (slot == P::kOscLfoLinkAll || slot == P::kOscLfoTempoSync))
    UpdateLfoRateGreying();
}

void ThumpgeistEditor::UpdateLfoRateGreying()
{
  auto valueOf = [this](int idx)
  {
    const IParameter* param = plug->GetParam(idx);
    return param ? param->Value() : 0.0;
  };
  bool linkedAndSynced = false;
  for (int osc = 0; osc < P::kNumOscillators; ++osc)
    linkedAndSynced = linkedAndSynced || (valueOf(P::Osc(osc, P::kOscLfoLinkAll)) > 0.0 &&
                                          valueOf(P::Osc(osc, P::kOscLfoTempoSync)) > 0.0);
  for (int osc = 0; osc < P::kNumOscillators; ++osc)
  {
    IKnobMultiControl* knob = lfoRateKnobs[osc];
    const bool grey = linkedAndSynced || valueOf(P::Osc(osc, P::kOscLfoTempoSync)) > 0.0;
    if (knob && knob->IsGreyed() != grey)
      knob->SetGreyed(grey);
  }
}

int ThumpgeistEditor::PageOf(int controlIdx) const
{
  for (int p = 0; p < IKvPageSet::kPages; ++p)
  {
    const std::vector<int>& list = pages.Page(p);
    if (std::find(list.begin(), list.end(), controlIdx) != list.end())
      return p;
  }
  return kNoPage;
}

// --- What the builders share ----------------------------------------------------------

IBitmap ThumpgeistEditor::Image(int number, const char* name, int frames)
{
  IBitmap image = graphics->LoadBitmap(number, name, std::max(frames, 1));
  if (frames == 0 && image.w > 0 && image.h >= image.w)
    image.n = image.h / image.w;
  return image;
}

IBitmapControl* ThumpgeistEditor::Picture(int x, int y, const IBitmap& image)
{
  return Add(new IBitmapControl(plug, x, y, -1, image));
}

ITextControl* ThumpgeistEditor::Label(const IRect& area, const char* str)
{
  return Text(area, str, labelStyle);
}

ITextControl* ThumpgeistEditor::Text(const IRect& area, const char* str, const IText& style)
{
  return Add(new ITextControl(plug, area, style, str));
}

IKnobMultiControl* ThumpgeistEditor::Knob(int cx, int y, int paramIdx, const IBitmap& strip,
                                          const char* label, int labelHalfWidth)
{
  if (label)
    Label(IRect(cx - labelHalfWidth, y - 14, cx + labelHalfWidth, y - 1), label);
  return Add(new IKnobMultiControl(plug, cx - strip.FrameW() / 2, y, paramIdx, strip));
}

void ThumpgeistEditor::Value(IKnobMultiControl* knob, int kind, double scale, double offset,
                             const char* unit, int halfWidth)
{
  const IRect& k = knob->GetRect();
  auto* text = Add(new IKvCaptionControl(
      plug, IRect(k.MidX() - halfWidth, k.bottom + 1, k.MidX() + halfWidth, k.bottom + 14),
      knob->GetParamIdx(), valueStyle, kind, scale, offset, unit,
      kind == IKvCaptionControl::kDisplayText));
  // The knob's changes reach its value text, which then paints itself anew.
  knob->SetValueTextControl(text);
}

IKvFeedbackText* ThumpgeistEditor::FeedbackValue(IKnobMultiControl* knob, const char* initial,
                                                 int halfWidth)
{
  const IRect& k = knob->GetRect();
  auto* text = Add(new IKvFeedbackText(
      plug, IRect(k.MidX() - halfWidth, k.bottom + 1, k.MidX() + halfWidth, k.bottom + 14),
      valueStyle, knob->GetParamIdx(), initial));
  knob->SetValueTextControl(text);
  return text;
}

// --- The fixed elements, the reserved parameters and the tabs -------------------------

void ThumpgeistEditor::BuildFixedElements()
{
  IGraphics* g = graphics.get();
  g->AttachBackground(111, "Thumpgeist_GUI_background_FREE.png");
  const IBitmap plate = g->LoadBitmap(112, "Controls_Background_FREE.png");
  g->AttachControl(new IBitmapControl(plug, (kWidth - plate.w) / 2, 18, -1, plate));
  g->AttachControl(
      new IBitmapControl(plug, 80, 627, -1, g->LoadBitmap(1405, "bass_kick_design_tool_FREE.png")));
  g->AttachControl(new IBitmapControl(plug, 70, 792, -1, g->LoadBitmap(2004, "x64.png")));
}

// The reserved parameters keep room in the index space and have no controls.
void ThumpgeistEditor::BuildReservedParameters() {}

// Two-frame images, drawn at half their height; the synthesizer tab lit.
void ThumpgeistEditor::BuildTabButtons()
{
  const IBitmap tabs[IKvPageSet::kPages] = {Image(1326, "buttons/tab_synth_85x50.png", 2),
                                            Image(1325, "buttons/tab_scope_85x50.png", 2),
                                            Image(1324, "buttons/tab_about_85x50.png", 2)};
  for (int p = 0; p < IKvPageSet::kPages; ++p)
  {
    auto* tab = new IKvTabButton(plug, 482 + 85 * p, 793, tabs[p], &pages, p);
    tab->SetValue(p == kSynthPage ? 1.0 : 0.0);
    graphics->AttachControl(tab);
    pages.SetTabButton(p, tab);
  }
}
