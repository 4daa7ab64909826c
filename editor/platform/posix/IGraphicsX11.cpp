#include "editor/platform/posix/IGraphicsX11.h"

#include "editor/controls/IControl.h"
#include "editor/core/IPopupMenu.h"
#include "editor/raster/LICE_Draw.h"
#include "editor/raster/LICE_MemBitmap.h"
#include "editor/raster/LICE_SysBitmap.h"
#include "editor/text/FontCache.h"
#include "editor/text/LICE_CachedFont.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// Xlib last: its macros (None, True, Bool, Status, KeyPress ...) would clash with names
// of the editor's headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace
{
// --- X errors ------------------------------------------------------------------------
// An error on the editor's own display (a window id the host got wrong, a window the
// host destroyed first) must not end the host, which Xlib's default handler would do.
// While a trap lives, errors on that display are counted instead; errors on any other
// display go to the handler that was installed before. Traps nest.
class ErrorTrap
{
public:
  explicit ErrorTrap(Display* d) : display(d)
  {
    if (depth++ == 0)
    {
      trapped = d;
      errors = 0;
      previous = XSetErrorHandler(Handler);
    }
  }
  ~ErrorTrap()
  {
    if (--depth == 0)
    {
      XSync(display, False);
      XSetErrorHandler(previous);
      trapped = nullptr;
    }
  }
  ErrorTrap(const ErrorTrap&) = delete;
  ErrorTrap& operator=(const ErrorTrap&) = delete;

  // Whether any request made so far failed (waits for the server's answers).
  bool Failed() const
  {
    XSync(display, False);
    return errors > 0;
  }

private:
  static int Handler(Display* d, XErrorEvent* e)
  {
    if (d == trapped)
    {
      ++errors;
      return 0;
    }
    return previous ? previous(d, e) : 0;
  }

  Display* display;
  static inline int depth = 0;
  static inline Display* trapped = nullptr;
  static inline int errors = 0;
  static inline XErrorHandler previous = nullptr;
};

IMouseMod ModFromState(unsigned int state)
{
  IMouseMod mod;
  mod.left = (state & Button1Mask) != 0;
  mod.right = (state & Button3Mask) != 0;
  mod.shift = (state & ShiftMask) != 0;
  mod.control = (state & ControlMask) != 0;
  mod.alt = (state & Mod1Mask) != 0;
  return mod;
}

// Whether pixels of this visual and depth are 32-bit words 0x??RRGGBB.
bool IsUsableVisual(Display* d, const Visual* v, int depth)
{
  if (!v || v->c_class != TrueColor || (depth != 24 && depth != 32) || v->red_mask != 0xFF0000 ||
      v->green_mask != 0xFF00 || v->blue_mask != 0xFF)
    return false;
  int count = 0;
  XPixmapFormatValues* formats = XListPixmapFormats(d, &count);
  bool found = false;
  for (int i = 0; i < count; ++i)
    found = found || (formats[i].depth == depth && formats[i].bits_per_pixel == 32);
  if (formats)
    XFree(formats);
  return found;
}

// The Windows virtual key the same key gives, or 0.
int VirtualKey(KeySym sym)
{
  if (sym == XK_space)
    return 32;
  if (sym >= XK_Left && sym <= XK_Down)
    return 37 + int(sym - XK_Left); // left 37, up 38, right 39, down 40
  if (sym >= XK_0 && sym <= XK_9)
    return 48 + int(sym - XK_0);
  if (sym >= XK_a && sym <= XK_z)
    return 65 + int(sym - XK_a);
  if (sym >= XK_A && sym <= XK_Z)
    return 65 + int(sym - XK_A);
  if (sym >= XK_KP_0 && sym <= XK_KP_9)
    return 96 + int(sym - XK_KP_0);
  switch (sym)
  {
  case XK_KP_Multiply:
    return 106;
  case XK_KP_Add:
    return 107;
  case XK_KP_Separator:
    return 108;
  case XK_KP_Subtract:
    return 109;
  case XK_KP_Decimal:
    return 110;
  case XK_KP_Divide:
    return 111;
  default:
    break;
  }
  if (sym >= XK_F1 && sym <= XK_F24)
    return 112 + int(sym - XK_F1);
  return 0;
}

// The character a key symbol types, or 0.
char32_t TypedCharacter(KeySym sym)
{
  if (sym >= XK_KP_0 && sym <= XK_KP_9)
    return char32_t('0' + (sym - XK_KP_0));
  switch (sym)
  {
  case XK_KP_Decimal:
    return '.';
  case XK_KP_Add:
    return '+';
  case XK_KP_Subtract:
    return '-';
  case XK_KP_Multiply:
    return '*';
  case XK_KP_Divide:
    return '/';
  case XK_KP_Space:
    return ' ';
  default:
    break;
  }
  if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF))
    return char32_t(sym);
  if ((sym & 0xFF000000UL) == 0x01000000UL)
    return char32_t(sym & 0xFFFFFFUL);
  return 0;
}

// The key an edit field acts on, or false.
bool FieldKey(KeySym sym, TextEntryField::Key& key)
{
  switch (sym)
  {
  case XK_BackSpace:
    key = TextEntryField::Key::Backspace;
    return true;
  case XK_Delete:
  case XK_KP_Delete:
    key = TextEntryField::Key::Delete;
    return true;
  case XK_Left:
  case XK_KP_Left:
    key = TextEntryField::Key::Left;
    return true;
  case XK_Right:
  case XK_KP_Right:
    key = TextEntryField::Key::Right;
    return true;
  case XK_Home:
  case XK_KP_Home:
    key = TextEntryField::Key::Home;
    return true;
  case XK_End:
  case XK_KP_End:
    key = TextEntryField::Key::End;
    return true;
  case XK_Return:
  case XK_KP_Enter:
    key = TextEntryField::Key::Enter;
    return true;
  case XK_Escape:
    key = TextEntryField::Key::Escape;
    return true;
  default:
    return false;
  }
}

// The executable files named name along PATH (or the usual folders without one).
std::vector<std::string> FindInPath(const char* name)
{
  const char* path = std::getenv("PATH");
  const std::string folders = path && *path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::vector<std::string> found;
  std::size_t start = 0;
  while (start <= folders.size())
  {
    std::size_t end = folders.find(':', start);
    if (end == std::string::npos)
      end = folders.size();
    const std::string folder = folders.substr(start, end - start);
    if (!folder.empty())
    {
      const std::string file = folder + "/" + name;
      if (access(file.c_str(), X_OK) == 0)
        found.push_back(file);
    }
    start = end + 1;
  }
  return found;
}

// Starts the program with one argument, detached (its own session, reaped at once);
// never through a shell. True when the program was started.
bool StartDetached(const char* program, const char* argument)
{
  const std::vector<std::string> candidates = FindInPath(program);
  if (candidates.empty())
    return false;
  // Everything the child needs is made before the fork: after it only calls that are
  // safe in a forked copy of a threaded process.
  std::vector<const char*> paths;
  for (const std::string& c : candidates)
    paths.push_back(c.c_str());
  char* const argv[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0)
    return false;
  const pid_t child = fork();
  if (child < 0)
  {
    close(report[0]);
    close(report[1]);
    return false;
  }
  if (child == 0)
  {
    const pid_t grandchild = fork();
    if (grandchild == 0)
    {
      setsid();
      for (const char* p : paths)
        execv(p, argv);
      const int failure = errno;
      (void)!write(report[1], &failure, sizeof failure);
      _exit(127);
    }
    if (grandchild < 0)
    {
      const int failure = errno;
      (void)!write(report[1], &failure, sizeof failure);
    }
    _exit(0);
  }
  close(report[1]);
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR)
  {
  }
  // The pipe closes without a word when the program replaced the grandchild.
  int failure = 0;
  ssize_t got = 0;
  do
    got = read(report[0], &failure, sizeof failure);
  while (got < 0 && errno == EINTR);
  close(report[0]);
  return got == 0;
}

// The look of popup menus.
const IColor kMenuBack(255, 240, 240, 240);
const IColor kMenuFrame(255, 120, 120, 120);
const IColor kMenuText(255, 0, 0, 0);
const IColor kMenuGreyed(255, 160, 160, 160);
const IColor kMenuHighlight(255, 0, 120, 215);
const IColor kMenuHighlightText(255, 255, 255, 255);
constexpr int kMenuItemPadding = 6;
constexpr int kMenuSeparatorHeight = 7;
constexpr int kMenuCheckColumn = 22;
constexpr int kMenuArrowColumn = 18;
} // namespace

IGraphicsX11::IGraphicsX11(IPlugBase* owner, int w, int h, int framesPerSecond)
  : IGraphics(owner, w, h, framesPerSecond), entry(this)
{
}

IGraphicsX11::~IGraphicsX11() { CloseEditorWindow(); }

// --- The window --------------------------------------------------------------------
// Called from the host's user-interface thread (effEditOpen, effEditClose, the
// destructor when the plug-in goes).

bool IGraphicsX11::OpenEditorWindow(void* parent)
{
  if (IsWindowOpen() || display)
    CloseEditorWindow();
  if (!parent)
    return false;
  Display* d = XOpenDisplay(nullptr);
  if (!d)
  {
    std::fprintf(stderr, "thumpgeist: no X display, the editor stays closed\n");
    return false;
  }
  const Window host = Window(reinterpret_cast<std::uintptr_t>(parent));
  Window created = 0;
  GC context = nullptr;
  XWindowAttributes attrs{};
  {
    ErrorTrap trap(d);
    const bool known = XGetWindowAttributes(d, host, &attrs) != 0 && !trap.Failed();
    if (!known)
      std::fprintf(stderr, "thumpgeist: the host's window 0x%lx is not a window of the display\n",
                   host);
    else if (!IsUsableVisual(d, attrs.visual, attrs.depth))
      std::fprintf(stderr,
                   "thumpgeist: the host's window has a %d-bit visual that is not 24- or 32-bit "
                   "TrueColor; the editor stays closed\n",
                   attrs.depth);
    else
    {
      XSetWindowAttributes set{};
      set.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                       KeyPressMask | KeyReleaseMask | EnterWindowMask | LeaveWindowMask |
                       FocusChangeMask | StructureNotifyMask;
      set.background_pixmap = None;
      set.border_pixel = 0;
      set.colormap = attrs.colormap;
      created = XCreateWindow(d, host, 0, 0, unsigned(width), unsigned(height), 0, attrs.depth,
                              InputOutput, attrs.visual,
                              CWEventMask | CWBackPixmap | CWBorderPixel | CWColormap, &set);
      if (created)
      {
        context = XCreateGC(d, created, 0, nullptr);
        XStoreName(d, created, "Thumpgeist");
        XMapWindow(d, created);
      }
      if (!created || !context || trap.Failed())
      {
        if (context)
          XFreeGC(d, context);
        if (created)
          XDestroyWindow(d, created);
        created = 0;
        std::fprintf(stderr, "thumpgeist: the editor's window could not be made\n");
      }
    }
  }
  if (!created)
  {
    XCloseDisplay(d);
    return false;
  }
  display = d;
  window = created;
  parentWindow = host;
  visual = attrs.visual;
  depth = attrs.depth;
  gc = context;
  captured = false;
  lastPressCounts = false;
  exposed = IRect();
  // The first tick comes with the first idle call; the first paint covers everything.
  lastTick = std::chrono::steady_clock::now() - std::chrono::milliseconds(1000);
  SetAllControlsDirty();
  XFlush(d);
  return true;
}

void IGraphicsX11::CloseEditorWindow()
{
  if (!display)
    return;
  entry.Close();
  if (cursorHidden)
    RestoreCursor();
  // A gesture the window's closing cuts short still ends for the host.
  if (captured)
  {
    captured = false;
    OnMouseUp(lastPressX, lastPressY, IMouseMod());
  }
  ReleaseMouseCapture();
  Display* d = display;
  {
    ErrorTrap trap(d);
    if (window)
      XDestroyWindow(d, window);
    if (gc)
      XFreeGC(d, static_cast<GC>(gc));
    if (invisibleCursor)
      XFreeCursor(d, invisibleCursor);
  }
  XCloseDisplay(d);
  display = nullptr;
  window = parentWindow = 0;
  gc = nullptr;
  visual = nullptr;
  invisibleCursor = 0;
  exposed = IRect();
}

void* IGraphicsX11::NativeWindow() const
{
  return window ? reinterpret_cast<void*>(std::uintptr_t(window)) : nullptr;
}

void IGraphicsX11::Resize(int w, int h)
{
  if (w == width && h == height)
    return;
  const int dw = w - width;
  const int dh = h - height;
  IGraphics::Resize(w, h);
  if (!window)
    return;
  ErrorTrap trap(display);
  XResizeWindow(display, window, unsigned(width), unsigned(height));
  // The host's window grows or shrinks by the same amount.
  XWindowAttributes attrs{};
  if (XGetWindowAttributes(display, parentWindow, &attrs) && attrs.width + dw > 0 &&
      attrs.height + dh > 0)
    XResizeWindow(display, parentWindow, unsigned(attrs.width + dw), unsigned(attrs.height + dh));
}

// --- Events and the redraw tick ----------------------------------------------------
// Called from the host's user-interface thread (effEditIdle).

void IGraphicsX11::Idle()
{
  if (!display || !window)
    return;
  ErrorTrap trap(display);
  while (window && XPending(display) > 0)
  {
    XEvent event;
    XNextEvent(display, &event);
    HandleEvent(event);
  }
  if (!window)
    return;
  if (!exposed.Empty())
  {
    const IRect area = exposed;
    exposed = IRect();
    DrawWithDirty(area);
  }
  const auto now = std::chrono::steady_clock::now();
  if (now - lastTick >= std::chrono::milliseconds(1000 / std::max(1, fps)))
  {
    lastTick = now;
    Tick();
  }
  XFlush(display);
}

void IGraphicsX11::HandleEvent(XEvent& event)
{
  if (event.xany.window != window)
    return;
  switch (event.type)
  {
  case Expose:
    exposed =
        exposed.Union(IRect(event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                            event.xexpose.y + event.xexpose.height));
    break;
  case ButtonPress:
    HandleButtonPress(event);
    break;
  case ButtonRelease:
    // The left and right buttons end a press; the middle one and the wheel do not. A
    // field holding the keyboard keeps its own releases (a click in it placed its caret).
    if (entry.IsOpen() && entry.GetState() == TextEntryField::State::Focused)
      break;
    if (event.xbutton.button == Button1 || event.xbutton.button == Button3)
    {
      IMouseMod mod = ModFromState(event.xbutton.state);
      mod.left = mod.right = false;
      captured = false;
      OnMouseUp(event.xbutton.x, event.xbutton.y, mod);
    }
    break;
  case MotionNotify:
  {
    // Only the newest position of a run of moves matters.
    while (XCheckTypedWindowEvent(display, window, MotionNotify, &event))
    {
    }
    const IMouseMod mod = ModFromState(event.xmotion.state);
    if (mod.left || mod.right)
    {
      if (captured && !entry.IsOpen())
        OnMouseDrag(event.xmotion.x, event.xmotion.y, mod);
    }
    else
      OnMouseOver(event.xmotion.x, event.xmotion.y, mod);
    break;
  }
  case LeaveNotify:
    if (event.xcrossing.mode == NotifyNormal)
      OnMouseOut();
    break;
  case KeyPress:
    HandleKeyPress(event);
    break;
  case FocusOut:
    // Another window took the keyboard (not a grab, not a move within the editor).
    if (event.xfocus.mode == NotifyNormal && event.xfocus.detail != NotifyInferior &&
        event.xfocus.detail != NotifyPointer)
      entry.FocusLost();
    break;
  case MapNotify:
    // As the Windows window does when it is made, the editor takes the keyboard.
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    break;
  case DestroyNotify:
    // The host destroyed its window (and so this one) before closing the editor.
    if (event.xdestroywindow.window == window)
    {
      window = 0;
      entry.Close();
      captured = false;
    }
    break;
  default:
    break;
  }
}

void IGraphicsX11::HandleButtonPress(XEvent& event)
{
  const int x = event.xbutton.x;
  const int y = event.xbutton.y;
  const unsigned int button = event.xbutton.button;
  IMouseMod mod = ModFromState(event.xbutton.state);
  mod.left = button == Button1;
  mod.right = button == Button3;
  // The wheel: one notch a click, up positive; an open text field is cancelled instead.
  if (button == Button4 || button == Button5)
  {
    if (entry.IsOpen())
      entry.RequestCancel();
    else
      OnMouseWheel(x, y, mod, button == Button4 ? 1 : -1);
    return;
  }
  if (button != Button1 && button != Button2 && button != Button3)
    return;

  // A second press soon after and near the last one is a double click. Only the left
  // button's double click means something; the others' second press is dropped, as
  // the Windows window leaves their double-click messages alone.
  const bool repeat = lastPressCounts && button == lastPressButton &&
                      event.xbutton.time - lastPressTime < kDoubleClickMs &&
                      std::abs(x - lastPressX) <= kDoubleClickDistance &&
                      std::abs(y - lastPressY) <= kDoubleClickDistance;
  lastPressCounts = !repeat;
  lastPressButton = button;
  lastPressTime = event.xbutton.time;
  lastPressX = x;
  lastPressY = y;

  if (entry.IsOpen())
  {
    // A left click in the field places its caret, as in any edit field.
    if (button == Button1 && entry.GetRect().Contains(x, y))
    {
      entry.ClickAt(x);
      RepaintField(entry.GetRect());
      return;
    }
    // Elsewhere a click while the field has the keyboard cancels it, and nothing else.
    if (entry.GetState() == TextEntryField::State::Focused && button != Button2)
    {
      entry.RequestCancel();
      return;
    }
    const IRect area = entry.GetRect();
    entry.Close();
    DrawWithDirty(area);
  }
  if (repeat && button != Button1)
    return;
  XSetInputFocus(display, window, RevertToParent, CurrentTime);
  if (repeat)
  {
    captured = OnMouseDblClick(x, y, mod);
    return;
  }
  captured = true;
  releaseInMenu = false;
  OnMouseDown(x, y, mod);
  // A menu the press opened took the press's release: the press ends here.
  if (releaseInMenu)
  {
    releaseInMenu = false;
    captured = false;
    IMouseMod up = mod;
    up.left = up.right = false;
    OnMouseUp(releaseX, releaseY, up);
  }
}

void IGraphicsX11::HandleKeyPress(XEvent& event)
{
  char bytes[16];
  KeySym sym = NoSymbol;
  XLookupString(&event.xkey, bytes, sizeof bytes, &sym, nullptr);
  if (entry.IsOpen())
  {
    // While the field is open every key is the field's.
    TextEntryField::Key key{};
    bool changed = false;
    if (FieldKey(sym, key))
      changed = entry.Press(key);
    else if (const char32_t c = TypedCharacter(sym))
      changed = entry.Type(c);
    if (changed && entry.IsOpen())
      RepaintField(entry.GetRect());
    return;
  }
  const int key = KeyNumber(sym);
  if (key < 0 || !OnKeyDown(event.xkey.x, event.xkey.y, key))
    ForwardKey(event);
}

void IGraphicsX11::ForwardKey(XEvent& event)
{
  // The host's top-level window: the last ancestor below the root.
  Window current = parentWindow;
  for (int level = 0; current && level < 64; ++level)
  {
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(display, current, &root, &up, &children, &count))
      return;
    if (children)
      XFree(children);
    if (up == root || up == 0)
      break;
    current = up;
  }
  if (!current)
    return;
  event.xkey.window = current;
  XSendEvent(display, current, True, KeyPressMask, &event);
}

int IGraphicsX11::KeyNumber(unsigned long keysym)
{
  const int vk = VirtualKey(KeySym(keysym));
  switch (vk)
  {
  case 32:
    return 0;
  case 38:
    return 1;
  case 40:
    return 2;
  case 37:
    return 3;
  case 39:
    return 4;
  default:
    break;
  }
  if (vk >= 48 && vk <= 57)
    return vk - 48 + 5;
  if (vk >= 65 && vk <= 90)
    return vk - 65 + 15;
  if (vk >= 97 && vk <= 122)
    return vk - 97 + 15;
  return -1;
}

void IGraphicsX11::Tick()
{
  const IRect fieldArea = entry.GetRect();
  switch (entry.Tick())
  {
  case TextEntryField::TickResult::Skip:
    return;
  case TextEntryField::TickResult::Closed:
    // What lay under the field, and what a commit changed.
    DrawWithDirty(fieldArea);
    return;
  case TextEntryField::TickResult::Draw:
    break;
  }
  IRect dirty;
  if (CollectDirty(dirty))
  {
    Draw(dirty);
    if (entry.IsOpen())
      entry.DrewAround();
  }
}

void IGraphicsX11::DrawWithDirty(const IRect& area)
{
  IRect all = area;
  for (int i = 0; i < NControls(); ++i)
    if (IControl* c = GetControl(i); c->NeedsPaint())
      all = all.Union(c->GetRect());
  Draw(all);
}

void IGraphicsX11::RepaintField(const IRect& area)
{
  if (entry.IsOpen())
    PaintToScreen(area);
  else
    DrawWithDirty(area);
}

void IGraphicsX11::PaintToScreen(const IRect& area)
{
  if (!display || !window)
    return;
  LICE_IBitmap* surface = GetDrawBitmap();
  if (!surface)
    return;
  // The open field lies over the controls.
  if (entry.IsOpen() && entry.GetRect().Intersects(area))
    entry.Paint(surface);
  PutBitmap(window, visual, depth, surface, area);
}

void IGraphicsX11::PutBitmap(unsigned long drawable, void* drawableVisual, int drawableDepth,
                             LICE_IBitmap* bitmap, const IRect& area)
{
  const IRect r = area.Intersect(IRect(0, 0, bitmap->GetWidth(), bitmap->GetHeight()));
  if (r.Empty() || !bitmap->GetBits())
    return;
  // Opaque words in the client's byte order; Xlib reorders them for the server.
  staging.resize(std::size_t(r.W()) * std::size_t(r.H()));
  for (int y = 0; y < r.H(); ++y)
  {
    const std::uint32_t* src =
        bitmap->GetBits() + std::ptrdiff_t(r.top + y) * bitmap->GetRowSpan() + r.left;
    std::uint32_t* dst = staging.data() + std::ptrdiff_t(y) * r.W();
    for (int x = 0; x < r.W(); ++x)
      dst[x] = src[x] | 0xFF000000u;
  }
  ErrorTrap trap(display);
  XImage* image = XCreateImage(
      display, static_cast<Visual*>(drawableVisual), unsigned(drawableDepth), ZPixmap, 0,
      reinterpret_cast<char*>(staging.data()), unsigned(r.W()), unsigned(r.H()), 32, r.W() * 4);
  if (!image)
    return;
  image->byte_order = LSBFirst;
  image->bitmap_bit_order = LSBFirst;
  XPutImage(display, drawable, static_cast<GC>(gc), image, 0, 0, r.left, r.top, unsigned(r.W()),
            unsigned(r.H()));
  // The pixels are the staging buffer's.
  image->data = nullptr;
  XDestroyImage(image);
}

// --- Text entry and menus ------------------------------------------------------------
// Called from the host's user-interface thread, from the controls' event handlers.

void IGraphicsX11::StartTextEntry(IControl* control, const IText& style, const IRect& area,
                                  const char* initial, int paramIdx)
{
  if (!window || !entry.Open(control, style, area, initial, paramIdx))
    return;
  ErrorTrap trap(display);
  XSetInputFocus(display, window, RevertToParent, CurrentTime);
  RepaintField(entry.GetRect());
  XFlush(display);
}

IPopupMenu* IGraphicsX11::RunPopupMenu(IPopupMenu* menu, const IRect& area)
{
  ReleaseMouseCapture();
  if (!menu || menu->NItems() == 0 || !window)
    return nullptr;
  ErrorTrap trap(display);
  int rootX = 0;
  int rootY = 0;
  Window child = 0;
  XTranslateCoordinates(display, window, DefaultRootWindow(display), area.left, area.bottom, &rootX,
                        &rootY, &child);
  IPopupMenu* chosen = RunMenuAt(menu, rootX, rootY);
  XFlush(display);
  return chosen;
}

IPopupMenu* IGraphicsX11::RunMenuAt(IPopupMenu* menu, int rootX, int rootY)
{
  Display* d = display;
  const int screen = DefaultScreen(d);
  Visual* rootVisual = DefaultVisual(d, screen);
  const int rootDepth = DefaultDepth(d, screen);
  if (!IsUsableVisual(d, rootVisual, rootDepth))
  {
    std::fprintf(stderr, "thumpgeist: the screen's visual cannot show menus\n");
    return nullptr;
  }
  IText style;
  LICE_CachedFont* font = FontCache::Find(style);
  if (!font)
    return nullptr;

  // The items' texts and the widest of them.
  const int n = menu->NItems();
  const int rowHeight = font->LineHeight() + kMenuItemPadding;
  std::vector<std::string> texts(static_cast<std::size_t>(n));
  int textWidth = 0;
  for (int i = 0; i < n; ++i)
  {
    if (menu->GetItem(i).flags & IPopupMenu::kSeparator)
      continue;
    texts[std::size_t(i)] = menu->DisplayText(i);
    IRect box;
    font->DrawText(nullptr, texts[std::size_t(i)].c_str(), box, TextAlign::Near, true, 1.0f, box);
    textWidth = std::max(textWidth, box.W());
  }
  // The items' places: rows (separators thinner) in columns as tall as the screen allows,
  // as a native menu too tall for the screen breaks into columns.
  const int screenW = DisplayWidth(d, screen);
  const int screenH = DisplayHeight(d, screen);
  const int columnWidth = kMenuCheckColumn + textWidth + kMenuArrowColumn;
  const int tallest = std::max(rowHeight, screenH - 2);
  std::vector<IRect> boxes(static_cast<std::size_t>(n));
  int left = 1;
  int top = 1;
  int h = 2;
  for (int i = 0; i < n; ++i)
  {
    const int rowH =
        (menu->GetItem(i).flags & IPopupMenu::kSeparator) ? kMenuSeparatorHeight : rowHeight;
    if (top > 1 && top + rowH > tallest + 1)
    {
      left += columnWidth;
      top = 1;
    }
    boxes[std::size_t(i)] = IRect(left, top, left + columnWidth, top + rowH);
    top += rowH;
    h = std::max(h, top + 1);
  }
  const int w = left + columnWidth + 1;
  // On the screen, moved in where it would leave it.
  const int x = std::max(0, std::min(rootX, screenW - w));
  const int y = std::max(0, std::min(rootY, screenH - h));

  auto itemAt = [&](int px, int py)
  {
    for (int i = 0; i < n; ++i)
      if (boxes[std::size_t(i)].Contains(px, py))
        return i;
    return -1;
  };
  auto selectable = [&](int i)
  {
    return i >= 0 && (menu->GetItem(i).flags &
                      (IPopupMenu::kSeparator | IPopupMenu::kDisabled | IPopupMenu::kGreyed)) == 0;
  };

  XSetWindowAttributes set{};
  set.override_redirect = True;
  set.save_under = True;
  set.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask |
                   KeyPressMask | StructureNotifyMask;
  const Window popup =
      XCreateWindow(d, DefaultRootWindow(d), x, y, unsigned(w), unsigned(h), 0, rootDepth,
                    InputOutput, rootVisual, CWOverrideRedirect | CWSaveUnder | CWEventMask, &set);
  if (!popup)
    return nullptr;
  XMapRaised(d, popup);

  LICE_MemBitmap canvas(w, h);
  int highlighted = -1;
  auto paint = [&]()
  {
    const IRect all(0, 0, w, h);
    LICE_Draw::FillRect(&canvas, 0, 0, w, h, kMenuFrame.Pixel(), 1.0f, false, all);
    LICE_Draw::FillRect(&canvas, 1, 1, w - 2, h - 2, kMenuBack.Pixel(), 1.0f, false, all);
    for (int i = 0; i < n; ++i)
    {
      const IPopupMenu::Item& item = menu->GetItem(i);
      const IRect& box = boxes[std::size_t(i)];
      const int cy = box.MidY();
      if (item.flags & IPopupMenu::kSeparator)
      {
        LICE_Draw::Line(&canvas, box.left + 3, cy, box.right - 4, cy, kMenuGreyed.Pixel(), 1.0f,
                        false, all);
        continue;
      }
      IColor ink = selectable(i) ? kMenuText : kMenuGreyed;
      if (i == highlighted)
      {
        LICE_Draw::FillRect(&canvas, box.left, box.top, box.W(), box.H(), kMenuHighlight.Pixel(),
                            1.0f, false, all);
        ink = kMenuHighlightText;
      }
      if (item.flags & IPopupMenu::kChecked)
      {
        const int cx = box.left + 6;
        LICE_Draw::Line(&canvas, cx, cy, cx + 3, cy + 3, ink.Pixel(), 1.0f, false, all);
        LICE_Draw::Line(&canvas, cx + 3, cy + 3, cx + 8, cy - 3, ink.Pixel(), 1.0f, false, all);
        LICE_Draw::Line(&canvas, cx, cy - 1, cx + 3, cy + 2, ink.Pixel(), 1.0f, false, all);
        LICE_Draw::Line(&canvas, cx + 3, cy + 2, cx + 8, cy - 4, ink.Pixel(), 1.0f, false, all);
      }
      if (item.submenu)
      {
        const int xs[3] = {box.right - 11, box.right - 11, box.right - 6};
        const int ys[3] = {cy - 4, cy + 4, cy};
        LICE_Draw::FillTriangle(&canvas, xs, ys, ink.Pixel(), 1.0f, false, all);
      }
      font->SetTextColor(ink.Pixel());
      IRect textBox(box.left + kMenuCheckColumn - 1, box.top + kMenuItemPadding / 2,
                    box.right - kMenuArrowColumn, box.bottom);
      font->DrawText(&canvas, texts[std::size_t(i)].c_str(), textBox, TextAlign::Near, false, 1.0f,
                     all);
    }
    PutBitmap(popup, rootVisual, rootDepth, &canvas, all);
  };

  // The press that opened the menu may still be held; its release alone chooses nothing.
  Window rootReturn = 0;
  Window childReturn = 0;
  int pointerX = 0;
  int pointerY = 0;
  int winX = 0;
  int winY = 0;
  unsigned int buttons = 0;
  XQueryPointer(d, window, &rootReturn, &childReturn, &pointerX, &pointerY, &winX, &winY, &buttons);
  bool openingPressHeld = (buttons & (Button1Mask | Button2Mask | Button3Mask)) != 0;
  const int editorOriginX = pointerX - winX;
  const int editorOriginY = pointerY - winY;
  bool grabbed = false;
  bool pressedInside = false;
  bool done = false;
  int choice = -1;
  while (!done)
  {
    if (XPending(d) == 0)
    {
      XFlush(d);
      pollfd wait{ConnectionNumber(d), POLLIN, 0};
      poll(&wait, 1, 50);
      // The grab waits for the window to be shown.
      if (!grabbed)
        grabbed =
            XGrabPointer(d, popup, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                         GrabModeAsync, GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
      continue;
    }
    XEvent event;
    XNextEvent(d, &event);
    if (event.xany.window != popup)
    {
      // The editor's own events wait; its exposures are drawn after the menu.
      if (event.xany.window == window && event.type == Expose)
        exposed = exposed.Union(IRect(event.xexpose.x, event.xexpose.y,
                                      event.xexpose.x + event.xexpose.width,
                                      event.xexpose.y + event.xexpose.height));
      else if (event.xany.window == window && event.type == DestroyNotify)
      {
        window = 0;
        done = true;
      }
      continue;
    }
    switch (event.type)
    {
    case MapNotify:
      grabbed =
          XGrabPointer(d, popup, False, ButtonPressMask | ButtonReleaseMask | PointerMotionMask,
                       GrabModeAsync, GrabModeAsync, None, None, CurrentTime) == GrabSuccess;
      XGrabKeyboard(d, popup, False, GrabModeAsync, GrabModeAsync, CurrentTime);
      break;
    case Expose:
      if (event.xexpose.count == 0)
        paint();
      break;
    case MotionNotify:
    {
      const int over = itemAt(event.xmotion.x, event.xmotion.y);
      const int lit = selectable(over) ? over : -1;
      if (lit != highlighted)
      {
        highlighted = lit;
        paint();
      }
      break;
    }
    case ButtonPress:
      if (event.xbutton.button > Button3)
        break;
      pressedInside = event.xbutton.x >= 0 && event.xbutton.x < w && event.xbutton.y >= 0 &&
                      event.xbutton.y < h;
      // A press outside the menu closes it with no choice.
      if (!pressedInside)
        done = true;
      break;
    case ButtonRelease:
    {
      if (event.xbutton.button > Button3)
        break;
      const int over = itemAt(event.xbutton.x, event.xbutton.y);
      const bool opening = openingPressHeld;
      if (opening)
      {
        openingPressHeld = false;
        releaseInMenu = true;
        releaseX = event.xbutton.x_root - editorOriginX;
        releaseY = event.xbutton.y_root - editorOriginY;
      }
      // The opening press chooses only after it was dragged onto an item.
      if (selectable(over) && (pressedInside || (opening && highlighted == over)))
      {
        choice = over;
        done = true;
      }
      pressedInside = false;
      break;
    }
    case KeyPress:
    {
      const KeySym sym = XLookupKeysym(&event.xkey, 0);
      if (sym == XK_Escape)
        done = true;
      else if (sym == XK_Return || sym == XK_KP_Enter)
      {
        choice = highlighted;
        done = choice >= 0;
      }
      else if (sym == XK_Down || sym == XK_Up)
      {
        const int step = sym == XK_Down ? 1 : n - 1;
        int next = highlighted;
        for (int tries = 0; tries < n; ++tries)
        {
          next = next < 0 ? (sym == XK_Down ? 0 : n - 1) : (next + step) % n;
          if (selectable(next))
            break;
        }
        if (selectable(next))
        {
          highlighted = next;
          paint();
        }
      }
      break;
    }
    default:
      break;
    }
  }
  XUngrabKeyboard(d, CurrentTime);
  XUngrabPointer(d, CurrentTime);
  XDestroyWindow(d, popup);
  XFlush(d);
  if (choice < 0)
    return nullptr;
  if (IPopupMenu* sub = menu->GetItem(choice).submenu.get())
  {
    return RunMenuAt(sub, x + boxes[std::size_t(choice)].right - 1,
                     y + boxes[std::size_t(choice)].top);
  }
  menu->SetChosenItemIdx(choice);
  return menu;
}

// --- Services ------------------------------------------------------------------------
// Called from the host's user-interface thread, from the controls' event handlers.

int IGraphicsX11::ShowMessageBox(const char* message, const char* caption, int type)
{
  std::fprintf(stderr, "thumpgeist: %s: %s (no message box on this system)\n",
               caption ? caption : "", message ? message : "");
  return 0;
}

bool IGraphicsX11::AskForFile(std::string& file, FileAction action, std::string& folder,
                              const char* extensions)
{
  std::fprintf(stderr, "thumpgeist: no file dialog on this system; nothing was chosen\n");
  return false;
}

bool IGraphicsX11::AskForColour(IColor& color, const char* prompt)
{
  std::fprintf(stderr, "thumpgeist: no colour dialog on this system; the colour stays\n");
  return false;
}

bool IGraphicsX11::OpenUrl(const char* url, const char* caption, const char* confirmation,
                           const char* error)
{
  if (confirmation && *confirmation)
  {
    std::fprintf(stderr, "thumpgeist: %s: no one to confirm \"%s\"; the link stays closed\n",
                 caption ? caption : "", confirmation);
    return false;
  }
  // A link starting with "-" would be read as an option of xdg-open.
  const bool started = url && *url && *url != '-' && StartDetached("xdg-open", url);
  if (!started && error && *error)
    std::fprintf(stderr, "thumpgeist: %s: %s\n", caption ? caption : "", error);
  return started;
}

void IGraphicsX11::HostExecutablePath(std::string& path)
{
  path.clear();
  char buffer[4096];
  const ssize_t got = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (got <= 0)
    return;
  buffer[got] = '\0';
  path = buffer;
  const std::size_t slash = path.rfind('/');
  path.erase(slash == std::string::npos ? 0 : slash + 1);
}

void IGraphicsX11::DesktopPath(std::string& path)
{
  const char* desktop = std::getenv("XDG_DESKTOP_DIR");
  if (desktop && *desktop)
  {
    path = desktop;
    return;
  }
  const char* home = std::getenv("HOME");
  path = home && *home ? std::string(home) + "/Desktop" : std::string();
}

void IGraphicsX11::HideCursor()
{
  if (cursorHidden || !window)
    return;
  ErrorTrap trap(display);
  Window root = 0;
  Window child = 0;
  int winX = 0;
  int winY = 0;
  unsigned int mask = 0;
  if (!XQueryPointer(display, window, &root, &child, &savedCursorX, &savedCursorY, &winX, &winY,
                     &mask))
    return;
  if (!invisibleCursor)
  {
    const char empty[1] = {0};
    const Pixmap blank = XCreateBitmapFromData(display, window, empty, 1, 1);
    XColor black{};
    invisibleCursor = XCreatePixmapCursor(display, blank, blank, &black, &black, 0, 0);
    XFreePixmap(display, blank);
  }
  XDefineCursor(display, window, invisibleCursor);
  cursorHidden = true;
}

void IGraphicsX11::RestoreCursor()
{
  if (!cursorHidden || !display)
    return;
  ErrorTrap trap(display);
  XWarpPointer(display, None, DefaultRootWindow(display), 0, 0, 0, 0, savedCursorX, savedCursorY);
  if (window)
    XUndefineCursor(display, window);
  cursorHidden = false;
}
