#include "editor/platform/PlatformGraphics.h"

#include "editor/core/IGraphics.h"

// No window of this system's own yet: the editor draws off-screen and refuses to open.
IGraphics* MakePlatformGraphics(IPlugBase* plug, int width, int height, int fps)
{
  return new IGraphics(plug, width, height, fps);
}
