// The sound sources: the three oscillators, unison, FM, the global transpose, the
// sub-oscillator (bass layer) and the pitch-bend range.
#include "editor/controls/IBitmapControl.h"
#include "editor/controls/IFaderControl.h"
#include "editor/controls/IKnobMultiControl.h"
#include "editor/controls/IKvCaptionControl.h"
#include "editor/controls/IKvGlobalTransposeKnob.h"
#include "editor/controls/IKvModeSwitch.h"
#include "editor/controls/ISwitchControl.h"
#include "editor/controls/ITextControl.h"
#include "editor/layout/IKvCurve.h"
#include "editor/layout/IKvFeedbackText.h"
#include "editor/layout/IKvFilterUnitMenu.h"
#include "editor/layout/IKvNoteModePresetMenu.h"
#include "editor/layout/IKvWaveformPresetMenu.h"
#include "editor/layout/SectionPanels.h"
#include "editor/layout/ThumpgeistEditor.h"
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

namespace P = ParamIndex;
using Caption = IKvCaptionControl;

namespace
{
// The boxes of the menus: a dark veil over their display images.
const IColor kMenuBox(96, 0, 0, 0);
constexpr int kWaveformPositions = 40;
} // namespace

// An oscillator panel: the waveform display and its name with previous and next, the
// filter types of both sides and their balance at the right; below, the sound knobs
// with their values, then the LFO's rate, sync, mode and amounts and its link button.
void ThumpgeistEditor::BuildOscillator(int osc)
{
  static constexpr const char* kDisplays[] = {"displays/waveform_display_osc1.png",
                                              "displays/waveform_display_osc2.png",
                                              "displays/waveform_display_osc3.png"};
  const SectionPanel& panel = kSectionPanels[osc];
  const int l = panel.left;
  const int t = panel.top;
  auto param = [osc](P::EOscParam p) { return P::Osc(osc, p); };

  Add(new ISwitchControl(plug, l + 10, t + 26, param(P::kOscOnOff),
                         Image(201, "switches/KV_on_off_20px.png", 2)));
  const IBitmapControl* display = Picture(l + 36, t + 22, Image(1101 + osc, kDisplays[osc]));
  waveformDisplays[osc] = Add(new IKvCurve(plug, display->GetRect()));

  // The waveform's name between its previous and next buttons, under the display.
  const int nameLeft = l + 126 - 75;
  const int nameTop = t + 89;
  Add(new IKvModeSwitch(plug, nameLeft - 20, nameTop, Image(1206, "switches/Prev_left_20px.png", 2),
                        param(P::kOscWaveform), kWaveformPositions, false, true));
  const IBitmapControl* nameBox =
      Picture(nameLeft, nameTop, Image(1114, "displays/waveform_name_display.png"));
  Add(new IKvWaveformPresetMenu(plug, nameBox->GetRect(), osc, kMenuBox, &menuStyle));
  Add(new IKvModeSwitch(plug, nameLeft + 150, nameTop,
                        Image(1207, "switches/Next_right_20px.png", 2), param(P::kOscWaveform),
                        kWaveformPositions, true, true));

  // The filter types of the left and right sides, and the balance between them.
  const int filterCx = l + 312;
  const IBitmap typeBox = Image(1115, "displays/filter_type_display.png");
  const char* const kSides[] = {"L", "R"};
  for (int side = 0; side < 2; ++side)
  {
    const int y = t + 24 + side * 22;
    Label(IRect(filterCx - 64, y + 2, filterCx - 48, y + 16), kSides[side]);
    const IBitmapControl* box = Picture(filterCx - 45, y, typeBox);
    Add(new IKvFilterUnitMenu(plug, box->GetRect(), 2 * osc + side, kMenuBox, &labelStyle));
  }
  const IBitmap track = Image(1402, "slider_background_82px_14px.png");
  const IBitmapControl* trackPicture = Picture(filterCx - 41, t + 70, track);
  auto* balance = Add(new IFaderControl(
      plug, trackPicture->GetRect().left, t + 70, track.w, param(P::kOscFilterBalance),
      Image(1401, "slider_handle_14px_14px.png"), Direction::Horizontal));
  auto* balanceText =
      Add(new IKvFeedbackText(plug, IRect(filterCx - 45, t + 86, filterCx + 45, t + 99), valueStyle,
                              param(P::kOscFilterBalance)));
  balance->SetValueTextControl(balanceText);

  // The sound knobs, eight columns across the panel.
  const double column = (panel.right - panel.left - 16) / 8.0;
  auto cx = [&](int i) { return l + 8 + int(column * (i + 0.5)); };
  const int row1 = t + 129;
  const IBitmap pitchTune = Image(1003, "knobs/KV_Osc_Pitch_Tune_Knob_30px.png", 0);
  const IBitmap tune = Image(1004, "knobs/KV_Osc_Pitch_Tune_Knob_30px.png", 0);
  const IBitmap pan = Image(1007, "knobs/KV_Osc_Pan_Knob_30px.png", 0);
  struct SoundKnob
  {
    P::EOscParam param;
    const char* label;
    const IBitmap* strip;
    int kind;
  };
  const IBitmap cutoff = Image(1005, "knobs/KV_Filter_Knob_40px.png", 0);
  const IBitmap reso = Image(1006, "knobs/KV_Resonance_Knob_40px.png", 0);
  const IBitmap saturation = Image(1008, "knobs/KV_Osc_Saturation_Knob_30px.png", 0);
  const IBitmap volume = Image(1009, "knobs/KV_Osc_Volume_Knob_30px.png", 0);
  const SoundKnob sound[] = {
      {P::kOscPitch, "Pitch", &pitchTune, Caption::kSemitones},
      {P::kOscTune, "Tune", &tune, Caption::kBipolar},
      {P::kOscStartPhase, "Phase", &pan, Caption::kCentred},
      {P::kOscFilterCutoff, "Cutoff", &cutoff, Caption::kPercent},
      {P::kOscFilterReso, "Reso", &reso, Caption::kPercent},
      {P::kOscSaturation, "Sat.", &saturation, Caption::kPercent},
      {P::kOscPan, "Pan", &pan, Caption::kBipolar},
      {P::kOscVolume, "Volume", &volume, Caption::kDecibels},
  };
  for (int i = 0; i < 8; ++i)
  {
    const SoundKnob& k = sound[i];
    // The larger filter knobs share the row's centre line.
    const int y = row1 - (k.strip->FrameH() - 30) / 2;
    IKnobMultiControl* knob = Knob(cx(i), y, param(k.param), *k.strip);
    Label(IRect(cx(i) - 24, row1 - 14, cx(i) + 24, row1 - 1), k.label);
    Value(knob, k.kind, 1.0, 0.0, "", 24);
  }

  // The LFO: rate, tempo sync, mode, its four amounts, and the link to the other LFOs.
  const int row2 = t + 194;
  const IBitmap lfo = Image(1010, "knobs/KV_LFO_Knob_30px.png", 0);
  const IBitmap sync = Image(1051, "knobs/KV_LFO_Sync_Knob_30px.png", 0);
  struct LfoKnob
  {
    P::EOscParam param;
    const char* label;
    const IBitmap* strip;
  };
  const LfoKnob lfoKnobs[] = {
      {P::kOscLfoFreq, "LFO", &lfo},      {P::kOscLfoTempoSync, "Sync", &sync},
      {P::kOscLfoMode, "Mode", &lfo},     {P::kOscLfoToVolume, "> Vol", &lfo},
      {P::kOscLfoToTune, "> Tune", &lfo}, {P::kOscLfoToFilter, "> Filter", &lfo},
      {P::kOscLfoToPan, "> Pan", &lfo},
  };
  for (int i = 0; i < 7; ++i)
  {
    IKnobMultiControl* k =
        Knob(cx(i), row2, param(lfoKnobs[i].param), *lfoKnobs[i].strip, lfoKnobs[i].label, 24);
    if (lfoKnobs[i].param == P::kOscLfoFreq)
      lfoRateKnobs[osc] = k;
  }
  const IBitmap link = Image(1333, "buttons/lfo_link_button.png", 2);
  Add(new ISwitchControl(plug, cx(7) - link.FrameW() / 2, row2 + 5, param(P::kOscLfoLinkAll),
                         link));
}

// Unison: the voice count (a two-state knob) and the detune.
void ThumpgeistEditor::BuildUnison()
{
  const SectionPanel& group = kSectionGroups[0];
  const int y = group.top + 50;
  Label(IRect(group.left, y - 32, group.left + 56, y - 2), "Unison\nVoices");
  Label(IRect(group.left + 54, y - 32, group.right, y - 2), "Unison\nDetune");
  IKnobMultiControl* voices = Knob(group.left + 27, y, P::kUnisonVoices,
                                   Image(1014, "knobs/KV_Unison_Knob_2_states_40px.png", 0));
  FeedbackValue(voices, "1", 28);
  IKnobMultiControl* detune =
      Knob(group.left + 83, y, P::kUnisonDetune, Image(1013, "knobs/KV_Unison_Knob_40px.png", 0));
  Value(detune, Caption::kPercent, 1.0, 0.0, "", 26);
}

// FM: the carrier amount.
void ThumpgeistEditor::BuildFm()
{
  const SectionPanel& group = kSectionGroups[1];
  const int cx = (group.left + group.right) / 2;
  const int y = group.top + 50;
  Label(IRect(group.left, y - 32, group.right, y - 2), "FM\ncarrier");
  IKnobMultiControl* fm =
      Knob(cx, y, P::kFmAmount, Image(1017, "knobs/KV_Fm_Modulation_Knob_40px.png", 0));
  Value(fm, Caption::kPercent, 1.0, 0.0, "", 28);
}

// The global transpose knob, the note transpose mode and the base frequency of the
// last note.
void ThumpgeistEditor::BuildGlobalTranspose()
{
  const SectionPanel& group = kSectionGroups[3];
  const int cx = (group.left + group.right) / 2;
  const int top = group.top + 16;
  Label(IRect(cx - 60, top, cx + 60, top + 13), "Global Transpose");
  const IBitmap knob = Image(1041, "knobs/KV_Global_Tune_Knob_50px.png", 0);
  auto* transpose = Add(new IKvGlobalTransposeKnob(plug, cx - knob.FrameW() / 2, top + 15,
                                                   P::kGlobalTranspose, knob));
  auto* semitones = Add(new Caption(plug, IRect(cx + 28, top + 33, group.right - 2, top + 46),
                                    P::kGlobalTranspose, valueStyle, Caption::kSemitones));
  transpose->SetValueTextControl(semitones);
  const IBitmapControl* box =
      Picture(cx - 67, top + 68, Image(1110, "displays/disto_name_display_135x20.png"));
  Add(new IKvNoteModePresetMenu(plug, box->GetRect(), kMenuBox, &labelStyle));
  IText near = labelStyle;
  near.align = TextAlign::Near;
  IText far = valueStyle;
  far.align = TextAlign::Far;
  Text(IRect(group.left + 4, top + 91, cx + 20, top + 104), "Note Base Freq.", near);
  Text(IRect(cx + 10, top + 91, group.right - 4, top + 104), "0.0 Hz (-)", far);
}

// The sub-oscillator: amount and click knobs, and the switches for where it goes.
void ThumpgeistEditor::BuildSubOscillator()
{
  const SectionPanel& panel = kSectionPanels[12];
  const int cx = (panel.left + panel.right) / 2;
  const int y = panel.top + 40;
  IKnobMultiControl* amount = Knob(cx - 48, y, P::kBassLayerAmount,
                                   Image(1042, "knobs/KV_Bass-Layer_Knob_35px.png", 0), "Sub-Osc");
  Value(amount, Caption::kDecibels);
  IKnobMultiControl* click =
      Knob(cx + 48, y, P::kBassLayerClick, Image(1043, "knobs/KV_Click_Knob_35px.png", 0), "Click");
  Value(click, Caption::kPercent);
  Label(IRect(panel.left + 8, y + 60, panel.right - 8, y + 73), "Sub-Osc Target:");
  const int buttons = y + 78;
  Add(new ISwitchControl(plug, cx - 82, buttons, P::kBassLayerToFm,
                         Image(1304, "buttons/fm_button_48x40.png", 2)));
  Add(new ISwitchControl(plug, cx - 24, buttons, P::kBassLayerToFilter,
                         Image(1302, "buttons/filter_button_48x40.png", 2)));
  Add(new ISwitchControl(plug, cx + 34, buttons, P::kBassLayerSolo,
                         Image(1303, "buttons/solo_button_48x40.png", 2)));
}

// The pitch-bend range: a knob of seven positions (0 to 12 semitones).
void ThumpgeistEditor::BuildPitchBend()
{
  const SectionPanel& group = kSectionGroups[2];
  const int cx = (group.left + group.right) / 2;
  IKnobMultiControl* range =
      Knob(cx, group.top + 52, P::kPitchBendRange,
           Image(1053, "knobs/KV_Pitch_Bend_Range_Knob_7_states_35px.png", 0));
  FeedbackValue(range, "+/- 2", 28);
}
