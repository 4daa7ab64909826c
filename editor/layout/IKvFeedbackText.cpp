#include "editor/layout/IKvFeedbackText.h"

#include "synth/Thumpgeist.h"

IKvFeedbackText::IKvFeedbackText(Thumpgeist* owner, const IRect& area, const IText& style,
                                 int boundParam, const char* initial)
  : ITextControl(owner, area, style, initial, boundParam), synth(owner)
{
}

void IKvFeedbackText::Paint(IGraphics* g)
{
  char shownText[64];
  if (synth && synth->FeedbackText(paramIdx, shownText, sizeof shownText))
    str = shownText;
  ITextControl::Paint(g);
}
