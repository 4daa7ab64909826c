#pragma once
// A static text drawn with the control's style; new text marks it dirty.
#include "editor/controls/IControl.h"

#include <string>

class ITextControl : public IControl
{
public:
  ITextControl(IPlugBase* owner, const IRect& area, const IText& style, const char* initial = "",
               int boundParam = -1);

  void Paint(IGraphics* g) override;
  // Takes the text; a change marks the control dirty (nothing is pushed).
  void SetTextFromPlug(const char* newText);
  const std::string& GetTextString() const { return str; }

protected:
  std::string str;
};
