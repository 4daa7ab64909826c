#pragma once
// The platform-neutral half of the editor: the framework's IEditor with the plug-in it
// belongs to and its size. Drawing, controls and windows build on it.
#include "plugin/IEditor.h"

class IPlugBase;

class IGraphics : public IEditor
{
public:
  IGraphics(IPlugBase* owner, int w, int h) : plug(owner), width(w), height(h) {}

  int Width() const override { return width; }
  int Height() const override { return height; }
  IPlugBase* GetPlug() const { return plug; }

protected:
  IPlugBase* plug;
  int width;
  int height;
};
