#pragma once
// The maximum output level since the last reset: "MAXIMUM AUDIO LEVEL: %7.3f dB" of the
// larger peak ("-oo dB" before any sound), in the warning colour above full scale.
// Rebuilt at every idle tick; the same text again does not redraw.
//
// Editor timer, user-interface thread; the peaks are read without a lock (display data).
#include "editor/controls/ITextControl.h"

class Thumpgeist;

class IKvMaxLevelText : public ITextControl
{
public:
  IKvMaxLevelText(Thumpgeist* owner, const IRect& area, const IText& style,
                  const IColor& warningColour);

  void IdleTick() override;
  static std::string Format(double peak);

private:
  Thumpgeist* synth;
  IColor normal;
  IColor warning;
};
