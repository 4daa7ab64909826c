#include "editor/text/LICE_CachedFont.h"

#include "editor/raster/LICE_Draw.h"

#include <algorithm>
#include <cstring>

LICE_CachedFont::LICE_CachedFont(std::unique_ptr<GlyphRasterizer> source, bool nativeRendering)
    : rasterizer(std::move(source)), native(nativeRendering)
{
}

std::uint32_t LICE_CachedFont::NextCodepoint(const char*& text)
{
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  const unsigned c = p[0];
  int extra = 0;
  std::uint32_t cp = 0;
  if (c < 0x80)
  {
    ++text;
    return c;
  }
  if ((c & 0xE0) == 0xC0)
  {
    extra = 1;
    cp = c & 0x1F;
  }
  else if ((c & 0xF0) == 0xE0)
  {
    extra = 2;
    cp = c & 0x0F;
  }
  else if ((c & 0xF8) == 0xF0)
  {
    extra = 3;
    cp = c & 0x07;
  }
  else
  {
    ++text;
    return 0xFFFD;
  }
  for (int i = 1; i <= extra; ++i)
  {
    if ((p[i] & 0xC0) != 0x80)
    {
      ++text;
      return 0xFFFD;
    }
    cp = cp << 6 | (p[i] & 0x3F);
  }
  text += 1 + extra;
  // Overlong forms, surrogates and values beyond Unicode are not characters.
  static const std::uint32_t kMinimum[4] = {0, 0x80, 0x800, 0x10000};
  if (cp < kMinimum[extra] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
    return 0xFFFD;
  return cp;
}

const Glyph& LICE_CachedFont::GlyphFor(std::uint32_t codepoint)
{
  auto it = glyphs.find(codepoint);
  if (it != glyphs.end())
    return it->second;
  Glyph glyph;
  if (!rasterizer->RenderGlyph(codepoint, glyph))
    glyph = Glyph();
  return glyphs.emplace(codepoint, std::move(glyph)).first->second;
}

int LICE_CachedFont::LineWidth(const char* begin, const char* end)
{
  int width = 0;
  for (const char* p = begin; p < end;)
    width += GlyphFor(NextCodepoint(p)).advance;
  return width;
}

int LICE_CachedFont::DrawText(LICE_IBitmap* bitmap, const char* text, IRect& rect,
                              TextAlign align, bool measureOnly, float weight, const IRect& clip)
{
  if (!text || !*text)
  {
    rect = IRect(rect.left, rect.top, rect.left, rect.top);
    return 0;
  }
  PlatformLockGuard guard(lock);
  const int lineHeight = LineHeight();
  int widest = 0;
  int lines = 0;
  const IRect box = rect;
  const char* line = text;
  bool drawnNatively = false;
  if (!measureOnly && native && bitmap)
    drawnNatively = rasterizer->DrawNative(bitmap, text, box, align, textColor, clip);
  for (;;)
  {
    const char* end = std::strchr(line, '\n');
    if (!end)
      end = line + std::strlen(line);
    const int width = LineWidth(line, end);
    widest = std::max(widest, width);
    if (!measureOnly && !drawnNatively && bitmap)
    {
      int x = box.left;
      if (align == TextAlign::Center)
        x = box.MidX() - width / 2;
      else if (align == TextAlign::Far)
        x = box.right - width;
      const int baseline = box.top + lines * lineHeight + rasterizer->Ascent();
      for (const char* p = line; p < end;)
      {
        const Glyph& g = GlyphFor(NextCodepoint(p));
        if (!g.coverage.empty())
          LICE_Draw::DrawMask(bitmap, g.coverage.data(), g.w, x + g.left, baseline - g.top, g.w,
                              g.h, textColor, weight, clip);
        x += g.advance;
      }
    }
    ++lines;
    if (!*end)
      break;
    line = end + 1;
  }
  int left = box.left;
  if (align == TextAlign::Center)
    left = box.MidX() - widest / 2;
  else if (align == TextAlign::Far)
    left = box.right - widest;
  rect = IRect(left, box.top, left + widest, box.top + lines * lineHeight);
  return lines * lineHeight;
}
