#pragma once
// The platform-neutral half of the editor as the plug-in framework sees it: the
// plug-in attaches it, tells it parameter values, and asks it to open and close its
// window inside a parent window given by the host.
class IPlugBase;

class IGraphics
{
public:
  IGraphics(IPlugBase* plug, int width, int height) : mPlug(plug), mWidth(width), mHeight(height) {}
  virtual ~IGraphics() = default;
  IGraphics(const IGraphics&) = delete;
  IGraphics& operator=(const IGraphics&) = delete;

  int Width() const { return mWidth; }
  int Height() const { return mHeight; }
  IPlugBase* GetPlug() const { return mPlug; }

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
  IPlugBase* mPlug;
  int mWidth;
  int mHeight;
};
