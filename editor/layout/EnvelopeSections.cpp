// The envelopes: the pitch envelope, the volume envelope (with the envelope copy and
// the shape both envelopes share) and the filter envelope, whose knobs stand in the
// volume envelope's columns and show their values under them.
#include "editor/controls/IBitmapControl.h"
#include "editor/controls/IKnobMultiControl.h"
#include "editor/controls/IKvCaptionControl.h"
#include "editor/controls/ISwitchControl.h"
#include "editor/controls/ITextControl.h"
#include "editor/layout/IKvArrowActionButton.h"
#include "editor/layout/IKvCurve.h"
#include "editor/layout/IKvFeedbackText.h"
#include "editor/layout/SectionPanels.h"
#include "editor/layout/ThumpgeistEditor.h"
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

namespace P = ParamIndex;
using Caption = IKvCaptionControl;

namespace
{
constexpr int kEnvelopeColumns = 7;

// The centre of an envelope knob column: seven columns across the panel.
int EnvelopeColumn(const SectionPanel& panel, int i)
{
  const double width = (panel.right - panel.left - 16) / double(kEnvelopeColumns);
  return panel.left + 8 + int(width * (i + 0.5));
}
} // namespace

// The pitch envelope: its display, the on/off switch, and amount, duration, power and
// down with their values.
void ThumpgeistEditor::BuildPitchEnvelope()
{
  const SectionPanel& panel = kSectionPanels[3];
  const int cx = (panel.left + panel.right) / 2;
  const IBitmapControl* display =
      Picture(cx - 110, panel.top + 28, Image(1104, "displays/pitch_env_display_220x80.png"));
  pitchDisplay = Add(new IKvCurve(plug, display->GetRect()));
  Add(new ISwitchControl(plug, cx - 110, panel.top + 116, P::kPitchEnvOnOff,
                         Image(201, "switches/KV_on_off_20px.png", 2)));
  const IBitmap knob = Image(1001, "knobs/KV_Pitch_Knob_40px.png", 0);
  struct PitchKnob
  {
    int param;
    const char* label;
    int kind;
    double scale;
    const char* unit;
  };
  const PitchKnob knobs[] = {
      {P::kPitchAmount, "Amount", Caption::kPercent, 1.0, ""},
      {P::kPitchDuration, "Duration", Caption::kScaled, 2.0, " s"},
      {P::kPitchPower, "Power", Caption::kDisplayText, 1.0, ""},
      {P::kPitchDown, "Down", Caption::kPercent, 1.0, ""},
  };
  const double column = (panel.right - panel.left - 12) / 4.0;
  for (int i = 0; i < 4; ++i)
  {
    const int x = panel.left + 6 + int(column * (i + 0.5));
    IKnobMultiControl* k = Knob(x, panel.top + 162, knobs[i].param, knob, knobs[i].label);
    Value(k, knobs[i].kind, knobs[i].scale, 0.0, knobs[i].unit);
  }
}

// The volume envelope: the display with the shared "ADSR Shape" and the copy arrows
// beside it, the seven envelope knobs in a row below with their labels.
void ThumpgeistEditor::BuildVolumeEnvelope()
{
  const SectionPanel& panel = kSectionPanels[4];
  const int l = panel.left;
  const int t = panel.top;
  const IBitmapControl* display =
      Picture(l + 10, t + 24, Image(1105, "displays/volume_env_120x45.png"));
  volumeDisplay = Add(new IKvCurve(plug, display->GetRect()));
  const IBitmap knob = Image(1011, "knobs/KV_ADSR_Volume_Knob_30px.png", 0);

  const int shapeCx = l + 176;
  Knob(shapeCx, t + 39, P::kAdsrShape, knob, "ADSR Shape", 40);
  const int copyCx = l + 282;
  Label(IRect(copyCx - 56, t + 25, copyCx + 56, t + 38), "ADSR Copy");
  // Right: the volume envelope onto the filter envelope; left: back again.
  Add(new IKvArrowActionButton(plug, copyCx - 52, t + 44,
                               Image(1329, "buttons/arrow_left_48x40.png", 2), 1));
  Add(new IKvArrowActionButton(plug, copyCx + 4, t + 44,
                               Image(1330, "buttons/arrow_right_48x40.png", 2), 0));

  const char* const kLabels[kEnvelopeColumns] = {"Attack",   "Decay",    "Sustain", "Release",
                                                 "Duration", "Velocity", "Amount"};
  for (int i = 0; i < kEnvelopeColumns; ++i)
    Knob(EnvelopeColumn(panel, i), t + 87, P::kVolEnvAttack + i, knob, kLabels[i], 25);
}

// The filter envelope: its display, the amounts it sends to the distortion and the
// dynamic shaper, and its seven knobs under the volume envelope's labels.
void ThumpgeistEditor::BuildFilterEnvelope()
{
  const SectionPanel& panel = kSectionPanels[5];
  const int l = panel.left;
  const int t = panel.top;
  const IBitmapControl* display =
      Picture(l + 10, t + 24, Image(1106, "displays/filter_env_120x45.png"));
  filterDisplay = Add(new IKvCurve(plug, display->GetRect()));
  const IBitmap knob = Image(1012, "knobs/KV_ADSR_Filter_Knob_30px.png", 0);

  // To the distortion and to the dynamic shaper: a knob with its name and value beside.
  const char* const kSends[] = {"To Disto", "To Shaper"};
  for (int i = 0; i < 2; ++i)
  {
    const int x = l + 146 + i * 108;
    const int param = P::kFilterEnvToDistortion + i;
    auto* send = Add(new IKnobMultiControl(plug, x, t + 31, param, knob));
    IText near = labelStyle;
    near.align = TextAlign::Near;
    Text(IRect(x + 34, t + 30, x + 104, t + 43), kSends[i], near);
    near = valueStyle;
    near.align = TextAlign::Near;
    auto* value = Add(
        new Caption(plug, IRect(x + 34, t + 45, x + 104, t + 58), param, near, Caption::kPercent));
    send->SetValueTextControl(value);
  }

  // Attack, decay and release show the display model's lengths in seconds, which also
  // follow the duration; velocity and amount the envelope's own texts; sustain and
  // duration their values.
  for (int i = 0; i < kEnvelopeColumns; ++i)
  {
    const int param = P::kFilterEnvAttack + i;
    IKnobMultiControl* k = Knob(EnvelopeColumn(panel, i), t + 72, param, knob);
    if (param == P::kFilterEnvSustain)
      Value(k, Caption::kPercent, 1.0, 0.0, "", 25);
    else if (param == P::kFilterEnvDuration)
      Value(k, Caption::kDisplayText, 1.0, 0.0, "", 25);
    else if (IKvFeedbackText* shown = FeedbackValue(k, "", 25); param <= P::kFilterEnvRelease)
      shown->AddAuxParam(P::kFilterEnvDuration);
  }
}
