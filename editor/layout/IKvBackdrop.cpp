#include "editor/layout/IKvBackdrop.h"

#include "editor/core/IGraphics.h"

void IKvBackdrop::Paint(IGraphics* g)
{
  g->FillRect(fill, rect, &blend);
  g->DrawRect(edge, rect);
}
