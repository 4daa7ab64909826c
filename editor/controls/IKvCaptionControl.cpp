#include "editor/controls/IKvCaptionControl.h"

#include "editor/controls/ICaptionControl.h"
#include "plugin/IPlugBase.h"

#include <cmath>
#include <cstdio>

IKvCaptionControl::IKvCaptionControl(IPlugBase* owner, const IRect& area, int boundParam,
                                     const IText& style, int displayKind, double valueScale,
                                     double valueOffset, const char* unitText, bool withLabel)
  : ITextControl(owner, area, style, "", boundParam), kind(displayKind), scale(valueScale),
    offset(valueOffset), unit(unitText ? unitText : ""), showLabel(withLabel)
{
}

std::string IKvCaptionControl::Format(int displayKind, double v, double valueScale,
                                      double valueOffset, const char* unitText)
{
  static constexpr const char* kSyncNames[] = {"off",  "1/16x", "1/8x", "1/4x", "1/2x",
                                               "1.0x", "2.0x",  "4.0x", "8.0x", "16.0x"};
  const char* u = unitText ? unitText : "";
  char out[64] = "";
  switch (displayKind)
  {
  case kDecibels:
    if (v > 0.0)
      std::snprintf(out, sizeof out, "%3.1fdB", 20.0 * std::log10(v));
    else
      std::snprintf(out, sizeof out, "-oodB");
    break;
  case kPercent:
    std::snprintf(out, sizeof out, "%3.1f%%", 100.0 * v);
    break;
  case kSemitones:
    std::snprintf(out, sizeof out, "%4.3f", 24.0 * v - 12.0);
    break;
  case kBipolar:
    std::snprintf(out, sizeof out, "%4.3f", 2.0 * v - 1.0);
    break;
  case kCentred:
    std::snprintf(out, sizeof out, "%4.3f", v - 0.5);
    break;
  case kScaled:
    std::snprintf(out, sizeof out, "%4.3f%s", valueScale * v + valueOffset, u);
    break;
  case kScaledShort:
    std::snprintf(out, sizeof out, "%4.1f%s", valueScale * v + valueOffset, u);
    break;
  case kSyncFactor:
  {
    const double position = std::floor(9.0 * v + 0.5);
    const bool known = position >= 0.0 && position <= 9.0;
    std::snprintf(out, sizeof out, "%s", known ? kSyncNames[int(position)] : "1.0x");
    break;
  }
  default:
    break;
  }
  return out;
}

std::string IKvCaptionControl::CaptionText() const
{
  IParameter* param = plug ? plug->GetParam(paramIdx) : nullptr;
  if (!param)
    return {};
  if (kind >= kDecibels && kind <= kSyncFactor)
    return Format(kind, param->Value(), scale, offset, unit.c_str());
  return ICaptionControl::DisplayCaption(*param, showLabel);
}

void IKvCaptionControl::Paint(IGraphics* g)
{
  str = CaptionText();
  ITextControl::Paint(g);
}
