#include "editor/platform/win/IGraphicsWin.h"

#include "editor/controls/IControl.h"
#include "editor/controls/IFileSelectorControl.h"
#include "editor/core/FileFilter.h"
#include "editor/core/MenuCommandIds.h"
#include "editor/core/WindowEvents.h"
#include "editor/raster/LICE_IBitmap.h"

#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>
#include <wininet.h>

#include <algorithm>
#include <cwchar>

namespace
{
constexpr wchar_t kWindowClass[] = L"IPlugWndClass";
constexpr int kFileBufferChars = 255;
constexpr int kEnteredTextChars = 32;
constexpr DWORD kColourDialogFlags =
    CC_RGBINIT | CC_FULLOPEN | CC_ENABLEHOOK | CC_ANYCOLOR | CC_SOLIDCOLOR; // 0x193

// Module-wide: the editor windows open in this module, and the frame rate of the last
// one opened (its timer's period).
int openWindows = 0;
int timerFrameRate = IGraphics::kDefaultFps;

HINSTANCE ThisModule()
{
  // Any address inside this module identifies it; the reference count is left alone.
  static const char kAnchor = 0;
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                              GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          reinterpret_cast<LPCWSTR>(&kAnchor), &module))
    return nullptr;
  return module;
}

std::wstring Widen(const char* text)
{
  if (!text || !*text)
    return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  if (n <= 1)
    return {};
  std::wstring out(std::size_t(n), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, out.data(), n);
  out.resize(std::size_t(n - 1));
  return out;
}

std::wstring Widen(const std::string& text) { return Widen(text.c_str()); }

std::string Narrow(const wchar_t* text)
{
  if (!text || !*text)
    return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  if (n <= 1)
    return {};
  std::string out(std::size_t(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
  out.resize(std::size_t(n - 1));
  return out;
}

// The folder of a file path: everything up to and including its last backslash.
std::string FolderOf(const wchar_t* path)
{
  const wchar_t* slash = std::wcsrchr(path, L'\\');
  return slash ? Narrow(std::wstring(path, std::size_t(slash - path + 1)).c_str()) : std::string();
}

std::string ModuleFolder(HMODULE module)
{
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameW(module, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH)
    return {};
  return FolderOf(path);
}

// A window that is the child of another (and not an MDI child) moves with it.
bool IsChildWindow(HWND window)
{
  return (GetWindowLongW(window, GWL_STYLE) & WS_CHILD) &&
         !(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_MDICHILD);
}

void GrowWindow(HWND window, int dw, int dh)
{
  RECT r;
  if (!window || !GetWindowRect(window, &r))
    return;
  SetWindowPos(window, nullptr, 0, 0, r.right - r.left + dw, r.bottom - r.top + dh,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

IMouseMod Modifiers(WPARAM wParam)
{
  const WPARAM keys = LOWORD(wParam);
  IMouseMod mod;
  mod.left = (keys & MK_LBUTTON) != 0;
  mod.right = (keys & MK_RBUTTON) != 0;
  mod.shift = (keys & MK_SHIFT) != 0;
  mod.control = (keys & MK_CONTROL) != 0;
  mod.alt = GetKeyState(VK_MENU) < 0;
  return mod;
}

int SignedLow(LPARAM lParam) { return int(short(LOWORD(lParam))); }
int SignedHigh(LPARAM lParam) { return int(short(HIWORD(lParam))); }

RECT ToRect(const IRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

HMENU BuildNativeMenu(IPopupMenu& menu, const MenuCommandIds& ids)
{
  HMENU native = CreatePopupMenu();
  if (!native)
    return nullptr;
  for (int i = 0; i < menu.NItems(); ++i)
  {
    const IPopupMenu::Item& item = menu.GetItem(i);
    if (item.flags & IPopupMenu::kSeparator)
    {
      AppendMenuW(native, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    UINT flags = MF_STRING;
    if (item.flags & IPopupMenu::kDisabled)
      flags |= MF_DISABLED;
    if (item.flags & IPopupMenu::kGreyed)
      flags |= MF_GRAYED;
    if (item.flags & IPopupMenu::kChecked)
      flags |= MF_CHECKED;
    const std::wstring text = Widen(menu.DisplayText(i));
    if (item.submenu)
    {
      if (HMENU sub = BuildNativeMenu(*item.submenu, ids))
        AppendMenuW(native, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(sub), text.c_str());
    }
    else
      AppendMenuW(native, flags, UINT_PTR(ids.IdOf(&menu, i)), text.c_str());
  }
  return native;
}

// The colour dialog's title is the prompt.
UINT_PTR CALLBACK ColourDialogHook(HWND dialog, UINT msg, WPARAM, LPARAM lParam)
{
  if (msg == WM_INITDIALOG && lParam)
  {
    const auto* choose = reinterpret_cast<const CHOOSECOLORW*>(lParam);
    const auto* title = reinterpret_cast<const std::wstring*>(choose->lCustData);
    if (title && !title->empty())
      SetWindowTextW(dialog, title->c_str());
  }
  return 0;
}

struct TopWindowSearch
{
  const std::wstring* className;
  HWND found;
};

BOOL CALLBACK FindTopWindowOfClass(HWND window, LPARAM lParam)
{
  auto* search = reinterpret_cast<TopWindowSearch*>(lParam);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process != GetCurrentProcessId())
    return TRUE;
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  if (*search->className == name)
  {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}
} // namespace

// --- Called from the host's user-interface thread ------------------------------------

IGraphicsWin::IGraphicsWin(IPlugBase* owner, int w, int h, int framesPerSecond)
  : IGraphics(owner, w, h, framesPerSecond), instance(ThisModule())
{
}

IGraphicsWin::~IGraphicsWin() { CloseEditorWindow(); }

const wchar_t* IGraphicsWin::WindowClassName() { return kWindowClass; }

int IGraphicsWin::OpenWindowCount() { return openWindows; }

bool IGraphicsWin::OpenEditorWindow(void* parent)
{
  int x = 0;
  int y = 0;
  int w = Width();
  int h = Height();
  ReleaseLostWindow();
  if (hwnd)
  {
    // Reopening keeps the window's place in its parent and its size.
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    x = r.left;
    y = r.top;
    w = r.right - r.left;
    h = r.bottom - r.top;
    CloseEditorWindow();
  }
  if (openWindows++ == 0)
  {
    WNDCLASSW wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = kWindowClass;
    RegisterClassW(&wc);
  }
  timerFrameRate = FPS();
  parentWindow = static_cast<HWND>(parent);
  // The window procedure takes the handle from its creation message.
  if (!CreateWindowExW(0, kWindowClass, L"IPlug", WS_CHILD | WS_VISIBLE, x, y, w, h, parentWindow,
                       nullptr, instance, this))
    hwnd = nullptr;
  if (!hwnd)
  {
    if (--openWindows == 0)
      UnregisterClassW(kWindowClass, instance);
    return false;
  }
  SetAllControlsDirty();
  return true;
}

void IGraphicsWin::CloseEditorWindow()
{
  ReleaseLostWindow();
  if (!hwnd)
    return;
  CloseTextEntry();
  RestoreCursor();
  HWND window = hwnd;
  KillTimer(window, kTimerId);
  closing = true;
  DestroyWindow(window);
  closing = false;
  hwnd = nullptr;
  ReleaseMouseCapture();
  if (--openWindows == 0)
    UnregisterClassW(kWindowClass, instance);
}

void IGraphicsWin::ForgetDestroyedWindow()
{
  // The host destroyed its window (and with it this one) without closing the editor:
  // the handle is forgotten at once, so that it is never used again, and the class
  // count is given back when the editor is next closed or opened, after the window
  // has gone.
  hwnd = nullptr;
  editWindow = nullptr;
  CloseTextEntry();
  ReleaseMouseCapture();
  windowLost = true;
}

void IGraphicsWin::ReleaseLostWindow()
{
  if (!windowLost)
    return;
  windowLost = false;
  if (--openWindows == 0)
    UnregisterClassW(kWindowClass, instance);
}

void IGraphicsWin::PaintToScreen(const IRect& area)
{
  if (!hwnd)
    return;
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  LICE_IBitmap* surface = GetDrawBitmap();
  if (dc && surface && surface->GetDC() && !area.Empty())
    BitBlt(dc, area.left, area.top, area.W(), area.H(), static_cast<HDC>(surface->GetDC()),
           area.left, area.top, SRCCOPY);
  EndPaint(hwnd, &ps);
}

void IGraphicsWin::Resize(int w, int h)
{
  if (w <= 0 || h <= 0 || (w == Width() && h == Height()))
    return;
  const int dw = w - Width();
  const int dh = h - Height();
  IGraphics::Resize(w, h);
  if (!hwnd)
    return;
  GrowWindow(hwnd, dw, dh);
  if (IsChildWindow(hwnd))
  {
    HWND parent = GetParent(hwnd);
    GrowWindow(parent, dw, dh);
    if (parent && IsChildWindow(parent))
      GrowWindow(GetParent(parent), dw, dh);
  }
  InvalidateRect(hwnd, nullptr, FALSE);
}

// --- The window procedure (the host's user-interface thread) -------------------------

LRESULT CALLBACK IGraphicsWin::WndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
  if (msg == WM_CREATE)
  {
    auto* self =
        static_cast<IGraphicsWin*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    if (self)
    {
      self->hwnd = window;
      SetTimer(window, kTimerId, UINT(1000 / std::max(timerFrameRate, 1)), nullptr);
      SetFocus(window);
    }
    return 0;
  }
  auto* self = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self || self->hwnd != window)
    return DefWindowProcW(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY && !self->closing)
  {
    self->ForgetDestroyedWindow();
    return DefWindowProcW(window, msg, wParam, lParam);
  }
  return self->HandleMessage(msg, wParam, lParam);
}

LRESULT IGraphicsWin::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
  // While the edit field has the focus a press in the editor (or the wheel) only asks
  // the timer to cancel the entry; nothing else reaches the editor.
  if (editWindow && entryState == EntryState::Focused)
  {
    if (msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN || msg == WM_MOUSEWHEEL)
    {
      entryState = EntryState::CancelRequested;
      return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }

  switch (msg)
  {
  case WM_PAINT:
  {
    RECT r;
    if (GetUpdateRect(hwnd, &r, FALSE))
      Draw(IRect(r.left, r.top, r.right, r.bottom));
    return 0;
  }
  case WM_CLOSE:
    CloseEditorWindow();
    return 0;
  case WM_KEYDOWN:
    return HandleKeyDown(msg, wParam, lParam);
  case WM_TIMER:
    if (wParam != kTimerId)
      break;
    OnTimer();
    return 0;
  case WM_CTLCOLOREDIT:
  {
    if (!editControl)
      break;
    HDC dc = reinterpret_cast<HDC>(wParam);
    const IText& style = editControl->GetText();
    const COLORREF back =
        RGB(style.textEntryBGColor.r, style.textEntryBGColor.g, style.textEntryBGColor.b);
    SetBkColor(dc, back);
    SetTextColor(dc,
                 RGB(style.textEntryFGColor.r, style.textEntryFGColor.g, style.textEntryFGColor.b));
    SetBkMode(dc, OPAQUE);
    SetDCBrushColor(dc, back);
    return reinterpret_cast<LRESULT>(GetStockObject(DC_BRUSH));
  }
  case WM_MOUSEMOVE:
  {
    const int x = SignedLow(lParam);
    const int y = SignedHigh(lParam);
    if (wParam & (MK_LBUTTON | MK_RBUTTON))
    {
      if (GetCapture() == hwnd && !editWindow)
        OnMouseDrag(x, y, Modifiers(wParam));
    }
    else if (OnMouseOver(x, y, Modifiers(wParam)))
    {
      TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, hwnd, HOVER_DEFAULT};
      TrackMouseEvent(&track);
    }
    return 0;
  }
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
    if (editWindow)
    {
      CloseTextEntry();
      InvalidateRect(hwnd, nullptr, FALSE);
      UpdateWindow(hwnd);
    }
    SetFocus(hwnd);
    SetCapture(hwnd);
    OnMouseDown(SignedLow(lParam), SignedHigh(lParam), Modifiers(wParam));
    return 0;
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
  case WM_MBUTTONUP:
    // The middle button's release ends its press like the others', so the host's
    // edit gesture it began is ended and the capture given back.
    ReleaseCapture();
    OnMouseUp(SignedLow(lParam), SignedHigh(lParam), Modifiers(wParam));
    return 0;
  case WM_LBUTTONDBLCLK:
    if (OnMouseDblClick(SignedLow(lParam), SignedHigh(lParam), Modifiers(wParam)))
      SetCapture(hwnd);
    return 0;
  case WM_MOUSEWHEEL:
  {
    if (editWindow)
    {
      entryState = EntryState::CancelRequested;
      return 0;
    }
    RECT r;
    GetWindowRect(hwnd, &r);
    const int x = SignedLow(lParam) - r.left;
    const int y = SignedHigh(lParam) - r.top;
    OnMouseWheel(x, y, Modifiers(wParam),
                 WindowEvents::WheelNotches(GET_WHEEL_DELTA_WPARAM(wParam)));
    return 0;
  }
  case WM_MOUSELEAVE:
    OnMouseOut();
    return 0;
  case WM_SETFOCUS:
  case WM_KILLFOCUS:
    return 0;
  default:
    break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT IGraphicsWin::HandleKeyDown(UINT msg, WPARAM wParam, LPARAM lParam)
{
  const int key = WindowEvents::KeyNumber(int(wParam));
  if (key >= 0)
  {
    POINT p{0, 0};
    GetCursorPos(&p);
    ScreenToClient(hwnd, &p);
    if (OnKeyDown(p.x, p.y, key))
      return 0;
  }
  // Keys the editor does not use are the host's (its shortcuts, its keyboard).
  HWND root = GetAncestor(hwnd, GA_ROOT);
  if (root && root != hwnd && !forwardingKey)
  {
    forwardingKey = true;
    SendMessageW(root, msg, wParam, lParam);
    forwardingKey = false;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

void IGraphicsWin::OnTimer()
{
  if (editWindow && entryState != EntryState::None)
  {
    switch (entryState)
    {
    case EntryState::CancelRequested:
      CloseTextEntry();
      break;
    case EntryState::CommitRequested:
    {
      wchar_t entered[kEnteredTextChars + 1] = {};
      GetWindowTextW(editWindow, entered, kEnteredTextChars + 1);
      IControl* control = editControl;
      const int paramIdx = editParam;
      // The field goes first: what the commit does (a new value, a new name) may
      // redraw or open other things.
      CloseTextEntry();
      CommitTextEntry(control, paramIdx, Narrow(entered).c_str());
      break;
    }
    case EntryState::Redrawn:
      entryState = EntryState::None;
      return;
    default:
      break;
    }
  }
  IRect dirty;
  // What a commit did may have closed the window.
  if (!hwnd || !CollectDirty(dirty))
    return;
  const RECT r = ToRect(dirty);
  InvalidateRect(hwnd, &r, FALSE);
  if (editWindow)
  {
    // The editor does not paint over the open edit field.
    RECT edit;
    GetWindowRect(editWindow, &edit);
    MapWindowPoints(HWND_DESKTOP, hwnd, reinterpret_cast<POINT*>(&edit), 2);
    ValidateRect(hwnd, &edit);
    entryState = EntryState::Redrawn;
  }
  UpdateWindow(hwnd);
}

// --- Text entry (the host's user-interface thread) -----------------------------------

void IGraphicsWin::StartTextEntry(IControl* control, const IText& style, const IRect& area,
                                  const char* initial, int paramIdx)
{
  if (!control || editWindow || !hwnd)
    return;
  DWORD editStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE;
  if (style.align == TextAlign::Center)
    editStyle |= ES_CENTER;
  else if (style.align == TextAlign::Far)
    editStyle |= ES_RIGHT;
  const std::wstring text = Widen(initial);
  HWND edit = CreateWindowExW(0, L"EDIT", text.c_str(), editStyle, area.left, area.top,
                              area.W() + 1, area.H() + 1, hwnd,
                              reinterpret_cast<HMENU>(INT_PTR(kEditControlId)), instance, nullptr);
  if (!edit)
    return;
  const std::wstring face = Widen(style.font);
  editFont = CreateFontW(style.size, 0, 0, 0, style.style == TextStyle::Bold ? FW_BOLD : FW_NORMAL,
                         style.style == TextStyle::Italic, FALSE, FALSE, DEFAULT_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                         face.c_str());
  if (editFont)
    SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(editFont), FALSE);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  SendMessageW(edit, EM_LIMITTEXT, WPARAM(std::max(control->GetTextEntryLength(), 1)), 0);
  editWindow = edit;
  editControl = control;
  editParam = paramIdx;
  entryState = EntryState::None;
  // Subclassed before it takes the focus, so that the focus is seen (state Focused).
  SetWindowLongPtrW(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  previousEditProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
  SetFocus(edit);
}

void IGraphicsWin::CloseTextEntry()
{
  HWND edit = editWindow;
  // Forgotten first: destroying the field takes its focus, which must not count as a
  // new request.
  editWindow = nullptr;
  if (edit)
  {
    if (previousEditProc)
      SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousEditProc));
    DestroyWindow(edit);
  }
  // The field's font goes with it.
  if (editFont)
    DeleteObject(editFont);
  editFont = nullptr;
  previousEditProc = nullptr;
  editControl = nullptr;
  editParam = -1;
  entryState = EntryState::None;
}

LRESULT CALLBACK IGraphicsWin::EditProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam)
{
  auto* self = reinterpret_cast<IGraphicsWin*>(GetWindowLongPtrW(edit, GWLP_USERDATA));
  if (!self || self->editWindow != edit)
    return DefWindowProcW(edit, msg, wParam, lParam);
  return self->HandleEditMessage(msg, wParam, lParam);
}

LRESULT IGraphicsWin::HandleEditMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
  const WNDPROC previous = previousEditProc;
  HWND edit = editWindow;
  switch (msg)
  {
  case WM_SETFOCUS:
    entryState = EntryState::Focused;
    break;
  case WM_KILLFOCUS:
    entryState = EntryState::CancelRequested;
    break;
  case WM_KEYDOWN:
    if (wParam == VK_RETURN)
    {
      entryState = EntryState::CommitRequested;
      return 0;
    }
    break;
  case WM_COMMAND:
    if (HIWORD(wParam) == 1)
    {
      entryState = EntryState::CommitRequested;
      return 0;
    }
    break;
  case WM_GETDLGCODE:
    if (editParam < 0)
    {
      LRESULT code = CallWindowProcW(previous, edit, msg, wParam, lParam);
      const MSG* pending = reinterpret_cast<const MSG*>(lParam);
      if (pending && pending->message == WM_KEYDOWN && pending->wParam == VK_RETURN)
        code |= DLGC_WANTALLKEYS;
      return code;
    }
    break;
  case WM_CHAR:
    // The field holds one line: the Enter that commits it adds no line break.
    if (wParam == '\r' || wParam == '\n')
      return 0;
    if (editParam >= 0 && (wParam > 0x7F || !TextEntryAccepts(editParam, char(wParam))))
      return 0;
    break;
  default:
    break;
  }
  return CallWindowProcW(previous, edit, msg, wParam, lParam);
}

// --- Menus and dialogs (the host's user-interface thread) ----------------------------

IPopupMenu* IGraphicsWin::RunPopupMenu(IPopupMenu* menu, const IRect& area)
{
  ReleaseMouseCapture();
  if (!hwnd || !menu)
    return nullptr;
  const MenuCommandIds ids(*menu);
  HMENU native = BuildNativeMenu(*menu, ids);
  if (!native)
    return nullptr;
  POINT corner{area.left, area.bottom};
  ClientToScreen(hwnd, &corner);
  TrackPopupMenu(native, TPM_LEFTBUTTON, corner.x, corner.y, 0, hwnd, nullptr);
  // The choice arrives as a command message in the queue.
  int id = 0;
  MSG chosen;
  if (PeekMessageW(&chosen, hwnd, WM_COMMAND, WM_COMMAND, PM_REMOVE))
    id = LOWORD(chosen.wParam);
  DestroyMenu(native);
  int index = -1;
  IPopupMenu* holder = ids.Find(id, index);
  if (holder)
    holder->SetChosenItemIdx(index);
  return holder;
}

bool IGraphicsWin::AskForFile(std::string& file, FileAction action, std::string& folder,
                              const char* extensions)
{
  if (!hwnd)
  {
    file.clear();
    return false;
  }
  const std::wstring pattern = Widen(FileFilter::Pattern(extensions));
  // Description and pattern, each ending in a zero, then the list's closing zero.
  std::wstring filter = pattern;
  filter.push_back(L'\0');
  filter += pattern;
  filter.push_back(L'\0');
  const std::wstring defaultExt = Widen(FileFilter::DefaultExtension(extensions));

  wchar_t path[kFileBufferChars + 1] = {};
  const std::wstring initialFile = Widen(file);
  wcsncpy(path, initialFile.c_str(), kFileBufferChars);
  std::string startFolder = folder;
  if (startFolder.empty())
    DesktopPath(startFolder);
  const std::wstring initialDir = Widen(startFolder);

  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = hwnd;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = path;
  ofn.nMaxFile = kFileBufferChars;
  ofn.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
  BOOL ok = FALSE;
  if (action == FileAction::Save)
  {
    ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    ok = GetSaveFileNameW(&ofn);
  }
  else
  {
    ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    ok = GetOpenFileNameW(&ofn);
  }
  if (!ok)
    return false;
  file = Narrow(path);
  folder = Narrow(std::wstring(path, std::min<std::size_t>(ofn.nFileOffset, wcslen(path))).c_str());
  return true;
}

bool IGraphicsWin::AskForColour(IColor& color, const char* prompt)
{
  if (!hwnd)
    return false;
  if (customColours.empty())
    customColours.assign(16, RGB(0, 0, 0));
  const std::wstring title = Widen(prompt);
  CHOOSECOLORW choose{};
  choose.lStructSize = sizeof(choose);
  choose.hwndOwner = hwnd;
  choose.rgbResult = RGB(color.r, color.g, color.b);
  choose.lpCustColors = customColours.data();
  choose.Flags = kColourDialogFlags;
  choose.lCustData = reinterpret_cast<LPARAM>(&title);
  choose.lpfnHook = ColourDialogHook;
  if (!ChooseColorW(&choose))
    return false;
  color.r = GetRValue(choose.rgbResult);
  color.g = GetGValue(choose.rgbResult);
  color.b = GetBValue(choose.rgbResult);
  return true;
}

bool IGraphicsWin::OpenUrl(const char* url, const char* caption, const char* confirmation,
                           const char* error)
{
  const std::wstring title = Widen(caption);
  if (confirmation &&
      MessageBoxW(HostTopWindow(), Widen(confirmation).c_str(), title.c_str(), MB_YESNO) != IDYES)
    return false;
  DWORD connection = 0;
  if (url && InternetGetConnectedState(&connection, 0))
  {
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(hwnd, L"open", Widen(url).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (result > 32)
      return true;
  }
  if (error)
    MessageBoxW(HostTopWindow(), Widen(error).c_str(), title.c_str(), MB_OK);
  return false;
}

int IGraphicsWin::ShowMessageBox(const char* message, const char* caption, int type)
{
  return MessageBoxW(HostTopWindow(), Widen(message).c_str(), Widen(caption).c_str(), UINT(type));
}

HWND IGraphicsWin::HostTopWindow()
{
  // A window the host has since destroyed owns nothing.
  if (hostTopWindow && IsWindow(hostTopWindow))
    return hostTopWindow;
  hostTopWindow = nullptr;
  if (parentWindow && IsWindow(parentWindow))
  {
    HWND top = parentWindow;
    while (HWND up = GetParent(top))
      top = up;
    wchar_t name[256] = {};
    GetClassNameW(top, name, 256);
    hostWindowClass = name;
    hostTopWindow = top;
    return hostTopWindow;
  }
  if (!hostWindowClass.empty())
  {
    TopWindowSearch search{&hostWindowClass, nullptr};
    EnumWindows(FindTopWindowOfClass, reinterpret_cast<LPARAM>(&search));
    hostTopWindow = search.found;
  }
  return hostTopWindow;
}

// --- Folders and the cursor (the host's user-interface thread) -----------------------

void IGraphicsWin::HostExecutablePath(std::string& path) { path = ModuleFolder(nullptr); }

void IGraphicsWin::DesktopPath(std::string& path)
{
  wchar_t folder[MAX_PATH + 1] = {};
  path = SHGetSpecialFolderPathW(nullptr, folder, CSIDL_DESKTOP, FALSE) ? Narrow(folder)
                                                                        : std::string();
}

void IGraphicsWin::HideCursor()
{
  if (cursorHidden)
    return;
  GetCursorPos(&cursorPos);
  ShowCursor(FALSE);
  cursorHidden = true;
}

void IGraphicsWin::RestoreCursor()
{
  if (!cursorHidden)
    return;
  SetCursorPos(cursorPos.x, cursorPos.y);
  ShowCursor(TRUE);
  cursorHidden = false;
}
