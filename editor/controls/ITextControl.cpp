#include "editor/controls/ITextControl.h"

#include "editor/core/IGraphics.h"

ITextControl::ITextControl(IPlugBase* owner, const IRect& area, const IText& style,
                           const char* initial, int boundParam)
    : IControl(owner, area, boundParam), str(initial ? initial : "")
{
  text = style;
}

void ITextControl::Paint(IGraphics* g)
{
  if (!str.empty())
    g->DrawStyledText(text, str.c_str(), rect);
}

void ITextControl::SetTextFromPlug(const char* newText)
{
  const char* t = newText ? newText : "";
  if (str != t)
  {
    str = t;
    MarkDirty(false);
  }
}
