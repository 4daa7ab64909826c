// The editor's X11 window in this process, on the display the test runs under (ctest
// starts it under xvfb-run): what the window shows, and how pointer and key events
// sent to it reach the controls, the text field and the host.
#include "editor/platform/posix/IGraphicsX11.h"
#include "editor/EditorTestKit.h"
#include "editor/controls/IFileSelectorControl.h"
#include "editor/controls/IKnobMultiControl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

namespace
{
constexpr int kW = 200;

// A virtual server resets when its last client leaves and refuses connections while it
// does: one connection stays open for the whole run, between the tests' own.
Display* const kKeepServer = XOpenDisplay(nullptr);
constexpr int kH = 100;

// A control that fills its rectangle with one colour.
class SolidControl : public IControl
{
public:
  SolidControl(const IRect& area, const IColor& fill) : IControl(nullptr, area), color(fill) {}
  void Paint(IGraphics* g) override { g->FillRect(color, rect); }

private:
  IColor color;
};

// A control that keeps free text handed to it.
class EntryControl : public IControl
{
public:
  EntryControl(IPlugBase* owner, const IRect& area, int param) : IControl(owner, area, param) {}
  void Paint(IGraphics* g) override {}
  void AcceptEnteredText(const char* entered) override { accepted = entered; }
  std::string accepted = "(none)";
};

int OpenDescriptors()
{
  int n = 0;
  if (DIR* dir = opendir("/proc/self/fd"))
  {
    while (readdir(dir))
      ++n;
    closedir(dir);
  }
  return n;
}

// A host: its own display connection and a top-level window at (0, 0), and an editor
// with a background, a knob on parameter 0, a logging control and a text control.
struct Host
{
  Host()
  {
    display = XOpenDisplay(nullptr);
    if (!display)
      return;
    XSetWindowAttributes set{};
    set.override_redirect = True;
    set.background_pixel = BlackPixel(display, DefaultScreen(display));
    parent = XCreateWindow(display, DefaultRootWindow(display), 0, 0, kW, kH, 0, CopyFromParent,
                           InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel, &set);
    XSelectInput(display, parent, KeyPressMask);
    XMapRaised(display, parent);
    XSync(display, False);
    g.AttachControl(new SolidControl(IRect(0, 0, kW, kH), IColor(255, 30, 60, 90)));
    g.AttachControl(new SolidControl(IRect(150, 50, 200, 100), IColor(255, 200, 100, 0)));
    knob = new IKnobMultiControl(&plug, 10, 10, 0, IBitmap{nullptr, 40, 40, 1, false});
    g.AttachControl(knob);
    g.AttachControl(new LogControl(&log, "L", IRect(60, 10, 100, 50)));
    entryControl = new EntryControl(&plug, IRect(110, 10, 140, 26), -1);
    g.AttachControl(entryControl);
    g.PrepDraw();
  }
  ~Host()
  {
    g.CloseEditorWindow();
    if (display)
    {
      XDestroyWindow(display, parent);
      XCloseDisplay(display);
    }
  }

  bool Open() { return g.OpenEditorWindow(reinterpret_cast<void*>(std::uintptr_t(parent))); }
  Window Editor() const { return Window(reinterpret_cast<std::uintptr_t>(g.NativeWindow())); }

  // Runs the host's idle calls for a while (the editor's ticks come every 40 ms).
  void Run(int ms = 120)
  {
    XSync(display, False);
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (std::chrono::steady_clock::now() < until)
    {
      g.Idle();
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  }

  int Children() const
  {
    Window root = 0;
    Window up = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, parent, &root, &up, &children, &count);
    if (children)
      XFree(children);
    return int(count);
  }

  void Send(int type, unsigned int detail, int x, int y, unsigned int state = 0)
  {
    XEvent e{};
    e.type = type;
    if (type == KeyPress)
    {
      e.xkey = XKeyEvent{};
      e.xkey.type = type;
      e.xkey.display = display;
      e.xkey.window = Editor();
      e.xkey.root = DefaultRootWindow(display);
      e.xkey.time = time;
      e.xkey.x = x;
      e.xkey.y = y;
      e.xkey.state = state;
      e.xkey.keycode = detail;
      e.xkey.same_screen = True;
    }
    else if (type == MotionNotify)
    {
      e.xmotion.type = type;
      e.xmotion.window = Editor();
      e.xmotion.time = time;
      e.xmotion.x = x;
      e.xmotion.y = y;
      e.xmotion.state = state;
    }
    else
    {
      e.xbutton.type = type;
      e.xbutton.window = Editor();
      e.xbutton.time = time;
      e.xbutton.x = x;
      e.xbutton.y = y;
      e.xbutton.state = state;
      e.xbutton.button = detail;
    }
    XSendEvent(display, Editor(), False, 0, &e);
    time += 10;
  }
  void Click(unsigned int button, int x, int y)
  {
    Send(ButtonPress, button, x, y);
    Send(ButtonRelease, button, x, y, button == Button1 ? Button1Mask : Button3Mask);
  }
  void Type(KeySym sym, int x = 5, int y = 5)
  {
    const KeyCode code = XKeysymToKeycode(display, sym);
    // Capitals are typed with shift.
    Send(KeyPress, code, x, y, XkbKeycodeToKeysym(display, code, 0, 0) == sym ? 0 : ShiftMask);
  }

  // The window's pixel as 0xRRGGBB.
  unsigned long Pixel(int x, int y) const
  {
    XImage* image = XGetImage(display, Editor(), x, y, 1, 1, AllPlanes, ZPixmap);
    const unsigned long p = image ? XGetPixel(image, 0, 0) & 0xFFFFFFUL : ~0UL;
    if (image)
      XDestroyImage(image);
    return p;
  }

  // Log entries other than paints and idle ticks.
  std::vector<std::string> Events() const
  {
    std::vector<std::string> out;
    for (const std::string& s : log)
      if (s.find("paint") == std::string::npos && s.find("idle") == std::string::npos)
        out.push_back(s);
    return out;
  }

  Display* display = nullptr;
  Window parent = 0;
  unsigned long time = 1000;
  EditorTestPlug plug;
  IGraphicsX11 g{&plug, kW, kH};
  IKnobMultiControl* knob = nullptr;
  EntryControl* entryControl = nullptr;
  std::vector<std::string> log;
};

// The tests run under a virtual display (ctest starts them with xvfb-run).
#define REQUIRE_DISPLAY(host) ASSERT_NE((host).display, nullptr) << "no X display";
} // namespace

TEST(IGraphicsX11, RefusesWhatIsNoWindowAndLeavesNoWindowBehind)
{
  Host host;
  REQUIRE_DISPLAY(host)
  const int descriptors = OpenDescriptors();
  // Null, an id no client made, and the id of a window destroyed meanwhile.
  Window gone = XCreateSimpleWindow(host.display, host.parent, 0, 0, 10, 10, 0, 0, 0);
  XDestroyWindow(host.display, gone);
  XSync(host.display, False);
  for (void* parent :
       {static_cast<void*>(nullptr), reinterpret_cast<void*>(std::uintptr_t(0x3FFFFF7)),
        reinterpret_cast<void*>(std::uintptr_t(gone))})
  {
    EXPECT_FALSE(host.g.OpenEditorWindow(parent));
    EXPECT_FALSE(host.g.IsWindowOpen());
    EXPECT_EQ(host.g.NativeWindow(), nullptr);
  }
  // No display to connect to.
  const std::string display = std::getenv("DISPLAY");
  setenv("DISPLAY", ":4242", 1);
  EXPECT_FALSE(host.Open());
  setenv("DISPLAY", display.c_str(), 1);
  EXPECT_EQ(OpenDescriptors(), descriptors) << "a display connection was left open";

  // Opened and closed again and again: one child while open, none after, no connection
  // left, the control's value kept.
  host.knob->SetValue(0.25);
  for (int round = 0; round < 3; ++round)
  {
    ASSERT_TRUE(host.Open());
    host.Run(60);
    EXPECT_EQ(host.Children(), 1) << round;
    host.g.CloseEditorWindow();
    XSync(host.display, False);
    EXPECT_EQ(host.Children(), 0) << round;
    EXPECT_EQ(OpenDescriptors(), descriptors) << round;
  }
  EXPECT_DOUBLE_EQ(host.knob->GetValue(), 0.25);
}

TEST(IGraphicsX11, ShowsTheDrawingSurfaceInTheWindow)
{
  Host host;
  REQUIRE_DISPLAY(host)
  ASSERT_TRUE(host.Open());
  host.Run(200);
  XImage* image = XGetImage(host.display, host.Editor(), 0, 0, kW, kH, AllPlanes, ZPixmap);
  ASSERT_NE(image, nullptr);
  LICE_IBitmap* surface = host.g.GetDrawBitmap();
  int differing = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      differing += (XGetPixel(image, x, y) & 0xFFFFFF) !=
                   (surface->GetBits()[y * surface->GetRowSpan() + x] & 0xFFFFFF);
  XDestroyImage(image);
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(host.Pixel(5, 5), 0x1E3C5AUL);
  EXPECT_EQ(host.Pixel(199, 99), 0xC86400UL);
}

TEST(IGraphicsX11, TurnsPointerAndKeyEventsIntoTheEditorsEvents)
{
  Host host;
  REQUIRE_DISPLAY(host)
  ASSERT_TRUE(host.Open());
  host.Run(60);

  // A drag up on the knob: the host hears begin, the changes and end, in order.
  host.Send(ButtonPress, Button1, 30, 30);
  host.Send(MotionNotify, 0, 30, 20, Button1Mask);
  host.Send(MotionNotify, 0, 30, 10, Button1Mask);
  host.Run(60);
  host.Send(ButtonRelease, Button1, 30, 10, Button1Mask);
  host.Run(60);
  ASSERT_GE(host.plug.log.size(), 3U);
  EXPECT_EQ(host.plug.log.front(), "begin 0");
  EXPECT_EQ(host.plug.log[1], "automate 0");
  EXPECT_EQ(host.plug.log.back(), "end 0");
  // 20 pixels up over a 40-pixel knob at gearing 4 (and the first value the default 0).
  EXPECT_NEAR(host.knob->GetValue(), 20.0 / 40.0 / 4.0, 1e-9);

  const struct
  {
    const char* what;
    std::function<void()> send;
    std::vector<std::string> events;
  } cases[] = {
      {"two quick clicks",
       [&]
       {
         host.Click(Button1, 70, 20);
         host.Click(Button1, 72, 21);
       },
       {"L down", "L up", "L dbl", "L up"}},
      {"two clicks 500 ms apart",
       [&]
       {
         host.Click(Button1, 70, 20);
         host.time += 500;
         host.Click(Button1, 70, 20);
       },
       {"L down", "L up", "L down", "L up"}},
      {"two quick clicks far apart",
       [&]
       {
         host.Click(Button1, 62, 12);
         host.Click(Button1, 90, 40);
       },
       {"L down", "L up", "L down", "L up"}},
      {"the wheel",
       [&]
       {
         host.Send(ButtonPress, Button4, 70, 20);
         host.Send(ButtonPress, Button5, 70, 20);
       },
       {"L wheel 1", "L wheel -1"}},
      {"keys over the control",
       [&]
       {
         host.Type(XK_a, 70, 20);
         host.Type(XK_space, 70, 20);
         host.Type(XK_Down, 70, 20);
         host.Type(XK_7, 70, 20);
       },
       {"L key 15", "L key 0", "L key 2", "L key 12"}},
      {"keys elsewhere", [&] { host.Type(XK_a, 5, 95); }, {}},
  };
  for (const auto& k : cases)
  {
    host.log.clear();
    host.time += 1000;
    k.send();
    host.Run(60);
    EXPECT_EQ(host.Events(), k.events) << k.what;
  }
  // The key no control used went on to the host's window.
  XEvent forwarded;
  EXPECT_TRUE(XCheckTypedWindowEvent(host.display, host.parent, KeyPress, &forwarded));
}

TEST(IGraphicsX11, TextFieldTakesTypedKeysAndClosesOnEnterEscapeOrAClick)
{
  Host host;
  REQUIRE_DISPLAY(host)
  ASSERT_TRUE(host.Open());
  host.Run(60);
  const IRect area(110, 10, 140, 26);
  const struct
  {
    int param;
    std::vector<KeySym> keys;
    bool clickOutside;
    const char* shown; // in the field before the last key (NoSymbol: none)
    const char* accepted;
    double value;
  } cases[] = {
      {-1, {XK_K, XK_i, XK_c, XK_k, XK_space, XK_A, XK_Return}, false, "Kick A", "Kick A", 0.0},
      {-1, {XK_S, XK_n, XK_a, XK_r, XK_e, XK_BackSpace, XK_Escape}, false, "Snar", "(none)", 0.0},
      {-1, {XK_T, XK_o, XK_m, NoSymbol}, true, "Tom", "(none)", 0.0},
      // A double parameter: the letter is swallowed.
      {0, {XK_1, XK_2, XK_a, XK_period, XK_5, NoSymbol}, true, "12.5", "(none)", 0.0},
      {0, {XK_0, XK_period, XK_7, XK_5, XK_KP_Enter}, false, "0.75", "(none)", 0.75},
  };
  for (const auto& k : cases)
  {
    EntryControl control(&host.plug, area, k.param);
    control.SetValue(0.0);
    host.g.StartTextEntry(&control, IText(), area, "old", k.param);
    ASSERT_TRUE(host.g.TextEntry().IsOpen());
    host.Run(60);
    // The field is drawn over the editor in the text-entry background.
    EXPECT_EQ(host.Pixel(area.right, area.bottom), 0xFFFFFFUL);
    // Every key but the last, then what the field shows.
    for (std::size_t i = 0; i + 1 < k.keys.size(); ++i)
      host.Type(k.keys[i]);
    XSync(host.display, False);
    host.g.Idle();
    ASSERT_TRUE(host.g.TextEntry().IsOpen());
    EXPECT_EQ(host.g.TextEntry().Text(), k.shown);
    if (k.keys.back() != NoSymbol)
      host.Type(k.keys.back());
    // A click on a control of the editor (not the field) cancels the field.
    if (k.clickOutside)
      host.Click(Button1, 70, 20);
    host.Run(100);
    EXPECT_FALSE(host.g.TextEntry().IsOpen()) << k.shown;
    EXPECT_EQ(control.accepted, k.accepted) << k.shown;
    EXPECT_DOUBLE_EQ(control.GetValue(), k.value) << k.shown;
    // What lay under the field is drawn again.
    EXPECT_EQ(host.Pixel(area.right, area.bottom), 0x1E3C5AUL) << k.shown;
  }
  // The presses that cancelled the fields reached no control (their releases do, as
  // the Windows window routes them).
  const std::vector<std::string> events = host.Events();
  EXPECT_EQ(std::count(events.begin(), events.end(), "L down"), 0);
  EXPECT_EQ(std::count(events.begin(), events.end(), "L up"), 2);
}

TEST(IGraphicsX11, KeyNumbersFollowTheWindowsVirtualKeys)
{
  const struct
  {
    KeySym sym;
    int key;
  } cases[] = {{XK_space, 0}, {XK_Up, 1},    {XK_Down, 2},    {XK_Left, 3},   {XK_Right, 4},
               {XK_0, 5},     {XK_9, 14},    {XK_a, 15},      {XK_A, 15},     {XK_z, 40},
               {XK_Z, 40},    {XK_KP_1, 15}, {XK_KP_9, 23},   {XK_F1, 30},    {XK_F11, 40},
               {XK_KP_0, -1}, {XK_F12, -1},  {XK_Return, -1}, {XK_Escape, -1}};
  for (const auto& k : cases)
    EXPECT_EQ(IGraphicsX11::KeyNumber(k.sym), k.key) << XKeysymToString(k.sym);
}

TEST(IGraphicsX11, OpenUrlStartsXdgOpenWithTheLinkAsOneArgumentAndNoShell)
{
  // A stand-in xdg-open that writes its arguments, one a line, next to itself.
  const std::string folder = std::string(TG_TEST_TMP_DIR) + "/xdg";
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  const std::string log = folder + "/args";
  {
    std::ofstream script(folder + "/xdg-open");
    script << "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\" >> " << log << "; done\n";
  }
  std::filesystem::permissions(folder + "/xdg-open", std::filesystem::perms::owner_all);
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  EditorTestPlug plug;
  IGraphicsX11 g(&plug, kW, kH);
  const struct
  {
    const char* searchPath;
    const char* url;
    const char* confirmation;
    bool started;
  } cases[] = {
      {folder.c_str(), "https://example.org/a b;touch pwned$(id)`id`", nullptr, true},
      {folder.c_str(), "--help", nullptr, false},
      {folder.c_str(), "", nullptr, false},
      {folder.c_str(), "https://example.org/", "Open the page?", false},
      {"/nonexistent", "https://example.org/", nullptr, false},
  };
  int expectedLines = 0;
  for (const auto& k : cases)
  {
    setenv("PATH", k.searchPath, 1);
    EXPECT_EQ(g.OpenUrl(k.url, "Thumpgeist", k.confirmation, "cannot open"), k.started) << k.url;
    expectedLines += k.started ? 1 : 0;
  }
  setenv("PATH", path.c_str(), 1);
  // The detached program writes soon after it started.
  std::vector<std::string> lines;
  for (int tries = 0; tries < 200 && int(lines.size()) < expectedLines; ++tries)
  {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    lines.clear();
    std::ifstream in(log);
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
  }
  EXPECT_EQ(lines, std::vector<std::string>{"https://example.org/a b;touch pwned$(id)`id`"});
  EXPECT_FALSE(std::filesystem::exists("pwned"));
  EXPECT_FALSE(std::filesystem::exists(folder + "/pwned"));
}

namespace
{
// What a user does to the menu window on the screen: a left click on an item (by its
// place in the layout), a click outside, or Escape.
struct MenuAction
{
  enum Kind
  {
    kClickItem,
    kClickOutside,
    kEscape
  } kind;
  const char* layout; // the shown menu's rows: n an item, s a separator
  int item;
};

// The viewable override-redirect window on the root other than the host's, or 0.
Window FindMenu(Display* d, Window host)
{
  Window root = 0;
  Window up = 0;
  Window* children = nullptr;
  unsigned int count = 0;
  Window found = 0;
  if (XQueryTree(d, DefaultRootWindow(d), &root, &up, &children, &count))
    for (unsigned int i = 0; i < count; ++i)
    {
      XWindowAttributes a{};
      if (children[i] != host && XGetWindowAttributes(d, children[i], &a) && a.override_redirect &&
          a.map_state == IsViewable)
        found = children[i];
    }
  if (children)
    XFree(children);
  return found;
}

// A second process that waits for each menu window and acts on it; it exits with 0
// when every action found its window on the screen, the first one at (x, y) (x -1:
// anywhere).
pid_t StartUser(Window host, const std::vector<MenuAction>& actions, int x, int y)
{
  const pid_t pid = fork();
  if (pid != 0)
    return pid;
  Display* d = XOpenDisplay(nullptr);
  if (!d)
    _exit(2);
  Window previous = 0;
  int status = 0;
  for (const MenuAction& a : actions)
  {
    Window menu = 0;
    for (int tries = 0; tries < 300 && !menu; ++tries)
    {
      menu = FindMenu(d, host);
      // A submenu replaces its menu: an action on a new layout waits for a new window.
      if (menu && menu == previous && a.kind == MenuAction::kClickItem && &a != &actions[0] &&
          std::strcmp(a.layout, (&a - 1)->layout) != 0)
        menu = 0;
      if (!menu)
        usleep(10000);
    }
    if (!menu)
      _exit(3);
    XWindowAttributes attrs{};
    XGetWindowAttributes(d, menu, &attrs);
    if (!previous && x >= 0 && (attrs.x != x || attrs.y != y))
      status = 4;
    // Every menu lies on the screen, however many items it has.
    if (attrs.x < 0 || attrs.y < 0 || attrs.x + attrs.width > DisplayWidth(d, 0) ||
        attrs.y + attrs.height > DisplayHeight(d, 0))
      status = 5;
    previous = menu;
    XEvent e{};
    if (a.kind == MenuAction::kEscape)
    {
      e.xkey.type = KeyPress;
      e.xkey.window = menu;
      e.xkey.keycode = XKeysymToKeycode(d, XK_Escape);
      e.xkey.same_screen = True;
      XSendEvent(d, menu, False, 0, &e);
    }
    else
    {
      // Rows share the height left by the separators (7 pixels each) and the frame.
      const int rows = int(std::strlen(a.layout));
      const int separators = int(std::count(a.layout, a.layout + rows, 's'));
      const int row = (attrs.height - 2 - 7 * separators) / (rows - separators);
      int top = 1;
      for (int i = 0; i < a.item; ++i)
        top += a.layout[i] == 's' ? 7 : row;
      e.xbutton.window = menu;
      e.xbutton.button = Button1;
      e.xbutton.x = a.kind == MenuAction::kClickItem ? attrs.width / 2 : -30;
      e.xbutton.y = a.kind == MenuAction::kClickItem ? top + row / 2 : -30;
      e.xbutton.type = ButtonPress;
      XSendEvent(d, menu, False, 0, &e);
      e.xbutton.type = ButtonRelease;
      e.xbutton.state = Button1Mask;
      XSendEvent(d, menu, False, 0, &e);
    }
    XSync(d, False);
    usleep(50000);
  }
  XCloseDisplay(d);
  _exit(status);
}
} // namespace

TEST(IGraphicsX11, PopupMenuChoosesTheClickedItemAndClosesWithNoChoiceOtherwise)
{
  Host host;
  REQUIRE_DISPLAY(host)
  ASSERT_TRUE(host.Open());
  host.Run(60);
  IPopupMenu menu(IPopupMenu::Prefix::OneDigit);
  menu.AddItem("Kick");
  menu.AddItem("Snare", IPopupMenu::kDisabled);
  menu.AddSeparator();
  auto more = std::make_unique<IPopupMenu>();
  IPopupMenu* sub = more.get();
  more->AddItem("Tom");
  more->AddItem("Clap", IPopupMenu::kChecked);
  menu.AddSubmenu("More", std::move(more));
  // The programs: far more items than the screen is tall, so they stand in columns.
  IPopupMenu programs(IPopupMenu::Prefix::ThreeDigits);
  for (int i = 0; i < 128; ++i)
    programs.AddItem("Basic Bass Drum");
  using A = MenuAction;
  const struct
  {
    std::vector<MenuAction> actions;
    IPopupMenu* chosen;
    int item;
    IPopupMenu* shown = nullptr; // the menu above, unless another
    int x = 20;                  // where the menu shows on the screen (-1: anywhere on it)
  } cases[] = {
      {{{A::kClickItem, "nnsn", 0}}, &menu, 0},
      // A disabled item is no choice; the menu stays until Escape.
      {{{A::kClickItem, "nnsn", 1}, {A::kEscape, "nnsn", 0}}, nullptr, -1},
      {{{A::kClickItem, "nnsn", 2}, {A::kEscape, "nnsn", 0}}, nullptr, -1},
      {{{A::kClickOutside, "nnsn", 0}}, nullptr, -1},
      {{{A::kEscape, "nnsn", 0}}, nullptr, -1},
      {{{A::kClickItem, "nnsn", 3}, {A::kClickItem, "nn", 1}}, sub, 1},
      // In columns, moved in to stay on the screen.
      {{{A::kEscape, "n", 0}}, nullptr, -1, &programs, -1},
  };
  for (const auto& k : cases)
  {
    menu.SetChosenItemIdx(-1);
    sub->SetChosenItemIdx(-1);
    const pid_t user = StartUser(host.parent, k.actions, k.x, 40);
    IPopupMenu* chosen = host.g.RunPopupMenu(k.shown ? k.shown : &menu, IRect(20, 10, 60, 40));
    int status = -1;
    waitpid(user, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(chosen, k.chosen) << k.actions.size();
    EXPECT_EQ(chosen ? chosen->GetChosenItemIdx() : -1, k.item);
    // No menu window is left on the screen.
    XSync(host.display, False);
    EXPECT_EQ(FindMenu(host.display, host.parent), 0UL);
  }
}

TEST(IGraphicsX11, ServicesWithoutDialogsChangeNothingAndFoldersAreFound)
{
  Host host;
  REQUIRE_DISPLAY(host)
  std::string file = "kick.fxp";
  std::string folder = "/presets";
  EXPECT_FALSE(host.g.AskForFile(file, FileAction{}, folder, "fxp"));
  EXPECT_EQ(file, "kick.fxp");
  EXPECT_EQ(folder, "/presets");
  IColor colour(255, 1, 2, 3);
  EXPECT_FALSE(host.g.AskForColour(colour, "Colour"));
  EXPECT_EQ(colour, IColor(255, 1, 2, 3));
  EXPECT_EQ(host.g.ShowMessageBox("text", "caption", 0), 0);

  std::string path;
  host.g.HostExecutablePath(path);
  EXPECT_EQ(path, std::filesystem::canonical("/proc/self/exe").parent_path().string() + "/");
  const char* home = std::getenv("HOME");
  const std::string savedHome = home ? home : "";
  const struct
  {
    const char* desktop; // XDG_DESKTOP_DIR, null: unset
    const char* expected;
  } cases[] = {{"/data/Schreibtisch", "/data/Schreibtisch"},
               {nullptr, "/home/tg/Desktop"},
               {"", "/home/tg/Desktop"}};
  setenv("HOME", "/home/tg", 1);
  for (const auto& k : cases)
  {
    if (k.desktop)
      setenv("XDG_DESKTOP_DIR", k.desktop, 1);
    else
      unsetenv("XDG_DESKTOP_DIR");
    host.g.DesktopPath(path);
    EXPECT_EQ(path, k.expected);
  }
  unsetenv("XDG_DESKTOP_DIR");
  setenv("HOME", savedHome.c_str(), 1);

  // The cursor comes back where it was hidden.
  ASSERT_TRUE(host.Open());
  host.Run(60);
  const Window root = DefaultRootWindow(host.display);
  XWarpPointer(host.display, 0, root, 0, 0, 0, 0, 33, 44);
  XSync(host.display, False);
  host.g.HideCursor();
  XWarpPointer(host.display, 0, root, 0, 0, 0, 0, 150, 80);
  XSync(host.display, False);
  host.g.RestoreCursor();
  Window rootReturn = 0;
  Window child = 0;
  int x = 0;
  int y = 0;
  int wx = 0;
  int wy = 0;
  unsigned int mask = 0;
  XQueryPointer(host.display, root, &rootReturn, &child, &x, &y, &wx, &wy, &mask);
  EXPECT_EQ(x, 33);
  EXPECT_EQ(y, 44);
}
