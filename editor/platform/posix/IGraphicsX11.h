#pragma once
// The editor in an X11 window: a child window inside the window a Linux host gives to
// effEditOpen (an X11 Window id passed as the pointer), on a display connection of its
// own. It has no timer and no thread: the host's effEditIdle calls, which Linux hosts
// make regularly from their user-interface thread, handle the window's pending events
// and run the redraw tick once 1000 / fps milliseconds have passed since the last one.
// Mouse, wheel and keys reach the editor as the Windows window passes them (the same
// modifier record, double clicks, key numbers); text entry is a field the editor draws
// itself (TextEntryField); popup menus are override-redirect windows with a modal loop
// of their own.
//
// Plain X11 has no file, colour or message dialogs: AskForFile and AskForColour return
// false with the file, folder and colour unchanged, ShowMessageBox returns 0 and asks
// nothing; each writes one line to stderr. OpenUrl starts xdg-open (never through a
// shell) and refuses links that need a confirmation, which nothing here can ask for.
//
// Called from the host's user-interface thread only (the dispatcher's editor calls).
#include "editor/core/IGraphics.h"
#include "editor/core/TextEntryField.h"

#include <chrono>
#include <cstdint>
#include <vector>

struct _XDisplay;
union _XEvent;

class IGraphicsX11 : public IGraphics
{
public:
  IGraphicsX11(IPlugBase* owner, int w, int h, int framesPerSecond = kDefaultFps);
  // Closes the window if it is still open.
  ~IGraphicsX11() override;

  // --- The window ----------------------------------------------------------------------
  // parent is the host's X11 Window id. Refused (false, nothing left open) for a null or
  // unknown window, without a display, or for a visual other than 24- or 32-bit
  // TrueColor. An open window is closed first and reopened in the new parent.
  bool OpenEditorWindow(void* parent) override;
  void CloseEditorWindow() override;
  // The editor's own X11 Window id (as a pointer), null while closed.
  void* NativeWindow() const override;
  bool IsWindowOpen() const override { return window != 0; }
  // The host's idle call: pending events, then the redraw tick when it is due.
  void Idle() override;
  void PaintToScreen(const IRect& area) override;
  void Resize(int w, int h) override;

  // --- Text entry and menus ------------------------------------------------------------
  void StartTextEntry(IControl* control, const IText& style, const IRect& area, const char* initial,
                      int paramIdx) override;
  void CancelTextEntry() override { entry.RequestCancel(); }
  IPopupMenu* RunPopupMenu(IPopupMenu* menu, const IRect& area) override;
  const TextEntryField& TextEntry() const { return entry; }

  // --- Services --------------------------------------------------------------------------
  int ShowMessageBox(const char* message, const char* caption, int type) override;
  bool AskForFile(std::string& file, FileAction action, std::string& folder,
                  const char* extensions) override;
  bool AskForColour(IColor& color, const char* prompt) override;
  bool OpenUrl(const char* url, const char* caption, const char* confirmation,
               const char* error) override;
  // The folder of the host executable, with a trailing slash.
  void HostExecutablePath(std::string& path) override;
  // $XDG_DESKTOP_DIR, else ~/Desktop.
  void DesktopPath(std::string& path) override;
  void HideCursor() override;
  void RestoreCursor() override;

  // The editor's key number for an X11 key symbol, as the Windows window numbers the
  // virtual key the same key gives: space 0, arrows up, down, left, right 1 to 4, digits
  // 5 to 14, letters (either case) 15 to 40, and the virtual keys 97 to 122 (numeric pad
  // 1 to 9 and its operators, F1 to F11) 15 to 40 as well; -1 for any other key.
  static int KeyNumber(unsigned long keysym);
  // Two presses of the left button make a double click when the second follows within
  // this time and distance.
  static constexpr unsigned long kDoubleClickMs = 400;
  static constexpr int kDoubleClickDistance = 4;

private:
  void HandleEvent(_XEvent& event);
  void HandleButtonPress(_XEvent& event);
  void HandleKeyPress(_XEvent& event);
  // The redraw tick: the text field first, then the dirty controls.
  void Tick();
  // Paints the area under a closed field again, or the open field over the surface.
  void RepaintField(const IRect& area);
  // Sends a key the editor did not use on to the host's top-level window.
  void ForwardKey(_XEvent& event);
  // Draws the area together with every control that needs painting (a drawing pass
  // marks every control clean, so none may be left out).
  void DrawWithDirty(const IRect& area);
  // Copies the area of a bitmap to a window of the given visual and depth.
  void PutBitmap(unsigned long drawable, void* drawableVisual, int drawableDepth,
                 LICE_IBitmap* bitmap, const IRect& area);
  // One menu level at a root position; the menu holding the chosen item, or null.
  IPopupMenu* RunMenuAt(IPopupMenu* menu, int rootX, int rootY);

  _XDisplay* display = nullptr;
  unsigned long window = 0;
  unsigned long parentWindow = 0;
  void* visual = nullptr;
  int depth = 0;
  void* gc = nullptr;
  unsigned long invisibleCursor = 0;
  TextEntryField entry;
  std::chrono::steady_clock::time_point lastTick;
  // The last press of the left button, for double clicks.
  unsigned long lastPressTime = 0;
  int lastPressX = 0;
  int lastPressY = 0;
  unsigned int lastPressButton = 0;
  bool lastPressCounts = false;
  // The editor holds the mouse from a press to its release.
  bool captured = false;
  // A popup menu's loop saw the release of the press that opened it.
  bool releaseInMenu = false;
  int releaseX = 0;
  int releaseY = 0;
  // The pointer's place before HideCursor, in root coordinates.
  bool cursorHidden = false;
  int savedCursorX = 0;
  int savedCursorY = 0;
  // Areas exposed since the last drawing.
  IRect exposed;
  // The pixels of one copy to the window, opaque.
  std::vector<std::uint32_t> staging;
};
