#pragma once
// The editor as the plug-in framework sees it: the plug-in attaches one, tells it
// parameter values, and asks it to open and close its window inside a parent window
// given by the host. The editor library (editor/, IGraphics) implements it; the
// framework never includes the editor library.
//
// Called from the host's main thread only (attach, open, close, parameter echoes
// inside dispatcher and parameter calls, under the plug-in mutex).
class IEditor
{
public:
  IEditor() = default;
  virtual ~IEditor() = default;
  IEditor(const IEditor&) = delete;
  IEditor& operator=(const IEditor&) = delete;

  // The window's size in pixels.
  virtual int Width() const = 0;
  virtual int Height() const = 0;

  // Every control bound to the parameter (directly or as an additional binding) shows
  // the value; value is normalized when normalized is true, else in the parameter's units.
  virtual void SetParameterFromPlug(int paramIdx, double value, bool normalized) = 0;
  // Prepares the drawing surfaces before the first drawing.
  virtual void PrepDraw() = 0;
  // Opens the native window inside the host's parent window; false when it cannot.
  virtual bool OpenWindow(void* parentWindow) = 0;
  virtual void CloseWindow() = 0;
  virtual bool IsWindowOpen() const = 0;
  // The host's idle call while the window is open (effEditIdle): a window without a
  // timer of its own handles its pending events and redraws here.
  virtual void Idle() {}
};
