#include "editor/layout/ThumpgeistEditor.h"

#include "editor/controls/IBitmapControl.h"
#include "editor/controls/IKvTabButton.h"
#include "synth/Thumpgeist.h"

ThumpgeistEditor::ThumpgeistEditor(Thumpgeist* owner, std::unique_ptr<IGraphics> g)
    : plug(owner), pages(g.get()), graphics(std::move(g))
{
  BuildFixedElements();
  // The builders hide the scope and About pages as they finish them.
  pages.HidePage(kScopePage);
  pages.HidePage(kAboutPage);
}

ThumpgeistEditor::~ThumpgeistEditor() = default;

int ThumpgeistEditor::AddToPage(int page, IControl* control)
{
  const int idx = graphics->AttachControl(control);
  pages.AddToPage(page, idx);
  return idx;
}

void ThumpgeistEditor::BuildFixedElements()
{
  IGraphics* g = graphics.get();
  g->AttachBackground(111, "Thumpgeist_GUI_background_FREE.png");
  const IBitmap plate = g->LoadBitmap(112, "Controls_Background_FREE.png");
  g->AttachControl(new IBitmapControl(plug, (kWidth - plate.w) / 2, 18, -1, plate));
  g->AttachControl(
      new IBitmapControl(plug, 80, 627, -1, g->LoadBitmap(1405, "bass_kick_design_tool_FREE.png")));
  g->AttachControl(new IBitmapControl(plug, 70, 792, -1, g->LoadBitmap(2004, "x64.png")));

  // The tabs: two-frame images, the synthesizer tab lit.
  const IBitmap tabs[IKvPageSet::kPages] = {g->LoadBitmap(1326, "buttons/tab_synth_85x50.png", 2),
                                            g->LoadBitmap(1325, "buttons/tab_scope_85x50.png", 2),
                                            g->LoadBitmap(1324, "buttons/tab_about_85x50.png", 2)};
  for (int p = 0; p < IKvPageSet::kPages; ++p)
  {
    auto* tab = new IKvTabButton(plug, 482 + 85 * p, 793, tabs[p], &pages, p);
    tab->SetValue(p == kSynthPage ? 1.0 : 0.0);
    g->AttachControl(tab);
    pages.SetTabButton(p, tab);
  }
}
