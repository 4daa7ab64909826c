#include "editor/controls/ICaptionControl.h"

#include "plugin/IPlugBase.h"

ICaptionControl::ICaptionControl(IPlugBase* owner, const IRect& area, int boundParam,
                                 const IText& style, bool withLabel)
    : ITextControl(owner, area, style, "", boundParam), showLabel(withLabel)
{
}

std::string ICaptionControl::CaptionText() const
{
  const IParameter* param = plug ? plug->GetParam(paramIdx) : nullptr;
  if (!param)
    return {};
  char display[IParameter::kTextLength];
  param->GetDisplayText(display);
  std::string caption = display;
  const char* label = param->GetLabelText();
  if (showLabel && label && *label)
    caption += std::string(" ") + label;
  return caption;
}

void ICaptionControl::Paint(IGraphics* g)
{
  str = CaptionText();
  ITextControl::Paint(g);
}
