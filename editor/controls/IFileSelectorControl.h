#pragma once
// A button that opens the platform's file dialog. The bitmap shows only while the
// dialog is open; after it the value steps (0, 1, 0, ...) and is pushed, and the
// control asks for one more drawing.
#include "editor/controls/IControl.h"

#include <string>

enum class FileAction
{
  Open,
  Save
};

class IFileSelectorControl : public IControl
{
public:
  enum State
  {
    kIdle = 0,
    kDialogOpen = 1,
    kDone = 2
  };

  IFileSelectorControl(IPlugBase* owner, const IRect& area, int boundParam, const IBitmap& image,
                       FileAction fileAction, const char* startFolder = "",
                       const char* fileExtensions = "kv bgp fxp");

  void MouseDown(int x, int y, const IMouseMod& mod) override;
  void Paint(IGraphics* g) override;
  bool NeedsPaint() override;

  const std::string& GetLastSelectedFileForPlug() const { return file; }
  void SetLastSelectedFileFromPlug(const char* path) { file = path ? path : ""; }
  const std::string& GetFolder() const { return folder; }
  int GetState() const { return state; }

private:
  IBitmap bitmap;
  FileAction action;
  std::string file;
  std::string folder;
  std::string extensions;
  int state = kIdle;
};
