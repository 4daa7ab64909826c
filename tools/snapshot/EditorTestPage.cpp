#include "tools/snapshot/EditorTestPage.h"

#include "editor/controls/IBitmapControl.h"
#include "editor/controls/ICaptionControl.h"
#include "editor/controls/IFaderControl.h"
#include "editor/controls/IKnobMultiControl.h"
#include "editor/controls/IKvTabButton.h"
#include "editor/controls/ISwitchControl.h"
#include "editor/core/IGraphics.h"
#include "plugin/IPlugBase.h"

namespace
{
struct KnobKind
{
  int number;
  const char* name;
};

// Knob images by row, as the sections use them.
const KnobKind kKnobRows[] = {
    {1001, "knobs/KV_Pitch_Knob_40px.png"},      {1003, "knobs/KV_Osc_Pitch_Tune_Knob_30px.png"},
    {1033, "knobs/KV_EQ_High_Knob_35px.png"},    {1005, "knobs/KV_Filter_Knob_40px.png"},
    {1011, "knobs/KV_ADSR_Volume_Knob_30px.png"}, {1037, "knobs/KV_Volume_Knob_50px.png"},
};

// A strip's frames: square frames stacked, as many as the image holds.
IBitmap LoadStrip(IGraphics* g, int number, const char* name)
{
  IBitmap b = g->LoadBitmap(number, name, 1);
  if (b.w > 0 && b.h >= b.w)
    b.n = b.h / b.w;
  return b;
}
} // namespace

std::unique_ptr<IKvPageSet> EditorTestPage::Build(IGraphics* g, IPlugBase* plug)
{
  auto pages = std::make_unique<IKvPageSet>(g);
  g->AttachBackground(111, "Thumpgeist_GUI_background_FREE.png");

  // Tabs (indices 1 to 3), always visible.
  const IBitmap tabs[3] = {g->LoadBitmap(1326, "buttons/tab_synth_85x50.png", 2),
                           g->LoadBitmap(1325, "buttons/tab_scope_85x50.png", 2),
                           g->LoadBitmap(1324, "buttons/tab_about_85x50.png", 2)};
  for (int p = 0; p < 3; ++p)
  {
    auto* tab = new IKvTabButton(plug, 482 + 85 * p, 793, tabs[p], pages.get(), p);
    tab->SetValue(p == 0 ? 1.0 : 0.0);
    g->AttachControl(tab);
    pages->SetTabButton(p, tab);
  }

  // Synthesizer page: six rows of eleven knobs, each with its value caption.
  IText caption(13, IColor(255, 220, 220, 225), "Arial", TextStyle::Normal, TextAlign::Center);
  const int nParams = plug ? plug->NParams() : 0;
  int param = 0;
  for (int row = 0; row < 6; ++row)
  {
    const IBitmap strip = LoadStrip(g, kKnobRows[row].number, kKnobRows[row].name);
    const int size = strip.w > 0 ? strip.w : 40;
    for (int col = 0; col < 11; ++col)
    {
      const int x = 60 + col * 100 + (50 - size) / 2;
      const int y = 95 + row * 110 + (50 - size) / 2;
      const int bound = param < nParams ? param : -1;
      ++param;
      pages->AddToPage(0, g->AttachControl(new IKnobMultiControl(plug, x, y, bound, strip)));
      pages->AddToPage(
          0, g->AttachControl(new ICaptionControl(
                 plug, IRect(x + size / 2 - 45, y + size + 4, x + size / 2 + 45, y + size + 20),
                 bound, caption)));
    }
  }

  // Switches and sliders along the top, labels over the columns.
  const IBitmap onOff = g->LoadBitmap(201, "switches/KV_on_off_20px.png", 2);
  const IBitmap handle = g->LoadBitmap(1401, "slider_handle_14px_14px.png", 1);
  for (int i = 0; i < 8; ++i)
  {
    const int bound = param < nParams ? param : -1;
    ++param;
    pages->AddToPage(0, g->AttachControl(new ISwitchControl(plug, 60 + i * 40, 50, bound, onOff)));
  }
  for (int i = 0; i < 4; ++i)
  {
    const int bound = param < nParams ? param : -1;
    ++param;
    pages->AddToPage(0, g->AttachControl(new IFaderControl(plug, 420 + i * 120, 52, 104, bound,
                                                           handle, Direction::Horizontal)));
  }
  IText label(14, IColor(255, 255, 140, 60), "Arial", TextStyle::Bold, TextAlign::Near);
  const char* const kLabels[] = {"Pitch", "Tune", "Equalizer", "Filter", "Envelope", "Output"};
  for (int row = 0; row < 6; ++row)
    pages->AddToPage(0, g->AttachControl(new ITextControl(
                            plug, IRect(20, 78 + row * 110, 200, 94 + row * 110), label, kLabels[row])));

  // Scope page: a display and its zoom text.
  const IBitmap wave = g->LoadBitmap(2008, "displays/wave_display.png", 1);
  pages->AddToPage(1, g->AttachControl(new IBitmapControl(plug, 60, 80, -1, wave)));
  IText big(15, IColor(255, 230, 230, 235), "Verdana", TextStyle::Normal, TextAlign::Center);
  pages->AddToPage(1, g->AttachControl(new ITextControl(plug, IRect(60, 40, 400, 60), big, "100 %")));

  // About page: the maker's texts.
  pages->AddToPage(2, g->AttachControl(new ITextControl(plug, IRect(360, 300, 860, 330), big,
                                                        "Thumpgeist 1.8 FREE  -  Korvane")));
  pages->HidePage(1);
  pages->HidePage(2);
  return pages;
}
