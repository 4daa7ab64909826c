// The master effects: the main filter, the modulation effects, the distortion with the
// dynamic shaper and the curve views, the equalizer and the tempo delay.
#include "editor/controls/IBitmapControl.h"
#include "editor/controls/IFaderControl.h"
#include "editor/controls/IKnobMultiControl.h"
#include "editor/controls/IKvCaptionControl.h"
#include "editor/controls/IKvModeSwitch.h"
#include "editor/controls/ISwitchControl.h"
#include "editor/controls/ITextControl.h"
#include "editor/layout/IKvCurve2.h"
#include "editor/layout/IKvDistoPresetMenu.h"
#include "editor/layout/IKvFeedbackText.h"
#include "editor/layout/IKvFilterUnitMenu.h"
#include "editor/layout/IKvRestoreCurveButton.h"
#include "editor/layout/IKvSyncButton.h"
#include "editor/layout/SectionPanels.h"
#include "editor/layout/ThumpgeistEditor.h"
#include "effects/distortion/DistortionTypes.h"
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

namespace P = ParamIndex;
using Caption = IKvCaptionControl;

namespace
{
const IColor kMenuBox(96, 0, 0, 0);
constexpr int kMainFilterModes = 6;
} // namespace

// The main filter: the two filter designs' types, the on/off switch, the balance
// between the designs and a stepper for the second design's mode, then input drive,
// cutoff, resonance and transition.
void ThumpgeistEditor::BuildMainFilter()
{
  const SectionPanel& panel = kSectionPanels[8];
  const int l = panel.left;
  const int t = panel.top;
  const IBitmap typeBox = Image(1115, "displays/filter_type_display.png");
  for (int design = 0; design < 2; ++design)
  {
    const IBitmapControl* box = Picture(l + 14 + design * 102, t + 22, typeBox);
    Add(new IKvFilterUnitMenu(plug, box->GetRect(), 6 + design, kMenuBox, &labelStyle));
  }
  Add(new ISwitchControl(plug, l + 14, t + 44, P::kFilterOnOff,
                         Image(201, "switches/KV_on_off_20px.png", 2)));
  const IBitmap track = Image(1403, "slider_background_104px_14px.png");
  Picture(l + 42, t + 47, track);
  Add(new IFaderControl(plug, l + 42, t + 47, track.w, P::kFilterBalance,
                        Image(1401, "slider_handle_14px_14px.png"), Direction::Horizontal));
  Add(new IKvModeSwitch(plug, l + 158, t + 44, Image(1203, "switches/mode_on_off_48px_40px.png", 2),
                        P::kFilterType2, kMainFilterModes, true, true));

  struct FilterKnob
  {
    int param;
    int cx;
    const char* label;
    int number;
    const char* name;
  };
  const FilterKnob knobs[] = {
      {P::kFilterInputDrive, 28, "In-Drive", 1046, "knobs/KV_Filter_InputDrive_Knob_30px.png"},
      {P::kFilterCutoff, 72, "Cutoff", 1005, "knobs/KV_Filter_Knob_40px.png"},
      {P::kFilterReso, 122, "Reso/BW", 1006, "knobs/KV_Resonance_Knob_40px.png"},
      {P::kFilterTransition, 182, "Transition", 1047, "knobs/KV_Filter_Transition_Knob_30px.png"},
  };
  const int labelTop = t + 67;
  for (const FilterKnob& k : knobs)
  {
    const IBitmap strip = Image(k.number, k.name, 0);
    const int x = l + k.cx;
    Label(IRect(x - 28, labelTop, x + 28, labelTop + 13), k.label);
    Knob(x, labelTop + 14 + (40 - strip.FrameH()) / 2, k.param, strip);
  }
}

// The ring modulator (amount, rate, waveform and the sync to the last note) over the
// phaser (amount, rate, feedback), and the on/off switch of both.
void ThumpgeistEditor::BuildModulationEffects()
{
  const SectionPanel& panel = kSectionPanels[7];
  const int l = panel.left;
  const int t = panel.top;
  const IBitmap amount = Image(1020, "knobs/KV_ModFx_Amt_Knob_30px.png", 0);
  const IBitmap rate = Image(1019, "knobs/KV_ModFx_Knob_30px.png", 0);
  const IBitmap waveform = Image(1044, "knobs/KV_ModFx_Waveform_Knob_30px.png", 0);
  const int columns[] = {l + 32, l + 82, l + 136};
  const int row1 = t + 36;
  const int row2 = t + 84;
  Knob(columns[0], row1, P::kRingAmount, amount, "Amount", 26);
  Knob(columns[1], row1, P::kRingFreq, rate, "Rate", 22);
  Knob(columns[2], row1, P::kRingWaveform, waveform, "Waveform", 30);
  Knob(columns[0], row2, P::kPhaserAmount, amount, "Amount", 26);
  Knob(columns[1], row2, P::kPhaserRate, rate, "Rate", 22);
  Knob(columns[2], row2, P::kPhaserFeedback, rate, "Feedb.", 30);
  Add(new IKvSyncButton(plug, l + 164, row1 + 5, Image(1305, "buttons/sync_button_48x40.png", 2),
                        0));
  Add(new ISwitchControl(plug, l + 178, row2 + 5, P::kModFxOnOff,
                         Image(201, "switches/KV_on_off_20px.png", 2)));
}

// The distortion: on/off, the type with previous and next, the loudness mode and the
// curve restore on the first row; interpolation and the dynamic shaper's mode,
// polarity, inversion and type on the second; the sine preview and the curve editor
// with the shaper's amount between them; amount, bit crush, sample-rate reduction and
// gate below, and the pre and post lights.
void ThumpgeistEditor::BuildDistortion()
{
  const SectionPanel& panel = kSectionPanels[6];
  const int l = panel.left;
  const int t = panel.top;
  const int rowA = t + 22;
  const int rowB = t + 48;
  Add(new ISwitchControl(plug, l + 10, rowA, P::kDistoOnOff,
                         Image(201, "switches/KV_on_off_20px.png", 2)));
  const int types = Korvane::DistortionTypes::kCount;
  Add(new IKvModeSwitch(plug, l + 36, rowA, Image(1206, "switches/Prev_left_20px.png", 2),
                        P::kDistoType, types, false, true));
  const IBitmapControl* typeBox =
      Picture(l + 56, rowA, Image(1110, "displays/disto_name_display_135x20.png"));
  Add(new IKvDistoPresetMenu(plug, typeBox->GetRect(), kMenuBox, &labelStyle));
  Add(new IKvModeSwitch(plug, l + 191, rowA, Image(1207, "switches/Next_right_20px.png", 2),
                        P::kDistoType, types, true, true));
  Add(new ISwitchControl(plug, l + 218, rowA, P::kDistoMode,
                         Image(1209, "buttons/disto_mode_button_3_states.png", 3)));
  Add(new IKvRestoreCurveButton(plug, l + 284, rowA,
                                Image(1323, "buttons/restore_on_off_48x40.png", 2)));

  Add(new ISwitchControl(plug, l + 10, rowB, P::kDistoInterpolation,
                         Image(1301, "buttons/interp_mode_button.png", 5)));
  Label(IRect(l + 10, rowB + 22, l + 94, rowB + 35), "interpolation");
  Add(new ISwitchControl(plug, l + 100, rowB, P::kDynShaperMode,
                         Image(1300, "buttons/mode_button.png", 4)));
  Add(new ISwitchControl(plug, l + 190, rowB, P::kDynShaperPosNeg,
                         Image(1322, "buttons/signal_pos_neg_both_48x60.png", 3)));
  Add(new ISwitchControl(plug, l + 244, rowB, P::kDynShaperInvert,
                         Image(1308, "buttons/invert_button_48x40.png", 2)));
  // The shaper's type closes the row.
  Add(new IKnobMultiControl(plug, l + 292, rowB - 2, P::kDynShaperType,
                            Image(1050, "knobs/KV_DynShaper_Type_3_states_40px.png", 0)));

  // The sine preview and the curve editor, each over its display image.
  const IBitmapControl* preview =
      Picture(653, 390, Image(1108, "displays/disto_display_120x36.png"));
  const CurveDisplays& shown = plug->Displays();
  sinePreview = Add(new IKvCurve2(plug, preview->GetRect(), shown.CurveSine(), shown.ShaperSine(),
                                  CurveDisplays::kSinePoints));
  sinePreview->SetDrawable(false);
  Label(IRect(653, 428, 773, 441), "Curve Preview");
  const IBitmapControl* curve =
      Picture(837, 391, Image(1109, "displays/disto_curve_display_128x128.png"));
  curveEditor = Add(new IKvCurve2(plug, curve->GetRect(), shown.CurveTrace(), shown.ShaperTrace(),
                                  CurveDisplays::kCurvePoints));
  Text(IRect(837, 522, 965, 536), "Distortion Curve", headingStyle);

  // The dynamic shaper's amount, between the two views.
  Knob(805, 390, P::kDynShaperAmount, Image(1048, "knobs/KV_DynShaper_Width_35px.png", 0), "Shape",
       26);

  // Amount, bit crush, sample-rate reduction and gate, with what they do as values.
  const int row = 465;
  IKnobMultiControl* amount = Knob(l + 30, row - 5, P::kDistortion,
                                   Image(1002, "knobs/KV_Disto_Knob_40px.png", 0), "Amount", 22);
  Value(amount, Caption::kPercent, 1.0, 0.0, "", 22);
  IKnobMultiControl* bits =
      Knob(l + 78, row, P::kBitCrushQuantize, Image(1021, "knobs/KV_Disto_BitCrash_30px.png", 0),
           "BitCrash", 25);
  FeedbackValue(bits, "64 bit", 25);
  IKnobMultiControl* rate = Knob(l + 128, row, P::kSampleRateReduction,
                                 Image(1022, "knobs/KV_Disto_SmpRate_30px.png", 0), "SmpRate", 26);
  FeedbackValue(rate, "44100 Hz", 26);
  IKnobMultiControl* gate =
      Knob(l + 178, row, P::kGateCrack, Image(1023, "knobs/KV_Disto_Gate_30px.png", 0), "Gate", 20);
  FeedbackValue(gate, "-oo dB", 17);

  // Before and after the shaper: lights with no setting of their own.
  Picture(l + 10, t + 222, Image(1335, "buttons/pre_on_off.png", 2));
  Picture(l + 58, t + 222, Image(1336, "buttons/post_on_off.png", 2));
}

// The equalizer: bass, mid and high with their gains, and the low-pass/high-pass sweep
// with its frequency display.
void ThumpgeistEditor::BuildEqualizer()
{
  const SectionPanel& panel = kSectionPanels[13];
  const int l = panel.left;
  const int t = panel.top;
  struct Band
  {
    int param;
    const char* label;
    int number;
    const char* name;
  };
  const Band bands[] = {
      {P::kEqBass, "Bass", 1035, "knobs/KV_EQ_Low_Knob_35px.png"},
      {P::kEqMid, "Mid", 1034, "knobs/KV_EQ_Mid_Knob_35px.png"},
      {P::kEqHigh, "High", 1033, "knobs/KV_EQ_High_Knob_35px.png"},
  };
  for (int i = 0; i < 3; ++i)
  {
    IKnobMultiControl* k = Knob(l + 34 + i * 61, t + 38, bands[i].param,
                                Image(bands[i].number, bands[i].name, 0), bands[i].label, 28);
    FeedbackValue(k, "0.0 dB", 29);
  }
  IKnobMultiControl* sweep = Knob(l + 34, t + 108, P::kDumpExpand,
                                  Image(1036, "knobs/KV_DumpExp_Knob_35px.png", 0), "LP/HP", 28);
  const IBitmapControl* display =
      Picture(l + 84, t + 116, Image(1113, "displays/eq_frequency_display.png"));
  Label(IRect(l + 84, t + 101, l + 148, t + 114), "freq.");
  auto* freq = Add(new IKvFeedbackText(plug, display->GetRect(), valueStyle, P::kDumpExpand));
  sweep->SetValueTextControl(freq);
  Picture(l + 152, t + 116, Image(1111, "displays/Dump-Expand_Display_31x20.png"));
}

// The tempo delay: amount, feedback, dump and spread.
void ThumpgeistEditor::BuildTempoDelay()
{
  const SectionPanel& panel = kSectionPanels[14];
  const int l = panel.left;
  const int t = panel.top;
  const IBitmap knob = Image(1052, "knobs/KV_TempoDelay_Knob_35px.png", 0);
  const int left = l + 46;
  const int right = l + 118;
  Label(IRect(left - 36, t + 20, left + 36, t + 33), "Tempo");
  IKnobMultiControl* amount = Knob(left, t + 48, P::kTempoDelayAmount, knob, "Delay", 36);
  Value(amount, Caption::kPercent, 1.0, 0.0, "", 34);
  IKnobMultiControl* feedback = Knob(right, t + 48, P::kTempoDelayFeedback, knob, "Feedb.", 36);
  Value(feedback, Caption::kPercent, 1.0, 0.0, "", 34);
  IKnobMultiControl* dump = Knob(left, t + 113, P::kTempoDelayDump, knob, "Dump", 36);
  Value(dump, Caption::kPercent, 1.0, 0.0, "", 34);
  IKnobMultiControl* spread = Knob(right, t + 113, P::kTempoDelaySpread, knob, "Spread", 36);
  Value(spread, Caption::kPercent, 1.0, 0.0, "", 34);
}
