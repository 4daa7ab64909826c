// The host window on X11: a plain window at (0, 0), override-redirect so that no window
// manager moves or decorates it. The editor opens its own display connection and makes
// its child window in this one.
#include "tools/editorhost/HostWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>

struct HostWindow::Native
{
  Display* display = nullptr;
  Window window = 0;
};

HostWindow::HostWindow() : native(new Native) {}

HostWindow::~HostWindow()
{
  Close();
  delete native;
}

bool HostWindow::Open(int width, int height, const char* title)
{
  Close();
  native->display = XOpenDisplay(nullptr);
  if (!native->display)
    return false;
  Display* d = native->display;
  const int screen = DefaultScreen(d);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = BlackPixel(d, screen);
  attributes.event_mask = StructureNotifyMask | ExposureMask;
  native->window = XCreateWindow(d, RootWindow(d, screen), 0, 0, unsigned(width),
                                 unsigned(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                                 CWOverrideRedirect | CWBackPixel | CWEventMask, &attributes);
  XStoreName(d, native->window, title);
  XMapRaised(d, native->window);
  // The editor may make its child window only once the parent exists on the server.
  XSync(d, False);
  return true;
}

void HostWindow::Close()
{
  if (!native->display)
    return;
  if (native->window)
    XDestroyWindow(native->display, native->window);
  XCloseDisplay(native->display);
  native->display = nullptr;
  native->window = 0;
}

bool HostWindow::IsOpen() const { return native->display != nullptr; }

void* HostWindow::Handle() const
{
  return native->display ? reinterpret_cast<void*>(static_cast<uintptr_t>(native->window))
                         : nullptr;
}

void HostWindow::Pump()
{
  if (!native->display)
    return;
  while (XPending(native->display) > 0)
  {
    XEvent event;
    XNextEvent(native->display, &event);
  }
}

int HostWindow::ChildCount() const
{
  if (!native->display)
    return 0;
  Window root = 0;
  Window parent = 0;
  Window* children = nullptr;
  unsigned count = 0;
  if (!XQueryTree(native->display, native->window, &root, &parent, &children, &count))
    return 0;
  if (children)
    XFree(children);
  return int(count);
}

bool HostWindow::ClassRegistered(const char* /*className*/, const char* /*modulePath*/)
{
  return false;
}
