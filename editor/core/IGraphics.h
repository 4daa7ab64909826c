#pragma once
// The platform-neutral half of the editor: the ordered list of controls (index 0, the
// background, is drawn first and hit last), the off-screen drawing surface, the drawing
// services controls use, the redraw cycle the window's timer drives, and the routing
// of mouse and keyboard events to controls. A platform window derives from it and
// fills the platform operations; without one (the base as it is) the editor draws
// off-screen, which is how the snapshot tool and the tests use it.
//
// Everything here runs on the host's user-interface thread. The bitmap and font caches
// are shared by every editor of the module, each under its own lock.
#include "editor/core/IGraphicsStructs.h"
#include "editor/core/IPopupMenu.h"
#include "plugin/IEditor.h"

#include <memory>
#include <string>
#include <vector>

class IControl;
class IPlugBase;
class LICE_IBitmap;
class LICE_MemBitmap;
class LICE_SysBitmap;
enum class FileAction;

class IGraphics : public IEditor
{
public:
  static constexpr int kDefaultFps = 25;

  IGraphics(IPlugBase* owner, int w, int h, int fps = kDefaultFps);
  // Deletes the controls from the last to the first, then the surfaces.
  ~IGraphics() override;

  // --- Platform operations (a window fills them; off-screen they do nothing) --------
  virtual void PaintToScreen(const IRect& area) {}
  // The rectangle the text would occupy, placed in area by the style's alignment.
  virtual bool MeasureText(IText& style, const char* str, IRect& area);
  virtual void CancelTextEntry() {}
  virtual void Resize(int w, int h);
  bool IsWindowOpen() const override { return false; }
  virtual const char* PlatformName() const { return ""; }
  virtual int ShowMessageBox(const char* message, const char* caption, int type) { return 0; }
  // Shows the menu at the rectangle's lower-left corner; the menu holding the chosen
  // item, or null.
  virtual IPopupMenu* RunPopupMenu(IPopupMenu* menu, const IRect& area) { return nullptr; }
  virtual void StartTextEntry(IControl* control, const IText& style, const IRect& area,
                              const char* initial, int paramIdx)
  {
  }
  virtual void HostExecutablePath(std::string& path) { path.clear(); }
  virtual void PluginFilePath(std::string& path);
  virtual void DesktopPath(std::string& path) { path.clear(); }
  virtual bool AskForFile(std::string& file, FileAction action, std::string& folder,
                          const char* extensions)
  {
    return false;
  }
  virtual bool AskForColour(IColor& color, const char* prompt) { return false; }
  virtual bool OpenUrl(const char* url, const char* caption, const char* confirmation,
                       const char* error)
  {
    return false;
  }
  virtual bool OpenEditorWindow(void* parent) { return false; }
  virtual void CloseEditorWindow() {}
  virtual void* NativeWindow() const { return nullptr; }
  virtual void HideCursor() {}
  virtual void RestoreCursor() {}
  // Decodes the PNG resource with this number (the name must end in "png"); null when
  // there is none or it does not decode. The caller owns the result.
  virtual LICE_IBitmap* LoadPngResource(int number, const char* name);

  // --- The framework's view ----------------------------------------------------------
  int Width() const override { return width; }
  int Height() const override { return height; }
  void SetParameterFromPlug(int paramIdx, double value, bool normalized) override
  {
    ApplyParameterToControls(paramIdx, value, normalized);
  }
  // Makes the drawing surface and the scratch bitmap (again after a resize).
  void PrepDraw() override;
  bool OpenWindow(void* parentWindow) override { return OpenEditorWindow(parentWindow); }
  void CloseWindow() override { CloseEditorWindow(); }

  // --- Controls ----------------------------------------------------------------------
  // Appends the control (now owned); its index is its position.
  int AttachControl(IControl* control);
  // The image as a bitmap control at index 0 covering its own size, bound to nothing.
  void AttachBackground(int number, const char* name);
  int NControls() const { return int(controls.size()); }
  IControl* GetControl(int idx) const;
  // Every control bound to the parameter takes the value, and every control that has
  // it among its additional parameters takes it for that binding. A value that is not
  // normalized is clamped to the parameter's range and normalized first.
  void ApplyParameterToControls(int paramIdx, double value, bool normalized);
  // Asks the user for a parameter's value over area: a menu of its display texts, or a
  // text field holding the current value.
  void PromptForValue(IControl* control, int paramIdx, const IRect& area);
  // What a window does with committed text entry: for a parameter, the text becomes
  // its value (display texts matched for enumerated and boolean parameters, a number
  // otherwise) and, when that differs from the control's, is pushed; without one the
  // control takes the text.
  void CommitTextEntry(IControl* control, int paramIdx, const char* entered);
  // Whether a typed character may enter the text field of a parameter (none for free
  // text, which takes everything): backspace always; digits, "-" and "+" for boolean,
  // integer and enumerated parameters; digits, "+", "-" and "." for double ones.
  bool TextEntryAccepts(int paramIdx, char c) const;
  // Marks every control dirty, pushing nothing (a window does this when it opens).
  void SetAllControlsDirty();
  void SetKeyCatcher(int idx) { keyCatcher = idx; }

  // --- Bitmaps -----------------------------------------------------------------------
  // The image with this resource number from the module-wide cache, decoded on a miss.
  // Without such an image the handle holds no bitmap (and draws nothing).
  IBitmap LoadBitmap(int number, const char* name, int frames = 1);

  // --- Drawing (into the surface, clipped to it and to the rectangle being drawn) ----
  bool DrawBitmap(const IBitmap& image, const IRect& dest, int frame = 1,
                  const IBlend* blend = nullptr);
  // The 1-based frame's offset in the image: round(size x (frame - 1) / N).
  static int FrameOffset(const IBitmap& image, int frame);
  bool Blit(LICE_IBitmap* src, const IRect& dest, int srcX, int srcY,
            const IBlend* blend = nullptr);
  bool DrawRect(const IColor& color, const IRect& area);
  bool DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                const IBlend* blend = nullptr, bool antiAlias = false);
  bool FillRect(const IColor& color, const IRect& area, const IBlend* blend = nullptr);
  bool FillTriangle(const IColor& color, int x1, int y1, int x2, int y2, int x3, int y3,
                    const IBlend* blend = nullptr);
  // Empty text draws nothing and succeeds; false when the style's font cannot be made.
  bool DrawStyledText(IText& style, const char* str, const IRect& area);

  // --- Redraw cycle ------------------------------------------------------------------
  // Unites the rectangles of the controls that need painting into area; true when any
  // did. When none did, every control gets one idle tick.
  bool CollectDirty(IRect& area);
  // Paints every visible control overlapping area (in list order), marks every control
  // clean and copies the area to the screen.
  void Draw(const IRect& area);

  // --- Events (pixel coordinates in the editor's space) ------------------------------
  void OnMouseDown(int x, int y, const IMouseMod& mod);
  void OnMouseUp(int x, int y, const IMouseMod& mod);
  void OnMouseDrag(int x, int y, const IMouseMod& mod);
  // True when the control took the double click as a click (and so holds the mouse).
  bool OnMouseDblClick(int x, int y, const IMouseMod& mod);
  void OnMouseWheel(int x, int y, const IMouseMod& mod, int notches);
  // Hover (only with hover tracking on); true when a control is under the mouse.
  bool OnMouseOver(int x, int y, const IMouseMod& mod);
  void OnMouseOut();
  // True when a control used the key.
  bool OnKeyDown(int x, int y, int key);
  void SetHoverTracking(bool track) { handleMouseOver = track; }
  // The topmost control at the point (hidden ones and greyed ones skipped), or -1.
  int GetMouseControlIdx(int x, int y, bool hover = false) const;
  int GetCapturedControl() const { return mouseCapture; }
  void ReleaseMouseCapture();

  IPlugBase* GetPlug() const { return plug; }
  int FPS() const { return fps; }
  LICE_IBitmap* GetDrawBitmap() const;
  const IRect& GetDrawRect() const { return drawRect; }
  int IdleTicks() const { return idleTicks; }

protected:
  IPlugBase* plug;
  int width;
  int height;
  int fps;

private:
  // Begins and ends the host's edit gesture of a pressed control's parameter, once each.
  void BeginEdit(IControl* control);
  void EndEdit();

  std::vector<IControl*> controls;
  std::unique_ptr<LICE_SysBitmap> drawBitmap;
  std::unique_ptr<LICE_MemBitmap> tmpBitmap;
  IRect drawRect;
  int mouseCapture = -1;
  int mouseX = -1;
  int mouseY = -1;
  int mouseOver = -1;
  int keyCatcher = -1;
  int idleTicks = 0;
  int editParam = -1;
  bool handleMouseOver = false;
};
