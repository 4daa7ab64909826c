#pragma once
// A font whose characters are rendered once by the platform and kept: drawing blends
// the kept coverage masks into the bitmap with the text colour. A font made for native
// rendering lets the system draw instead where it can (Windows outside Wine).
#include "editor/text/GlyphRasterizer.h"
#include "editor/text/LICE_IFont.h"
#include "plugin/platform/PlatformLock.h"

#include <memory>
#include <unordered_map>

class LICE_CachedFont : public LICE_IFont
{
public:
  explicit LICE_CachedFont(std::unique_ptr<GlyphRasterizer> source, bool nativeRendering = false);

  void SetTextColor(std::uint32_t color) override { textColor = color; }
  int DrawText(LICE_IBitmap* bitmap, const char* text, IRect& rect, TextAlign align,
               bool measureOnly, float weight, const IRect& clip) override;

  int LineHeight() const { return rasterizer->Ascent() + rasterizer->Descent(); }
  const char* FamilyName() const { return rasterizer->FamilyName(); }
  // Characters rendered so far (each once).
  int CachedGlyphs() const { return int(glyphs.size()); }

  // The next Unicode character of UTF-8 text; malformed bytes give U+FFFD one at a time.
  static std::uint32_t NextCodepoint(const char*& text);

private:
  const Glyph& GlyphFor(std::uint32_t codepoint);
  int LineWidth(const char* begin, const char* end);

  std::unique_ptr<GlyphRasterizer> rasterizer;
  bool native;
  std::uint32_t textColor = 0xFF000000u;
  std::unordered_map<std::uint32_t, Glyph> glyphs;
  // Editors of several instances may share the font.
  PlatformLock lock;
};
