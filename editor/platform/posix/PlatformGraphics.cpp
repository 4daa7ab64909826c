#include "editor/platform/PlatformGraphics.h"

#include "editor/platform/posix/IGraphicsX11.h"

// The editor opens as an X11 child window in the window the host gives.
IGraphics* MakePlatformGraphics(IPlugBase* plug, int width, int height, int fps)
{
  return new IGraphicsX11(plug, width, height, fps);
}
