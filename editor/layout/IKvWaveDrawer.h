#pragma once
// The oscilloscope of the scope page. For now it draws its two lane centre lines over
// the display image; the traces of the output, the LFOs and the envelopes come with
// the scope's live drawing.
//
// User-interface thread only.
#include "editor/controls/IControl.h"

class Thumpgeist;

class IKvWaveDrawer : public IControl
{
public:
  IKvWaveDrawer(Thumpgeist* owner, const IRect& area);

  void Paint(IGraphics* g) override;
  // The lanes: amplitude a = floor(height / 4), centres at top + a and top + 3a.
  int Amplitude() const { return rect.H() / 4; }

private:
  Thumpgeist* synth;
};
