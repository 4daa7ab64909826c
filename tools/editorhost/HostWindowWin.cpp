// The host window on Windows: a popup window (no frame) at (0, 0) whose client area is
// the editor's size. The editor's child window shares this thread's message queue, so
// pumping here also runs the editor's timer and input.
#include "tools/editorhost/HostWindow.h"

#include <windows.h>

namespace
{
const char* const kClassName = "TgEditorHostWindow";

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
  return DefWindowProcA(window, message, wParam, lParam);
}
} // namespace

struct HostWindow::Native
{
  HWND window = nullptr;
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
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  if (!GetClassInfoA(instance, kClassName, &wc))
  {
    wc.lpfnWndProc = HostWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    wc.lpszClassName = kClassName;
    if (!RegisterClassA(&wc))
      return false;
  }
  native->window = CreateWindowExA(0, kClassName, title, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                   0, 0, width, height, nullptr, nullptr, instance, nullptr);
  if (!native->window)
    return false;
  UpdateWindow(native->window);
  return true;
}

void HostWindow::Close()
{
  if (native->window)
    DestroyWindow(native->window);
  native->window = nullptr;
  Pump();
}

bool HostWindow::IsOpen() const { return native->window != nullptr; }

void* HostWindow::Handle() const { return native->window; }

void HostWindow::Pump()
{
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
  {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

int HostWindow::ChildCount() const
{
  int count = 0;
  if (native->window)
    for (HWND child = GetWindow(native->window, GW_CHILD); child;
         child = GetWindow(child, GW_HWNDNEXT))
      ++count;
  return count;
}

bool HostWindow::ClassRegistered(const char* className, const char* modulePath)
{
  HMODULE module = GetModuleHandleA(modulePath);
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  return module && GetClassInfoExA(module, className, &wc);
}
