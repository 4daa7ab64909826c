#pragma once
// The instrument's editor: one graphics (the platform's window, or an off-screen one
// for the snapshot tool and the tests) holding the fixed elements and the sections of
// the three pages (synthesizer, scope, About), built once for the plug-in's life. The
// plug-in owns it once attached (AttachEditor); the current page stays while the
// plug-in lives, so the editor reopens on the page last shown.
//
// Called from the host's user-interface thread only.
#include "editor/controls/IKvPageSet.h"
#include "editor/core/IGraphics.h"
#include "plugin/IEditor.h"

#include <memory>

class Thumpgeist;

class ThumpgeistEditor : public IEditor
{
public:
  static constexpr int kWidth = 1220;
  static constexpr int kHeight = 835;
  enum Page
  {
    kSynthPage = 0,
    kScopePage = 1,
    kAboutPage = 2,
  };

  // Builds every control into the graphics (which must be kWidth x kHeight).
  ThumpgeistEditor(Thumpgeist* plug, std::unique_ptr<IGraphics> graphics);
  ~ThumpgeistEditor() override;

  IGraphics& Graphics() const { return *graphics; }
  IKvPageSet& Pages() { return pages; }

  // --- The framework's view (forwarded to the graphics) ------------------------------
  int Width() const override { return graphics->Width(); }
  int Height() const override { return graphics->Height(); }
  void SetParameterFromPlug(int paramIdx, double value, bool normalized) override
  {
    graphics->SetParameterFromPlug(paramIdx, value, normalized);
  }
  void PrepDraw() override { graphics->PrepDraw(); }
  bool OpenWindow(void* parentWindow) override { return graphics->OpenWindow(parentWindow); }
  void CloseWindow() override { graphics->CloseWindow(); }
  bool IsWindowOpen() const override { return graphics->IsWindowOpen(); }
  void Idle() override { graphics->Idle(); }

private:
  // The background, the header plate, the tagline and platform images, the tabs.
  void BuildFixedElements();
  // Attaches the control and puts it on the page's list.
  int AddToPage(int page, IControl* control);

  Thumpgeist* plug;
  // Declared before the graphics, so the controls (which point at the pages) go first.
  IKvPageSet pages;
  std::unique_ptr<IGraphics> graphics;
};
