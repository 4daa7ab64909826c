// Fonts on Linux: fontconfig finds a file for the face the editor asks for, FreeType
// renders it. The faces the editor uses are Windows faces; they are matched to the
// metric-compatible families installed here (Verdana to DejaVu Sans, Arial to
// Liberation Sans), and sizes follow GDI's rule (the size is the cell height, ascent
// plus descent), so text comes out the size and width it has on Windows.
#include "editor/text/GlyphRasterizer.h"

#include "plugin/platform/PlatformLock.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <strings.h>
#include <string>

namespace
{
// The FreeType library of the process and the lock every use of it and its faces holds
// (FreeType objects are not shared between threads). Made on first use and kept until
// the process ends: the font cache destroys its fonts while the module unloads, after
// other objects of static lifetime may be gone.
struct FreeType
{
  FT_Library library = nullptr;
  PlatformLock lock;
};

FreeType& TheFreeType()
{
  static FreeType* freeType = [] {
    auto* made = new FreeType;
    if (FT_Init_FreeType(&made->library) != 0)
      made->library = nullptr;
    return made;
  }();
  return *freeType;
}

FT_Library Library() { return TheFreeType().library; }

PlatformLock& FaceLock() { return TheFreeType().lock; }

// Families tried after the requested face, so that the result does not depend on the
// machine's own alias rules.
const char* CompatibleFamily(const char* face)
{
  static const struct
  {
    const char* windows;
    const char* here;
  } kMap[] = {{"Verdana", "DejaVu Sans"},
              {"Arial", "Liberation Sans"},
              {"Tahoma", "DejaVu Sans"},
              {"Times New Roman", "Liberation Serif"},
              {"Courier New", "Liberation Mono"}};
  for (const auto& m : kMap)
    if (strcasecmp(face, m.windows) == 0)
      return m.here;
  return "DejaVu Sans";
}

// The font file and face index for a face and style, or "" when none is found.
std::string MatchFile(const char* face, TextStyle style, int* index, std::string* family)
{
  if (!FcInit())
    return {};
  FcPattern* pattern = FcPatternCreate();
  if (!pattern)
    return {};
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face));
  FcPatternAddString(pattern, FC_FAMILY,
                     reinterpret_cast<const FcChar8*>(CompatibleFamily(face)));
  FcPatternAddInteger(pattern, FC_WEIGHT,
                      style == TextStyle::Bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT,
                      style == TextStyle::Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match)
    return {};
  std::string path;
  FcChar8* file = nullptr;
  FcChar8* name = nullptr;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file)
    path = reinterpret_cast<const char*>(file);
  if (FcPatternGetString(match, FC_FAMILY, 0, &name) == FcResultMatch && name)
    *family = reinterpret_cast<const char*>(name);
  if (FcPatternGetInteger(match, FC_INDEX, 0, index) != FcResultMatch)
    *index = 0;
  FcPatternDestroy(match);
  return path;
}

class FreeTypeRasterizer : public GlyphRasterizer
{
public:
  FreeTypeRasterizer(FT_Face ftFace, const std::string& familyName, int cellHeight, bool mono)
      : face(ftFace), family(familyName), monochrome(mono)
  {
    // GDI's cell height is the font's Windows ascent plus descent.
    int up = face->ascender;
    int down = -face->descender;
    if (const auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 && os2->usWinAscent + os2->usWinDescent > 0)
    {
      up = os2->usWinAscent;
      down = os2->usWinDescent;
    }
    if (up + down <= 0)
    {
      up = face->units_per_EM;
      down = 0;
    }
    const double em = double(cellHeight) * face->units_per_EM / double(up + down);
    FT_Set_Char_Size(face, 0, FT_F26Dot6(std::lround(em * 64.0)), 72, 72);
    ascent = int(std::lround(double(cellHeight) * up / double(up + down)));
    descent = cellHeight - ascent;
  }
  ~FreeTypeRasterizer() override
  {
    PlatformLockGuard guard(FaceLock());
    FT_Done_Face(face);
  }

  bool RenderGlyph(std::uint32_t codepoint, Glyph& out) override
  {
    PlatformLockGuard guard(FaceLock());
    const FT_Int32 flags = FT_LOAD_RENDER | (monochrome ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
    if (FT_Load_Char(face, codepoint, flags) != 0)
      return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bm = slot->bitmap;
    out.advance = int((slot->advance.x + 32) >> 6);
    out.left = slot->bitmap_left;
    out.top = slot->bitmap_top;
    out.w = int(bm.width);
    out.h = int(bm.rows);
    out.coverage.assign(std::size_t(out.w) * std::size_t(out.h), 0);
    for (int y = 0; y < out.h; ++y)
    {
      const unsigned char* row = bm.buffer + std::ptrdiff_t(y) * bm.pitch;
      for (int x = 0; x < out.w; ++x)
      {
        std::uint8_t c = 0;
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
          c = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
        else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY)
          c = bm.num_grays == 256 ? row[x] : std::uint8_t(row[x] * 255 / std::max(1, bm.num_grays - 1));
        out.coverage[std::size_t(y) * std::size_t(out.w) + std::size_t(x)] = c;
      }
    }
    return true;
  }
  int Ascent() const override { return ascent; }
  int Descent() const override { return descent; }
  const char* FamilyName() const override { return family.c_str(); }

private:
  FT_Face face;
  std::string family;
  bool monochrome;
  int ascent = 0;
  int descent = 0;
};
} // namespace

std::unique_ptr<GlyphRasterizer> GlyphRasterizer::Create(const IText& style)
{
  if (style.size <= 0 || !Library())
    return nullptr;
  int index = 0;
  std::string family;
  const std::string path = MatchFile(style.font, style.style, &index, &family);
  if (path.empty())
    return nullptr;
  FT_Face face = nullptr;
  {
    PlatformLockGuard guard(FaceLock());
    if (FT_New_Face(Library(), path.c_str(), index, &face) != 0)
      return nullptr;
  }
  return std::make_unique<FreeTypeRasterizer>(face, family, style.size,
                                              style.quality == TextQuality::NonAntiAliased);
}
