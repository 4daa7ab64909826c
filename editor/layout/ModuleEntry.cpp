// The module's instrument: every instance a host creates gets its editor, drawn in the
// window this system provides.
#include "editor/layout/ThumpgeistEditor.h"
#include "editor/platform/PlatformGraphics.h"
#include "synth/Thumpgeist.h"

#include <memory>

IPlugVST* MakePlug(Vst::HostCallback hostCallback)
{
  auto* plug = new Thumpgeist(hostCallback);
  std::unique_ptr<IGraphics> window(MakePlatformGraphics(
      plug, ThumpgeistEditor::kWidth, ThumpgeistEditor::kHeight, IGraphics::kDefaultFps));
  plug->AttachEditor(new ThumpgeistEditor(plug, std::move(window)));
  return plug;
}
