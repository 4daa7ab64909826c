#pragma once
// The instrument with its editor attached and drawn off-screen on the module's own
// images, as the layout tests build it.
#include "editor/EditorTestKit.h"
#include "editor/core/BitmapCache.h"
#include "editor/layout/ThumpgeistEditor.h"
#include "synth/Thumpgeist.h"

#include <gtest/gtest.h>

#include <memory>

// The test graphics with the module's own images, past the test kit's made-up ones.
class ModuleGraphics : public FakeGraphics
{
public:
  explicit ModuleGraphics(IPlugBase* owner)
    : FakeGraphics(owner, ThumpgeistEditor::kWidth, ThumpgeistEditor::kHeight)
  {
  }
  LICE_IBitmap* LoadPngResource(int number, const char* name) override
  {
    return IGraphics::LoadPngResource(number, name); // NOLINT(bugprone-parent-virtual-call)
  }
};

// The plug-in and its editor on Graphics (a ModuleGraphics or one derived from it).
template <class Graphics = ModuleGraphics>
struct ModuleEditor
{
  Thumpgeist plug{nullptr};
  Graphics* g = nullptr;
  ThumpgeistEditor* editor = nullptr;

  // freshImages empties the module-wide image cache first, so every image is loaded.
  explicit ModuleEditor(bool freshImages = false)
  {
    if (freshImages)
      BitmapCache::Clear();
    auto graphics = std::make_unique<Graphics>(&plug);
    g = graphics.get();
    editor = new ThumpgeistEditor(&plug, std::move(graphics));
    plug.AttachEditor(editor);
  }

  // One tick of the editor's timer: what is dirty is drawn, else every control idles.
  void Tick()
  {
    IRect dirty;
    if (g->CollectDirty(dirty))
      g->Draw(dirty);
  }
  // Timer ticks that draw (a control changed from the host draws on two), until one has
  // nothing to draw, which gives every control its idle tick.
  void Idle()
  {
    for (int tick = 0; tick < 8; ++tick)
    {
      IRect area;
      if (!g->CollectDirty(area))
        return;
      g->Draw(area);
    }
    ADD_FAILURE() << "the editor finds something to draw at every tick";
  }
};
