#pragma once
// The text the effect chain gives for an effect parameter's current setting (band
// gains, bits, sample rate, gate, cutoff, transition, interpolation, shaper type and
// mode, ring waveform, dump/expand side), painted fresh each time; the parameter's
// knob names it as its value text, so it is redrawn with every change.
//
// User-interface thread only; reads the effect units' settings as the routing left them.
#include "editor/controls/ITextControl.h"

class Thumpgeist;

class IKvFeedbackText : public ITextControl
{
public:
  IKvFeedbackText(Thumpgeist* owner, const IRect& area, const IText& style, int boundParam,
                  const char* initial = "");

  void Paint(IGraphics* g) override;

private:
  Thumpgeist* synth;
};
