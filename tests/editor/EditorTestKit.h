#pragma once
// What the editor tests share: a small plug-in that records the host notifications in
// order, an off-screen editor whose platform operations are recorded and whose images
// come from memory, a control that logs the events it receives, and solid test images.
#include "editor/controls/IControl.h"
#include "editor/core/IGraphics.h"
#include "editor/raster/LICE_MemBitmap.h"
#include "plugin/IPlugBase.h"

#include <map>
#include <string>
#include <vector>

class EditorTestPlug : public IPlugBase
{
public:
  EditorTestPlug() : IPlugBase(Info())
  {
    GetParam(0)->InitDouble("Gain", 0.5, 0.0, 1.0, 0.001, "dB");
    GetParam(1)->InitDouble("Mode", 0.0, 0.0, 2.0, 1.0);
    GetParam(2)->InitDouble("Offset", 0.0, -1.0, 1.0, 0.01);
    GetParam(2)->SetNegateDisplay(true);
  }
  void BeginParameterEdit(int idx) override { log.push_back("begin " + std::to_string(idx)); }
  void NotifyHostOfParameterChange(int idx, double normalized) override
  {
    log.push_back("automate " + std::to_string(idx));
    values.push_back(normalized);
  }
  void EndParameterEdit(int idx) override { log.push_back("end " + std::to_string(idx)); }

  std::vector<std::string> log;
  std::vector<double> values;

private:
  static PlugInfo Info()
  {
    PlugInfo info;
    info.nParams = 3;
    info.nPresets = 1;
    info.channelIOText = "0-2";
    return info;
  }
};

// An opaque test image of w x h whose pixels tell where they are: blue is the row,
// green the column (both modulo 256).
inline LICE_MemBitmap* MakeStrip(int w, int h)
{
  auto* b = new LICE_MemBitmap(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b->GetBits()[y * b->GetRowSpan() + x] =
          0xFF000000u | std::uint32_t(x & 0xFF) << 8 | std::uint32_t(y & 0xFF);
  return b;
}

class FakeGraphics : public IGraphics
{
public:
  explicit FakeGraphics(IPlugBase* owner, int w = 200, int h = 100) : IGraphics(owner, w, h)
  {
    PrepDraw();
  }
  void PaintToScreen(const IRect& area) override { painted.push_back(area); }
  LICE_IBitmap* LoadPngResource(int number, const char* name) override
  {
    ++decodes[number];
    auto it = images.find(number);
    return it == images.end() ? nullptr : MakeStrip(it->second.w, it->second.h);
  }
  void StartTextEntry(IControl* control, const IText& style, const IRect& area,
                      const char* initial, int paramIdx) override
  {
    entries.push_back(initial);
    entryRect = area;
  }
  IPopupMenu* RunPopupMenu(IPopupMenu* menu, const IRect& area) override
  {
    menuItems = menu->NItems();
    if (menuChoice < 0)
      return nullptr;
    menu->SetChosenItemIdx(menuChoice);
    return menu;
  }
  bool OpenUrl(const char* url, const char* caption, const char* confirmation,
               const char* error) override
  {
    urls.push_back(url);
    return std::string(url) == workingUrl;
  }
  bool AskForFile(std::string& file, FileAction action, std::string& folder,
                  const char* extensions) override
  {
    fileDialogs.push_back(extensions);
    return false;
  }
  std::uint32_t Pixel(int x, int y) const
  {
    return GetDrawBitmap()->GetBits()[y * GetDrawBitmap()->GetRowSpan() + x];
  }

  struct Strip
  {
    int w, h;
  };
  std::map<int, Strip> images;  // what LoadPngResource finds
  std::map<int, int> decodes;   // how often each number was decoded
  std::vector<IRect> painted;
  std::vector<std::string> entries;
  IRect entryRect;
  std::vector<std::string> urls;
  std::string workingUrl;
  std::vector<std::string> fileDialogs;
  int menuChoice = -1;
  int menuItems = 0;
};

// A control that logs every event with its name.
class LogControl : public IControl
{
public:
  LogControl(std::vector<std::string>* eventLog, const char* controlName, const IRect& area,
             int boundParam = -1)
      : IControl(nullptr, area, boundParam), log(eventLog), name(controlName)
  {
  }
  void MouseDown(int x, int y, const IMouseMod& mod) override { Add("down"); }
  void MouseUp(int x, int y, const IMouseMod& mod) override { Add("up"); }
  void MouseDrag(int x, int y, int dx, int dy, const IMouseMod& mod) override
  {
    Add("drag " + std::to_string(dx) + "," + std::to_string(dy));
  }
  void MouseDoubleClick(int x, int y, const IMouseMod& mod) override { Add("dbl"); }
  void MouseWheel(int x, int y, const IMouseMod& mod, int notches) override
  {
    Add("wheel " + std::to_string(notches));
  }
  bool KeyDown(int x, int y, int key) override
  {
    Add("key " + std::to_string(key));
    return true;
  }
  void Paint(IGraphics* g) override { Add("paint"); }
  void IdleTick() override { Add("idle"); }
  void MouseOver(int x, int y, const IMouseMod& mod) override { Add("over"); }
  void MouseOut() override { Add("out"); }

private:
  void Add(const std::string& what) { log->push_back(name + " " + what); }
  std::vector<std::string>* log;
  std::string name;
};
