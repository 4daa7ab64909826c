#pragma once
// A host's top-level window for a plug-in's editor: a plain window of a given client
// size at the top-left corner of the screen, whose native handle the host passes to
// effEditOpen (an HWND on Windows, an X11 window id elsewhere, as Linux hosts pass it).
//
// Called from the host's user-interface thread only.
class HostWindow
{
public:
  HostWindow();
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  // Makes and shows the window; false when the system cannot (no display).
  bool Open(int width, int height, const char* title);
  void Close();
  bool IsOpen() const;
  // The handle to give effEditOpen; null while closed.
  void* Handle() const;
  // Dispatches the window messages that are pending (the editor's own among them on
  // Windows, where the editor's child window shares the thread's message queue).
  void Pump();
  // The window's own child windows (an editor's window among them while it is open).
  int ChildCount() const;

  // Whether a window class of this name is registered for the loaded module at path
  // (Windows keeps classes per module instance; elsewhere there are none: false).
  static bool ClassRegistered(const char* className, const char* modulePath);

private:
  struct Native;
  Native* native;
};
