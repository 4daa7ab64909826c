// The editor's drawing cost: a full redraw of each page of the 1220 x 835 test editor
// (about 150 controls on the synthesizer page, as the window's first paint does it) and the redraw of one knob after a
// value change (what a knob drag costs each timer tick), both through the timer's
// cycle: collect the dirty rectangle, then draw it.
#include "editor/controls/IControl.h"
#include "synth/Thumpgeist.h"
#include "tools/snapshot/EditorTestPage.h"
#include "tools/snapshot/SnapshotGraphics.h"

#include <benchmark/benchmark.h>

namespace
{
struct Editor
{
  Thumpgeist plug{nullptr};
  SnapshotGraphics* g = new SnapshotGraphics(&plug, 1220, 835);
  std::unique_ptr<IKvPageSet> pages = EditorTestPage::Build(g, &plug);
  Editor()
  {
    plug.AttachEditor(g);
    // Fonts and glyphs are made on first use; the benchmark measures drawing after that.
    g->SetAllControlsDirty();
    g->Draw(IRect(0, 0, 1220, 835));
  }
};

// The page is the argument: 0 synthesizer, 1 scope, 2 About.
void BM_FullRedraw(benchmark::State& state)
{
  Editor e;
  e.pages->ShowPage(int(state.range(0)));
  for (auto _ : state)
  {
    e.g->SetAllControlsDirty();
    IRect dirty;
    e.g->CollectDirty(dirty);
    e.g->Draw(dirty);
  }
  state.counters["controls"] = e.g->NControls();
}
BENCHMARK(BM_FullRedraw)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_KnobRedraw(benchmark::State& state)
{
  Editor e;
  IControl* knob = e.g->GetControl(EditorTestPage::FirstKnobIndex());
  double v = 0.0;
  for (auto _ : state)
  {
    v = v > 0.99 ? 0.0 : v + 0.01;
    knob->SetValue(v);
    knob->MarkDirty(false);
    IRect dirty;
    e.g->CollectDirty(dirty);
    e.g->Draw(dirty);
  }
  state.counters["pixels"] = double(knob->GetRect().W() * knob->GetRect().H());
}
BENCHMARK(BM_KnobRedraw)->Unit(benchmark::kMicrosecond);
} // namespace
