// The scope page and the About page: each lays a calm ground over the synthesizer
// page's panels, holds its own controls, and is hidden once built.
#include "editor/controls/IBitmapControl.h"
#include "editor/controls/IKvUrlButton.h"
#include "editor/controls/ITextControl.h"
#include "editor/controls/IZoomTextControl.h"
#include "editor/layout/IKvBackdrop.h"
#include "editor/layout/IKvFreezeButton.h"
#include "editor/layout/IKvScopeHollowFilledSelectionButton.h"
#include "editor/layout/IKvScopeWaveSelectionButton.h"
#include "editor/layout/IKvVuEyeDrawer.h"
#include "editor/layout/IKvWaveDrawer.h"
#include "editor/layout/IKvZoomSwitch.h"
#include "editor/layout/ThumpgeistEditor.h"
#include "synth/Thumpgeist.h"

namespace
{
const IRect kPageArea(14, 64, 1206, 780);
const IColor kGround(255, 24, 25, 29);
const IColor kGroundEdge(255, 52, 54, 60);
} // namespace

// The About page: the logo with the level eyes, the team, the free version's note, the
// plug-in badge and the two links.
void ThumpgeistEditor::BuildAboutPage()
{
  buildPage = kAboutPage;
  Add(new IKvBackdrop(plug, kPageArea, kGround, kGroundEdge));
  const IBitmap logo = Image(2001, "Korvane_logo_txt_740x450.png");
  const int logoLeft = (kWidth - logo.w) / 2;
  Picture(logoLeft, 80, logo);
  // The eyes sit side by side under the logo's middle.
  const int cx = kWidth / 2;
  Add(new IKvVuEyeDrawer(plug, IRect(cx - 62, 540, cx - 4, 572), true));
  Add(new IKvVuEyeDrawer(plug, IRect(cx + 4, 540, cx + 62, 572), false));
  const IBitmap team = Image(2003, "KV_Team_Text.png");
  Picture((kWidth - team.w) / 2, 586, team);
  const IBitmap note = Image(2002, "free_version_info_txt.png");
  Picture((kWidth - note.w) / 2, 682, note);
  const IBitmap badge = Image(2005, "VST_Logo.png");
  Picture(1206 - 20 - badge.w, 780 - 20 - badge.h, badge);

  IText caption(15, IColor(255, 200, 204, 210), "Arial", TextStyle::Normal, TextAlign::Near);
  const IBitmap web = Image(2010, "KV_URL_icon.png");
  const IBitmap social = Image(2011, "FB_URL_icon.png");
  Add(new IKvUrlButton(plug, 40, 650, web, "https://www.korvane.example/thumpgeist",
                       "https://korvane.example/", "Korvane on the web"));
  Text(IRect(92, 664, 260, 680), "Korvane on the web", caption);
  Add(new IKvUrlButton(plug, 40, 706, social, "https://social.korvane.example/korvane",
                       "https://www.korvane.example/community", "Korvane community"));
  Text(IRect(92, 720, 260, 736), "Korvane community", caption);
  pages.HidePage(kAboutPage);
}

// The scope page: the oscilloscope over its display, the trace and fill-mode buttons,
// freeze, and the zoom with its percent between minus and plus.
void ThumpgeistEditor::BuildScopePage()
{
  buildPage = kScopePage;
  Add(new IKvBackdrop(plug, kPageArea, kGround, kGroundEdge));
  const IBitmap wave = Image(2008, "displays/wave_display.png");
  const int left = (kWidth - wave.w) / 2;
  const IBitmapControl* display = Picture(left, 150, wave);
  const IRect& area = display->GetRect();
  // 980 columns, one per record of the ring, in the middle of the display.
  scope =
      Add(new IKvWaveDrawer(plug, IRect(area.left + 10, area.top, area.left + 990, area.bottom)));

  struct Trace
  {
    int number;
    const char* name;
  };
  // In the order of the oscilloscope's traces: LFO 1 to 3, the envelopes, the output.
  const Trace traces[IKvWaveDrawer::kTraces] = {
      {1315, "buttons/lfo1_on_off.png"},       {1316, "buttons/lfo2_on_off.png"},
      {1317, "buttons/lfo3_on_off.png"},       {1318, "buttons/volume_env_on_off.png"},
      {1319, "buttons/filter_env_on_off.png"}, {1320, "buttons/output_on_off.png"},
  };
  const int row = area.bottom + 24;
  int x = area.left;
  for (int t = 0; t < IKvWaveDrawer::kTraces; ++t)
  {
    Add(new IKvScopeWaveSelectionButton(plug, x, row, Image(traces[t].number, traces[t].name, 2),
                                        scope, t));
    x += 78;
  }
  Add(new IKvScopeHollowFilledSelectionButton(
      plug, x + 20, row, Image(1321, "buttons/hollow_half_filled_scope_button.png", 3), scope));

  // At the right: freeze, then minus, the zoom percent and plus.
  const IBitmap zoomBox = Image(2009, "displays/zoom_display.png");
  const IBitmap minus = Image(1212, "switches/minus_25px.png", 2);
  const IBitmap plus = Image(1213, "switches/plus_25px.png", 2);
  const int plusLeft = area.right - plus.FrameW();
  const int boxLeft = plusLeft - 6 - zoomBox.w;
  const int minusLeft = boxLeft - 6 - minus.FrameW();
  Add(new IKvFreezeButton(plug, minusLeft - 90, row,
                          Image(1314, "buttons/freeze_scope_button.png", 2)));
  Add(new IKvZoomSwitch(plug, minusLeft, row - 2, minus, scope, false));
  const IBitmapControl* box = Picture(boxLeft, row - 1, zoomBox);
  IText zoomStyle(14, IColor(255, 232, 234, 238), "Arial", TextStyle::Normal, TextAlign::Center);
  const IRect& zoomArea = box->GetRect();
  IKvWaveDrawer* drawer = scope;
  auto* zoomText = Add(new IZoomTextControl(
      plug, IRect(zoomArea.left, zoomArea.top + 3, zoomArea.right, zoomArea.bottom), zoomStyle,
      "100 %", [drawer](int notches) { drawer->Zoom(notches); }));
  scope->SetZoomText(zoomText);
  Add(new IKvZoomSwitch(plug, plusLeft, row - 2, plus, scope, true));
  pages.HidePage(kScopePage);
}
