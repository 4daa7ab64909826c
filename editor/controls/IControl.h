#pragma once
// The base of every element of the editor: a rectangle on the surface, optionally bound
// to one parameter of the plug-in, holding a normalized value in 0..1, drawing itself
// and reacting to the events the graphics routes to it.
//
// User-interface thread only; pushing a value takes the plug-in's lock
// (SetParameterFromEditor).
#include "editor/core/IGraphicsStructs.h"

#include <cstdint>
#include <vector>

class IGraphics;
class IPlugBase;
class ITextControl;

class IControl
{
public:
  // An additional parameter the control follows besides its own.
  struct AuxParam
  {
    std::int32_t paramIdx = -1;
    double value = 0.0;
  };

  IControl(IPlugBase* owner, const IRect& area, int boundParam = -1, const IBlend& drawBlend = IBlend());
  virtual ~IControl() = default;
  IControl(const IControl&) = delete;
  IControl& operator=(const IControl&) = delete;

  // --- Events and drawing (the graphics calls these) -------------------------------
  // With the right button: the value prompt.
  virtual void MouseDown(int x, int y, const IMouseMod& mod);
  virtual void MouseUp(int x, int y, const IMouseMod& mod) {}
  virtual void MouseDrag(int x, int y, int dx, int dy, const IMouseMod& mod) {}
  // Returns to the default value when one is set.
  virtual void MouseDoubleClick(int x, int y, const IMouseMod& mod);
  // notches x 0.01, or x 0.001 with control or shift.
  virtual void MouseWheel(int x, int y, const IMouseMod& mod, int notches);
  // Whether the key was used.
  virtual bool KeyDown(int x, int y, int key) { return false; }
  virtual void MouseOver(int x, int y, const IMouseMod& mod) {}
  virtual void MouseOut() {}
  virtual void Paint(IGraphics* g) = 0;
  // A value from the plug-in (normalized); the first one also becomes the default.
  virtual void ApplyValueFromHost(double normalized);
  virtual void AcceptEnteredText(const char* enteredText) {}
  virtual void SetHidden(bool hide);
  virtual void SetGreyed(bool grey);
  virtual bool HitTest(int x, int y);
  // Clamps the value, marks the control dirty and, with push, hands the value to the
  // plug-in; attached value and name texts follow.
  virtual void MarkDirty(bool push);
  virtual void MarkClean();
  virtual bool NeedsPaint() { return dirty; }
  virtual void IdleTick() {}
  virtual void ApplyAuxValueFromHost(int position, double normalized);

  // --- Plain services --------------------------------------------------------------
  // Opens the value prompt over the control (a menu for parameters with display texts,
  // else a small text field); nothing without a parameter or while prompts are off.
  void PromptForValue();
  // A value chosen by the user in a prompt: taken and pushed to the plug-in.
  void SetValueFromUserInput(double normalized);

  IPlugBase* GetPlug() const { return plug; }
  IGraphics* GetGUI() const { return graphics; }
  // Set by the graphics when the control is attached.
  void SetGUI(IGraphics* owner) { graphics = owner; }
  int GetParamIdx() const { return paramIdx; }
  double GetValue() const { return value; }
  void SetValue(double newValue) { value = newValue; }
  double GetDefaultValue() const { return defaultValue; }
  void SetDefaultValue(double newDefault) { defaultValue = newDefault; }
  void SetClamp(double low, double high)
  {
    clampLo = low;
    clampHi = high;
  }
  const IRect& GetRect() const { return rect; }
  const IRect& GetTargetRect() const { return targetRect; }
  void SetTargetRect(const IRect& area) { targetRect = area; }
  bool IsHidden() const { return hidden; }
  bool IsGreyed() const { return greyed; }
  bool IsDirty() const { return dirty; }
  // Greyed controls that still want hover events say so here (none in this editor).
  virtual bool GetMOWhenGreyed() const { return false; }
  bool GetDblAsSingleClick() const { return dblAsSingleClick; }
  void SetDblAsSingleClick(bool single) { dblAsSingleClick = single; }
  void SetPromptEnabled(bool enabled) { disablePrompt = !enabled; }
  void SetRedraw() { redraw = true; }
  const IBlend& GetBlend() const { return blend; }
  IText& GetText() { return text; }
  void SetTextStyle(const IText& style) { text = style; }
  int GetTextEntryLength() const { return textEntryLength; }
  void SetTextEntryLength(int length) { textEntryLength = length; }

  void AddAuxParam(int boundParam);
  int NAuxParams() const { return int(auxParams.size()); }
  const AuxParam* GetAuxParam(int position) const;
  // The position of a parameter among the additional ones, or -1.
  int AuxParamPosition(int boundParam) const;

  // Texts that show the bound parameter's display text and name (not owned).
  void SetValueTextControl(ITextControl* control) { valueText = control; }
  void SetNameTextControl(ITextControl* control) { nameText = control; }

protected:
  IPlugBase* plug;
  IGraphics* graphics = nullptr;
  IText text;
  int textEntryLength = 7;
  IRect rect;
  IRect targetRect;
  int paramIdx;
  std::vector<AuxParam> auxParams;
  double value = 0.0;
  double defaultValue = -1.0;
  double clampLo = 0.0;
  double clampHi = 1.0;
  bool dirty = true;
  bool hidden = false;
  bool greyed = false;
  bool redraw = false;
  bool disablePrompt = true;
  bool dblAsSingleClick = false;
  IBlend blend;
  ITextControl* valueText = nullptr;
  ITextControl* nameText = nullptr;
};
