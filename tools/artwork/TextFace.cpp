#include "tools/artwork/TextFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdint>
#include <vector>

namespace
{
// The code points of UTF-8 text; a broken sequence gives U+FFFD and moves on.
std::vector<std::uint32_t> CodePoints(const std::string& text)
{
  std::vector<std::uint32_t> points;
  for (std::size_t i = 0; i < text.size();)
  {
    const auto lead = std::uint8_t(text[i]);
    if (lead < 0x80)
    {
      points.push_back(lead);
      ++i;
      continue;
    }
    const int extra = (lead >> 5) == 6 ? 1 : (lead >> 4) == 14 ? 2 : (lead >> 3) == 30 ? 3 : -1;
    if (extra < 0 || i + std::size_t(extra) >= text.size())
    {
      points.push_back(0xFFFD);
      ++i;
      continue;
    }
    std::uint32_t cp = lead & (0x3Fu >> extra);
    bool ok = true;
    for (int k = 1; k <= extra; ++k)
    {
      const auto next = std::uint8_t(text[i + std::size_t(k)]);
      ok = ok && (next >> 6) == 2;
      cp = (cp << 6) | (next & 0x3Fu);
    }
    points.push_back(ok ? cp : 0xFFFD);
    i += ok ? std::size_t(extra) + 1 : 1;
  }
  return points;
}
} // namespace

TextFace::~TextFace()
{
  if (face)
    FT_Done_Face(face);
  if (library)
    FT_Done_FreeType(library);
}

bool TextFace::Open(const std::initializer_list<const char*>& files)
{
  if (!library && FT_Init_FreeType(&library) != 0)
    return false;
  for (const char* file : files)
    if (FT_New_Face(library, file, 0, &face) == 0)
      return true;
  face = nullptr;
  return false;
}

double TextFace::Measure(const std::string& text, int pixelSize, double spacing) const
{
  if (!face)
    return 0.0;
  FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize));
  double pen = 0.0;
  FT_UInt previous = 0;
  const std::vector<std::uint32_t> points = CodePoints(text);
  for (std::size_t i = 0; i < points.size(); ++i)
  {
    const FT_UInt glyph = FT_Get_Char_Index(face, points[i]);
    if (previous && glyph && FT_HAS_KERNING(face))
    {
      FT_Vector kern;
      FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern);
      pen += double(kern.x) / 64.0;
    }
    if (FT_Load_Glyph(face, glyph, FT_LOAD_TARGET_LIGHT) == 0)
      pen += double(face->glyph->advance.x) / 64.0;
    if (i + 1 < points.size())
      pen += spacing;
    previous = glyph;
  }
  return pen;
}

double TextFace::CapHeight(int pixelSize) const
{
  if (!face)
    return 0.0;
  FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize));
  if (FT_Load_Char(face, 'H', FT_LOAD_TARGET_LIGHT) != 0)
    return pixelSize * 0.72;
  return double(face->glyph->metrics.horiBearingY) / 64.0;
}

Canvas TextFace::Render(const std::string& text, int pixelSize, double spacing, int& baseline) const
{
  if (!face)
  {
    baseline = 0;
    return Canvas(1, 1);
  }
  const double advance = Measure(text, pixelSize, spacing);
  FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize));
  const int ascent = int(face->size->metrics.ascender >> 6);
  const int descent = int(-(face->size->metrics.descender >> 6));
  const int pad = 2;
  Canvas mask(int(std::ceil(advance)) + 2 * pad, ascent + descent + 2 * pad);
  baseline = ascent + pad;
  double pen = pad;
  FT_UInt previous = 0;
  for (std::uint32_t cp : CodePoints(text))
  {
    const FT_UInt glyph = FT_Get_Char_Index(face, cp);
    if (previous && glyph && FT_HAS_KERNING(face))
    {
      FT_Vector kern;
      FT_Get_Kerning(face, previous, glyph, FT_KERNING_DEFAULT, &kern);
      pen += double(kern.x) / 64.0;
    }
    previous = glyph;
    if (FT_Load_Glyph(face, glyph, FT_LOAD_TARGET_LIGHT | FT_LOAD_RENDER) != 0)
      continue;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    const int left = int(std::lround(pen)) + slot->bitmap_left;
    const int top = baseline - slot->bitmap_top;
    for (unsigned row = 0; row < bitmap.rows; ++row)
      for (unsigned col = 0; col < bitmap.width; ++col)
      {
        const std::uint8_t v = bitmap.buffer[int(row) * bitmap.pitch + int(col)];
        if (v)
          mask.Blend(left + int(col), top + int(row), Colour{1.0f, 1.0f, 1.0f, 1.0f},
                     float(v) / 255.0f);
      }
    pen += double(slot->advance.x) / 64.0 + spacing;
  }
  return mask;
}
