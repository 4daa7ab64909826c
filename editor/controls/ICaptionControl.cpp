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
  return param ? DisplayCaption(*param, showLabel) : std::string();
}

std::string ICaptionControl::DisplayCaption(const IParameter& param, bool withLabel)
{
  char display[IParameter::kTextLength];
  param.GetDisplayText(display);
  std::string caption = display;
  const char* label = param.GetLabelText();
  if (withLabel && label && *label)
    caption += std::string(" ") + label;
  return caption;
}

void ICaptionControl::Paint(IGraphics* g)
{
  str = CaptionText();
  ITextControl::Paint(g);
}
