#pragma once
// The editor's window on this system: the graphics an instrument builds its editor in
// when a host is to show it (a Win32 child window on Windows, an X11 child window
// elsewhere). Off-screen users (the snapshot tool, the tests) make an IGraphics of
// their own instead.
class IGraphics;
class IPlugBase;

// A new graphics of the given size whose window opens inside the host's parent window;
// the caller owns it.
IGraphics* MakePlatformGraphics(IPlugBase* plug, int width, int height, int fps);
