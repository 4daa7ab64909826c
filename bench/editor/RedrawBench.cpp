// The editor's drawing cost: a full redraw of each page of the instrument's 1220 x 835
// editor (as the window's first paint does it), the redraw of the master volume knob
// after a value change (what a knob drag costs each timer tick), both through the
// timer's cycle: collect the dirty rectangle, then draw it; and the editor's
// construction, which every new instance pays.
#include "editor/controls/IControl.h"
#include "editor/layout/ThumpgeistEditor.h"
#include "synth/ParamIndex.h"
#include "synth/Thumpgeist.h"
#include "tools/snapshot/SnapshotGraphics.h"

#include <memory>

#include <benchmark/benchmark.h>

namespace
{
struct Editor
{
  Thumpgeist plug{nullptr};
  ThumpgeistEditor* editor =
      new ThumpgeistEditor(&plug, std::make_unique<SnapshotGraphics>(
                                      &plug, ThumpgeistEditor::kWidth, ThumpgeistEditor::kHeight));
  IGraphics* g = &editor->Graphics();
  Editor()
  {
    plug.AttachEditor(editor);
    // Fonts and glyphs are made on first use; the benchmark measures drawing after that.
    g->SetAllControlsDirty();
    g->Draw(IRect(0, 0, 1220, 835));
  }
};

// The page is the argument: 0 synthesizer, 1 scope, 2 About.
void BM_FullRedraw(benchmark::State& state)
{
  Editor e;
  e.editor->Pages().ShowPage(int(state.range(0)));
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
  IControl* knob = nullptr;
  for (int i = 0; i < e.g->NControls() && !knob; ++i)
    if (e.g->GetControl(i)->GetParamIdx() == ParamIndex::kOutputVolume)
      knob = e.g->GetControl(i);
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

// Building the editor for an instance whose images are already in the module's cache
// (every instance after the first).
void BM_BuildEditor(benchmark::State& state)
{
  Thumpgeist plug(nullptr);
  for (auto _ : state)
  {
    ThumpgeistEditor editor(&plug, std::make_unique<SnapshotGraphics>(
                                       &plug, ThumpgeistEditor::kWidth, ThumpgeistEditor::kHeight));
    benchmark::DoNotOptimize(editor.Graphics().NControls());
  }
}
BENCHMARK(BM_BuildEditor)->Unit(benchmark::kMicrosecond);
} // namespace
