#pragma once
// The bound parameter's display text (and unit label) as a text; any click prompts for
// a value.
#include "editor/controls/ITextControl.h"

class IParameter;

class ICaptionControl : public ITextControl
{
public:
  ICaptionControl(IPlugBase* owner, const IRect& area, int boundParam, const IText& style,
                  bool withLabel = true);

  void MouseDown(int x, int y, const IMouseMod& mod) override { PromptForValue(); }
  void MouseDoubleClick(int x, int y, const IMouseMod& mod) override { PromptForValue(); }
  void Paint(IGraphics* g) override;
  // The text the parameter's current value shows.
  std::string CaptionText() const;
  // A parameter's display text, followed by a space and its unit label when withLabel
  // is set and it has one.
  static std::string DisplayCaption(const IParameter& param, bool withLabel);

private:
  bool showLabel;
};
