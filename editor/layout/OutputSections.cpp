// The output stage, the programs, and the level meter with the limiter.
#include "editor/controls/IBitmapControl.h"
#include "editor/controls/IKnobMultiControl.h"
#include "editor/controls/IKvCaptionControl.h"
#include "editor/controls/IKvPresetSwitch.h"
#include "editor/controls/IKvRestorePresetButton.h"
#include "editor/controls/ISwitchControl.h"
#include "editor/controls/ITextControl.h"
#include "editor/layout/IKvFileSelector.h"
#include "editor/layout/IKvHostInfoText.h"
#include "editor/layout/IKvMaxLevelText.h"
#include "editor/layout/IKvPlayButton.h"
#include "editor/layout/IKvPresetMenu.h"
#include "editor/layout/IKvResetButton.h"
#include "editor/layout/SectionPanels.h"
#include "editor/layout/ThumpgeistEditor.h"
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"

namespace P = ParamIndex;
using Caption = IKvCaptionControl;

namespace
{
const IColor kWarning(255, 255, 70, 50);
const IColor kInfoText(255, 200, 204, 210);
} // namespace

// The output: volume, pan, saturation and dry/wet with their values, and the switch
// that bypasses every effect.
void ThumpgeistEditor::BuildOutput()
{
  const SectionPanel& panel = kSectionPanels[15];
  const int l = panel.left;
  const int t = panel.top;
  IKnobMultiControl* volume = Knob(l + 50, t + 38, P::kOutputVolume,
                                   Image(1037, "knobs/KV_Volume_Knob_50px.png", 0), "Volume", 34);
  Value(volume, Caption::kDecibels, 1.0, 0.0, "", 34);
  IKnobMultiControl* pan =
      Knob(l + 118, t + 38, P::kOutputPan, Image(1039, "knobs/KV_Pan_Knob_35px.png", 0), "Pan", 26);
  Value(pan, Caption::kBipolar, 1.0, 0.0, "", 26);
  IKnobMultiControl* sat = Knob(l + 168, t + 38, P::kOutputSaturation,
                                Image(1040, "knobs/KV_Saturation_Knob_35px.png", 0), "Sat", 26);
  Value(sat, Caption::kPercent, 1.0, 0.0, "", 26);
  IKnobMultiControl* dryWet = Knob(l + 143, t + 112, P::kDryWet,
                                   Image(1038, "knobs/KV_Dry_Wet_Knob_35px.png", 0), "Dry/Wet", 34);
  Value(dryWet, Caption::kPercent, 1.0, 0.0, "", 34);
  Add(new ISwitchControl(plug, l + 8, t + 116, P::kBypassAllEffects,
                         Image(1313, "buttons/bypass_fx_button_84x60.png", 2)));
}

// The programs: the current program's name with previous and next, load and save of
// program and preset text files, restore of the stored sound and a play button.
void ThumpgeistEditor::BuildPrograms()
{
  const SectionPanel& panel = kSectionPanels[10];
  const int row1 = panel.top + 5;
  const int row2 = panel.top + 36;
  const int l = panel.left;
  Add(new IKvPresetSwitch(plug, l + 10, row2, Image(1206, "switches/Prev_left_20px.png", 2),
                          false));
  const IBitmapControl* box =
      Picture(l + 32, row2, Image(1107, "displays/preset_display_185x20.png"));
  Add(new IKvPresetMenu(plug, box->GetRect(), IColor(96, 0, 0, 0), &menuStyle));
  Add(new IKvPresetSwitch(plug, l + 219, row2, Image(1207, "switches/Next_right_20px.png", 2),
                          true));

  // The file buttons draw their image only while the dialog is open; the images under
  // them show the buttons the rest of the time.
  const IBitmap load = Image(1309, "buttons/load_on_off_48x40.png", 2);
  const IBitmap save = Image(1310, "buttons/save_on_off_48x40.png", 2);
  Picture(916, row1, load);
  Add(new IKvFileSelector(plug, IRect(916, row1, 916 + load.FrameW(), row1 + load.FrameH()), load,
                          FileAction::Open));
  Picture(964, row1, save);
  Add(new IKvFileSelector(plug, IRect(964, row1, 964 + save.FrameW(), row1 + save.FrameH()), save,
                          FileAction::Save));
  Add(new IKvRestorePresetButton(plug, 916, row2,
                                 Image(1323, "buttons/restore_on_off_48x40.png", 2)));
  Add(new IKvPlayButton(plug, 964, row2, Image(1328, "buttons/play_on_off_48x40.png", 2)));
}

// The level meter: the host's sample rate, tempo and block size, the maximum level
// since the last reset with its reset button, and the output limit.
void ThumpgeistEditor::BuildLevelMeter()
{
  const SectionPanel& panel = kSectionPanels[9];
  const int l = panel.left;
  const int t = panel.top;
  const IBitmapControl* info = Picture(l + 118, t + 4, Image(1112, "displays/info_display.png"));
  IText infoStyle(13, kInfoText, "Arial", TextStyle::Normal, TextAlign::Center);
  const IRect& area = info->GetRect();
  Add(new IKvHostInfoText(plug, IRect(area.left, area.top + 3, area.right, area.bottom),
                          infoStyle));
  Add(new ISwitchControl(plug, l + 10, t + 32, P::kLimitOutput,
                         Image(1311, "buttons/limit_on_off_60x60.png", 2)));
  IText levelStyle(13, kInfoText, "Arial", TextStyle::Normal, TextAlign::Near);
  Add(new IKvMaxLevelText(plug, IRect(l + 118, t + 41, l + 400, t + 54), levelStyle, kWarning));
  Add(new IKvResetButton(plug, l + 404, t + 37, Image(1312, "buttons/reset_on_off_48x40.png", 2)));
}
