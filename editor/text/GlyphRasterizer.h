#pragma once
// The platform's half of a font: it renders one character at a time into an 8-bit
// coverage mask and knows the font's vertical metrics. FreeType with fontconfig on
// Linux, GDI on Windows (editor/platform/).
#include "editor/core/IGraphicsStructs.h"

#include <cstdint>
#include <memory>
#include <vector>

class LICE_IBitmap;

// One rendered character: the pen moves by advance; the mask's top-left corner lies
// left pixels right of the pen and top pixels above the baseline.
struct Glyph
{
  int advance = 0;
  int left = 0;
  int top = 0;
  int w = 0;
  int h = 0;
  std::vector<std::uint8_t> coverage; // w * h bytes, 255 = covered
};

class GlyphRasterizer
{
public:
  GlyphRasterizer() = default;
  virtual ~GlyphRasterizer() = default;
  GlyphRasterizer(const GlyphRasterizer&) = delete;
  GlyphRasterizer& operator=(const GlyphRasterizer&) = delete;

  // Renders a Unicode character; false when the font cannot (the glyph is then empty).
  virtual bool RenderGlyph(std::uint32_t codepoint, Glyph& out) = 0;
  // Pixels above and below the baseline; a line is their sum (the style's size).
  virtual int Ascent() const = 0;
  virtual int Descent() const = 0;
  // The family the platform actually chose for the requested face.
  virtual const char* FamilyName() const = 0;
  // Draws text with the system's own text drawing onto the bitmap's device context;
  // false when the font is not meant for it or the system cannot (the glyph cache is
  // then used).
  virtual bool DrawNative(LICE_IBitmap* bitmap, const char* text, const IRect& rect,
                          TextAlign align, std::uint32_t color, const IRect& clip)
  {
    return false;
  }

  // A rasterizer for the style's face, size, style, orientation and quality, or null
  // when no font can be made.
  static std::unique_ptr<GlyphRasterizer> Create(const IText& style);
};
