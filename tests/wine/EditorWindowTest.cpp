// The editor's Win32 window, opened in a real parent window (under Wine, on a virtual
// display): the window class lives exactly as long as any editor window of the
// module, a refused window leaves the count balanced, and the text entry filters,
// commits and cancels as the window procedure and the edit procedure decide.
#include "editor/EditorTestKit.h"
#include "editor/controls/IFileSelectorControl.h"
#include "editor/platform/win/IGraphicsWin.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
bool ClassRegistered(HINSTANCE instance)
{
  WNDCLASSEXW info{};
  info.cbSize = sizeof(info);
  return GetClassInfoExW(instance, IGraphicsWin::WindowClassName(), &info) != FALSE;
}

// A host's top-level window to open editors in.
class HostFrame
{
public:
  HostFrame()
  {
    window = CreateWindowExW(0, L"STATIC", L"host", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                             nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~HostFrame()
  {
    if (window)
      DestroyWindow(window);
  }
  HostFrame(const HostFrame&) = delete;
  HostFrame& operator=(const HostFrame&) = delete;
  HWND window;
};

// A control whose entered values reach the plug-in and whose free text is kept.
class EntryControl : public IControl
{
public:
  EntryControl(IPlugBase* owner, int boundParam, const IRect& area)
    : IControl(owner, area, boundParam)
  {
  }
  void Paint(IGraphics* g) override {}
  void AcceptEnteredText(const char* enteredText) override { accepted = enteredText; }
  std::string accepted;
};

void Type(HWND edit, const char* keys)
{
  for (const char* k = keys; *k; ++k)
    SendMessageW(edit, WM_CHAR, WPARAM(*k), 1);
}

// Enter as a keyboard gives it: the key-down, then its character.
void PressEnter(HWND edit)
{
  SendMessageW(edit, WM_KEYDOWN, VK_RETURN, 1);
  SendMessageW(edit, WM_CHAR, WPARAM('\r'), 1);
}

std::string TextOf(HWND edit)
{
  wchar_t text[64] = {};
  GetWindowTextW(edit, text, 64);
  return std::string(text, text + wcslen(text));
}

void Tick(IGraphicsWin& g)
{
  SendMessageW(static_cast<HWND>(g.NativeWindow()), WM_TIMER, IGraphicsWin::kTimerId, 0);
}
} // namespace

TEST(IGraphicsWin, WindowClassStaysRegisteredUntilTheLastEditorCloses)
{
  HostFrame host;
  ASSERT_NE(host.window, nullptr) << "no window can be made on this display";
  EditorTestPlug plug;
  IGraphicsWin first(&plug, 200, 100);
  IGraphicsWin second(&plug, 200, 100);
  const HINSTANCE module = first.ModuleInstance();
  ASSERT_NE(module, nullptr);
  ASSERT_FALSE(ClassRegistered(module));

  // A parent that is no window refuses the editor and leaves nothing behind.
  EXPECT_FALSE(first.OpenEditorWindow(reinterpret_cast<void*>(0x7FF0)));
  EXPECT_FALSE(first.IsWindowOpen());
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);
  EXPECT_FALSE(ClassRegistered(module));

  ASSERT_TRUE(first.OpenEditorWindow(host.window));
  ASSERT_TRUE(second.OpenEditorWindow(host.window));
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 2);
  EXPECT_TRUE(ClassRegistered(module));
  HWND window = static_cast<HWND>(first.NativeWindow());
  EXPECT_EQ(GetParent(window), host.window);
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_CHILD | WS_VISIBLE), WS_CHILD | WS_VISIBLE);
  RECT client;
  GetClientRect(window, &client);
  EXPECT_EQ(client.right, 200);
  EXPECT_EQ(client.bottom, 100);

  // A refused window while another is open leaves that one's count alone.
  EXPECT_FALSE(first.OpenEditorWindow(reinterpret_cast<void*>(0x7FF0)));
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 1);
  EXPECT_TRUE(ClassRegistered(module));
  ASSERT_TRUE(first.OpenEditorWindow(host.window));

  first.CloseEditorWindow();
  EXPECT_TRUE(ClassRegistered(module)) << "the second editor still uses the class";
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 1);
  // The host closing the window (WM_CLOSE) closes the editor the same way.
  SendMessageW(static_cast<HWND>(second.NativeWindow()), WM_CLOSE, 0, 0);
  EXPECT_FALSE(second.IsWindowOpen());
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);
  EXPECT_FALSE(ClassRegistered(module));

  // The destructor closes a window left open.
  {
    IGraphicsWin third(&plug, 200, 100);
    ASSERT_TRUE(third.OpenEditorWindow(host.window));
  }
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);
  EXPECT_FALSE(ClassRegistered(module));

  // A host that destroys its window before closing the editor takes the editor's window
  // with it: the handle is forgotten, and the close that follows frees the class.
  {
    HostFrame doomed;
    ASSERT_TRUE(first.OpenEditorWindow(doomed.window));
    DestroyWindow(doomed.window);
    doomed.window = nullptr;
  }
  EXPECT_FALSE(first.IsWindowOpen());
  first.CloseEditorWindow();
  EXPECT_EQ(IGraphicsWin::OpenWindowCount(), 0);
  EXPECT_FALSE(ClassRegistered(module));
}

TEST(IGraphicsWin, TextEntryFiltersCommitsAndCancels)
{
  HostFrame host;
  ASSERT_NE(host.window, nullptr) << "no window can be made on this display";
  EditorTestPlug plug;
  IGraphicsWin g(&plug, 200, 100);
  auto* offset = new EntryControl(&plug, 2, IRect(10, 10, 80, 30)); // -1..1, shown negated
  // Wide enough for the whole name: the field holds what it shows.
  auto* name = new EntryControl(&plug, -1, IRect(10, 40, 195, 60));
  name->SetTextEntryLength(20);
  g.AttachControl(offset);
  g.AttachControl(name);
  g.PrepDraw();
  ASSERT_TRUE(g.OpenEditorWindow(host.window));

  // A parameter's entry: the letter is swallowed; Enter commits on the next tick.
  g.StartTextEntry(offset, offset->GetText(), offset->GetRect(), "0", 2);
  HWND edit = g.EditWindow();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(GetDlgCtrlID(edit), IGraphicsWin::kEditControlId);
  EXPECT_EQ(g.GetEntryState(), IGraphicsWin::EntryState::Focused);
  Type(edit, "-0a.25");
  EXPECT_EQ(TextOf(edit), "-0.25");
  // A second entry is refused while one is open.
  g.StartTextEntry(name, name->GetText(), name->GetRect(), "x", -1);
  EXPECT_EQ(g.EditWindow(), edit);
  PressEnter(edit);
  EXPECT_EQ(g.GetEntryState(), IGraphicsWin::EntryState::CommitRequested);
  plug.log.clear();
  Tick(g);
  EXPECT_EQ(g.EditWindow(), nullptr);
  EXPECT_FALSE(IsWindow(edit));
  // -0.25 shown is 0.25 held: normalized (0.25 + 1) / 2.
  EXPECT_DOUBLE_EQ(offset->GetValue(), 0.625);
  ASSERT_EQ(plug.log.size(), 1u);
  EXPECT_EQ(plug.log[0], "automate 2");
  EXPECT_NEAR(plug.GetParam(2)->Value(), 0.25, 1e-12);

  // A click in the editor cancels: nothing reaches the plug-in.
  g.StartTextEntry(offset, offset->GetText(), offset->GetRect(), "0.25", 2);
  ASSERT_NE(g.EditWindow(), nullptr);
  Type(g.EditWindow(), "9");
  SendMessageW(static_cast<HWND>(g.NativeWindow()), WM_LBUTTONDOWN, MK_LBUTTON,
               MAKELPARAM(150, 80));
  EXPECT_EQ(g.GetEntryState(), IGraphicsWin::EntryState::CancelRequested);
  Tick(g);
  EXPECT_EQ(g.EditWindow(), nullptr);
  // The wheel cancels too.
  g.StartTextEntry(offset, offset->GetText(), offset->GetRect(), "0.25", 2);
  SendMessageW(static_cast<HWND>(g.NativeWindow()), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(g.GetEntryState(), IGraphicsWin::EntryState::CancelRequested);
  Tick(g);
  EXPECT_EQ(g.EditWindow(), nullptr);
  EXPECT_DOUBLE_EQ(offset->GetValue(), 0.625);
  EXPECT_TRUE(plug.log.size() == 1u);

  // Free text takes every character, up to the control's length, and no line break.
  g.StartTextEntry(name, name->GetText(), name->GetRect(), "Init", -1);
  ASSERT_NE(g.EditWindow(), nullptr);
  Type(g.EditWindow(), "Deep Kick #1, the long one");
  EXPECT_EQ(TextOf(g.EditWindow()), "Deep Kick #1, the lo");
  PressEnter(g.EditWindow());
  Tick(g);
  EXPECT_EQ(name->accepted, "Deep Kick #1, the lo");
  EXPECT_EQ(g.EditWindow(), nullptr);

  // Closing the editor with an entry open takes the field with it.
  g.StartTextEntry(name, name->GetText(), name->GetRect(), "Init", -1);
  edit = g.EditWindow();
  g.CloseEditorWindow();
  EXPECT_EQ(g.EditWindow(), nullptr);
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_EQ(name->accepted, "Deep Kick #1, the lo");
}

TEST(IGraphicsWin, ResizeGrowsTheWindowAndTheHostsWindowByTheChange)
{
  HostFrame host;
  ASSERT_NE(host.window, nullptr) << "no window can be made on this display";
  EditorTestPlug plug;
  IGraphicsWin g(&plug, 200, 100);
  ASSERT_TRUE(g.OpenEditorWindow(host.window));
  g.Resize(250, 80);
  RECT editor;
  RECT frame;
  GetWindowRect(static_cast<HWND>(g.NativeWindow()), &editor);
  GetWindowRect(host.window, &frame);
  EXPECT_EQ(editor.right - editor.left, 250);
  EXPECT_EQ(editor.bottom - editor.top, 80);
  EXPECT_EQ(frame.right - frame.left, 450);
  EXPECT_EQ(frame.bottom - frame.top, 280);
  EXPECT_EQ(g.Width(), 250);
  EXPECT_EQ(g.GetDrawBitmap()->GetWidth(), 250);

  // The host's folder is this program's, with its trailing backslash.
  std::string folder;
  g.HostExecutablePath(folder);
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  EXPECT_NE(GetFileAttributesA((folder + "editor_tests.exe").c_str()), INVALID_FILE_ATTRIBUTES);
  // Without a window there is no file dialog: the file name is cleared.
  g.CloseEditorWindow();
  std::string file = "kick.fxp";
  std::string start = "C:\\";
  EXPECT_FALSE(g.AskForFile(file, FileAction::Open, start, "fxp"));
  EXPECT_TRUE(file.empty());
  EXPECT_EQ(start, "C:\\");
}
