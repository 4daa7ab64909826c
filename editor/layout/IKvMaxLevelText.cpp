#include "editor/layout/IKvMaxLevelText.h"

#include "synth/Thumpgeist.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

IKvMaxLevelText::IKvMaxLevelText(Thumpgeist* owner, const IRect& area, const IText& style,
                                 const IColor& warningColour)
  : ITextControl(owner, area, style), synth(owner), normal(style.color), warning(warningColour)
{
  IdleTick();
}

std::string IKvMaxLevelText::Format(double peak)
{
  if (!(peak > 0.0))
    return "MAXIMUM AUDIO LEVEL: -oo dB";
  char line[64];
  std::snprintf(line, sizeof line, "MAXIMUM AUDIO LEVEL: %7.3f dB",
                double(20.0f * std::log10(float(peak))));
  return line;
}

void IKvMaxLevelText::IdleTick()
{
  if (!synth)
    return;
  const double peak = std::max(synth->LeftPeak(), synth->RightPeak());
  const IColor& colour = peak > 1.0 ? warning : normal;
  if (!(colour == text.color))
  {
    text.color = colour;
    MarkDirty(false);
  }
  SetTextFromPlug(Format(peak).c_str());
}
