#pragma once
// Images drawn in code for the editor's resources while the real artwork is not built
// into the module: the same sizes and frame layouts, read from the resource names
// ("..._40px.png" is a 40-pixel knob strip, "..._2_states..." has two frames), so
// every control can be laid out, drawn, measured and clicked.
#include "editor/raster/LICE_MemBitmap.h"

#include <memory>

class PlaceholderArt
{
public:
  // An image for the resource, or null when the name says nothing drawable.
  static std::unique_ptr<LICE_MemBitmap> Make(int number, const char* name);

  // The pieces, for callers that want them directly.
  static std::unique_ptr<LICE_MemBitmap> Background(int w, int h);
  static std::unique_ptr<LICE_MemBitmap> KnobStrip(int size, int frames, std::uint32_t accent);
  static std::unique_ptr<LICE_MemBitmap> ButtonStrip(int w, int h, int frames, std::uint32_t accent);
  static std::unique_ptr<LICE_MemBitmap> Panel(int w, int h);
};
