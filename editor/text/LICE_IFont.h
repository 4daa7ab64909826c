#pragma once
// A font the raster layer draws text with.
#include "editor/core/IGraphicsStructs.h"

#include <cstdint>

class LICE_IBitmap;

class LICE_IFont
{
public:
  LICE_IFont() = default;
  virtual ~LICE_IFont() = default;
  LICE_IFont(const LICE_IFont&) = delete;
  LICE_IFont& operator=(const LICE_IFont&) = delete;

  virtual void SetTextColor(std::uint32_t color) = 0;
  // Draws UTF-8 text (lines split at '\n') from the top of rect, each line placed by
  // the alignment; only pixels inside clip change. With measureOnly nothing is drawn.
  // Either way rect receives the extent of the text placed by the alignment: near
  // keeps the left edge, far the right edge, centre the horizontal midpoint; the top
  // stays. Returns the height of the text.
  virtual int DrawText(LICE_IBitmap* bitmap, const char* text, IRect& rect, TextAlign align,
                       bool measureOnly, float weight, const IRect& clip) = 0;
};
