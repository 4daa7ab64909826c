// Fonts on Windows: GDI fonts. Characters are rendered with GetGlyphOutline into
// coverage masks for the glyph cache; fonts made for native rendering (ClearType) are
// drawn by GDI itself into the surface's device context, except under Wine, whose
// text drawing differs, where the glyph cache is used as everywhere else.
#include "editor/text/GlyphRasterizer.h"

#include "editor/raster/LICE_IBitmap.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>
#include <vector>

namespace
{
// Whether the process runs under Wine: decided once, by whether the registry key
// "Software\Wine" opens under the local machine.
bool RunningUnderWine()
{
  static const bool wine = [] {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Wine", 0, KEY_READ, &key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }();
  return wine;
}

// UTF-8 to UTF-16: a buffer on the stack for up to 1024 characters, on the heap beyond.
class WideText
{
public:
  explicit WideText(const char* text)
  {
    const int n = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
    if (n <= 0)
      return;
    wchar_t* out = stackBuffer;
    if (n > kStack)
    {
      heap.resize(std::size_t(n));
      out = heap.data();
    }
    MultiByteToWideChar(CP_UTF8, 0, text, -1, out, n);
    data = out;
    length = n - 1;
  }
  const wchar_t* Data() const { return data; }
  int Length() const { return length; }

private:
  static constexpr int kStack = 1024;
  wchar_t stackBuffer[kStack];
  std::vector<wchar_t> heap;
  const wchar_t* data = L"";
  int length = 0;
};

class GdiRasterizer : public GlyphRasterizer
{
public:
  GdiRasterizer(HFONT gdiFont, HDC memoryDc, bool mono) : font(gdiFont), dc(memoryDc), monochrome(mono)
  {
    previous = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc, &metrics))
    {
      ascent = metrics.tmAscent;
      descent = metrics.tmDescent;
    }
    wchar_t name[LF_FACESIZE] = {};
    if (GetTextFaceW(dc, LF_FACESIZE, name) > 0)
    {
      const int bytes = WideCharToMultiByte(CP_UTF8, 0, name, -1, nullptr, 0, nullptr, nullptr);
      if (bytes > 1)
      {
        family.resize(std::size_t(bytes));
        WideCharToMultiByte(CP_UTF8, 0, name, -1, family.data(), bytes, nullptr, nullptr);
        family.resize(std::size_t(bytes - 1));
      }
    }
  }
  ~GdiRasterizer() override
  {
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
  }

  bool RenderGlyph(std::uint32_t codepoint, Glyph& out) override
  {
    // GDI takes one UTF-16 unit here; characters beyond show as '?'.
    const UINT ch = codepoint > 0xFFFF ? UINT('?') : UINT(codepoint);
    const UINT format = monochrome ? GGO_BITMAP : GGO_GRAY8_BITMAP;
    GLYPHMETRICS gm{};
    MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    const DWORD size = GetGlyphOutlineW(dc, ch, format, &gm, 0, nullptr, &identity);
    if (size == GDI_ERROR)
    {
      // No outline (some spaces): the advance alone.
      SIZE extent{};
      const wchar_t wide = wchar_t(ch);
      if (!GetTextExtentPoint32W(dc, &wide, 1, &extent))
        return false;
      out = Glyph();
      out.advance = extent.cx;
      return true;
    }
    out.advance = gm.gmCellIncX;
    out.left = gm.gmptGlyphOrigin.x;
    out.top = gm.gmptGlyphOrigin.y;
    out.w = size > 0 ? int(gm.gmBlackBoxX) : 0;
    out.h = size > 0 ? int(gm.gmBlackBoxY) : 0;
    out.coverage.assign(std::size_t(out.w) * std::size_t(out.h), 0);
    if (size == 0)
      return true;
    std::vector<unsigned char> buffer(size);
    if (GetGlyphOutlineW(dc, ch, format, &gm, size, buffer.data(), &identity) == GDI_ERROR)
      return false;
    // Rows are padded to 4 bytes: 1 byte a pixel (0..64) or 1 bit a pixel.
    const int pitch = monochrome ? ((out.w + 31) / 32) * 4 : (out.w + 3) & ~3;
    for (int y = 0; y < out.h; ++y)
    {
      const unsigned char* row = buffer.data() + std::size_t(y) * std::size_t(pitch);
      if (std::size_t(y + 1) * std::size_t(pitch) > buffer.size())
        break;
      for (int x = 0; x < out.w; ++x)
      {
        int c = monochrome ? ((row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0) : row[x] * 255 / 64;
        out.coverage[std::size_t(y) * std::size_t(out.w) + std::size_t(x)] =
            std::uint8_t(c > 255 ? 255 : c);
      }
    }
    return true;
  }
  int Ascent() const override { return ascent; }
  int Descent() const override { return descent; }
  const char* FamilyName() const override { return family.c_str(); }

  bool DrawNative(LICE_IBitmap* bitmap, const char* text, const IRect& rect, TextAlign align,
                  std::uint32_t color, const IRect& clip) override
  {
    HDC target = bitmap ? static_cast<HDC>(bitmap->GetDC()) : nullptr;
    if (!target || RunningUnderWine())
      return false;
    const WideText wide(text);
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    UINT flags = DT_NOPREFIX;
    flags |= align == TextAlign::Center ? DT_CENTER : (align == TextAlign::Far ? DT_RIGHT : DT_LEFT);
    const int saved = SaveDC(target);
    IntersectClipRect(target, clip.left, clip.top, clip.right, clip.bottom);
    SelectObject(target, font);
    SetBkMode(target, TRANSPARENT);
    SetTextColor(target, RGB((color >> 16) & 0xFF, (color >> 8) & 0xFF, color & 0xFF));
    ::DrawTextW(target, wide.Data(), wide.Length(), &r, flags);
    RestoreDC(target, saved);
    GdiFlush();
    return true;
  }

private:
  HFONT font;
  HDC dc;
  HGDIOBJ previous = nullptr;
  bool monochrome;
  int ascent = 0;
  int descent = 0;
  std::string family;
};
} // namespace

std::unique_ptr<GlyphRasterizer> GlyphRasterizer::Create(const IText& style)
{
  if (style.size <= 0)
    return nullptr;
  const WideText face(style.font);
  static const DWORD kQuality[] = {DEFAULT_QUALITY, NONANTIALIASED_QUALITY, ANTIALIASED_QUALITY,
                                   CLEARTYPE_QUALITY};
  // The height is the cell height; orientation is in tenths of a degree, as GDI takes it.
  HFONT font = CreateFontW(style.size, 0, style.orientation, style.orientation,
                           style.style == TextStyle::Bold ? FW_BOLD : FW_NORMAL,
                           style.style == TextStyle::Italic, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           kQuality[int(style.quality) & 3], DEFAULT_PITCH, face.Data());
  if (!font)
    return nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc)
  {
    DeleteObject(font);
    return nullptr;
  }
  return std::make_unique<GdiRasterizer>(font, dc, style.quality == TextQuality::NonAntiAliased);
}
