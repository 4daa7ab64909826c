#pragma once
// The text the instrument gives for a parameter's current setting (filter balances,
// envelope times, velocities and amounts, bend range, unison count; the effect
// chain's band gains, bits, sample rate, gate, cutoff, transition, interpolation,
// shaper type and mode, ring waveform, dump/expand side), painted fresh each time.
// It serves its parameter, and redraws whenever it changes; a text that also depends
// on other parameters (an envelope time on the envelope's duration) lists them as
// additional parameters.
//
// User-interface thread only; reads the settings as the routing left them.
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
