#pragma once
// The platform-neutral half of the editor as the plug-in framework sees it: the
// plug-in attaches it, tells it parameter values, and asks it to open and close its
// window inside a parent window given by the host.
class IPlugBase;

class IGraphics
{
public:
  IGraphics(IPlugBase* owner, int w, int h) : plug(owner), width(w), height(h) {}
  virtual ~IGraphics() = default;
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  int Width() const { return width; }
  int Height() const { return height; }
  IPlugBase* GetPlug() const { return plug; }

  // Every control bound to the parameter (directly or as an additional binding) shows
  // the value; value is normalized when normalized is true, else in the parameter's units.
  virtual void SetParameterFromPlug(int paramIdx, double value, bool normalized) = 0;
  // Prepares the drawing surfaces before the first drawing.
  virtual void PrepDraw() = 0;
  // Opens the native window inside the host's parent window; false when it cannot.
  virtual bool OpenWindow(void* parentWindow) = 0;
  virtual void CloseWindow() = 0;
  virtual bool IsWindowOpen() const = 0;

protected:
  IPlugBase* plug;
  int width;
  int height;
};
