#pragma once
// A test editor built from the standard controls, the size of the real one (1220 x 835,
// three pages with tabs): rows of knobs of every size with their value captions, on/off
// switches, sliders and labels on the synthesizer page (about 150 controls), a few
// controls on the scope and About pages. It loads the images the real sections load,
// by the same numbers and names, and binds its controls to the plug-in's parameters in
// index order. Until the real layout exists, the snapshot tool and the benchmark draw
// this page.
#include "editor/controls/IKvPageSet.h"

#include <memory>

class IGraphics;
class IPlugBase;

class EditorTestPage
{
public:
  // Attaches every control to the graphics; the pages it fills are returned.
  static std::unique_ptr<IKvPageSet> Build(IGraphics* g, IPlugBase* plug);
  // The index of the first knob (bound to parameter 0), for the benchmark.
  static int FirstKnobIndex() { return 4; }
};
