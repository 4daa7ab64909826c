#pragma once
// A plain filled rectangle: the scope and About pages lay one over the synthesizer
// page's panels so that their own contents stand on a calm ground.
//
// User-interface thread only.
#include "editor/controls/IControl.h"

class IKvBackdrop : public IControl
{
public:
  IKvBackdrop(IPlugBase* owner, const IRect& area, const IColor& fillColour,
              const IColor& edgeColour)
    : IControl(owner, area), fill(fillColour), edge(edgeColour)
  {
  }

  void Paint(IGraphics* g) override;

private:
  IColor fill;
  IColor edge;
};
