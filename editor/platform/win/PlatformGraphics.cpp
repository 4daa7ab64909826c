#include "editor/platform/PlatformGraphics.h"

#include "editor/platform/win/IGraphicsWin.h"

// The editor opens as a Win32 child window in the host's window.
IGraphics* MakePlatformGraphics(IPlugBase* plug, int width, int height, int fps)
{
  return new IGraphicsWin(plug, width, height, fps);
}
