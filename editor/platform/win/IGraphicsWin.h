#pragma once
// The editor in a Win32 child window inside the window the host gives when it opens the
// editor: the window class "IPlugWndClass" and its window procedure, the redraw timer,
// mouse capture and keys, the single-line text entry for typed values, and the
// platform services of the graphics (popup menus, file and colour dialogs, message
// boxes, links, folders, the cursor).
//
// Everything here runs on the host's user-interface thread. The count of open editor
// windows (which keeps the window class registered) and the timer's frame rate are
// module-wide and unguarded: a host opens and closes editors on one thread.
#include "editor/core/IGraphics.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <vector>

class IGraphicsWin : public IGraphics
{
public:
  // What the open text entry waits for.
  enum class EntryState
  {
    None = 0,
    // The edit field has the keyboard focus.
    Focused = 1,
    // The editor was redrawn around the open edit field.
    Redrawn = 2,
    CancelRequested = 3,
    CommitRequested = 4
  };
  static constexpr UINT_PTR kTimerId = 2;
  static constexpr int kEditControlId = 99;

  IGraphicsWin(IPlugBase* owner, int w, int h, int fps = kDefaultFps);
  // Closes the window if it is still open.
  ~IGraphicsWin() override;
  IGraphicsWin(const IGraphicsWin&) = delete;
  IGraphicsWin& operator=(const IGraphicsWin&) = delete;

  // --- Called from the host's user-interface thread ----------------------------------
  // Creates the child window in the host's window (a window already open is closed
  // first and its place and size kept); false when the system refuses, which leaves
  // the editor closed and the class count as it was.
  bool OpenEditorWindow(void* parent) override;
  void CloseEditorWindow() override;
  bool IsWindowOpen() const override { return hwnd != nullptr; }
  void* NativeWindow() const override { return hwnd; }
  // Copies the area of the drawing surface to the window (inside the paint message).
  void PaintToScreen(const IRect& area) override;
  // Grows or shrinks the window, and the host's windows holding it, by the change.
  void Resize(int w, int h) override;

  void StartTextEntry(IControl* control, const IText& style, const IRect& area, const char* initial,
                      int paramIdx) override;
  // Asks the timer to close the open edit field without committing it.
  void CancelTextEntry() override
  {
    if (editWindow)
      entryState = EntryState::CancelRequested;
  }
  IPopupMenu* RunPopupMenu(IPopupMenu* menu, const IRect& area) override;
  bool AskForFile(std::string& file, FileAction action, std::string& folder,
                  const char* extensions) override;
  bool AskForColour(IColor& color, const char* prompt) override;
  bool OpenUrl(const char* url, const char* caption, const char* confirmation,
               const char* error) override;
  int ShowMessageBox(const char* message, const char* caption, int type) override;
  void HostExecutablePath(std::string& path) override;
  void DesktopPath(std::string& path) override;
  void HideCursor() override;
  void RestoreCursor() override;

  // The module holding this code: its window class and its resources.
  HINSTANCE ModuleInstance() const { return instance; }
  static const wchar_t* WindowClassName();
  // How many editor windows of this module are open.
  static int OpenWindowCount();
  HWND EditWindow() const { return editWindow; }
  EntryState GetEntryState() const { return entryState; }

private:
  static LRESULT CALLBACK WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK EditProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleEditMessage(UINT msg, WPARAM wParam, LPARAM lParam);
  LRESULT HandleKeyDown(UINT msg, WPARAM wParam, LPARAM lParam);
  // The timer's tick: the text entry's pending request, else the redraw of what is dirty.
  void OnTimer();
  // Restores the edit's procedure and destroys it; nothing is committed.
  void CloseTextEntry();
  // The window was destroyed by someone else (the host, with its own window).
  void ForgetDestroyedWindow();
  // Gives back the class count a window destroyed by someone else still held.
  void ReleaseLostWindow();
  // The owner of message boxes: the host's top-level window.
  HWND HostTopWindow();

  HINSTANCE instance;
  HWND hwnd = nullptr;
  HWND parentWindow = nullptr;

  // The text entry.
  HWND editWindow = nullptr;
  HFONT editFont = nullptr;
  IControl* editControl = nullptr;
  int editParam = -1;
  WNDPROC previousEditProc = nullptr;
  EntryState entryState = EntryState::None;

  HWND hostTopWindow = nullptr;
  std::wstring hostWindowClass;

  POINT cursorPos{0, 0};
  bool cursorHidden = false;
  // Set while a key the editor did not use is handed to the host, so that a host that
  // passes keys back to the focused window cannot send it round in a circle.
  bool forwardingKey = false;
  // Set while the editor destroys its own window.
  bool closing = false;
  // The window was destroyed from outside; its class count is still held.
  bool windowLost = false;
  std::vector<COLORREF> customColours;
};
